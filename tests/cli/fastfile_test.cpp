#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

// One session at the command line, step by step on the same file.
TEST(FastfileCommand, MakeCheckDumpAndDelete) {
    TempDir dir;
    std::string pgn = dir.CopyData("fast/limits.pgn", "games.pgn");
    struct Step {
        std::vector<std::string> arguments;
        int exit_code;
        std::string out;       // all of stdout
        std::string err_line;  // a line stderr must hold
    };
    const std::string fen_warning =
        "Warning: File contained some FEN positions. Fast file may not be correct.";
    const Step steps[] = {
        {{"fastfile", "check", pgn}, 1, "", "Fast file does not exist."},
        {{"fastfile", "make", pgn}, 0, "", fen_warning},
        {{"fastfile", "check", pgn}, 0, "", "Fast file OK"},
        {{"fastfile", "dump", pgn, "--game", "2"},
         0,
         "2: e2e4 e7e5 g1f3 b8c6 f1b5 a7a6  1-0\n",
         ""},
        // A game without moves is its result word alone.
        {{"fastfile", "dump", pgn, "--game=3"}, 0, "3:  0-1\n", ""},
        {{"fastfile", "dump", dir.File("games.TRF"), "--game", "4"},
         0,
         "4: e2e4 ????  other\n",
         ""},
        {{"fastfile", "dump", pgn, "--game", "5"}, 1, "", "no game 5"},
        {{"fastfile", "delete", pgn}, 1, "", "Delete the fast file. Confirm."},
        {{"fastfile", "check", pgn}, 0, "", "Fast file OK"},
        {{"fastfile", "delete", pgn, "--yes"}, 0, "", "Fast file deleted."},
        {{"fastfile", "check", pgn}, 1, "", "Fast file does not exist."},
        {{"fastfile", "shred", pgn}, 2, "", "usage: qorvale-tool fastfile"},
    };
    for (const Step& step : steps) {
        std::string name;
        for (const std::string& word : step.arguments) name += word + " ";
        SCOPED_TRACE(name);
        ToolRun run = RunTool(step.arguments);
        EXPECT_EQ(run.exit_code, step.exit_code) << run.err;
        EXPECT_EQ(run.out, step.out);
        EXPECT_NE(run.err.find(step.err_line), std::string::npos) << run.err;
        // stderr is a pipe here: the rewritten progress line belongs on terminals only.
        EXPECT_EQ(run.err.find('\r'), std::string::npos) << run.err;
    }
}

TEST(FastfileCommand, StaleFastFileIsReportedByEveryReader) {
    TempDir dir;
    std::string text = ReadWholeFile(TestDataPath("fast/limits.pgn"));
    std::string pgn = dir.Write("games.pgn", text);
    ASSERT_EQ(RunTool({"fastfile", "make", pgn}).exit_code, 0);
    // A game appended behind the fast file's back.
    dir.Write(
        "games.pgn",
        text + "[Event \"New\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"*\"]\n\n1. d4 *\n\n");
    const std::string stale = "Warning: You need to run 'Make Fast File' again.";
    for (const char* action : {"check", "dump"}) {
        SCOPED_TRACE(action);
        ToolRun run = RunTool({"fastfile", action, pgn});
        EXPECT_NE(run.err.find(stale), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace qorvale::test
