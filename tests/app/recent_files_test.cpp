#include "app/recent_files.h"

#include <gtest/gtest.h>

#include "app/message_kind.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

TEST(RecentFiles, NewestFirstWithoutRepeatsAndKeptAcrossStarts) {
    test::TempDir folder;
    const std::string list = RecentFilesPath(folder.path());
    {
        RecentFiles recent(list);
        recent.Load();
        EXPECT_TRUE(recent.Paths().empty());
        for (int k = 0; k < 12; ++k) recent.Add("/games/" + std::to_string(k) + ".pgn");
        recent.Add("/games/5.pgn");
        recent.Remove("/games/9.pgn");
    }
    RecentFiles again(list);
    again.Load();
    const std::vector<std::string> expected = {"/games/5.pgn", "/games/11.pgn", "/games/10.pgn",
                                               "/games/8.pgn", "/games/7.pgn",  "/games/6.pgn",
                                               "/games/4.pgn", "/games/3.pgn"};
    EXPECT_EQ(again.Paths(), expected);
}

TEST(MessageKind, IconFollowsTheWording) {
    struct Row {
        const char* message;
        MessageKind kind;
    };
    const Row rows[] = {
        {"Error opening file.", MessageKind::Error},
        {"Invalid search file.", MessageKind::Error},
        {"The ECO names file is missing.", MessageKind::Error},
        {"Result must be 1-0, 0-1, 1/2-1/2 or *. Game not saved.", MessageKind::Error},
        {"Warning: You need to run 'Make Fast File' again.", MessageKind::Warning},
        {"Must terminate file check first.", MessageKind::Warning},
        {"Sorry, cannot cancel fast file generation.", MessageKind::Warning},
        {"Bishops must be on different diagonals.", MessageKind::Warning},
        {"Fast file complete.", MessageKind::Information},
        {"D06 Queen's Gambit", MessageKind::Information},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        EXPECT_EQ(KindOfMessage(row.message), row.kind);
    }
}

}  // namespace
}  // namespace qorvale::app
