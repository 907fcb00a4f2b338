// The output forms of dirsearch and the db commands; the rules behind them are tested in the
// core and app tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

TEST(DatabaseCommands, DirsearchPrintsStemGameAndPly) {
    TempDir dir;
    TempDir home;
    dir.CopyData("search/crafted.pgn", "b.pgn");
    dir.CopyData("harden/fischer.pgn", "A.pgn");
    const std::vector<std::string> env = {"QORVALE_HOME=" + home.path()};
    ToolRun run = RunTool({"dirsearch", dir.path(), "--position", "W:Kg1 B:Kg8", "--move-number",
                           ">=8", "--save", dir.File("kings")},
                          env);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.front().starts_with("A\t")) << lines.front();
    EXPECT_EQ(lines.back(), "b\t5\t15");
    run = RunTool({"dirresults", dir.File("kings.dir")}, env);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_NE(run.out.find("b:2\n"), std::string::npos) << run.out;
    run = RunTool({"dirsearch", home.path(), "--white", "Fischer"}, env);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "No files were found.\n");
}

TEST(DatabaseCommands, DbSearchPrintsOneLinePerGame) {
    TempDir dir;
    dir.CopyData("harden/fischer.pgn", "f.pgn");
    const std::string db = dir.File("f.dbg");
    ToolRun run = RunTool({"db", "make", db, dir.File("f.pgn"), "--yes"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    run = RunTool({"db", "search", db, "--black", "Keres", "--sort-year", "--descending"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(Lines(run.out).front(), "16\tFischer, Robert J.\tKeres, Paul\t1961\t1/2-1/2");
    EXPECT_EQ(Lines(run.out).size(), 4u);
    EXPECT_EQ(run.err, "Select Game from 4\n");
    run = RunTool({"db", "show", db, "16"});
    EXPECT_TRUE(run.out.starts_with("[Event \"Bled\"]\r\n")) << run.out;
    run = RunTool({"db", "check", db});
    EXPECT_EQ(run.err, "Database OK. Number of games: 34\n");
    run = RunTool({"db", "copy", db, "--to", dir.File("keres.pgn")});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    run = RunTool({"games", dir.File("keres.pgn")});
    EXPECT_EQ(run.out, "4\n");
}

}  // namespace
}  // namespace qorvale::test
