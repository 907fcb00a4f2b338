// A tree growing by a node, killed at any point: reopened, it is the tree before the step or
// after it, whole, never one that has to be thrown away.
#include <gtest/gtest.h>

#include <string>

#include "base/ui.h"
#include "openings/opening_tree.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "support/tree_games.h"

namespace qorvale::openings {
namespace {

TEST(TreeCrash, AKilledExpansionLeavesTheTreeBeforeOrAfter) {
    test::TempDir dir;
    const test::TreeGames games = test::WriteTreeGames(
        dir, "games.pgn", test::ReadWholeFile(test::TestDataPath("search/players.pgn")), true);
    auto open = [&](OpeningTree& tree, platform::FileSystem& files, TreeOpenInfo* info = nullptr) {
        SilentUi ui;
        auto source = TreeSource::Open(games.Request());
        return source.ok() && tree.Open(std::move(source).value(), {}, ui, false, info, files).ok();
    };
    OpeningTree root;
    ASSERT_TRUE(open(root, platform::SystemFileSystem()));
    const std::string root_tree = test::ReadWholeFile(dir.File("games.TRE"));
    const std::string root_counts = test::ReadWholeFile(dir.File("games.TWE"));
    const std::int32_t before = root.NodeCount();
    SilentUi ui;
    ASSERT_EQ(root.EnterChild(0, ui), EnterOutcome::Children);
    const std::int32_t after = root.NodeCount();

    bool saw_before = false;
    bool saw_after = false;
    test::KillAtEveryPoint(
        [&] {
            dir.Write("games.TRE", root_tree);
            dir.Write("games.TWE", root_counts);
        },
        [&](platform::FileSystem& files) {
            OpeningTree tree;
            SilentUi quiet;
            if (open(tree, files)) (void)tree.EnterChild(0, quiet);
        },
        [&](int point) {
            OpeningTree tree;
            TreeOpenInfo info;
            ASSERT_TRUE(open(tree, platform::SystemFileSystem(), &info));
            EXPECT_FALSE(info.stale);
            EXPECT_FALSE(info.started_anew);
            EXPECT_TRUE(tree.NodeCount() == before || tree.NodeCount() == after);
            saw_before = saw_before || tree.NodeCount() == before;
            saw_after = saw_after || tree.NodeCount() == after;
            if (point == 0) {
                EXPECT_EQ(tree.NodeCount(), after);
            }
        });
    EXPECT_TRUE(saw_before && saw_after);
}

}  // namespace
}  // namespace qorvale::openings
