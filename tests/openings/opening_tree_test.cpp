#include "openings/opening_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/tree_session.h"
#include "base/bytes.h"
#include "openings/messages.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "support/tree_games.h"

namespace qorvale::openings {
namespace {

using test::RecordingUi;
using test::TempDir;
using test::TreeGames;

// MOVE, GAMES, POINTS, WHITE_WINS, OTHER, BLACK_WINS, FIRST_GAME
using Row = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                       std::uint32_t, std::uint32_t>;

// tests/data/tree/reference.tsv, made by make_reference.py beside it with pgn-extract: the rows
// of each (exact, line), sorted.
std::map<std::pair<bool, std::string>, std::vector<Row>> Reference() {
    std::ifstream in(test::TestDataPath("tree/reference.tsv"));
    std::map<std::pair<bool, std::string>, std::vector<Row>> groups;
    for (std::string text; std::getline(in, text);) {
        std::vector<std::string> fields;
        std::stringstream split(text);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        if (fields.size() != 9) continue;
        auto number = [&](int i) { return static_cast<std::uint32_t>(std::stoul(fields[i])); };
        groups[{fields[0] == "exact", fields[1]}].emplace_back(
            fields[2], number(3), number(4), number(5), number(6), number(7), number(8));
    }
    for (auto& [key, rows] : groups) std::sort(rows.begin(), rows.end());
    return groups;
}

std::vector<Row> RowsOf(const std::vector<app::TreeRow>& list) {
    std::vector<Row> rows;
    for (const app::TreeRow& row : list) {
        const NextMove& move = row.move;
        rows.emplace_back(std::string(move.text.view()), move.games, move.points,
                          move.wins.white_wins,
                          move.games - move.wins.white_wins - move.wins.black_wins,
                          move.wins.black_wins, move.first_game);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

class TreeOverSource : public ::testing::TestWithParam<bool> {};

// The games whose main line begins with the line (in either order of each colour's moves when
// transpositions count), grouped by their next move, as pgn-extract and Python count them: at
// the root and down the most played line, through the fast file and through the text.
TEST_P(TreeOverSource, StatisticsMatchAnIndependentCount) {
    TempDir dir;
    const TreeGames games = WriteTreeGames(dir, "games.pgn", test::TreeGamesText(), GetParam());
    const auto reference = Reference();
    ASSERT_GT(reference.size(), 20u);
    for (const auto& [key, expected] : reference) {
        const auto& [exact, line] = key;
        SCOPED_TRACE((exact ? "exact: " : "transposing: ") + line);
        RecordingUi ui;
        TreeOptions options;
        options.exact_variations = exact;
        app::TreeSession session;
        ASSERT_TRUE(session.Open(games.Request(GetParam()), options, ui).ok());
        const auto walk = session.EnterLine(line, ui);
        ASSERT_EQ(walk.stop, app::TreeSession::LineWalk::Stop::Done) << walk.move;
        EXPECT_EQ(RowsOf(session.Rows()), expected);
        EXPECT_TRUE(ui.reports.empty()) << ui.reports.front();
    }
}

INSTANTIATE_TEST_SUITE_P(FastFileAndText, TreeOverSource, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "FastFile" : "Text"; });

// The first expanded nodes of a tree, and the tree file's bytes.
struct Grown {
    std::vector<app::TreeRow> rows;
    std::int32_t nodes = 0;
    std::string file;
};

Grown Grow(const TreeGames& games, const std::string& line, RecordingUi& ui) {
    app::TreeSession session;
    EXPECT_TRUE(session.Open(games.Request(), {}, ui).ok());
    EXPECT_EQ(session.EnterLine(line, ui).stop, app::TreeSession::LineWalk::Stop::Done);
    return {session.Rows(), session.Tree().NodeCount(),
            test::ReadWholeFile(session.Tree().TreeFilePath())};
}

TEST(OpeningTree, ReopenedTreeExpandsNothingTwice) {
    TempDir dir;
    const TreeGames games = WriteTreeGames(dir, "games.pgn", test::TreeGamesText(), true);
    RecordingUi ui;
    const Grown first = Grow(games, "1.e4 c5 2.Nf3 d6", ui);
    ASSERT_FALSE(first.rows.empty());

    // The move stream keeps its size but holds no game any more: whatever is read from it now
    // is found by no scan.
    // Size and time are kept, so the tree's stamp still fits the stream.
    const std::string trf = search::FastFileNamesOf(games.path).trf;
    const auto changed = std::filesystem::last_write_time(trf);
    dir.Write("games.TRF", std::string(static_cast<std::size_t>(platform::FileSize(trf)), '\0'));
    std::filesystem::last_write_time(trf, changed);

    const Grown again = Grow(games, "1.e4 c5 2.Nf3 d6", ui);
    EXPECT_EQ(RowsOf(again.rows), RowsOf(first.rows));
    EXPECT_EQ(again.nodes, first.nodes);
    EXPECT_EQ(again.file, first.file);
    EXPECT_TRUE(ui.reports.empty());

    // A node never entered is scanned now, and finds nothing in the emptied stream.
    app::TreeSession session;
    ASSERT_TRUE(session.Open(games.Request(), {}, ui).ok());
    ASSERT_EQ(session.EnterLine("1.e4 c5 2.Nf3 d6", ui).stop,
              app::TreeSession::LineWalk::Stop::Done);
    EXPECT_EQ(session.Enter(0, ui).kind, app::TreeStep::Kind::EndOfBranch);
    EXPECT_EQ(ui.reports, (std::vector<std::string>{std::string(messages::MakeFastFileAgain),
                                                    std::string(messages::EndOfBranch)}));
}

// A tree of another state of its source, or a tree file that cannot be walked, is deleted and
// the tree started again: the root is the root of a new tree.
TEST(OpeningTree, StaleOrDamagedTreesStartAgain) {
    struct Case {
        const char* name;
        bool fast_file;
        std::function<void(const TempDir&, const TreeGames&)> change;
        std::vector<std::string> reports = {};
    };
    auto write = [](const char* name, std::string bytes) {
        return [name, bytes](const TempDir& dir, const TreeGames&) { dir.Write(name, bytes); };
    };
    const std::vector<Case> cases = {
        {"fast file made for another game count", true,
         [](const TempDir& dir, const TreeGames& games) {
             std::string header = test::ReadWholeFile(search::FastFileNamesOf(games.path).trh);
             PutU32(reinterpret_cast<std::uint8_t*>(header.data()), 7);
             dir.Write("games.TRH", header);
         }},
        {"PGN text grown by a game", false,
         [](const TempDir& dir, const TreeGames&) {
             dir.Write("games.pgn", test::TreeGamesText() +
                                        "\n[Event \"x\"]\n[Result \"1-0\"]\n\n1. e4 e5 1-0\n");
         }},
        {"PGN text edited in place, its size kept", false,
         [](const TempDir& dir, const TreeGames& games) {
             std::string text = test::TreeGamesText();
             text.replace(text.find("[Result \"1-0\"]"), 14, "[Result \"0-1\"]");
             const auto changed = std::filesystem::last_write_time(games.path);
             dir.Write("games.pgn", text);
             std::filesystem::last_write_time(games.path, changed + std::chrono::seconds(2));
         }},
        {"counts file lost", true,
         [](const TempDir& dir, const TreeGames&) { platform::DeleteFile(dir.File("games.TWE")); }},
        {"tree file of the older format",
         true,
         write("games.TRE", std::string(64, '\xFF')),
         {std::string(messages::TreeFormatChanged)}},
        {"tree file cut inside a node", true, write("games.TRE", std::string(33, '\0'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const TreeGames games =
            WriteTreeGames(dir, "games.pgn", test::TreeGamesText(), c.fast_file);
        RecordingUi ui;
        const Grown fresh = Grow(games, "", ui);
        ASSERT_GT(Grow(games, "1.d4 d5 2.c4", ui).nodes, fresh.nodes);
        c.change(dir, games);

        RecordingUi reopened;
        auto source = TreeSource::Open(games.Request(c.fast_file));
        ASSERT_TRUE(source.ok());
        OpeningTree tree;
        TreeOpenInfo info;
        ASSERT_TRUE(tree.Open(std::move(source).value(), {}, reopened, false, &info).ok());
        EXPECT_TRUE(info.started_anew);
        EXPECT_EQ(tree.NodeCount(), fresh.nodes);
        EXPECT_EQ(reopened.reports, c.reports);
    }
}

// One game down a single line, and one that leaves it at once: every node after 1.e4 has a
// single continuation.
constexpr std::string_view SingleLineGames =
    "[Event \"a\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 "
    "b5 7. Bb3 d6 8. c3 O-O 1-0\n\n"
    "[Event \"b\"]\n[Result \"0-1\"]\n\n1. d4 d5 0-1\n";

TEST(OpeningTree, SingleNodeLimitEndsALongSingleLine) {
    struct Case {
        int limit;
        int steps;  // moves entered down 1.e4 ... when the branch ends
    };
    // The limit counts the run of single continuations; without one the line ends with the game.
    const std::vector<Case> cases = {{1, 1}, {2, 2}, {5, 5}, {10, 10}, {30, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        TempDir dir;
        const TreeGames games = WriteTreeGames(dir, "games.pgn", SingleLineGames, true);
        RecordingUi ui;
        TreeOptions options;
        options.single_node_limit = c.limit;
        app::TreeSession session;
        ASSERT_TRUE(session.Open(games.Request(), options, ui).ok());
        ASSERT_EQ(session.EnterLine("1.e4", ui).stop, app::TreeSession::LineWalk::Stop::Done);
        int steps = 1;
        while (!session.Rows().empty() && steps < 40) {
            ASSERT_EQ(session.Rows().size(), 1u);
            session.Enter(0, ui);
            ++steps;
        }
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(messages::EndOfBranch)});
        // An ended branch is stored as such: entering it again scans nothing and says so again.
        session.StepBack(ui);
        EXPECT_EQ(session.Enter(0, ui).kind, app::TreeStep::Kind::EndOfBranch);
        EXPECT_EQ(session.Tree().Node(session.Tree().CurrentNode()).child_count, EndOfBranch);
    }
}

TEST(OpeningTree, TextWithFenGamesRefusesToStep) {
    TempDir dir;
    const TreeGames games = WriteTreeGames(dir, "games.pgn", test::TreeGamesText(true), false);
    RecordingUi ui;
    app::TreeSession session;
    ASSERT_TRUE(session.Open(games.Request(), {}, ui).ok());
    ASSERT_FALSE(session.Rows().empty());
    EXPECT_EQ(session.Enter(0, ui).kind, app::TreeStep::Kind::Refused);
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(messages::TreeFenNotSupported)});
    EXPECT_FALSE(platform::FileExists(dir.File("games.TRE")));
}

}  // namespace
}  // namespace qorvale::openings
