#include "app/tree_session.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/app_folder.h"
#include "openings/messages.h"
#include "platform/file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "support/tree_games.h"

namespace qorvale::app {
namespace {

using test::RecordingUi;
using test::TempDir;

int RowOf(const TreeSession& session, std::string_view move) {
    for (std::size_t row = 0; row < session.Rows().size(); ++row) {
        if (session.Rows()[row].move.text.view() == move) return static_cast<int>(row);
    }
    return -1;
}

TEST(TreeSession, StepsBackAndThroughItsHistory) {
    TempDir dir;
    const test::TreeGames games = WriteTreeGames(dir, "games.pgn", test::TreeGamesText(), true);
    RecordingUi ui;
    TreeSession session;
    ASSERT_TRUE(session.Open(games.Request(), {}, ui).ok());
    EXPECT_FALSE(session.CanGoBack());
    session.Enter(RowOf(session, "e4"), ui);
    session.Enter(RowOf(session, "c5"), ui);
    ASSERT_EQ(session.LineText(), "1.e4 c5");
    ASSERT_TRUE(session.StepBack(ui));
    EXPECT_EQ(session.LineText(), "1.e4");
    // The move just left is selected again.
    EXPECT_EQ(session.SelectedRow(), RowOf(session, "c5"));

    ASSERT_TRUE(session.Back(ui));
    EXPECT_EQ(session.LineText(), "1.e4 c5");
    ASSERT_TRUE(session.Back(ui));
    EXPECT_EQ(session.LineText(), "1.e4");
    ASSERT_TRUE(session.Forward(ui));
    EXPECT_EQ(session.LineText(), "1.e4 c5");
    // A new step drops what lay ahead.
    session.Enter(RowOf(session, "Nf3"), ui);
    EXPECT_FALSE(session.CanGoForward());
    session.Close();

    // Reopened, the tree starts at the root, and Back leads to where the last session stopped.
    ASSERT_TRUE(session.Open(games.Request(), {}, ui).ok());
    EXPECT_EQ(session.LineText(), "");
    ASSERT_TRUE(session.Back(ui));
    EXPECT_EQ(session.LineText(), "1.e4 c5 2.Nf3");
    EXPECT_TRUE(ui.reports.empty());

    // Exact variations live in a tree file of their own, opened at its root.
    openings::TreeOptions exact;
    exact.exact_variations = true;
    ASSERT_TRUE(session.SetOptions(exact, ui).ok());
    EXPECT_EQ(session.Tree().TreeFilePath(), dir.File("games.TRX"));
    EXPECT_TRUE(platform::FileExists(dir.File("games.TWX")));
    EXPECT_EQ(session.LineText(), "");
}

TEST(TreeSession, EndOfBranchShowsTheGameOrTheGames) {
    TempDir dir;
    const test::TreeGames games =
        WriteTreeGames(dir, "games.pgn",
                       "[Event \"a\"]\n[Result \"1-0\"]\n\n1. d4 d5 1-0\n\n"
                       "[Event \"b\"]\n[Result \"1-0\"]\n\n1. e4 e5 1-0\n\n"
                       "[Event \"c\"]\n[Result \"0-1\"]\n\n1. d4 d5 0-1\n\n"
                       "[Event \"d\"]\n[Result \"1/2-1/2\"]\n\n1. d4 Nf6 1/2-1/2\n",
                       true);
    RecordingUi ui;
    openings::TreeOptions options;
    options.auto_display_game = true;
    TreeSession session;
    ASSERT_TRUE(session.Open(games.Request(), options, ui).ok());
    session.Enter(RowOf(session, "d4"), ui);
    const TreeStep both = session.Enter(RowOf(session, "d5"), ui);
    ASSERT_EQ(both.kind, TreeStep::Kind::EndOfBranch);
    ASSERT_EQ(both.end, openings::EndOfBranchAction::ShowGameList);
    ASSERT_EQ(both.games.Count(), 2);
    EXPECT_EQ(both.games.Games()[0].game_number, 1);
    EXPECT_EQ(both.games.Games()[1].game_number, 3);

    session.StepBack(ui);
    const TreeStep one = session.Enter(RowOf(session, "Nf6"), ui);
    EXPECT_EQ(one.end, openings::EndOfBranchAction::ShowGame);
    EXPECT_EQ(one.game_number, 4);
    EXPECT_EQ(one.half_move, 2);
    EXPECT_TRUE(ui.reports.empty());
}

TEST(TreeSession, EndOfBranchActionByOptionAndSource) {
    struct Case {
        openings::TreeSourceKind kind;
        bool auto_display;
        std::uint32_t games;
        bool background;
        openings::EndOfBranchAction action;
    };
    using Kind = openings::TreeSourceKind;
    using Action = openings::EndOfBranchAction;
    const std::vector<Case> cases = {
        {Kind::PgnFile, false, 1, false, Action::Message},
        {Kind::EcoTable, true, 1, false, Action::Message},
        {Kind::Database, true, 1, false, Action::Message},
        {Kind::MergeFile, true, 1, true, Action::Nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        openings::TreeNode node;
        node.games = c.games;
        openings::TreeOptions options;
        options.auto_display_game = c.auto_display;
        EXPECT_EQ(openings::EndOfBranchActionFor(node, c.kind, options, c.background), c.action);
    }
}

TEST(TreeSession, RowsCarryTheirGames) {
    TempDir dir;
    const test::TreeGames games = WriteTreeGames(dir, "games.pgn", test::TreeGamesText(), true);
    RecordingUi ui;
    TreeSession session;
    ASSERT_TRUE(session.Open(games.Request(), {}, ui).ok());
    session.Enter(RowOf(session, "d4"), ui);
    ASSERT_GT(session.Rows().size(), 3u);
    for (int row = 0; row < static_cast<int>(session.Rows().size()); ++row) {
        const TreeRow& shown = session.Rows()[static_cast<std::size_t>(row)];
        SCOPED_TRACE(shown.text);
        Result<search::SearchList> list = session.GamesOfRow(row, ui);
        ASSERT_TRUE(list.ok());
        EXPECT_EQ(static_cast<std::uint32_t>(list->Count()), shown.move.games);
        EXPECT_EQ(static_cast<std::uint32_t>(list->ClassCount(1)), shown.move.wins.white_wins);
        EXPECT_EQ(static_cast<std::uint32_t>(list->ClassCount(2)), shown.move.wins.black_wins);
        EXPECT_EQ(static_cast<std::uint32_t>(list->Games()[0].game_number), shown.move.first_game);
        EXPECT_NEAR(shown.white_share + shown.other_share + shown.black_share, 1.0, 1e-9);
    }
}

// The table's own lines as games: each move's count is the number of lines that go that way,
// counted here from the moves texts as strings.
TEST(TreeSession, EcoTableTreeCountsTheTableLines) {
    TempDir dir;
    for (const char* name : {"qorvale.eco", "qorvale.ecn", "qorvale.ecm"}) {
        dir.Write(name, test::ReadWholeFile(ProgramDataFolder() + "/" + name));
    }
    openings::EcoTable table;
    RecordingUi ui;
    ASSERT_TRUE(LoadEcoTable(openings::EcoTableFilesIn(dir.path()), table, ui).ok());
    std::map<std::string, std::uint32_t> lines_after_e4;
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        const std::string_view moves = table.Moves(entry);
        if (!moves.starts_with("1.e4 ")) continue;
        std::string_view reply = moves.substr(5);
        reply = reply.substr(0, reply.find(' '));
        ++lines_after_e4[std::string(reply)];
    }
    openings::TreeSourceRequest request;
    request.kind = openings::TreeSourceKind::EcoTable;
    request.path = dir.path();
    request.eco_table = &table;
    TreeSession session;
    ASSERT_TRUE(session.Open(request, {}, ui).ok());
    session.Enter(RowOf(session, "e4"), ui);
    std::map<std::string, std::uint32_t> shown;
    for (const TreeRow& row : session.Rows())
        shown[std::string(row.move.text.view())] = row.move.games;
    EXPECT_EQ(shown, lines_after_e4);
    EXPECT_TRUE(platform::FileExists(dir.File("ecotree.tre")));
}

}  // namespace
}  // namespace qorvale::app
