#include "engines/crafty_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/messages.h"
#include "platform/file.h"
#include "support/kill_points.h"
#include "support/temp_dir.h"

namespace qorvale::engines {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::TestDataPath;

TEST(CraftyFiles, NamesFollowTheChosenName) {
    EXPECT_EQ(PositionFileName("/home/me/endgame"), "/home/me/endgame.pos");
    EXPECT_EQ(PositionFileName("/home/me/endgame."), "/home/me/endgame.pos");
    EXPECT_EQ(PositionFileName("/home/me/endgame.txt"), "/home/me/endgame.txt");
    EXPECT_EQ(PositionFileName("/home/my.folder/endgame"), "/home/my.folder/endgame.pos");
    EXPECT_EQ(CanFileName("/logs/game.001"), "/logs/game.001.can");
    EXPECT_EQ(CanFileName("/logs/game.can"), "/logs/game.can");
    EXPECT_EQ(ConvertedCanPath("/logs/game.can"), "/logs/game.pgn");
}

TEST(CraftyFiles, WritesTheExactBytes) {
    TempDir folder;
    ASSERT_TRUE(WritePositionFile(folder.File("p.pos"), "setboard 8/8/8/8/8/8/8/K6k w").ok());
    EXPECT_EQ(ReadWholeFile(folder.File("p.pos")), "setboard 8/8/8/8/8/8/8/K6k w\r\nexit\r\n");

    const std::vector<std::string> moves = {"e4", "c5", "Nf3", "d6", "d4"};
    EXPECT_EQ(AnalysisGameText(moves, 5), "1. e4 c5\r\n2. Nf3 d6\r\n3. d4\r\n");
    EXPECT_EQ(AnalysisGameText(moves, 4), "1. e4 c5\r\n2. Nf3 d6\r\n");
    EXPECT_EQ(AnalysisGameText(moves, 0), "");

    // Items are joined until a line reaches 60 characters.
    std::vector<std::string> long_game;
    for (int i = 0; i < 13; ++i) {
        long_game.push_back("Nf3");
        long_game.push_back("Nf6");
    }
    long_game.push_back("Ng1");
    const std::string text = ContinueGameText({"[Event \"Casual\"]", "[White \"Me\"]"}, long_game);
    EXPECT_EQ(text,
              "[Event \"Casual\"]\r\n[White \"Me\"]\r\n\r\n"
              "1.Nf3 Nf6 2.Nf3 Nf6 3.Nf3 Nf6 4.Nf3 Nf6 5.Nf3 Nf6 6.Nf3 Nf6 7.Nf3 Nf6\r\n"
              "8.Nf3 Nf6 9.Nf3 Nf6 10.Nf3 Nf6 11.Nf3 Nf6 12.Nf3 Nf6 13.Nf3 Nf6\r\n"
              "14.Ng1  *\r\n");
    EXPECT_EQ(ContinueGameText({}, {}), "\r\n  *\r\n");
}

TEST(ConvertCanFile, ConvertsLogsWithEitherLineEnd) {
    const std::string expected = ReadWholeFile(TestDataPath("engines/can_converted.pgn"));
    ASSERT_FALSE(expected.empty());
    for (const char* log : {"game_lf.can", "game_crlf.can"}) {
        SCOPED_TRACE(log);
        TempDir folder;
        const std::string path = folder.CopyData(std::string("engines/") + log, "game.can");
        ASSERT_TRUE(ConvertCanFile(path).ok());
        EXPECT_EQ(ReadWholeFile(folder.File("game.pgn")), expected);
    }
    TempDir folder;
    EXPECT_EQ(ConvertCanFile(folder.File("missing.can")).message(), messages::ErrorOpeningCanFile);
    const std::string log = folder.CopyData("engines/game_lf.can", "game.can");
    ASSERT_TRUE(platform::CreateFolder(folder.File("game.pgn")));
    EXPECT_EQ(ConvertCanFile(log).message(), messages::ErrorCreatingPgnFile);
}

// A conversion killed at any point leaves a PGN file of the same name either as it was or
// complete, never cut.
TEST(ConvertCanFile, OldFileSurvivesAKillAtAnyPoint) {
    TempDir folder;
    const std::string log = folder.CopyData("engines/game_lf.can", "game.can");
    const std::string pgn = folder.File("game.pgn");
    const std::string old_content = "[Event \"older\"]\r\n\r\n1.d4 *\r\n";
    const std::string converted = ReadWholeFile(TestDataPath("engines/can_converted.pgn"));
    int points = test::KillAtEveryPoint(
        [&] { folder.Write("game.pgn", old_content); },
        [&](platform::FileSystem& files) { (void)ConvertCanFile(log, files); },
        [&](int point) {
            const std::string now = ReadWholeFile(pgn);
            EXPECT_TRUE(now == old_content || now == converted) << now.size() << " bytes";
            if (point == 0) {
                EXPECT_EQ(now, converted);
            }
        });
    EXPECT_GT(points, 3);
}

}  // namespace
}  // namespace qorvale::engines
