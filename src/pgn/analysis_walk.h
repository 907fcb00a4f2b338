#pragma once

#include <array>
#include <cstddef>

#include "base/ui.h"
#include "chess/move_text.h"

namespace qorvale::chess {
class ChessState;
}

namespace qorvale::pgn {

class GameLines;

// Steps through the variations that follow a half-move of the loaded game, one move at a time,
// on the text itself: a cursor in the movetext and a stack of open variations, each entry
// keeping the half-move at which the variation was entered and the move it replaces.
//
// Variations nested deeper than MaxDepth are stepped over whole: their moves are not played.
// The walk plays on the game's ChessState; when it ends, the main line is replayed once more so
// that the position history is the game's again.
class AnalysisWalk {
  public:
    static constexpr int MaxDepth = 32;

    enum class Step {
        Played,             // a move was played; see HalfMove() and LastMove()
        End,                // "End of the analysis." was shown
        InvalidMoveNumber,  // "Invalid move number after right paren." was shown; the walk ended
    };

    // Starts a walk at the annotations that follow `half_move` (the position on display).
    void Start(const GameLines& lines, int half_move);
    // Starts a walk after `half_move` at `text_offset` in the movetext buffer: the "(" of one
    // of the variations that follow it (see AnalysisLinesAfter).
    void Start(const GameLines& lines, int half_move, std::size_t text_offset);
    // Forgets the walk (the game was reloaded).
    void Reset();

    // Plays the next move of the analysis on `chess`, or reports the end through `ui`.
    Step StepAnalysis(const GameLines& lines, chess::ChessState& chess, Ui& ui);

    bool Active() const { return active_; }
    int HalfMove() const { return current_; }
    int Depth() const { return depth_; }
    const chess::MoveText& LastMove() const { return line_[static_cast<std::size_t>(current_)]; }
    // Where the walk stands in the movetext buffer: just after the last token it read.
    std::size_t TextPosition() const { return cursor_; }

  private:
    struct OpenVariation {
        int entry_half_move = 0;
        chess::MoveText replaced;
        chess::FromHint replaced_hint;
    };

    Step Finish(const GameLines& lines, chess::ChessState& chess, Ui& ui, bool invalid);
    void PositionBefore(chess::ChessState& chess, int half_move);
    void Play(chess::ChessState& chess, int half_move);

    bool active_ = false;
    bool ended_ = false;
    std::size_t cursor_ = 0;
    int current_ = 0;
    int depth_ = 0;
    int skipped_depth_ = 0;  // depth of variations nested beyond MaxDepth being stepped over
    std::array<OpenVariation, MaxDepth> stack_{};
    std::array<chess::MoveText, 2 * chess::MaxFullMoves + 1> line_{};
    std::array<chess::FromHint, 2 * chess::MaxFullMoves + 1> hints_{};
};

}  // namespace qorvale::pgn
