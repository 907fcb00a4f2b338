#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/pgn_extract.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

// The tool's edit commands reach the same editor as the window; these rows check the wiring:
// arguments, where the text comes from, the answers --yes gives, exit codes.
TEST(EditCommands, ArgumentsAnswersAndExitCodes) {
    TempDir dir;
    const std::string games = dir.CopyData("scan/players_lf.pgn", "games.pgn");
    const std::string typed = dir.CopyData("lines/calgames_07.pgn", "typed.pgn");
    const std::string bad_result = dir.Write("bad.pgn", "[Result \"1/2\"]\n\n1. e4 1/2\n");
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
        std::string out;
        std::string err;
        bool changes;
    } rows[] = {
        {"delete refused without --yes",
         {"edit", games, "delete", "3"},
         1,
         "",
         "Delete this game from current file? [no: pass --yes to answer yes]\n",
         false},
        {"a typed text that fails its checks",
         {"edit", games, "append", "--from", bad_result},
         1,
         "",
         "Result must be 1-0, 0-1, 1/2-1/2 or *. Game not saved.\n",
         false},
        {"a whole file is not one game",
         {"edit", games, "insert", "2", "--from", games},
         1,
         "",
         "The text holds more than one game.\n",
         false},
        {"a game number past the limit", {"edit", games, "delete", "200001"}, 2, "", "", false},
        {"an unknown action", {"edit", games, "remove", "3"}, 2, "", "", false},
        {"copy without a target", {"copy-games", games, "--games", "1"}, 2, "", "", false},
        {"a list that is no list",
         {"copy-games", games, "--games", "3-1", "--to", dir.File("t.pgn")},
         2,
         "",
         "",
         false},
        {"append", {"edit", games, "append", "--from", typed}, 0, "game 41 of 41\n", "", true},
        {"delete",
         {"edit", games, "delete", "3", "--yes"},
         0,
         "game 3 of 40\n",
         "Delete this game from current file? [yes]\nAre you sure? [yes]\n",
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string before = ReadWholeFile(games);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_EQ(run.out, row.out);
        if (row.exit_code != 2) {
            EXPECT_EQ(run.err, row.err);
        }
        EXPECT_EQ(ReadWholeFile(games) != before, row.changes);
    }
}

TEST(EditCommands, CopyGamesAndWriteMoves) {
    ASSERT_TRUE(HavePgnExtract());
    TempDir dir;
    const std::string games = dir.CopyData("scan/players_lf.pgn", "games.pgn");
    const std::string target = dir.File("target.pgn");
    ToolRun copy = RunTool({"copy-games", games, "--games", "3,7,10-12", "--to", target, "--yes"});
    EXPECT_EQ(copy.exit_code, 0);
    const std::vector<std::string> all = PgnExtractGames(games);
    EXPECT_EQ(PgnExtractGames(target),
              (std::vector<std::string>{all[2], all[6], all[9], all[10], all[11]}));

    const std::string before = ReadWholeFile(games);
    ToolRun written = RunTool({"write-moves", games, "7"});
    EXPECT_EQ(written.exit_code, 0);
    EXPECT_EQ(PgnExtractGames(dir.Write("written.pgn", written.out)),
              std::vector<std::string>{all[6]});
    EXPECT_EQ(ReadWholeFile(games), before);
}

}  // namespace
}  // namespace qorvale::test
