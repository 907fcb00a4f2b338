#include "chess/chess_state.h"

namespace qorvale::chess {

void ChessState::ReplayHalfMove(MainLineMoves& moves, int index, Side side, int half_move) {
    const auto i = static_cast<std::size_t>(index);
    MoveText& text = side == Side::White ? moves.WhiteMoves[i] : moves.BlackMoves[i];
    FromHint& hint = side == Side::White ? moves.WhiteHints[i] : moves.BlackHints[i];
    auto remake = [&]() {
        return MakeMoveFromSquares(
            MoveMode::TextOnly, half_move, static_cast<int>(located_.from_file),
            static_cast<int>(located_.from_rank), static_cast<int>(located_.to_file),
            static_cast<int>(located_.to_rank));
    };
    if (promotion_overflow_[Index(side)] != 0) {
        // A piece of this side stands untracked: a move the slots would give to the wrong piece
        // is dropped instead of played.
        if (LocateMoveText(text, hint, side) != 0 || remake() != 0) {
            text = MoveText("*");
        } else if (replay_normalise_) {
            text = made_text_;
        }
    } else if (hint.present() && replay_normalise_ && LocateMoveText(text, hint, side) == 0) {
        if (remake() == 0) {
            text = made_text_;
            hint.Clear();
        }
    }
    ApplyMoveText(text, hint, side);
}

int ChessState::ReplayToHalfMove(MainLineMoves& moves, int full_moves) {
    auto snapshot = [this](int half_move) { SnapshotPosition(half_move); };
    return ReplayEach(moves, full_moves, snapshot);
}

int ChessState::ValidateGameMoves(MainLineMoves& moves, int full_moves) {
    if (full_moves > MaxFullMoves) full_moves = MaxFullMoves;
    SetStartPosition();
    int half_move = 1;
    for (int i = 0; i < full_moves; ++i) {
        const auto index = static_cast<std::size_t>(i);
        for (Side side : {Side::White, Side::Black}) {
            MoveText& text =
                side == Side::White ? moves.WhiteMoves[index] : moves.BlackMoves[index];
            const FromHint& hint =
                side == Side::White ? moves.WhiteHints[index] : moves.BlackHints[index];
            if (side == Side::Black && text.empty()) break;
            const int this_half_move = half_move++;
            if (text.view() == "Z0") continue;
            int located = LocateMoveText(text, hint, side);
            if (located != 0) {
                bool black_first = i == 0 && side == Side::White && StartsFromFen() &&
                                   located == 1 && text[0] == '.' && text[1] == '.';
                if (black_first) continue;
                return located;
            }
            // The rules alone: the move's text is not needed here.
            if (CheckMoveFromSquares(this_half_move, static_cast<int>(located_.from_file),
                                     static_cast<int>(located_.from_rank),
                                     static_cast<int>(located_.to_file),
                                     static_cast<int>(located_.to_rank)) != 0) {
                return i + 2;
            }
            ApplyMoveText(text, hint, side);
            SnapshotPosition(this_half_move);
        }
    }
    return 0;
}

}  // namespace qorvale::chess
