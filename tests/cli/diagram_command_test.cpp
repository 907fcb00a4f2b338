// The diagram commands of the tool: what each writes and how each refuses.
#include <gtest/gtest.h>

#include "platform/file.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

TEST(DiagramCommands, WriteTheirFilesOrRefuse) {
    TempDir dir;
    const std::string games = dir.CopyData("lines/short_annotated.pgn", "games.pgn");
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
        const char* err;  // null: the usage line
        std::vector<std::string> written;
    };
    const Row rows[] = {
        {"PNG after 5 half-moves",
         {"diagram", games, "1", "--ply", "5", "--format", "png", "--set", "Sharp", "-o",
          dir.File("p")},
         0,
         "PNG file complete.\n",
         {"p.png"}},
        {"GIF of a FEN",
         {"diagram", "--fen", "8/8/4k3/8/8/8/8/4K3", "--format=gif", "-o", dir.File("f.gif")},
         0,
         "",
         {"f.gif"}},
        // Game 2 begins with Black's 31st move.
        {"HTML series",
         {"html-diagram", games, "2", "--series", "-o", dir.File("page.html")},
         0,
         "All diagrams complete.\n",
         {"page-start.html", "page-blackmove31.html", "bkw.gif"}},
        {"no such half-move",
         {"diagram", games, "1", "--ply", "14", "--format", "gif", "-o", dir.File("x.gif")},
         1,
         "qorvale-tool: game 1 has 13 half-moves; there is no ply 14\n",
         {}},
        {"no format", {"diagram", games, "1", "-o", dir.File("x.gif")}, 2, nullptr, {}},
        {"bad BMP",
         {"bmp2gif", dir.Write("bad.bmp", "BM"), dir.File("x.gif")},
         1,
         "Error reading bitmap file.\n",
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments, {"QORVALE_HOME=" + dir.File("home")});
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_TRUE(row.err ? run.err == row.err : run.err.starts_with("usage: ")) << run.err;
        for (const std::string& name : row.written)
            EXPECT_TRUE(platform::FileExists(dir.File(name))) << name;
    }
    EXPECT_FALSE(platform::FileExists(dir.File("x.gif")));
}

}  // namespace
}  // namespace qorvale::test
