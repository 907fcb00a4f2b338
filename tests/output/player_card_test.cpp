#include "output/player_card.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "openings/eco_group_name.h"
#include "pgn/pgn_file.h"
#include "search/database_build.h"
#include "support/fast_file_copy.h"
#include "support/player_request.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::output {
namespace {

// An independent count in python3 over the same games: per player (exact name), the games,
// the results by colour, the rating range, the events and the games per ECO code.
constexpr std::string_view OracleScript = R"py(
import re, sys, collections
games, tags = [], None
for line in open(sys.argv[1], encoding='latin-1'):
    m = re.match(r'\[(\w+) "(.*)"\]', line.strip())
    if not m: continue
    if m.group(1) == 'Event': tags = {}; games.append(tags)
    tags[m.group(1)] = m.group(2)
players = collections.defaultdict(lambda: {'n': 0, 'w': [0, 0, 0], 'b': [0, 0, 0], 'elo': [],
                                           'ev': set(), 'eco': collections.Counter()})
for g in games:
    for side, key in (('White', 'w'), ('Black', 'b')):
        p = players[g['White'] if side == 'White' else g['Black']]
        p['n'] += 1
        r = g.get('Result', '*')
        elo = g.get(side + 'Elo', '')
        if elo.isdigit() and int(elo) > 0: p['elo'].append(int(elo))
        if r not in ('1-0', '0-1', '1/2-1/2'): continue
        won = (r == '1-0') == (side == 'White')
        p[key][1 if r == '1/2-1/2' else 0 if won else 2] += 1
        p['ev'].add(g['Event'])
        p['eco'][g.get('ECO', '')] += 1
for name, p in players.items():
    print('\t'.join([name, str(p['n'])] + [str(x) for x in p['w'] + p['b']] +
                    [str(min(p['elo'], default=0)), str(max(p['elo'], default=0)),
                     str(len(p['ev']))] + ['%s=%d' % kv for kv in sorted(p['eco'].items())]))
)py";

struct OraclePlayer {
    int games = 0;
    std::vector<int> white, black;  // wins, draws, losses
    int lowest = 0, highest = 0, events = 0;
    std::map<std::string, int> families;  // games per ECO family name
};

std::map<std::string, OraclePlayer> CountWithPython(const test::TempDir& dir,
                                                    const std::string& pgn) {
    const std::string script = dir.Write("oracle.py", OracleScript);
    std::map<std::string, OraclePlayer> players;
    FILE* pipe = popen(("python3 '" + script + "' '" + pgn + "'").c_str(), "r");
    if (pipe == nullptr) return players;
    std::string out;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
        OraclePlayer& p = players[fields.at(0)];
        p.games = std::stoi(fields.at(1));
        for (int k = 0; k < 3; ++k) p.white.push_back(std::stoi(fields.at(2 + k)));
        for (int k = 0; k < 3; ++k) p.black.push_back(std::stoi(fields.at(5 + k)));
        p.lowest = std::stoi(fields.at(8));
        p.highest = std::stoi(fields.at(9));
        p.events = std::stoi(fields.at(10));
        for (std::size_t k = 11; k < fields.size(); ++k) {
            const std::size_t eq = fields[k].rfind('=');
            const std::string code = fields[k].substr(0, eq);
            p.families[std::string(openings::EcoGroupName(code))] +=
                std::stoi(fields[k].substr(eq + 1));
        }
    }
    return players;
}

// Every player's card, built by exact name, agrees with the count.
TEST(PlayerCard, FiguresMatchAnIndependentCount) {
    for (const char* data : {"stats/round-robin.pgn", "stats/knockout.pgn"}) {
        SCOPED_TRACE(data);
        test::TempDir dir;
        const std::string path = dir.CopyData(data, "games.pgn");
        const auto oracle = CountWithPython(dir, path);
        ASSERT_GT(oracle.size(), 5u);
        pgn::PgnFile file;
        test::RecordingUi ui;
        PlayerTableRequest request = test::OpenPlayerRequest(file, path);
        request.match = PlayerMatch::Exact;
        for (const auto& [name, expected] : oracle) {
            SCOPED_TRACE(name);
            const PlayerCard card = BuildPlayerCard(request, name, ui);
            EXPECT_EQ(static_cast<int>(card.games.size()), expected.games);
            EXPECT_EQ(card.names, std::vector<std::string>{name});
            EXPECT_EQ((std::vector<int>{card.white.wins, card.white.draws, card.white.losses}),
                      expected.white);
            EXPECT_EQ((std::vector<int>{card.black.wins, card.black.draws, card.black.losses}),
                      expected.black);
            EXPECT_EQ(card.LowestRating(), expected.lowest);
            EXPECT_EQ(card.HighestRating(), expected.highest);
            EXPECT_EQ(static_cast<int>(card.events.size()), expected.events);
            std::map<std::string, int> families;
            for (const CardGroup& group : card.openings) families[group.name] = group.score.Games();
            EXPECT_EQ(families, expected.families);
            for (std::size_t k = 1; k < card.ratings.size(); ++k) {
                EXPECT_LE(card.ratings[k - 1].date, card.ratings[k].date);
            }
        }
    }
}

// A name as the player table matches it by key: a shorter form finds the same games, and every
// form written in them is listed.
TEST(PlayerCard, KeyMatchingGathersTheFormsOfAName) {
    test::TempDir dir;
    const std::string path = dir.Write(
        "names.pgn",
        "[Event \"A\"]\n[White \"Smith, John\"]\n[Black \"Jones\"]\n[Result \"1-0\"]\n"
        "[WhiteElo \"2100\"]\n[Date \"2001.05.01\"]\n\n1. e4 1-0\n\n"
        "[Event \"B\"]\n[White \"Jones\"]\n[Black \"SMITH,J\"]\n[Result \"1/2-1/2\"]\n"
        "[BlackElo \"2250\"]\n[Date \"2000.01.01\"]\n\n1. d4 1/2-1/2\n\n"
        "[Event \"B\"]\n[White \"Smyth\"]\n[Black \"Jones\"]\n[Result \"0-1\"]\n\n1. c4 0-1\n");
    pgn::PgnFile file;
    test::RecordingUi ui;
    const PlayerTableRequest request = test::OpenPlayerRequest(file, path);
    const PlayerCard card = BuildPlayerCard(request, "Smith", ui);
    EXPECT_EQ(card.games, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(card.names, (std::vector<std::string>{"Smith, John", "SMITH,J"}));
    EXPECT_EQ(card.white.wins, 1);
    EXPECT_EQ(card.black.draws, 1);
    ASSERT_EQ(card.ratings.size(), 2u);
    EXPECT_EQ(card.ratings.front().rating, 2250);  // the earlier date first
    const std::string text = FormatPlayerCard(card);
    EXPECT_NE(text.find("Rating: 2100 - 2250 (2000.01.01 to 2001.05.01)"), std::string::npos);
}

// A database built from the same file holds the same games: the card over both counts each of
// the player's games twice, the database's found through its own player chains.
TEST(PlayerCard, DatabaseGamesJoinTheFilesGames) {
    test::TempDir dir;
    const test::FastFileCopy source = test::CopyWithFastFile(dir, "stats/round-robin.pgn", "r.pgn");
    const std::string db = dir.File("r.dbg");
    const auto count = static_cast<std::int32_t>(source.offsets.size());
    ASSERT_TRUE(search::MakeDatabase({db, search::DbBuildMode::StartNew, source.path, count}, {})
                    .error.ok());
    Result<search::Database> database = search::Database::Open(db);
    ASSERT_TRUE(database.ok());
    pgn::PgnFile file;
    test::RecordingUi ui;
    const PlayerTableRequest request = test::OpenPlayerRequest(file, source.path);
    PlayerTable table;
    ASSERT_TRUE(BuildPlayerTable(request, table, ui));
    for (const PlayerRecord& player : table.players) {
        SCOPED_TRACE(player.name);
        const PlayerCard alone = BuildPlayerCard(request, player.name, ui);
        PlayerCard both = alone;
        ASSERT_TRUE(AddDatabaseGames(both, *database).ok());
        EXPECT_EQ(both.database_games, static_cast<std::int32_t>(alone.games.size()));
        EXPECT_EQ(both.names, alone.names);
        EXPECT_EQ(both.white.wins, 2 * alone.white.wins);
        EXPECT_EQ(both.black.losses, 2 * alone.black.losses);
        EXPECT_EQ(both.ratings.size(), 2 * alone.ratings.size());
        EXPECT_EQ(both.events.size(), alone.events.size());
    }
}

}  // namespace
}  // namespace qorvale::output
