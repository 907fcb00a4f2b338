#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/tree_session.h"
#include "base/error.h"
#include "base/ui.h"
#include "chess/move_text.h"
#include "openings/eco_table.h"
#include "openings/line_position.h"
#include "openings/opening_classification.h"
#include "openings/opening_tree.h"

namespace qorvale::app {

// The window modes in which a line is entered on the board instead of played through a game.
enum class LineMode {
    None,
    VariationEdit,  // a line is entered and named, compared with the ECO table and the tree
    Analyze,        // the current game's position is the start; Show Next Moves, Show Maneuvers
    EcoEdit,        // a line for the ECO table editor (at most 30 full moves)
};

// The Find Opening commands run only in Variation Edit and Analyze mode.
bool FindOpeningAllowed(LineMode mode);

// The line on the board of those modes: moves played from the standard start, each checked by
// the chess rules. In ECO edit mode a move beyond 60 half-moves gives "The maximum number of
// moves for an ECO line is 30." and is not played.
class BoardLine {
  public:
    explicit BoardLine(LineMode mode = LineMode::VariationEdit) : mode_(mode) {}

    LineMode Mode() const { return mode_; }
    // Starts again from the first `half_moves` moves of a game's main line (Analyze starts from
    // the current game position); stops at a move that cannot be played. Returns the moves
    // played.
    int StartFrom(const chess::MainLineMoves& moves, int half_moves);
    void Clear() { position_.Reset(); }

    // A move entered on the board, by its squares (Board64 indices) and, for a pawn reaching the
    // last rank, the under-promotion flags (0 queen). False when it is no legal move here.
    bool PlaySquares(int from, int to, int promotion_flags, Ui& ui);
    // A move given as text ("Nf3").
    bool PlayText(std::string_view text, Ui& ui);
    // Takes the last move back; false when there is none.
    bool TakeBack();

    const openings::LinePosition& Position() const { return position_; }
    int HalfMoves() const { return position_.HalfMoves(); }
    // The line in the ECO table's form: "1.e4 c5 2.Nf3".
    std::string MovesText() const { return position_.LineText(); }
    // The line as the opening matcher sees a game.
    openings::OpeningGame Game() const;

    // The line named from the table as the opening line under the board names a game position.
    std::string OpeningName(const openings::EcoTable& table) const;
    // The three Find Opening commands at the end of the line: the entry for the ECO list window
    // to select, or -1 after the command's message.
    std::int32_t FindOpening(const openings::EcoTable& table, openings::FindOpeningMode find,
                             Ui& ui) const;

  private:
    bool Room(Ui& ui) const;

    LineMode mode_;
    openings::LinePosition position_;
};

// Show Next Moves and Show Maneuvers: the moves the games of the current file played after the
// line of the current position, listed as the tree lists a node's moves. In Show Next Moves a
// chosen row is played and the scan runs again; a step back takes the last move back.
class NextMovesSession {
  public:
    // Scans `source` (the current file) after `line`. `maneuvers` counts the next
    // ManeuverLookAhead moves of the side to move, each on its own, and lists them by frequency
    // without move numbers. "This is the end of the branch." when nothing follows.
    Error Start(const openings::TreeSourceRequest& source, const openings::LinePosition& line,
                bool maneuvers, const openings::TreeOptions& options, Ui& ui);

    const std::vector<TreeRow>& Rows() const { return rows_; }
    const openings::LinePosition& Line() const { return line_; }
    bool Maneuvers() const { return maneuvers_; }

    // Show Next Moves: plays the row's move and scans again. False in Show Maneuvers, for a row
    // out of range, or when the scan fails.
    bool Choose(int row, Ui& ui);
    // Takes the last move back (not before the line it started from) and scans again.
    bool StepBack(Ui& ui);

  private:
    Error Scan(Ui& ui);

    std::unique_ptr<openings::TreeSource> source_;
    openings::TreeOptions options_;
    openings::LinePosition line_;
    int start_moves_ = 0;
    bool maneuvers_ = false;
    std::vector<TreeRow> rows_;
};

}  // namespace qorvale::app
