#include "output/player_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "output/messages.h"
#include "platform/file.h"
#include "search/search_file_fixture.h"
#include "support/player_request.h"

namespace qorvale::output {
namespace {

// The games of a file as a plain reading of its tag lines sees them: the oracle the tables are
// checked against, sharing nothing with the code under test.
struct OracleGame {
    std::string white, black, result;
    int round = 0;
};

std::vector<OracleGame> ReadOracleGames(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<OracleGame> games;
    OracleGame game;
    std::string line;
    auto value = [&](const std::string& tag) -> std::string {
        const std::string start = "[" + tag + " \"";
        if (line.rfind(start, 0) != 0) return {};
        return line.substr(start.size(), line.find("\"]") - start.size());
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("[Event ", 0) == 0) games.push_back(OracleGame{});
        if (games.empty()) continue;
        if (std::string v = value("White"); !v.empty()) games.back().white = v;
        if (std::string v = value("Black"); !v.empty()) games.back().black = v;
        if (std::string v = value("Result"); !v.empty()) games.back().result = v;
        if (std::string v = value("Round"); !v.empty()) games.back().round = std::atoi(v.c_str());
    }
    return games;
}

struct OracleCounts {
    std::array<int, 6> counts{};  // the record's order: w+ b+ w= b= w- b-
    double score = 0;
};

std::map<std::string, OracleCounts> CountGames(const std::vector<OracleGame>& games) {
    std::map<std::string, OracleCounts> players;
    for (const OracleGame& g : games) {
        OracleCounts& w = players[g.white];
        OracleCounts& b = players[g.black];
        if (g.result == "1-0") {
            ++w.counts[0], ++b.counts[5], w.score += 1;
        } else if (g.result == "0-1") {
            ++b.counts[1], ++w.counts[4], b.score += 1;
        } else if (g.result == "1/2-1/2") {
            ++w.counts[2], ++b.counts[3], w.score += 0.5, b.score += 0.5;
        }
    }
    return players;
}

PlayerTableRequest RequestOf(const search::SearchSource& source) {
    PlayerTableRequest request;
    request.pgn_path = source.pgn_path;
    request.offsets = source.offsets;
    request.game_count = source.game_count;
    request.use_fast_file = source.use_fast_file;
    return request;
}

using StatisticsTest = search::SearchFileTest;

// Every player's six counts and score, and the score order, against the plain count.
TEST_P(StatisticsTest, RoundRobinScoresMatchAnIndependentCount) {
    Open("stats/round-robin.pgn");
    const auto oracle = CountGames(ReadOracleGames(path_));
    PlayerTable table;
    ASSERT_TRUE(BuildPlayerTable(RequestOf(source_), table, ui_));
    EXPECT_EQ(table.source, GetParam() ? PlayerSource::HeaderFile : PlayerSource::PgnText);
    ASSERT_EQ(table.players.size(), oracle.size());
    EXPECT_TRUE(ui_.questions.empty()) << "a round robin is not a knockout";
    float previous = 1e9F;
    for (std::int32_t index : table.order) {
        const PlayerRecord& p = table.players[static_cast<std::size_t>(index)];
        SCOPED_TRACE(p.name);
        ASSERT_TRUE(oracle.count(p.name));
        const OracleCounts& o = oracle.at(p.name);
        EXPECT_EQ((std::array<int, 6>{p.wins_white, p.wins_black, p.draws_white, p.draws_black,
                                      p.losses_white, p.losses_black}),
                  o.counts);
        EXPECT_DOUBLE_EQ(p.score, o.score);
        EXPECT_LE(p.score, previous);
        previous = p.score;
    }
}

// Each cell of the cross table names the opponent's line, the colour and the result of the game
// the plain reading finds in that round.
TEST_P(StatisticsTest, CrossTableCellsAreTheGamesOfEachRound) {
    Open("stats/round-robin.pgn");
    const std::vector<OracleGame> games = ReadOracleGames(path_);
    PlayerTableRequest request = RequestOf(source_);
    request.cross_table = true;
    PlayerTable table;
    ASSERT_TRUE(BuildPlayerTable(request, table, ui_));
    const std::string text = BuildCrossTable(table, false, ui_);
    ASSERT_FALSE(text.empty());

    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), table.order.size() + 1);
    std::map<std::string, int> line_of;
    for (std::size_t k = 0; k < table.order.size(); ++k) {
        line_of[table.players[static_cast<std::size_t>(table.order[k])].name] =
            static_cast<int>(k + 1);
    }
    const bool ratings = lines[1].size() > 5 && lines[0].find("Rnd 1") == 36 + 2;
    const std::size_t first_cell = ratings ? 35 : 27;
    for (const OracleGame& g : games) {
        for (bool white : {true, false}) {
            const std::string& me = white ? g.white : g.black;
            const std::string& other = white ? g.black : g.white;
            const std::string& line = lines[static_cast<std::size_t>(line_of[me])];
            const std::string cell =
                line.substr(first_cell + 8 * static_cast<std::size_t>(g.round - 1), 8);
            char mark = g.result == "1/2-1/2" ? '=' : (g.result == "1-0") == white ? '+' : '-';
            char expected[16];
            std::snprintf(expected, sizeof expected, "   %3d%c%c", line_of[other],
                          white ? 'w' : 'b', mark);
            EXPECT_EQ(cell, expected) << me << " round " << g.round;
        }
    }
    EXPECT_NE(lines[0].find("  Rnd 9   Score"), std::string::npos);

    // The page form: a row per player and, as in the text, a game in every round.
    const std::string html = CrossTableHtml(table, "Cross Table", ui_);
    std::size_t rows = 0;
    for (std::size_t at = 0; (at = html.find("<tr><td>", at)) != std::string::npos; ++at) ++rows;
    EXPECT_EQ(rows, table.order.size());
    for (const auto& [name, line] : line_of) {
        SCOPED_TRACE(name);
        const std::vector<std::int32_t> own = GamesOfPlayer(request, name, ui_);
        EXPECT_EQ(own.size(), 9U);
        for (std::int32_t game : own) {
            const OracleGame& g = games[static_cast<std::size_t>(game - 1)];
            EXPECT_TRUE(g.white == name || g.black == name);
        }
    }
}

// Knockout games are scored by matches: one point for each pair that met in a round, to the
// player with more half-points or, when level, to the one who had Black in their last game.
TEST_P(StatisticsTest, KnockoutScoresMatchesWon) {
    Open("stats/knockout.pgn");
    const std::vector<OracleGame> games = ReadOracleGames(path_);
    std::map<std::string, double> match_points;
    std::map<std::pair<std::string, std::string>, std::pair<int, int>> half;  // per round
    std::map<std::pair<std::string, std::string>, std::string> last_black;
    auto settle = [&]() {
        for (const auto& [pair, points] : half) {
            std::string winner = points.first > points.second   ? pair.first
                                 : points.second > points.first ? pair.second
                                                                : last_black[pair];
            match_points[winner] += 1;
        }
        half.clear();
    };
    int round = -1;
    for (const OracleGame& g : games) {
        if (g.round != round) settle(), round = g.round;
        auto pair = std::minmax(g.white, g.black);
        auto& points = half[pair];
        const bool white_first = pair.first == g.white;
        int white_half = g.result == "1-0" ? 2 : g.result == "1/2-1/2" ? 1 : 0;
        int black_half = g.result == "0-1" ? 2 : g.result == "1/2-1/2" ? 1 : 0;
        (white_first ? points.first : points.second) += white_half;
        (white_first ? points.second : points.first) += black_half;
        last_black[pair] = g.black;
    }
    settle();

    ui_.answers = {true};
    PlayerTableRequest request = RequestOf(source_);
    request.cross_table = true;
    PlayerTable table;
    ASSERT_TRUE(BuildPlayerTable(request, table, ui_));
    ASSERT_EQ(ui_.questions, std::vector<std::string>{std::string(KnockoutQuestion)});
    EXPECT_TRUE(table.knockout);
    double total = 0;
    for (const PlayerRecord& p : table.players) {
        SCOPED_TRACE(p.name);
        EXPECT_DOUBLE_EQ(p.score, match_points[p.name]);
        total += p.score;
    }
    // One cross-table record per match, winner first.
    EXPECT_EQ(static_cast<double>(table.games.size()), total);
    for (const CrossGameRecord& match : table.games) EXPECT_EQ(match.result, 2);

    // Answered No, the same file is scored game by game.
    test::RecordingUi no;
    ASSERT_TRUE(BuildPlayerTable(RequestOf(source_), table, no));
    EXPECT_FALSE(table.knockout);
    const auto oracle = CountGames(games);
    for (const PlayerRecord& p : table.players) EXPECT_DOUBLE_EQ(p.score, oracle.at(p.name).score);
}

INSTANTIATE_TEST_SUITE_P(Roads, StatisticsTest, ::testing::Bool(), search::PathName);

// Name matching, ratings and undecided games on small files written here.
TEST(PlayerTable, NamesRatingsAndResults) {
    test::TempDir dir;
    struct Case {
        const char* games;  // White|Black|Result|WhiteElo per game, ';' between games
        PlayerMatch match;
        std::vector<std::string> expected;  // name:rating:games, in score order
    };
    const Case cases[] = {
        {"Smith, J.|Jones|1-0|;Smith, John|Jones|1-0|",
         PlayerMatch::Key,
         {"Smith, J.:0:2", "Jones:0:2"}},
        {"Smith, J.|Jones|1-0|;Smith, John|Jones|1-0|",
         PlayerMatch::Exact,
         {"Smith, J.:0:1", "Smith, John:0:1", "Jones:0:2"}},
        // A rating met after the first game is not taken; "*" counts for no one.
        {"Adams|Brown|1/2-1/2|;Adams|Brown|*|2600", PlayerMatch::Key, {"Adams:0:1", "Brown:0:1"}},
        // Names without letters are players by their text, not one key-less crowd.
        {"?|Carlsen|0-1|2800;?|Carlsen|0-1|;NN|?|1-0|",
         PlayerMatch::Key,
         {"Carlsen:0:2", "NN:0:1", "?:2800:3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.games);
        std::string text;
        std::istringstream games(c.games);
        for (std::string game; std::getline(games, game, ';');) {
            std::istringstream fields(game);
            std::string white, black, result, elo;
            std::getline(fields, white, '|');
            std::getline(fields, black, '|');
            std::getline(fields, result, '|');
            std::getline(fields, elo, '|');
            text += "[Event \"t\"]\n[White \"" + white + "\"]\n[Black \"" + black +
                    "\"]\n[Result \"" + result + "\"]\n";
            if (!elo.empty()) text += "[WhiteElo \"" + elo + "\"]\n";
            text += "\n1. e4 e5 " + result + "\n\n";
        }
        pgn::PgnFile file;
        PlayerTableRequest request = test::OpenPlayerRequest(file, dir.Write("names.pgn", text));
        request.match = c.match;
        test::RecordingUi ui;
        PlayerTable table;
        ASSERT_TRUE(BuildPlayerTable(request, table, ui));
        std::vector<std::string> got;
        for (std::int32_t index : table.order) {
            const PlayerRecord& p = table.players[static_cast<std::size_t>(index)];
            got.push_back(p.name + ":" + std::to_string(p.rating) + ":" +
                          std::to_string(p.Games()));
        }
        EXPECT_EQ(got, c.expected);
    }
}

// A file of more than 1000 games keeps its table beside it; the cache is read back whole, a
// damaged or outdated one is ignored, and a cross table never uses it.
TEST(PlayerTable, CacheOfALargeFile) {
    test::TempDir dir;
    std::ifstream in(test::TestDataPath("stats/round-robin.pgn"), std::ios::binary);
    const std::string one((std::istreambuf_iterator<char>(in)), {});
    std::string text;
    for (int k = 0; k < 23; ++k) text += one + "\n";
    const std::string path = dir.Write("big.pgn", text);
    pgn::PgnFile file;
    const PlayerTableRequest request = test::OpenPlayerRequest(file, path);
    test::RecordingUi ui;
    ASSERT_GT(request.game_count, PlayerCacheThreshold);

    auto lines = [](const PlayerTable& table) {
        std::vector<std::string> out;
        for (std::int32_t index : table.order) {
            out.push_back(FormatPlayerLine(table.players[static_cast<std::size_t>(index)]));
        }
        return out;
    };
    PlayerTable built;
    ASSERT_TRUE(BuildPlayerTable(request, built, ui));
    ASSERT_TRUE(built.cache_written);
    const std::string cache = PlayerCachePath(path, PlayerMatch::Key);
    ASSERT_EQ(platform::FileSize(cache),
              4 + static_cast<std::int64_t>(built.players.size() * PlayerRecordSize));

    PlayerTable again;
    ASSERT_TRUE(BuildPlayerTable(request, again, ui));
    EXPECT_EQ(again.source, PlayerSource::Cache);
    EXPECT_EQ(lines(again), lines(built));

    PlayerTableRequest cross = request;
    cross.cross_table = true;
    ASSERT_TRUE(BuildPlayerTable(cross, again, ui));
    EXPECT_NE(again.source, PlayerSource::Cache);

    // Cut short: counted from the games again, and the cache made whole.
    std::string bytes = test::ReadWholeFile(cache);
    std::ofstream(cache, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() - 30);
    ASSERT_TRUE(BuildPlayerTable(request, again, ui));
    EXPECT_EQ(again.source, PlayerSource::PgnText);
    EXPECT_EQ(lines(again), lines(built));
    EXPECT_EQ(test::ReadWholeFile(cache), bytes);

    // A file changed after its cache was written is counted again.
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(cache) + std::chrono::seconds(5));
    ASSERT_TRUE(BuildPlayerTable(request, again, ui));
    EXPECT_EQ(again.source, PlayerSource::PgnText);

    DeletePlayerCaches(path);
    EXPECT_FALSE(platform::FileExists(cache));
}

TEST(PlayerTable, LineFormats) {
    struct Case {
        const char* name;
        int rating;
        float score;
        const char* line;
    };
    const Case cases[] = {
        {"Kasparov, G", 2851, 7.5F,
         "Kasparov, G..............2851  7.5  w+0    b+0    w=0    b=0    w-0    b-0 "},
        {"Unrated", 0, 3.0F,
         "Unrated......................  3.0  w+0    b+0    w=0    b=0    w-0    b-0 "},
        {"Marathon", 2500, 100.0F,
         "Marathon.....................100.0  w+0    b+0    w=0    b=0    w-0    b-0 "},
        // Widths count characters, so a name in UTF-8 keeps the columns.
        {"Ü\xC3\xA7ok", 0, 1.0F,
         "Ü\xC3\xA7ok.........................  1.0  w+0    b+0    w=0    b=0    w-0    b-0 "},
    };
    for (const Case& c : cases) {
        PlayerRecord player;
        player.name = c.name;
        player.rating = c.rating;
        player.score = c.score;
        EXPECT_EQ(FormatPlayerLine(player), c.line);
    }
}

}  // namespace
}  // namespace qorvale::output
