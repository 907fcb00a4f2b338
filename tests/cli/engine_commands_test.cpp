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

// "Analyse the game": one profile point per position of the 13 half-moves, each named by the
// move the engine would play there.
TEST(AnalyseCommand, WholeGamePrintsTheProfile) {
    const std::string stockfish = InstalledEngine("/usr/games/stockfish");
    if (stockfish.empty()) GTEST_SKIP() << "stockfish is not installed";
    TempDir dir;
    const std::string games = dir.CopyData("lines/short_annotated.pgn", "games.pgn");
    ToolRun run = RunTool({"analyse", "--engine", stockfish, "--file", games, "--game", "1",
                           "--whole-game", "--depth", "4"});
    EXPECT_EQ(run.exit_code, 0);
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines.front().rfind("1. ", 0), 0u) << lines.front();
    EXPECT_EQ(lines[1].rfind("1... ", 0), 0u) << lines[1];
    EXPECT_EQ(lines.back().rfind("7... ", 0), 0u) << lines.back();
}

// "UCI Options": the engine's own option lines, as stockfish writes them after "uci".
TEST(UciOptionsCommand, PrintsTheEnginesOptions) {
    const std::string stockfish = InstalledEngine("/usr/games/stockfish");
    if (stockfish.empty()) GTEST_SKIP() << "stockfish is not installed";
    std::vector<std::string> expected;
    for (const std::string& line : Lines(CommandOutput("printf 'uci\\nquit\\n' | " + stockfish))) {
        // The list keeps no blanks at the end of a line ("... type string default ").
        if (line.rfind("option name ", 0) == 0) {
            expected.push_back(line.substr(12, line.find_last_not_of(' ') + 1 - 12));
        }
    }
    ASSERT_FALSE(expected.empty());
    ToolRun run = RunTool({"uci-options", "--engine", stockfish});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(Lines(run.out), expected);
}

// The tool's own checks of its arguments, before any engine is started.
TEST(EngineCommands, RefuseArgumentsTheyCannotUse) {
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
        const char* err;  // checked unless it is a usage line
    };
    const Row rows[] = {
        {"no position", {"analyse", "--engine", "e"}, 2, nullptr},
        {"two limits",
         {"analyse", "--engine", "e", "--fen", "k7/8/8/8/8/8/8/K7 w", "--depth", "3", "--movetime",
          "9"},
         2,
         nullptr},
        {"not a FEN",
         {"analyse", "--engine", "e", "--fen", "8/8/8 w"},
         2,
         "qorvale-tool: not a FEN position\n"},
        {"illegal game move",
         {"play", "--engine", "e", "--moves", "e2e4 e2e4"},
         1,
         "qorvale-tool: e2e4 is not a legal move here\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_EQ(run.out, "");
        if (row.err != nullptr) {
            EXPECT_EQ(run.err, row.err);
        }
    }
}

}  // namespace
}  // namespace qorvale::test
