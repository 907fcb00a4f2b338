#include "openings/tree_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "openings/messages.h"
#include "support/recording_ui.h"

namespace qorvale::openings {
namespace {

NextMove Move(std::string_view text, std::uint32_t games, std::uint32_t points) {
    NextMove move;
    move.text = chess::MoveText(text);
    move.games = games;
    move.points = points;
    return move;
}

TEST(TreeList, RowsKeepTheirColumns) {
    struct Case {
        const char* name;
        std::vector<NextMove> moves;
        TreeListStyle style;
        std::vector<std::string> rows;
    };
    TreeListStyle white;  // sorted by frequency, percentage shown
    TreeListStyle black = white;
    black.depth = 4;
    TreeListStyle plain = white;
    plain.sort = TreeSort::Appearance;
    plain.depth = 3;
    TreeListStyle score = white;
    score.show_percentage = false;
    score.show_score = true;
    TreeListStyle eco = score;
    eco.eco_tree = true;
    TreeListStyle maneuvers = plain;
    maneuvers.maneuvers = true;
    const std::vector<NextMove> two = {Move("d4", 1, 2), Move("e4", 3, 3)};
    const std::vector<Case> cases = {
        {"White to move", two, white, {"1. e4      75.0%       3", "1. d4      25.0%       1"}},
        {"one move in every game", {Move("Nf3", 7, 7)}, white, {"1. Nf3     100.0%      7"}},
        {"Black to move", two, black, {"2...e4     75.0%       3", "2...d4     25.0%       1"}},
        {"no statistics unsorted", two, plain, {"2. d4", "2. e4"}},
        {"White's score", two, score, {"1. e4      50.0%       3", "1. d4      100.0%      1"}},
        {"the ECO tree shows the share",
         two,
         eco,
         {"1. e4      75.0%       3", "1. d4      25.0%       1"}},
        {"maneuvers", two, maneuvers, {"   e4      75.0%       3", "   d4      25.0%       1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::RecordingUi ui;
        EXPECT_EQ(ShowTreeList(c.moves, c.style, ui).rows, c.rows);
    }
}

TEST(TreeList, SortsByGamesScoreOrMoveType) {
    const std::vector<NextMove> moves = {Move("Nf3", 5, 5), Move("e4", 9, 9),   Move("O-O", 5, 10),
                                         Move("a3", 1, 0),  Move("Bb5", 9, 18), Move("Nc3", 2, 2)};
    struct Case {
        TreeSort sort;
        std::vector<int> order;
    };
    const std::vector<Case> cases = {
        {TreeSort::Appearance, {0, 1, 2, 3, 4, 5}},
        {TreeSort::Frequency, {1, 4, 0, 2, 5, 3}},
        {TreeSort::Score, {2, 4, 0, 1, 5, 3}},
        {TreeSort::MoveType, {3, 1, 5, 0, 4, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.sort));
        test::RecordingUi ui;
        TreeListStyle style;
        style.sort = c.sort;
        EXPECT_EQ(SortTreeList(moves, style, ui), c.order);
        EXPECT_TRUE(ui.reports.empty());
    }
    test::RecordingUi ui;
    TreeListStyle style;
    style.sort = TreeSort::MoveType;
    const std::vector<NextMove> odd = {Move("e4", 1, 1), Move("????", 1, 1)};
    EXPECT_EQ(SortTreeList(odd, style, ui), (std::vector<int>{0, 1}));
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(messages::SortError)});
}

}  // namespace
}  // namespace qorvale::openings
