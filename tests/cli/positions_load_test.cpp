#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

std::uint64_t Fnv1a64(std::string_view data) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : data) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

// The positions command reads games through the window's load sequence, so its placements
// must be the reference placements of the chess corpus.
TEST(PositionsCommand, PrintsTheReferencePlacementsOfEveryGame) {
    TempDir dir;
    std::string path = dir.Write("games.pgn", ReadWholeFile(TestDataPath("chess/games.pgn")));
    ToolRun run = RunTool({"positions", path});
    ASSERT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "");

    std::map<int, std::string> placements;
    std::map<int, int> plies;
    std::istringstream out(run.out);
    std::string line;
    while (std::getline(out, line)) {
        std::istringstream fields(line);
        int game = 0;
        int ply = 0;
        std::string move;
        std::string placement;
        fields >> game >> ply >> move >> placement;
        placements[game] += placement + "\n";
        ++plies[game];
    }
    std::ifstream reference(TestDataPath("chess/placements.tsv"));
    int checked = 0;
    while (std::getline(reference, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int game = 0;
        int expected_plies = 0;
        std::string hash;
        fields >> game >> expected_plies >> hash;
        SCOPED_TRACE(game);
        EXPECT_EQ(plies[game], expected_plies);
        EXPECT_EQ(Fnv1a64(placements[game]), std::stoull(hash, nullptr, 16));
        ++checked;
    }
    EXPECT_GT(checked, 1000);
}

TEST(PositionsCommand, PrintsOneGameOrFailsOnAMissingOne) {
    TempDir dir;
    std::string path =
        dir.Write("games.pgn", ReadWholeFile(TestDataPath("lines/short_annotated.pgn")));
    ToolRun second = RunTool({"positions", path, "--game", "2"});
    EXPECT_EQ(second.exit_code, 0);
    // The placeholder of a game Black begins is not printed; the FEN start is moved from.
    EXPECT_EQ(second.out, "2\t2\tRd1#\t6k1/5ppp/8/8/8/8/5PPP/3r2K1\n");
    ToolRun missing = RunTool({"positions", path, "--game", "3"});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_EQ(missing.err, "Error finding game.\n");
}

}  // namespace
}  // namespace qorvale::test
