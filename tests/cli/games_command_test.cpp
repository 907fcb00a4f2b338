#include <gtest/gtest.h>

#include "base/bytes.h"
#include "platform/file.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

TEST(GamesCommand, CountsGamesOrReportsFailuresOnStderr) {
    TempDir dir;
    const std::string path = dir.CopyData("scan/players_lf.pgn", "players.pgn");
    struct Row {
        std::vector<std::string> arguments;
        int exit_code;
        std::string out_and_err;
    } rows[] = {
        {{"games", path}, 0, "40\n"},
        // The fixed text, then the file and the system's reason, indented.
        {{"games", dir.File("none.pgn")},
         1,
         "Error opening file.\n  " + dir.File("none.pgn") + "\n  No such file or directory\n"},
        {{"offsets", dir.path()},
         1,
         "Error opening file.\n  " + dir.path() + "\n  Is a directory\n"},
        {{"games"}, 2, "usage: qorvale-tool games FILE\n"},
        {{"offsets", "a", "b"}, 2, "usage: qorvale-tool offsets FILE\n"},
    };
    for (const Row& row : rows) {
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code) << row.out_and_err;
        EXPECT_EQ(run.err + run.out, row.out_and_err);
    }
    // A cache of the file's size is believed, as the window believes it: its count is printed.
    std::vector<std::uint8_t> cache;
    for (std::uint32_t word : {static_cast<std::uint32_t>(platform::FileSize(path)), 2u, 0u, 10u}) {
        AppendU32(cache, word);
    }
    dir.Write("players.PGO", std::string(cache.begin(), cache.end()));
    EXPECT_EQ(RunTool({"games", path}).out, "2\n");
}

// In these collections every game begins with its Event tag line, CR LF or LF alike.
TEST(OffsetsCommand, PrintsWhereEachGameBegins) {
    for (const char* name : {"scan/players_lf.pgn", "scan/players_crlf.pgn"}) {
        TempDir dir;
        std::string content = ReadWholeFile(TestDataPath(name));
        std::string expected;
        for (std::size_t at = 0; (at = content.find("[Event ", at)) != std::string::npos; ++at) {
            if (at == 0 || content[at - 1] == '\n') expected += std::to_string(at) + "\n";
        }
        EXPECT_EQ(RunTool({"offsets", dir.Write("players.pgn", content)}).out, expected) << name;
    }
}

}  // namespace
}  // namespace qorvale::test
