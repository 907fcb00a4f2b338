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

}  // namespace
}  // namespace qorvale::test
