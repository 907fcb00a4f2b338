// A tree merge file made or appended to, killed at any point: the merge file is as it was or
// complete, never cut, and its trees go only once the new content is in place.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "support/kill_points.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using test::ReadWholeFile;
using test::TempDir;

// Appended from a current fast file, the merge file's records copied from its move file.
TEST(MergeFileCrash, TheMergeFileIsOldOrComplete) {
    TempDir dir;
    const std::string pgn = dir.CopyData("harden/fischer.pgn", "games.pgn");
    SilentUi ui;
    pgn::PgnFile file;
    ASSERT_TRUE(file.Open(pgn).ok());
    const std::int32_t count = file.ScanGameFile(false, ui);
    const std::vector<std::uint32_t> offsets(file.Index().Offsets().begin(),
                                             file.Index().Offsets().end());
    file.Close();
    PgnGameSource games(pgn, offsets);
    ASSERT_TRUE(games.Open().ok());
    ASSERT_EQ(MakeFastFile(pgn, count, games, {}).outcome, MakeOutcome::Complete);
    const std::string target = dir.File("games.trm");
    auto merge = [&](platform::FileSystem& files, bool append) {
        return MakeMergeFile(pgn, count, games, {target, append}, {}, files).outcome;
    };
    // The merge file before (one copy of the games) and after (two).
    ASSERT_EQ(merge(platform::SystemFileSystem(), false), MakeOutcome::Complete);
    const std::string before = ReadWholeFile(target);
    ASSERT_EQ(merge(platform::SystemFileSystem(), true), MakeOutcome::Complete);
    const std::string after = ReadWholeFile(target);
    ASSERT_EQ(after.size(), 2 * before.size() - 2);

    test::KillAtEveryPoint(
        [&] {
            dir.Write("games.trm", before);
            dir.Write("games.TRE", "tree");
            platform::DeleteFile(target + ".new");
        },
        [&](platform::FileSystem& files) { (void)merge(files, true); },
        [&](int point) {
            const std::string now = ReadWholeFile(target);
            EXPECT_TRUE(now == before || now == after);
            if (point == 0) {
                EXPECT_EQ(now, after);
            }
            // The tree of the old content goes only after it (a tree left beside the new content
            // is known stale by its stamp).
            if (now == before) {
                EXPECT_TRUE(platform::FileExists(dir.File("games.TRE")));
            }
        });
}

}  // namespace
}  // namespace qorvale::search
