#include <gtest/gtest.h>

#include "platform/file.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

TEST(ListCommand, PrintsEveryGameInEachLayout) {
    TempDir dir;
    const std::string path = dir.CopyData("gui/annotated-matches.pgn", "matches.pgn");
    struct Row {
        const char* layout;
        std::string first_line;
    };
    const std::vector<Row> rows = {
        {"0", "   1  Leonardo, Giovanni   Lopez, Ruy           1-0       1547.??.??   C53    "},
        {"1", "   1  Leonardo, Giovanni     Lopez, Ruy             1-0   ?  Giuoco Piano     "},
        {"2", "   1  Leonardo, Giovanni   Lopez, Ruy            1-0   ?   Madrid             "},
        {"3", "   1  Leonardo, Giovanni   Lopez, Ruy            1-0   ?   ?                  "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.layout);
        ToolRun run = RunTool({"list", path, "--layout", row.layout});
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.err, "");
        std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 12u);
        EXPECT_EQ(lines[0], row.first_line);
        EXPECT_EQ(lines[11].substr(0, 6), "  12  ");
    }
    // Small files keep no list cache.
    EXPECT_FALSE(platform::FileExists(dir.File("matches.pgs")));
}

TEST(ListCommand, RefusesBadUsage) {
    TempDir dir;
    const std::string path = dir.Write("one.pgn", "[White \"A\"]\n[Black \"B\"]\n\n1. e4 *\n");
    struct Row {
        std::vector<std::string> arguments;
        int exit_code;
    };
    const std::vector<Row> rows = {
        {{"list"}, 2},
        {{"list", path, "--layout", "4"}, 2},
        {{"list", path, "--layout", "x"}, 2},
        {{"list", dir.File("missing.pgn")}, 1},
        {{"list", path}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.size());
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        if (row.exit_code == 1) {
            EXPECT_EQ(run.err.substr(0, 20), "Error opening file.\n");
        }
        if (row.exit_code == 0) {
            EXPECT_EQ(run.out.substr(0, 8), "   1  A ");
        }
    }
}

// Games without an ECO tag are named from the install folder's table; without a table that
// loads they list as they are, and the openings files of the install folder list their names.
TEST(ListCommand, EcoCodesAndOpeningNamesFollowTheInstallFolder) {
    TempDir home;
    const std::string games =
        home.Write("games.pgn",
                   "[White \"Tagged\"]\n[Black \"B\"]\n[Result \"1-0\"]\n[ECO \"C20\"]\n\n"
                   "1.e4 c5 2.Nf3 d6 1-0\n\n"
                   "[White \"Najdorf\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n"
                   "1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 a6 6.Bg5 e6 7.f4 1-0\n");
    TempDir broken;  // a codes file without names and moves: the table cannot be loaded
    broken.Write("qorvale.eco", "B96\r\n");
    TempDir install;
    ASSERT_TRUE(platform::CreateFolder(install.File("openings")));
    const std::string names = install.Write(
        "openings/Ecocodes.pgn",
        "[ECO \"A00\"]\r\n[Opening \"Polish\"]\r\n\r\n1.b4\r\n\r\n"
        "[ECO \"B20\"]\r\n[Opening \"Sicilian\"]\r\n[Variation \"Wing Gambit\"]\r\n\r\n"
        "1.e4 c5 2.b4\r\n");
    struct Row {
        const char* name;
        std::string file;
        std::string home;
        std::vector<std::string> line_ends;  // the end of each line
    };
    const std::vector<Row> rows = {
        {"table of the program", games, install.path(), {"C20    ", "B96    "}},
        {"table that cannot be loaded", games, broken.path(), {"C20    ", "       "}},
        {"openings file of the install folder",
         names,
         install.path(),
         {"   1 A00 Polish", "   2 B20 Sicilian-Wing Gambit"}},
        {"openings file of another folder", names, broken.path(), {"A00    ", "B20    "}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool({"list", row.file}, {"QORVALE_HOME=" + row.home});
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.err, "");
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), row.line_ends.size());
        for (std::size_t k = 0; k < lines.size(); ++k) {
            EXPECT_TRUE(lines[k].ends_with(row.line_ends[k])) << lines[k];
        }
    }
}

}  // namespace
}  // namespace qorvale::test
