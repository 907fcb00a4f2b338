#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

constexpr std::string_view TwoGames =
    "[Event \"one\"]\n[Result \"1-0\"]\n\n"
    "{A comment 1. d4} 1.e4 e5 $1 2. Nf3 (2. f4 exf4 {gambit}) 2... Nc6 ; rest of line d4\n"
    "3. Bb5 1-0\n\n"
    "[Event \"two\"]\n[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4p3/K7 b - - 0 40\"]\n\n"
    "40. ... e1=Q+ 41. Ka2 Qe6+ 0-1\n";

TEST(PositionsCommand, PrintsEveryHalfMoveOfTheMainLine) {
    TempDir dir;
    std::string path = dir.Write("two.pgn", TwoGames);
    ToolRun all = RunTool({"positions", path});
    ASSERT_EQ(all.exit_code, 0) << all.err;
    std::vector<std::string> lines = Lines(all.out);
    ASSERT_EQ(lines.size(), 8u);
    std::vector<std::string> moves;
    for (const std::string& line : lines) moves.push_back(line.substr(0, line.rfind('\t')));
    // Black begins the second game: its first move is the second half-move.
    EXPECT_EQ(moves,
              (std::vector<std::string>{"1\t1\te4", "1\t2\te5", "1\t3\tNf3", "1\t4\tNc6",
                                        "1\t5\tBb5", "2\t2\te1=Q+", "2\t3\tKa2", "2\t4\tQe6+"}));
    EXPECT_EQ(lines[4], "1\t5\tBb5\tr1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R");
    EXPECT_EQ(lines[7], "2\t4\tQe6+\t4k3/8/4q3/8/8/8/K7/8");

    ToolRun second = RunTool({"positions", path, "--game", "2"});
    ASSERT_EQ(second.exit_code, 0);
    EXPECT_EQ(Lines(second.out).size(), 3u);
}

TEST(PositionsCommand, FailsCleanly) {
    TempDir dir;
    std::string path = dir.Write("two.pgn", TwoGames);
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
        std::string err_line;
    };
    const Row rows[] = {
        {"missing file", {"positions", dir.File("none.pgn")}, 1, "Error opening file."},
        {"no file", {"positions"}, 2, "usage: qorvale-tool positions"},
        {"game past the end", {"positions", path, "--game", "3"}, 1, "Error finding game."},
        {"bad game number", {"positions", path, "--game", "x"}, 2, "usage: qorvale-tool positions"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find(row.err_line), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace qorvale::test
