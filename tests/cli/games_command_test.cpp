#include <gtest/gtest.h>

#include "base/bytes.h"
#include "platform/file.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

std::string Players() { return ReadWholeFile(TestDataPath("scan/players_lf.pgn")); }

TEST(GamesCommand, CountsGamesAndUsesTheOffsetCacheLikeTheWindow) {
    TempDir dir;
    std::string content = Players();
    std::string path = dir.Write("players.pgn", content);
    ToolRun first = RunTool({"games", path});
    EXPECT_EQ(first.exit_code, 0);
    EXPECT_EQ(first.out, "40\n");
    EXPECT_EQ(first.err, "");
    ASSERT_TRUE(platform::FileExists(dir.File("players.PGO")));

    // A cache of the right size is believed: its count is what the tool prints.
    std::vector<std::uint8_t> cache;
    AppendU32(cache, static_cast<std::uint32_t>(content.size()));
    AppendU32(cache, 2);
    AppendU32(cache, 0);
    AppendU32(cache, 10);
    dir.Write("players.PGO", std::string(cache.begin(), cache.end()));
    EXPECT_EQ(RunTool({"games", path}).out, "2\n");
}

TEST(GamesCommand, ReportsFailuresOnStderr) {
    TempDir dir;
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
        std::string err;
    } rows[] = {
        {"missing file", {"games", dir.File("none.pgn")}, 1, "Error opening file.\n"},
        {"folder", {"offsets", dir.path()}, 1, "Error opening file.\n"},
        {"no file", {"games"}, 2, "usage: qorvale-tool games FILE\n"},
        {"two files", {"offsets", "a", "b"}, 2, "usage: qorvale-tool offsets FILE\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST(OffsetsCommand, PrintsWhereEachGameBegins) {
    for (const char* name : {"scan/players_lf.pgn", "scan/players_crlf.pgn"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        std::string content = ReadWholeFile(TestDataPath(name));
        ToolRun run = RunTool({"offsets", dir.Write("players.pgn", content)});
        EXPECT_EQ(run.exit_code, 0);
        std::string expected;
        for (std::size_t at = 0; (at = content.find("[Event ", at)) != std::string::npos; ++at) {
            if (at == 0 || content[at - 1] == '\n') expected += std::to_string(at) + "\n";
        }
        EXPECT_EQ(run.out, expected);
    }
}

}  // namespace
}  // namespace qorvale::test
