#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/ui.h"
#include "pgn/analysis_walk.h"

namespace qorvale::chess {
class ChessState;
}

namespace qorvale::pgn {
class GameLines;
}

namespace qorvale::app {

// The analysis replay mode's walk through the variations after the main-line move on display:
// Next plays one analysis move, Previous takes one back, Start begins again at the main-line
// move. The walk plays on the game's ChessState; whenever it ends or is left, the main line's
// positions are put back and the board stands at the main-line move again.
class AnalysisReplay {
  public:
    enum class Outcome {
        Played,   // an analysis move is on the board
        Back,     // one move taken back (possibly to the main-line move the walk began at)
        End,      // the walk ended ("End of the analysis." or the bad move number was shown)
        Nothing,  // nothing to take back
    };

    // Begins a walk at the variations after main-line half-move `ply`: at the first, or at the
    // one whose "(" stands at `text_offset` in the movetext. The board is not touched.
    void Start(const pgn::GameLines& lines, int ply,
               std::optional<std::size_t> text_offset = std::nullopt);
    // The next analysis move; a walk begins at `ply` when none is under way.
    Outcome Next(const pgn::GameLines& lines, chess::ChessState& chess, int ply, Ui& ui);
    // One analysis move back, by walking again from the start; after the end of the analysis
    // the last analysis position comes back.
    Outcome Previous(const pgn::GameLines& lines, chess::ChessState& chess);
    // Leaves the walk: the main line's positions come back and the board stands at `ply`.
    void Stop(const pgn::GameLines& lines, chess::ChessState& chess, int ply);
    // Forgets the walk without touching the board (a game was loaded).
    void Reset();

    bool Started() const { return started_; }
    // An analysis move, not the main line, is on the board.
    bool OnBoard() const { return on_board_; }
    bool Ended() const { return ended_; }
    int Steps() const { return steps_; }
    int StartPly() const { return start_ply_; }
    // The analysis move on the board: its half-move number in the game and its text.
    int HalfMove() const { return walk_.HalfMove(); }
    int Depth() const { return walk_.Depth(); }
    const chess::MoveText& Move() const { return walk_.LastMove(); }
    // Just after the last token the walk read in the movetext buffer.
    std::size_t TextPosition() const { return walk_.TextPosition(); }

  private:
    void RestoreMainLine(const pgn::GameLines& lines, chess::ChessState& chess) const;

    pgn::AnalysisWalk walk_;
    std::optional<std::size_t> text_offset_;
    int start_ply_ = 0;
    int steps_ = 0;
    bool started_ = false;
    bool ended_ = false;
    bool on_board_ = false;
};

// "%d. %s" for White's half-move `half_move`, "%d...%s" for Black's, numbered as the game text
// numbers its moves (`start_move_number` 0 for a game from the usual start).
// The annotations after the main-line move where a walk began, split where the walk stands: the
// text before the analysis move on the board, that move's own text (empty after a step back out
// of an inner line, which stands after its ")"), and the rest. Nothing is split when the walk
// stands outside the annotations (`found` false).
struct MarkedAnnotation {
    bool found = false;
    std::string before;
    std::string marked;
    std::string after;
};
MarkedAnnotation MarkWalkInAnnotation(const pgn::GameLines& lines, const AnalysisReplay& replay);

std::string AnalysisMoveText(int half_move, std::string_view move, std::uint32_t start_move_number);

}  // namespace qorvale::app
