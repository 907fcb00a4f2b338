#include "app/game_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pgn/game_lines.h"

namespace qorvale::app {
namespace {

// A game's moves as the movetext parser leaves them.
struct ParsedGame {
    pgn::GameLines lines;
    GameTextSource source;

    explicit ParsedGame(std::string_view movetext, std::uint32_t start_move_number = 0) {
        int full_moves = lines.ParseMovetextText(movetext);
        source = {&lines.Moves(), full_moves, start_move_number};
    }
};

// n full moves of knights going back and forth: every move text is 3 characters.
std::string KnightShuffle(int full_moves) {
    std::string text;
    for (int move = 1; move <= full_moves; ++move) {
        text += std::to_string(move) + (move % 2 == 1 ? ". Nf3 Nf6 " : ". Ng1 Ng8 ");
    }
    return text + "1/2-1/2";
}

// The text at a move's place is the move itself, for every half-move laid out.
void ExpectPlacesPointAtMoves(const ParsedGame& game, const RenderedGameText& text) {
    for (int ply = 1; ply <= 2 * game.source.full_moves; ++ply) {
        PlyPlace place = text.PlaceOf(ply);
        if (place.line == 0) continue;
        const int index = (ply - 1) / 2;
        std::string_view move = ply % 2 == 1 ? game.lines.Moves().WhiteMoves[index].view()
                                             : game.lines.Moves().BlackMoves[index].view();
        const std::string& line =
            text.TextLines.at(static_cast<std::size_t>(place.line - FirstMoveLine));
        ASSERT_LE(static_cast<std::size_t>(place.column) + move.size(), line.size()) << ply;
        EXPECT_EQ(line.substr(static_cast<std::size_t>(place.column), move.size()), move) << ply;
        EXPECT_EQ(text.PlyAt(place.line, place.column), ply);
    }
}

TEST(GameTextTest, PagesAndPlaces) {
    struct Row {
        const char* name;
        int full_moves;
        int chars_per_line;  // panel width in characters of 8 pixels
        int pages;
    };
    const std::vector<Row> rows = {
        {"25 short moves on one page", 25, 0, 1}, {"narrow panel, one move per line", 30, 12, 2},
        {"five pages at most", 200, 12, 5},       {"exactly twenty lines", 20, 12, 1},
        {"twenty-one lines", 21, 12, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ParsedGame game(KnightShuffle(row.full_moves));
        ASSERT_EQ(game.source.full_moves, row.full_moves);
        GameTextLayout layout;
        if (row.chars_per_line > 0) {
            layout.panel_width = 100 + 8 * row.chars_per_line;
            layout.measure = [](std::string_view text) {
                return 8 * static_cast<int>(text.size());
            };
        }
        RenderedGameText text = RenderGameText(game.source, layout);
        EXPECT_EQ(text.PageCount(), row.pages);
        for (const std::string& line : text.TextLines) {
            EXPECT_LT(line.size(), TextLineLimit);
            if (row.chars_per_line > 0) {
                EXPECT_LE(static_cast<int>(line.size()), row.chars_per_line);
            }
        }
        for (int page = 2; page <= text.PageCount(); ++page) {
            const int start = text.PageStarts[static_cast<std::size_t>(page - 2)];
            ASSERT_GT(start, 0);
            std::vector<std::string_view> lines = text.PageLines(page);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.front().substr(0, std::to_string(start + 1).size() + 1),
                      std::to_string(start + 1) + ".");
            // The page's first move is marked on the page's first line.
            EXPECT_EQ(RenderedGameText::PageOfLine(text.PlaceOf(2 * start + 1).line), page);
        }
        for (std::size_t k = static_cast<std::size_t>(text.PageCount() - 1);
             k < text.PageStarts.size(); ++k) {
            EXPECT_EQ(text.PageStarts[k], 0);
        }
        ExpectPlacesPointAtMoves(game, text);
    }
}

TEST(GameTextTest, NumbersWidenThePlaceColumn) {
    ParsedGame game(KnightShuffle(120));
    RenderedGameText text = RenderGameText(game.source, {});
    ExpectPlacesPointAtMoves(game, text);
    // 9., 10. and 100. begin lines of their own only by chance; their moves follow the period.
    for (int move : {9, 10, 99, 100, 101}) {
        SCOPED_TRACE(move);
        PlyPlace place = text.PlaceOf(2 * move - 1);
        const std::string& line =
            text.TextLines[static_cast<std::size_t>(place.line - FirstMoveLine)];
        const std::string number = std::to_string(move) + ".";
        EXPECT_EQ(
            line.substr(static_cast<std::size_t>(place.column) - number.size(), number.size()),
            number);
    }
}

TEST(GameTextTest, HidingMoves) {
    ParsedGame game("1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 1-0");
    struct Row {
        int limit;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {0, ""},
        {1, "1.e4"},
        {2, "1.e4 e5 "},
        {7, "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4"},
        {10, "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.limit);
        GameTextLayout layout;
        layout.hide_moves = true;
        layout.hide_limit = row.limit;
        RenderedGameText text = RenderGameText(game.source, layout);
        std::string joined;
        for (const std::string& line : text.TextLines) joined += line;
        EXPECT_EQ(joined, row.expected);
        for (int ply = row.limit + 1; ply <= 10; ++ply) EXPECT_EQ(text.PlaceOf(ply).line, 0);
    }
}

TEST(GameTextTest, SetUpGameStartingWithBlack) {
    ParsedGame game("23...Qxd4 24.Rc1 Qd8 25.Rc3 1-0", 23);
    ASSERT_EQ(game.source.full_moves, 3);
    struct Row {
        int ply;
        std::string move_line;
        std::string current;
    };
    const std::vector<Row> rows = {
        {0, "", ""},
        {2, " 23...Qxd4", "23...Qxd4"},
        {3, " 24. Rc1", "24. Rc1"},
        {4, " 24. Rc1 Qd8", "24...Qd8"},
        {5, " 25. Rc3", "25. Rc3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ply);
        EXPECT_EQ(MoveLineText(game.source, row.ply, ""), row.move_line);
        EXPECT_EQ(CurrentMoveText(game.source, row.ply), row.current);
    }
    RenderedGameText text = RenderGameText(game.source, {});
    ASSERT_EQ(text.TextLines.size(), 1u);
    EXPECT_EQ(text.TextLines[0].substr(0, 13), "23... Qxd4 24");
    ExpectPlacesPointAtMoves(game, text);
    // Without a starting number the missing white move reads "1...".
    ParsedGame unnumbered("1... e5 2. Nf3 Nc6");
    EXPECT_EQ(MoveLineText(unnumbered.source, 2, ""), "1...e5");
    EXPECT_EQ(MoveLineText(unnumbered.source, 3, ""), "  2. Nf3");
}

TEST(GameTextTest, CustomPieceLetters) {
    struct Row {
        std::string_view text;
        std::string_view letters;
        std::string_view expected;
    };
    const std::vector<Row> rows = {
        {"Nf3", "DTLSC", "Cf3"},     {"O-O", "DTLSC", "O-O"},   {"Kxe2", "DTLSC", "Dxe2"},
        {"e8=Q+", "DTLSC", "e8=T+"}, {"Rad1", "DTLSC", "Lad1"}, {"Bb5", "DTLSC", "Sb5"},
        {"NCO", "DTLSC", "NCO"},     {"Nf3", "", "Nf3"},        {"Qh5", "KDT", "Qh5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ApplyPieceLetters(row.text, row.letters), row.expected);
    }
    ParsedGame game("1. Nf3 Nf6 2. O-O 1-0");
    GameTextLayout layout;
    layout.piece_letters = "DTLSC";
    EXPECT_EQ(RenderGameText(game.source, layout).TextLines.at(0), "1.Cf3 Cf6 2.O-O");
    EXPECT_EQ(MoveLineText(game.source, 2, "DTLSC"), "  1. Cf3 Cf6");
}

TEST(GameTextTest, ColumnFormat) {
    struct Row {
        int full_moves;
        int pages;
    };
    for (const Row& row : std::vector<Row>{{40, 1}, {41, 2}, {80, 2}, {81, 3}, {200, 5}}) {
        SCOPED_TRACE(row.full_moves);
        EXPECT_EQ(ColumnPageCount(row.full_moves), row.pages);
        auto starts = ColumnPageStarts(row.full_moves);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(starts[static_cast<std::size_t>(k)], k + 2 <= row.pages ? 40 * (k + 1) : 0);
        }
    }
    ParsedGame game(KnightShuffle(41));
    ColumnPage second = RenderColumns(game.source, 2, "");
    EXPECT_EQ(second.left[0].number, 41);
    EXPECT_EQ(second.left[0].white, "Nf3");
    EXPECT_EQ(second.left[1].number, 0);
    EXPECT_EQ(second.right[0].number, 0);
    ColumnPage first = RenderColumns(game.source, 1, "");
    EXPECT_EQ(first.left[19].number, 20);
    EXPECT_EQ(first.right[0].number, 21);
    EXPECT_EQ(first.right[19].black, "Ng8");
    EXPECT_TRUE(first.left[8].indented);   // 9
    EXPECT_FALSE(first.left[9].indented);  // 10

    struct PlaceRow {
        int ply;
        ColumnPlace place;
    };
    const std::vector<PlaceRow> places = {
        {1, {1, 0, false, false}}, {2, {1, 0, false, true}},   {41, {1, 0, true, false}},
        {80, {1, 19, true, true}}, {81, {2, 0, false, false}}, {83, {0, 0, false, false}},
    };
    for (const PlaceRow& row : places) {
        SCOPED_TRACE(row.ply);
        ColumnPlace place = ColumnPlaceOf(row.ply, 41);
        EXPECT_EQ(place.page, row.place.page);
        if (place.page == 0) continue;
        EXPECT_EQ(place.row, row.place.row);
        EXPECT_EQ(place.right, row.place.right);
        EXPECT_EQ(place.black, row.place.black);
    }
}

TEST(GameTextTest, HeaderLines) {
    auto lines = GameTextHeaderLines("White:  Kasparov, G        Black: Karpov, A", "1985.10.15",
                                     "1-0", "Game: 3", false, false);
    EXPECT_EQ(lines, (std::vector<std::string>{"White: Kasparov, G", "Black: Karpov, A",
                                               "Date: 1985.10.15", "Result: 1-0", "Game: 3"}));
    auto hidden =
        GameTextHeaderLines("White:  A   Black: B", "?", "0-1", "Game:  2 of 9", true, true);
    EXPECT_EQ(hidden, (std::vector<std::string>{"White: A", "Black: B", "Game:  2 of 9"}));
}

TEST(GameTextTest, AnalysisLines) {
    std::vector<std::string> twenty;
    for (int k = 0; k < 20; ++k) twenty.push_back(k % 2 == 0 ? "Nf3" : "Nf6");
    struct Row {
        const char* name;
        int line;
        int move;
        bool white;
        std::vector<std::string> moves;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"white", 1, 12, true, {"e4", "e5", "Nf3"}, "1- 12.e4 e5 13.Nf3"},
        {"black", 2, 7, false, {"Bb4+", "c3", "Ba5"}, "2- 7... Bb4+ 8.c3 Ba5"},
        {"san is cut", 3, 1, true, {"e4 {best}", "e5(", "Nf3$1"}, "3- 1.e4 e5 2.Nf3"},
        {"cut after 14", 1, 1, true, twenty,
         "1- 1.Nf3 Nf6 2.Nf3 Nf6 3.Nf3 Nf6 4.Nf3 Nf6 5.Nf3 Nf6 6.Nf3 Nf6 7.Nf3 Nf6..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FormatAnalysisLine(row.line, row.move, row.white, row.moves), row.expected);
    }
    auto detail = FormatAnalysisDetail(30, false, twenty);
    ASSERT_EQ(detail.size(), 2u);
    EXPECT_EQ(detail[0].substr(0, 14), "30... Nf3 31.N");
    EXPECT_EQ(detail[1].substr(0, 8), "37... Nf");
}

TEST(GameTextTest, AnalysisReplaySwitch) {
    struct Row {
        const char* name;
        ReplayCheckInput input;
        ReplayCheck expected;
    };
    auto make = [](int mode, bool active, int annotations, int count) {
        ReplayCheckInput input;
        input.mode = mode;
        input.active = active;
        input.annotations = annotations;
        input.auto_replay_count = count;
        return input;
    };
    ReplayCheckInput hidden = make(2, false, 30, 10);
    hidden.hide_game_text = true;
    ReplayCheckInput interactive = make(2, false, 0, 10);
    interactive.interactive_annotation = true;
    ReplayCheckInput first = make(0, false, 30, 10);
    first.first_load = true;
    ReplayCheckInput shown = make(1, false, 30, 10);
    shown.hint_shown = true;
    const std::vector<Row> rows = {
        {"auto on at the count", make(2, false, 10, 10), ReplayCheck::SwitchOn},
        {"auto stays off below", make(2, false, 9, 10), ReplayCheck::None},
        {"auto not while hiding", hidden, ReplayCheck::None},
        {"auto on while annotating", interactive, ReplayCheck::SwitchOn},
        {"auto off below 5", make(2, true, 4, 10), ReplayCheck::SwitchOff},
        {"auto stays on at 5", make(2, true, 5, 10), ReplayCheck::None},
        {"auto small count off", make(2, true, 2, 3), ReplayCheck::SwitchOff},
        {"auto small count stays", make(2, true, 3, 3), ReplayCheck::None},
        {"off hints", make(0, false, 10, 10), ReplayCheck::ShowHint},
        {"off few annotations", make(0, false, 9, 10), ReplayCheck::None},
        {"first load is quiet", first, ReplayCheck::None},
        {"hint once", shown, ReplayCheck::None},
        {"on and active", make(1, true, 40, 10), ReplayCheck::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CheckAnalysisReplay(row.input), row.expected);
    }
}

}  // namespace
}  // namespace qorvale::app
