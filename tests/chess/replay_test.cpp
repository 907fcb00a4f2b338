#include <gtest/gtest.h>

#include "chess/messages.h"
#include "chess_test_support.h"
#include "support/recording_ui.h"

namespace qorvale::chess::test {
namespace {

int Fill(MainLineMoves& moves, std::string_view texts, bool black_first = false) {
    MainLineGame game;
    game.moves = Words(texts);
    game.black_first = black_first;
    return FillMainLine(game, moves);
}

void StartFromFen(ChessState& state, std::string fen_line) {
    state.ReadFenTagExtras(fen_line);
    state.ParseFenPlacement(fen_line);
}

constexpr std::string_view Chess960 =
    "[FEN \"nbbrknrq/pppppppp/8/8/8/8/PPPPPPPP/NBBRKNRQ w KQkq - 0 1\"]";

TEST(ValidateGameMoves, ReportsTheFirstBadMove) {
    struct Row {
        const char* name;
        std::string fen_line;
        const char* moves;
        bool black_first;
        int result;
    };
    const Row rows[] = {
        {"legal game", "", "e4 e5 Nf3 Nc6 Bb5 a6 O-O Nf6", false, 0},
        {"illegal white move in full move 2", "", "e4 e5 Ke3", false, 3},
        {"illegal black move in full move 1", "", "e4 Ke7", false, 2},
        {"king into check", "", "f3 e5 Kf2 Qh4+ Kg3", false, 4},
        {"null move skipped", "", "e4 Z0 d4 e5", false, 0},
        {"move that names no piece", "", "e4 e5 Xx", false, 1},
        {"promotion to a fourth queen", "[FEN \"4k3/P7/8/8/8/8/8/QQQ1K3 w - - 0 1\"]", "a8=Q",
         false, -5},
        {"black first from a fen", "[FEN \"4k3/8/8/8/8/8/4p3/K7 b - - 0 1\"]", "e1=Q+ Ka2", true,
         0},
        {"black first without a fen", "", "e5 Nf3", true, 1},
        {"en passant the fen names", "[FEN \"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1\"]", "exd6 Kd8",
         false, 0},
        {"en passant the fen does not name", "[FEN \"4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1\"]",
         "exd6 Kd8", false, 2},
        // Chess960: the king goes to g or c, the castling rook (d1 and g1 here) to f or d.
        {"chess960 castling", std::string(Chess960), "d4 d5 Bf4 Ne6 O-O-O O-O e3", false, 0},
        {"chess960 castling through a knight", std::string(Chess960), "d4 d5 O-O", false, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        StartFromFen(state, row.fen_line);
        MainLineMoves moves;
        int full_moves = Fill(moves, row.moves, row.black_first);
        EXPECT_EQ(state.ValidateGameMoves(moves, full_moves), row.result);
    }
}

// Moves read with their from-square (long algebraic) are rewritten in the program's SAN.
TEST(ReplayToHalfMove, RewritesHintedMovesAsSan) {
    ChessState state;
    StartFromFen(state, "[FEN \"4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1\"]");
    MainLineMoves moves;
    int full_moves = Fill(moves, "Nd2 Kd7 Nd4");
    moves.WhiteHints[0].Set(2, 1);
    moves.WhiteHints[1].Set(6, 3);
    state.ReplayToHalfMove(moves, full_moves);
    EXPECT_EQ(moves.WhiteMoves[0].view(), "Nbd2");
    EXPECT_EQ(moves.WhiteMoves[1].view(), "Nd4");
    EXPECT_FALSE(moves.WhiteHints[0].present());
    EXPECT_FALSE(moves.WhiteHints[1].present());
    EXPECT_EQ(WritePlacement(state.CurrentBoard()), "8/3k4/8/8/3N4/8/3N4/4K3");
}

// After a promotion that found no slot, that side's moves are checked from squares and a move
// the slots cannot make becomes "*" rather than moving another piece.
TEST(ReplayToHalfMove, DropsMovesTheSlotsCannotMake) {
    qorvale::test::RecordingUi ui;
    ChessState state(&ui);
    state.SetCurrentGameNumber(3);
    StartFromFen(state, "[FEN \"8/P7/8/7k/8/8/8/QQQ1K3 w - - 0 1\"]");
    MainLineMoves moves;
    int full_moves = Fill(moves, "a8=Q Kh4 Qg8 Kh3 Qb2");
    EXPECT_EQ(state.ReplayToHalfMove(moves, full_moves), 5);
    EXPECT_EQ(moves.WhiteMoves[1].view(), "*");
    // Re-made from squares, the move gets the program's own text.
    EXPECT_EQ(moves.WhiteMoves[2].view(), "Qa1b2");
    EXPECT_EQ(WritePlacement(state.CurrentBoard()), "Q7/8/8/8/8/7k/1Q6/1QQ1K3");
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(messages::OnlyThreeQueens)});
    EXPECT_EQ(state.PromotionOverflow(Side::White), 0u);
    EXPECT_NE(state.WarnedPromotionKinds(3), 0u);
    EXPECT_EQ(state.WarnedPromotionKinds(4), 0u);
}

TEST(LocateMoveText, SetsPromotionChoiceAndSquares) {
    struct Row {
        const char* text;
        std::uint32_t choice;
        LocatedMove squares;
    };
    const Row rows[] = {
        {"b8=N", Knight, {2, 7, 2, 8}}, {"b8", Queen, {2, 7, 2, 8}}, {"bxa8=R", Rook, {2, 7, 1, 8}},
        {"O-O", 0, {5, 1, 7, 1}},       {"Kd2", 0, {5, 1, 4, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ChessState state;
        StartFrom(state, "r3k3/1P6/8/8/8/8/8/4K2R", "K");
        MoveText text(row.text);
        EXPECT_EQ(state.LocateMoveText(text, FromHint{}, Side::White), 0);
        EXPECT_EQ(state.PromotionChoice(), row.choice);
        const LocatedMove& at = state.LocatedMoveSquares();
        EXPECT_EQ((std::array{at.from_file, at.from_rank, at.to_file, at.to_rank}),
                  (std::array{row.squares.from_file, row.squares.from_rank, row.squares.to_file,
                              row.squares.to_rank}));
        // Locating moves nothing.
        EXPECT_EQ(WritePlacement(state.CurrentBoard()), "r3k3/1P6/8/8/8/8/8/4K2R");
    }
    ChessState state;
    StartFrom(state, "4k3/1P6/8/8/8/8/8/4K3");
    MoveText unknown("b8=K");
    EXPECT_EQ(state.LocateMoveText(unknown, FromHint{}, Side::White), 1);
}

}  // namespace
}  // namespace qorvale::chess::test
