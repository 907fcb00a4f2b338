#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

std::vector<std::vector<std::string>> Lines(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

constexpr std::string_view TwoGames =
    "[Event \"one\"]\n[Result \"1-0\"]\n\n"
    "{A comment 1. d4} 1.e4 e5 $1 2. Nf3 (2. f4 exf4 {gambit}) 2... Nc6 ; rest of line d4\n"
    "3. Bb5 1-0\n\n"
    "[Event \"two\"]\n[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4p3/K7 b - - 0 40\"]\n\n"
    "40. ... e1=Q+ 41. Ka2 Qe6+ 0-1\n";

TEST(PositionsCommand, PrintsEveryHalfMoveOfTheMainLine) {
    TempDir dir;
    std::string path = dir.Write("two.pgn", TwoGames);
    ToolRun all = RunTool({"positions", path});
    ASSERT_EQ(all.exit_code, 0) << all.err;
    auto rows = Lines(all.out);
    ASSERT_EQ(rows.size(), 8u);
    std::vector<std::string> moves;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 4u);
        moves.push_back(row[0] + ":" + row[1] + ":" + row[2]);
    }
    // Black begins the second game: its first move is the second half-move.
    EXPECT_EQ(moves, (std::vector<std::string>{"1:1:e4", "1:2:e5", "1:3:Nf3", "1:4:Nc6",
                                               "1:5:Bb5", "2:2:e1=Q+", "2:3:Ka2", "2:4:Qe6+"}));
    EXPECT_EQ(rows[4][3], "r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R");
    EXPECT_EQ(rows[7][3], "4k3/8/4q3/8/8/8/K7/8");

    ToolRun second = RunTool({"positions", path, "--game", "2"});
    ASSERT_EQ(second.exit_code, 0);
    EXPECT_EQ(Lines(second.out).size(), 3u);
}

TEST(PositionsCommand, FailsCleanly) {
    TempDir dir;
    std::string path = dir.Write("two.pgn", TwoGames);
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
    };
    const Row rows[] = {
        {"missing file", {"positions", dir.File("none.pgn")}, 1},
        {"no file", {"positions"}, 2},
        {"game past the end", {"positions", path, "--game", "3"}, 1},
        {"bad game number", {"positions", path, "--game", "x"}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_NE(RunTool({"positions", dir.File("none.pgn")}).err.find("Error opening file."),
              std::string::npos);
}

// The whole reference corpus read from its PGN text gives pgn-extract's placements.
TEST(PositionsCommand, CorpusMatchesReferencePlacements) {
    ToolRun run = RunTool({"positions", TestDataPath("chess/games.pgn")});
    ASSERT_EQ(run.exit_code, 0);
    std::map<std::string, std::pair<int, std::uint64_t>> games;
    for (const auto& row : Lines(run.out)) {
        auto& [plies, hash] = games[row[0]];
        if (plies == 0) hash = 0xcbf29ce484222325ull;
        if (++plies > 400) continue;
        for (unsigned char c : row[3] + "\n") {
            hash ^= c;
            hash *= 0x100000001b3ull;
        }
    }
    std::istringstream reference(ReadWholeFile(TestDataPath("chess/placements.tsv")));
    int compared = 0;
    int mismatched = 0;
    for (std::string line; std::getline(reference, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string game, hex;
        int plies = 0;
        fields >> game >> plies >> hex;
        auto found = games.find(game);
        int got_plies = found == games.end() ? 0 : std::min(found->second.first, 400);
        char got[17];
        std::snprintf(got, sizeof got, "%016llx",
                      static_cast<unsigned long long>(found == games.end() ? 0 : found->second.second));
        ++compared;
        if ((got_plies != plies || hex != got) && plies > 0) {
            ADD_FAILURE() << "game " << game;
            if (++mismatched > 5) break;
        }
    }
    EXPECT_GT(compared, 1500);
}

}  // namespace
}  // namespace qorvale::test
