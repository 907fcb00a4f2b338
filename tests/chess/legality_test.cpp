#include <gtest/gtest.h>

#include "chess_test_support.h"

namespace qorvale::chess::test {
namespace {

constexpr std::string_view Start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

// Moves made from squares: whether each is accepted and the SAN text written for it. Plain
// piece-shape rules and the SAN of ordinary moves are left to the comparisons over real games
// and perft.
TEST(MakeMoveFromSquares, AcceptsLegalMovesAndWritesSan) {
    struct Row {
        const char* name;
        std::string_view placement;
        std::string_view castling;
        int half_move;  // odd: White moves
        const char* move;
        const char* text;  // nullptr: rejected
    };
    const Row rows[] = {
        {"wrong side to move", Start, "KQkq", 2, "e2e4", nullptr},
        {"from equals to", Start, "KQkq", 1, "e2e2", nullptr},
        {"empty from-square", Start, "KQkq", 1, "e4e5", nullptr},
        {"short castling", "4k3/8/8/8/8/8/8/4K2R", "K", 1, "e1g1", "O-O"},
        {"short castling through attacked f1", "4k3/8/8/8/8/8/5r2/4K2R", "K", 1, "e1g1", nullptr},
        {"short castling onto attacked g1", "4k3/8/8/8/8/8/6r1/4K2R", "K", 1, "e1g1", nullptr},
        {"short castling out of check", "4k3/8/8/8/8/8/4r3/4K2R", "K", 1, "e1g1", nullptr},
        {"short castling with g1 occupied", "4k3/8/8/8/8/8/8/4K1NR", "K", 1, "e1g1", nullptr},
        {"short castling after the rook moved", "4k3/8/8/8/8/8/8/4K2R", "Q", 1, "e1g1", nullptr},
        {"long castling with b1 attacked", "4k3/8/8/8/8/8/1r6/R3K3", "Q", 1, "e1c1", "O-O-O"},
        {"long castling through attacked d1", "4k3/8/8/8/8/8/3r4/R3K3", "Q", 1, "e1c1", nullptr},
        {"long castling with b1 occupied", "4k3/8/8/8/8/8/8/RN2K3", "Q", 1, "e1c1", nullptr},
        {"castling giving check", "5k2/8/8/8/8/8/8/4K2R", "K", 1, "e1g1", "O-O+"},
        {"king steps next to the other king", "8/8/8/3k4/8/3K4/8/8", "-", 1, "d3d4", nullptr},
        {"king steps back along a checking line", "8/8/8/8/r3K3/8/8/7k", "-", 1, "e4f4", nullptr},
        {"king captures a defended piece", "4k3/8/8/8/8/3r4/3rK3/8", "-", 1, "e2d2", nullptr},
        {"king captures an undefended piece", "4k3/8/8/8/8/8/3rK3/8", "-", 1, "e2d2", "Kxd2"},
        {"pinned knight", "4k3/4r3/8/8/8/8/4N3/4K3", "-", 1, "e2c3", nullptr},
        {"pinned rook along the pin", "4k3/4r3/8/8/8/8/4R3/4K3", "-", 1, "e2e5", "Re5"},
        {"no disambiguation for a pinned twin", "4k3/8/8/3b4/8/5N2/8/1N5K", "-", 1, "b1d2", "Nd2"},
        {"three queens: file and rank", "2k5/8/8/8/Q6Q/8/8/3Q3K", "-", 1, "d1d4", "Qd1d4"},
        {"promotion capture giving check", "3r3k/4P3/8/8/8/8/8/4K3", "-", 1, "e7d8", "exd8=Q+"},
        {"black promotion", "4k3/8/8/8/8/8/p7/4K3", "-", 2, "a2a1", "a1=Q+"},
        {"discovered check", "4k3/8/8/8/8/4N3/8/4R1K1", "-", 1, "e3c4", "Nc4+"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        StartFrom(state, row.placement, row.castling);
        const std::string move = row.move;
        int result =
            state.MakeMoveFromSquares(MoveMode::TextOnly, row.half_move, FileOf(move), RankOf(move),
                                      FileOf(move.substr(2)), RankOf(move.substr(2)));
        EXPECT_EQ(result, row.text == nullptr ? 1 : 0);
        if (row.text != nullptr) {
            EXPECT_EQ(state.MadeMoveText().view(), row.text);
        }
        // Text-only mode never moves anything.
        EXPECT_EQ(WritePlacement(state.CurrentBoard()), row.placement);
    }
}

TEST(MakeMoveFromSquares, PromotionChoiceNamesThePiece) {
    struct Row {
        std::uint32_t choice;
        const char* text;
        std::string_view after;
    };
    // The new piece on a8 checks the king on e8 along the rank unless it is a knight or bishop.
    const Row rows[] = {{0, "a8=Q+", "Q3k3/8/8/8/8/8/8/4K3"},
                        {Knight, "a8=N", "N3k3/8/8/8/8/8/8/4K3"},
                        {Bishop, "a8=B", "B3k3/8/8/8/8/8/8/4K3"},
                        {Rook, "a8=R+", "R3k3/8/8/8/8/8/8/4K3"},
                        {Queen, "a8=Q+", "Q3k3/8/8/8/8/8/8/4K3"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ChessState state;
        StartFrom(state, "4k3/P7/8/8/8/8/8/4K3");
        state.SetPromotionChoice(row.choice);
        ASSERT_EQ(MakeMoves(state, "a7a8"), 1);
        EXPECT_EQ(state.MadeMoveText().view(), row.text);
        EXPECT_EQ(WritePlacement(state.CurrentBoard()), row.after);
    }
}

// En passant is allowed on the move right after the double step, or when the opponent's last
// move text names the pawn's square; never later.
TEST(MakeMoveFromSquares, EnPassantTiming) {
    struct Row {
        const char* name;
        const char* moves;    // made from squares from the start
        const char* capture;  // then tried
        bool accepted;
    };
    const Row rows[] = {
        {"right after the double step", "e2e4 a7a6 e4e5 d7d5", "e5d6", true},
        {"black captures", "a2a3 d7d5 a3a4 d5d4 e2e4", "d4e3", true},
        {"one move too late", "e2e4 a7a6 e4e5 d7d5 h2h3 a6a5", "e5d6", false},
        {"single step is no double step", "e2e4 d7d6 e4e5 d6d5", "e5d6", false},
        {"not beside the pawn", "e2e4 a7a6 e4e5 c7c5", "e5d6", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        state.SetStartPosition();
        std::vector<std::string> made = Words(row.moves);
        ASSERT_EQ(MakeMoves(state, row.moves), static_cast<int>(made.size()));
        const int half_move = static_cast<int>(made.size()) + 1;
        const std::string capture = row.capture;
        int result =
            state.MakeMoveFromSquares(MoveMode::Record, half_move, FileOf(capture), RankOf(capture),
                                      FileOf(capture.substr(2)), RankOf(capture.substr(2)));
        EXPECT_EQ(result == 0, row.accepted);
        if (row.accepted) {
            // The captured pawn is gone from beside the capturing pawn's square.
            EXPECT_EQ(state.CurrentBoard()[FileOf(capture.substr(2))][RankOf(capture)], Empty);
        }
    }
}

TEST(MakeMoveFromSquares, DoubleStepAloneLeavesEnPassantOff) {
    ChessState state;
    state.SetStartPosition();
    ASSERT_EQ(MakeMoves(state, "e2e4"), 1);
    EXPECT_EQ(state.EnPassantState(), 0u);
    ASSERT_EQ(MakeMoves(state, "d7d5 e4e5 f7f5", 2), 3);
    EXPECT_EQ(state.EnPassantState(), 1u);
}

TEST(MakeMoveFromSquares, EnPassantByLastMoveText) {
    ChessState state;
    StartFrom(state, "4k3/3p4/8/4P3/8/8/8/4K3");
    // The double step was played from a file: no en-passant state, only its text.
    PlayTexts(state, "d5", Side::Black);
    EXPECT_EQ(state.MakeMoveFromSquares(MoveMode::TextOnly, 3, 5, 5, 4, 6), 0);
    EXPECT_EQ(state.MadeMoveText().view(), "exd6");
}

TEST(MakeMoveFromSquares, CapturedCornerRookEndsCastling) {
    ChessState state;
    StartFrom(state, "4k3/8/8/8/8/8/6b1/R3K2R", "KQ");
    // Black takes on h1; later a white rook returns to h1.
    ASSERT_EQ(MakeMoves(state, "a1b1 g2h1 b1b2 h1d5 b2h2 d5c6 h2h1 c6d5", 1), 8);
    EXPECT_EQ(state.MakeMoveFromSquares(MoveMode::TextOnly, 9, 5, 1, 7, 1), 1);
    EXPECT_EQ(state.Castling().WhiteRookH1Moved, 1u);
    EXPECT_EQ(state.Castling().WhiteRookA1Moved, 1u);
}

TEST(MakeMoveFromSquares, FrozenFlagsStayUnchanged) {
    ChessState state;
    state.SetStartPosition();
    state.SetCastlingFrozen(true);
    ASSERT_EQ(MakeMoves(state, "e2e4 e7e5 e1e2"), 3);
    EXPECT_EQ(state.Castling().WhiteKingMoved, 0u);
    state.SetCastlingFrozen(false);
    ASSERT_EQ(MakeMoves(state, "e8e7", 4), 1);
    EXPECT_EQ(state.Castling().BlackKingMoved, 1u);
}

TEST(MakeMoveFromSquares, NoMoveAndPreparedText) {
    ChessState state;
    state.SetStartPosition();
    EXPECT_EQ(state.MakeMoveFromSquares(MoveMode::Record, 1, 0, 0, 0, 0), 0);
    EXPECT_EQ(state.MadeMoveText().view(), "*");
    state.SetPreparedMove(MoveText("Nf3"));
    EXPECT_EQ(state.MakeMoveFromSquares(MoveMode::Record, 1, 5, 2, 5, 4), 0);
    EXPECT_EQ(WritePlacement(state.CurrentBoard()),
              "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R");
    // The flag is used once.
    EXPECT_EQ(state.MakeMoveFromSquares(MoveMode::Record, 2, 5, 7, 5, 5), 0);
    EXPECT_EQ(state.MadeMoveText().view(), "e5");
}

// A check mark becomes a mate mark when the opponent has no move; a quiet move that leaves no
// move marks stalemate.
TEST(HasLegalMove, MarksMateAndStalemate) {
    struct Row {
        const char* name;
        std::string_view placement;
        const char* move;
        const char* text;
        bool stalemate;
    };
    const Row rows[] = {
        {"back-rank mate", "6k1/5ppp/8/8/8/8/8/R5K1", "a1a8", "Ra8#", false},
        {"check with an escape", "6k1/5pp1/8/8/8/8/8/R5K1", "a1a8", "Ra8+", false},
        {"check answered by a capture", "6k1/5ppp/8/8/4b3/8/8/R5K1", "a1a8", "Ra8+", false},
        {"stalemate", "k7/2Q5/8/8/8/8/8/7K", "c7b6", "Qb6", true},
        {"quiet move, moves left", "k7/2Q5/8/8/8/8/8/7K", "c7d6", "Qd6", false},
        {"only a pawn can move", "k7/2Q5/8/8/8/7p/8/K7", "c7b6", "Qb6", false},
        {"only en passant is left", "8/8/8/8/1p6/8/P7/k1K5", "a2a4", "a4", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        StartFrom(state, row.placement);
        ASSERT_EQ(MakeMoves(state, row.move), 1);
        MoveText text = state.MadeMoveText();
        const CastlingFlags flags_before = state.Castling();
        const std::uint32_t en_passant_before = state.EnPassantState();
        state.MarkMateOrStalemate(1, text, true);
        EXPECT_EQ(text.view(), row.text);
        EXPECT_EQ(state.StalemateMark(1), row.stalemate);
        EXPECT_EQ(state.Castling(), flags_before);
        EXPECT_EQ(state.EnPassantState(), en_passant_before);
    }
}

}  // namespace
}  // namespace qorvale::chess::test
