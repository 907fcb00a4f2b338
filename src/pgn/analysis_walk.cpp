#include "pgn/analysis_walk.h"

#include <string>

#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/messages.h"
#include "pgn/movetext_cursor.h"

namespace qorvale::pgn {

namespace {

constexpr std::size_t NoCursor = static_cast<std::size_t>(-1);
constexpr int LastHalfMove = 2 * chess::MaxFullMoves;

using movetext::IsDigit;

chess::Side SideOf(int half_move) {
    return (half_move & 1) != 0 ? chess::Side::White : chess::Side::Black;
}

}  // namespace

void AnalysisWalk::Reset() {
    active_ = false;
    ended_ = false;
    cursor_ = NoCursor;
    current_ = 0;
    depth_ = 0;
    skipped_depth_ = 0;
}

void AnalysisWalk::Start(const GameLines& lines, int half_move) {
    Reset();
    active_ = true;
    const chess::MainLineMoves& moves = lines.Moves();
    line_.fill(chess::MoveText{});
    hints_.fill(chess::FromHint{});
    for (int index = 0; index < lines.FullMoves(); ++index) {
        const auto slot = static_cast<std::size_t>(index);
        line_[2 * slot + 1] = moves.WhiteMoves[slot];
        hints_[2 * slot + 1] = moves.WhiteHints[slot];
        line_[2 * slot + 2] = moves.BlackMoves[slot];
        hints_[2 * slot + 2] = moves.BlackHints[slot];
    }
    // The long-algebraic marker in the first white hint is no square.
    if (!hints_[1].present()) hints_[1].Clear();
    if (half_move < 0 || half_move > LastHalfMove) half_move = 0;
    current_ = half_move;
    const AnnotationPosition& where = lines.AnnotationIndex(half_move);
    if (where.kind != AnnotationKind::None && where.line < lines.MovetextLineCount()) {
        std::string_view line = lines.MovetextLine(where.line);
        cursor_ = static_cast<std::size_t>(line.data() - lines.MovetextBuffer().data()) +
                  static_cast<std::size_t>(where.column);
    }
}

void AnalysisWalk::Start(const GameLines& lines, int half_move, std::size_t text_offset) {
    Start(lines, half_move);
    if (cursor_ != NoCursor && text_offset >= cursor_ &&
        text_offset < lines.MovetextBuffer().size()) {
        cursor_ = text_offset;
    }
}

void AnalysisWalk::Play(chess::ChessState& chess, int half_move) {
    const auto slot = static_cast<std::size_t>(half_move);
    chess.ApplyMoveText(line_[slot], hints_[slot], SideOf(half_move));
    chess.SnapshotPosition(half_move);
}

// Variation moves are played from full slots and flags, so the way back is a replay from the
// start: a snapshot holds the board only.
void AnalysisWalk::PositionBefore(chess::ChessState& chess, int half_move) {
    chess.SetStartPosition();
    for (int played = 1; played < half_move; ++played) Play(chess, played);
}

AnalysisWalk::Step AnalysisWalk::Finish(const GameLines& lines, chess::ChessState& chess, Ui& ui,
                                        bool invalid) {
    bool replay = active_ && !ended_;
    ended_ = true;
    ui.report(invalid ? InvalidMoveNumberAfterParen : EndOfAnalysis);
    if (replay) {
        chess::MainLineMoves moves = lines.Moves();
        chess.ReplayToHalfMove(moves, lines.FullMoves());
        chess.SetStartPosition();
    }
    return invalid ? Step::InvalidMoveNumber : Step::End;
}

AnalysisWalk::Step AnalysisWalk::StepAnalysis(const GameLines& lines, chess::ChessState& chess,
                                              Ui& ui) {
    if (!active_ || ended_ || cursor_ == NoCursor) return Finish(lines, chess, ui, false);
    movetext::Cursor cursor(lines.MovetextBuffer(), cursor_);
    while (true) {
        if (!cursor.SkipFiller(false)) return Finish(lines, chess, ui, false);
        char c = cursor.Cur();
        if (c == '$') {
            cursor.Advance();
            while (IsDigit(cursor.Cur())) cursor.Advance();
            continue;
        }
        if (c == '(') {
            cursor.Advance();
            if (skipped_depth_ > 0 || depth_ >= MaxDepth) {
                ++skipped_depth_;
                continue;
            }
            if (!cursor.SkipFiller(false) || !IsDigit(cursor.Cur())) {
                return Finish(lines, chess, ui, true);
            }
            int number = 0;
            while (IsDigit(cursor.Cur())) {
                if (number < 100000) number = number * 10 + (cursor.Cur() - '0');
                cursor.Advance();
            }
            bool black = false;
            if (cursor.Cur() == '.') {
                cursor.Advance();
                black = cursor.Cur() == '.';
            }
            // Move numbers of a game from a set-up position count from its first move number.
            int first_number = chess.StartsFromFen() && chess.StartMoveNumber() > 1
                                   ? static_cast<int>(chess.StartMoveNumber())
                                   : 1;
            int half_move = 2 * (number - first_number + 1) - 1 + (black ? 1 : 0);
            if (half_move < 1 || half_move > current_ + 1 || half_move > LastHalfMove) {
                return Finish(lines, chess, ui, true);
            }
            PositionBefore(chess, half_move);
            const auto slot = static_cast<std::size_t>(half_move);
            stack_[static_cast<std::size_t>(depth_)] = {half_move, line_[slot], hints_[slot]};
            ++depth_;
            current_ = half_move - 1;
            continue;
        }
        if (c == ')') {
            cursor.Advance();
            if (skipped_depth_ > 0) {
                --skipped_depth_;
                continue;
            }
            if (--depth_ <= 0) {
                depth_ = 0;
                return Finish(lines, chess, ui, false);
            }
            const OpenVariation& closed = stack_[static_cast<std::size_t>(depth_)];
            PositionBefore(chess, closed.entry_half_move);
            const auto slot = static_cast<std::size_t>(closed.entry_half_move);
            line_[slot] = closed.replaced;
            hints_[slot] = closed.replaced_hint;
            Play(chess, closed.entry_half_move);
            current_ = closed.entry_half_move;
            return Step::Played;
        }
        if (IsDigit(c)) {
            // A move number, possibly written against its move ("13.exf6").
            while (IsDigit(cursor.Cur())) cursor.Advance();
            if (cursor.Cur() == '.') {
                while (cursor.Cur() == '.') cursor.Advance();
                continue;
            }
        }
        // A lone "}" or other stray byte is a token of its own.
        const std::string_view token = cursor.Token();
        // Numbers, results and other tokens below "B" are not moves.
        if (c < 'B' || skipped_depth_ > 0) continue;
        if (depth_ == 0) return Finish(lines, chess, ui, false);
        int half_move = current_ + 1;
        if (half_move > LastHalfMove) return Finish(lines, chess, ui, false);
        const auto slot = static_cast<std::size_t>(half_move);
        hints_[slot].Clear();
        if (!ReduceLongMove(token, line_[slot], hints_[slot])) line_[slot].Assign(token);
        Play(chess, half_move);
        current_ = half_move;
        return Step::Played;
    }
}

}  // namespace qorvale::pgn
