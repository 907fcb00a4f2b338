#include <gtest/gtest.h>

#include "base/bytes.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

TEST(GamesCommand, CountsGamesThroughTheOffsetCacheLikeTheWindow) {
    TempDir dir;
    std::string content = ReadWholeFile(TestDataPath("scan/players_lf.pgn"));
    std::string path = dir.Write("players.pgn", content);
    ToolRun first = RunTool({"games", path});
    EXPECT_EQ(first.exit_code, 0);
    EXPECT_EQ(first.out + first.err, "40\n");
    // A cache of the right size is believed: its count is what the tool prints.
    std::vector<std::uint8_t> cache;
    for (std::uint32_t word : {static_cast<std::uint32_t>(content.size()), 2u, 0u, 10u}) {
        AppendU32(cache, word);
    }
    EXPECT_NE(ReadWholeFile(dir.File("players.PGO")), std::string(cache.begin(), cache.end()));
    dir.Write("players.PGO", std::string(cache.begin(), cache.end()));
    EXPECT_EQ(RunTool({"games", path}).out, "2\n");
}

TEST(GamesCommand, ReportsFailuresOnStderr) {
    TempDir dir;
    struct Row {
        std::vector<std::string> arguments;
        int exit_code;
        std::string err;
    } rows[] = {
        {{"games", dir.File("none.pgn")}, 1, "Error opening file.\n"},
        {{"offsets", dir.path()}, 1, "Error opening file.\n"},
        {{"games"}, 2, "usage: qorvale-tool games FILE\n"},
        {{"offsets", "a", "b"}, 2, "usage: qorvale-tool offsets FILE\n"},
    };
    for (const Row& row : rows) {
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code) << row.err;
        EXPECT_EQ(run.err + run.out, row.err);
    }
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
