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
    // Whether a side's king is known safe: after its own legal move it is, until the other
    // side's move may have given check. Nothing is known at the start (a set-up position may
    // have either king in check) nor across a skipped move.
    std::array<bool, 2> safe_after_own_move{};
    bool last_may_check = true;
    int code = 0;
    int half_move = 1;
    for (int i = 0; i < full_moves && code == 0; ++i) {
        const auto index = static_cast<std::size_t>(i);
        for (Side side : {Side::White, Side::Black}) {
            MoveText& text =
                side == Side::White ? moves.WhiteMoves[index] : moves.BlackMoves[index];
            const FromHint& hint =
                side == Side::White ? moves.WhiteHints[index] : moves.BlackHints[index];
            if (side == Side::Black && text.empty()) break;
            const int this_half_move = half_move++;
            if (text.view() == "Z0") {
                safe_after_own_move = {};
                last_may_check = true;
                continue;
            }
            mover_not_in_check_ = safe_after_own_move[Index(side)] && !last_may_check;
            int located = LocateMoveText(text, hint, side);
            if (located != 0) {
                bool black_first = i == 0 && side == Side::White && StartsFromFen() &&
                                   located == 1 && text[0] == '.' && text[1] == '.';
                mover_not_in_check_ = false;
                if (black_first) continue;
                code = located;
                break;
            }
            const LocatedMove at = located_;
            const bool king_moves = KindOf(current_board_[at.from_file][at.from_rank]) == King;
            // The rules alone: the move's text is not needed here.
            const int rejected = CheckMoveFromSquares(
                this_half_move, static_cast<int>(at.from_file), static_cast<int>(at.from_rank),
                static_cast<int>(at.to_file), static_cast<int>(at.to_rank));
            mover_not_in_check_ = false;
            if (rejected != 0) {
                code = i + 2;
                break;
            }
            // The move located above, not its text resolved a second time.
            ApplyLocatedMove(text, side);
            SnapshotPosition(this_half_move);
            // A castling text is played as castling even where its squares were taken for a
            // king step (a king that castled before): no safety is carried past a king move.
            safe_after_own_move[Index(side)] = !king_moves;
            last_may_check =
                king_moves ||
                MoveMayGiveCheck(static_cast<int>(at.from_file), static_cast<int>(at.from_rank),
                                 static_cast<int>(at.to_file), static_cast<int>(at.to_rank), side);
        }
    }
    return code;
}

}  // namespace qorvale::chess
