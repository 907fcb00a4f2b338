#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

// The rules live in the editor and are tested there; these rows check the tool's wiring:
// arguments, where the text comes from, the answers --yes gives, exit codes. Rows run in order
// on one file.
TEST(EditCommands, ArgumentsAnswersAndExitCodes) {
    TempDir dir;
    const std::string games = dir.CopyData("scan/players_lf.pgn", "games.pgn");
    const std::string typed = dir.CopyData("lines/calgames_07.pgn", "typed.pgn");
    const std::string bad = dir.Write("bad.pgn", "[Result \"1/2\"]\n\n1. e4 1/2\n");
    const std::string target = dir.File("target.pgn");
    struct Row {
        std::vector<std::string> arguments;
        int exit_code;
        std::string out;
        std::string err;
    } rows[] = {
        {{"edit", games, "delete", "3"},
         1,
         "",
         "Delete this game from current file? [no: pass --yes to answer yes]\n"},
        {{"edit", games, "append", "--from", bad},
         1,
         "",
         "Result must be 1-0, 0-1, 1/2-1/2 or *. Game not saved.\n"},
        {{"edit", games, "insert", "2", "--from", games},
         1,
         "",
         "The text holds more than one game.\n"},
        {{"edit", games, "delete", "200001"}, 2, "", "usage"},
        {{"edit", games, "remove", "3"}, 2, "", "usage"},
        {{"copy-games", games, "--games", "3-1", "--to", target}, 2, "", "usage"},
        {{"edit", games, "append", "--from", typed}, 0, "game 41 of 41\n", ""},
        {{"edit", games, "delete", "3", "--yes"},
         0,
         "game 3 of 40\n",
         "Delete this game from current file? [yes]\nAre you sure? [yes]\n"},
        {{"copy-games", games, "--games", "3,7,10-12", "--to", target, "--yes"},
         0,
         "",
         "Do you want to continue? [yes]\nCopy games complete.\n"},
        {{"games", target}, 0, "5\n", ""},
        {{"write-moves", target, "9"}, 1, "", "Error finding game.\n"},
    };
    for (const Row& row : rows) {
        std::string words;
        for (const std::string& word : row.arguments) words += word + " ";
        SCOPED_TRACE(words);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_EQ(run.out, row.out);
        if (row.err == "usage") {
            EXPECT_TRUE(run.err.starts_with("usage: qorvale-tool " + row.arguments[0]));
        } else {
            EXPECT_EQ(run.err, row.err);
        }
    }
    // write-moves prints the rewrite and leaves the file alone.
    const std::string before = ReadWholeFile(target);
    ToolRun written = RunTool({"write-moves", target, "2"});
    EXPECT_EQ(written.exit_code, 0);
    EXPECT_TRUE(written.out.starts_with("[Event "));
    EXPECT_EQ(ReadWholeFile(target), before);
}

}  // namespace
}  // namespace qorvale::test
