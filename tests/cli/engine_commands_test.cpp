#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_engines.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

// A game from a set-up position with Black to move, analysed at its start: the engine gets the
// set-up, and the lines are numbered from its move number.
TEST(AnalyseCommand, PrintsTheLinesAndTheBestMove) {
    const std::string stockfish = InstalledEngine("/usr/games/stockfish");
    if (stockfish.empty()) GTEST_SKIP() << "stockfish is not installed";
    TempDir dir;
    const std::string games = dir.CopyData("lines/short_annotated.pgn", "games.pgn");
    ToolRun run = RunTool({"analyse", "--engine", stockfish, "--file", games, "--game", "2",
                           "--ply", "0", "--depth", "3"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "");
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Mate 1 31...Rd1#");
    EXPECT_EQ(lines.back(), "Bestmove 31...Rd1#");
}

TEST(EngineCommands, RefuseWhatTheyCannotUse) {
    TempDir dir;
    const std::string silent = InstallEngine(dir, "silent.sh");
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
        std::string out;
        std::string err;
    };
    const Row rows[] = {
        {"no position", {"analyse", "--engine", silent}, 2, "", ""},
        {"two limits",
         {"analyse", "--engine", silent, "--fen", "8/8/8/8/8/8/8/K6k w", "--depth", "3",
          "--movetime", "9"},
         2,
         "",
         ""},
        {"not a FEN",
         {"analyse", "--engine", silent, "--fen", "8/8/8 w"},
         2,
         "",
         "qorvale-tool: not a FEN position\n"},
        {"no engine there",
         {"analyse", "--engine", dir.File("none"), "--fen", "4k3/8/8/8/8/8/8/4K3 w"},
         1,
         "",
         "Could not start UCI engine.\n"},
        {"illegal game move",
         {"play", "--engine", silent, "--moves", "e2e4 e2e4"},
         1,
         "",
         "qorvale-tool: e2e4 is not a legal move here\n"},
        {"setboard",
         {"crafty-setboard", "--fen", "r3k2r/8/8/3pP3/8/8/8/R3K2R w Kq d6 0 1"},
         0,
         "setboard r3k2r/8/8/3pP3/8/8/8/R3K2R w Kq d5\n",
         ""},
        {"missing log", {"can2pgn", dir.File("none")}, 1, "", "Error opening CAN file.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_EQ(run.out, row.out);
        // A usage error prints the usage line, which help's own test covers.
        if (row.exit_code != 2 || !row.err.empty()) {
            EXPECT_EQ(run.err, row.err);
        }
    }
}

}  // namespace
}  // namespace qorvale::test
