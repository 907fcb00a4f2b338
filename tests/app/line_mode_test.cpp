#include "app/line_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tree_session.h"
#include "chess/notation.h"
#include "openings/messages.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "support/tree_games.h"

namespace qorvale::app {
namespace {

using test::RecordingUi;
using test::TempDir;

TEST(LineMode, FindOpeningOnlyInVariationEditAndAnalyze) {
    openings::EcoTable table;
    ASSERT_TRUE(table.LoadFromText("C20\r\n", "King's pawn\r\n", "1.e4 e5\r\n").ok());
    struct Case {
        LineMode mode;
        std::vector<std::string> reports;
        std::int32_t entry;
    };
    const std::string refused(openings::messages::MustBeInVariationEdit);
    const std::vector<Case> cases = {{LineMode::None, {refused}, -1},
                                     {LineMode::VariationEdit, {}, 0},
                                     {LineMode::Analyze, {}, 0},
                                     {LineMode::EcoEdit, {refused}, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        RecordingUi ui;
        BoardLine line(c.mode);
        ASSERT_TRUE(line.PlayText("e4", ui) && line.PlayText("e5", ui));
        EXPECT_EQ(line.FindOpening(table, openings::FindOpeningMode::ExactVariation, ui), c.entry);
        EXPECT_EQ(ui.reports, c.reports);
        EXPECT_EQ(FindOpeningAllowed(c.mode), c.entry == 0);
    }
}

TEST(LineMode, AnEcoLineHoldsThirtyMoves) {
    for (LineMode mode : {LineMode::EcoEdit, LineMode::VariationEdit}) {
        SCOPED_TRACE(static_cast<int>(mode));
        RecordingUi ui;
        BoardLine line(mode);
        const char* shuffle[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
        for (int i = 0; i < 60; ++i) ASSERT_TRUE(line.PlayText(shuffle[i % 4], ui));
        EXPECT_TRUE(ui.reports.empty());
        const bool room = mode != LineMode::EcoEdit;
        EXPECT_EQ(line.PlayText("Nf3", ui), room);
        EXPECT_EQ(line.HalfMoves(), room ? 61 : 60);
        EXPECT_EQ(ui.reports.size(), room ? 0u : 1u);
    }
}

std::vector<std::string> Texts(const std::vector<TreeRow>& rows) {
    std::vector<std::string> texts;
    for (const TreeRow& row : rows) texts.push_back(row.text);
    return texts;
}

// Show Next Moves lists what the tree lists for the same line.
TEST(LineMode, NextMovesFollowTheTree) {
    TempDir dir;
    const test::TreeGames games = WriteTreeGames(dir, "games.pgn", test::TreeGamesText(), true);
    RecordingUi ui;
    auto tree_rows = [&](std::string_view line) {
        TreeSession session;
        EXPECT_TRUE(session.Open(games.Request(), {}, ui).ok());
        EXPECT_EQ(session.EnterLine(line, ui).stop, TreeSession::LineWalk::Stop::Done);
        return Texts(session.Rows());
    };
    BoardLine board(LineMode::Analyze);
    for (std::string_view move : chess::SplitLineMoves("1.e4 c5")) board.PlayText(move, ui);
    NextMovesSession next;
    ASSERT_TRUE(next.Start(games.Request(), board.Position(), false, {}, ui).ok());
    EXPECT_EQ(Texts(next.Rows()), tree_rows("1.e4 c5"));
    ASSERT_EQ(next.Rows()[0].move.text.view(), "Nf3");
    ASSERT_TRUE(next.Choose(0, ui));
    EXPECT_EQ(next.Line().LineText(), "1.e4 c5 2.Nf3");
    EXPECT_EQ(Texts(next.Rows()), tree_rows("1.e4 c5 2.Nf3"));
    EXPECT_TRUE(next.StepBack(ui));
    EXPECT_FALSE(next.StepBack(ui));  // not before the position it started from
    EXPECT_EQ(Texts(next.Rows()), tree_rows("1.e4 c5"));
    EXPECT_TRUE(ui.reports.empty());

    NextMovesSession maneuvers;
    openings::TreeOptions options;
    options.maneuver_look_ahead = 4;
    ASSERT_TRUE(maneuvers.Start(games.Request(), board.Position(), true, options, ui).ok());
    ASSERT_FALSE(maneuvers.Rows().empty());
    EXPECT_TRUE(maneuvers.Rows().front().text.starts_with("   Nf3 "));
    for (std::size_t i = 1; i < maneuvers.Rows().size(); ++i) {
        EXPECT_GE(maneuvers.Rows()[i - 1].move.games, maneuvers.Rows()[i].move.games);
    }
    EXPECT_FALSE(maneuvers.Choose(0, ui));
}

}  // namespace
}  // namespace qorvale::app
