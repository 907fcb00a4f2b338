#pragma once

#include <span>
#include <string>
#include <vector>

#include "base/ui.h"
#include "openings/next_moves.h"

namespace qorvale::openings {

// TreeSortMode: 0 order of first appearance, 1 games (descending), 2 move type. The window and
// the tool offer one more, by White's score (descending); its rows show the score.
enum class TreeSort : int { Appearance = 0, Frequency = 1, MoveType = 2, Score = 3 };

// How the tree list is laid out.
struct TreeListStyle {
    TreeSort sort = TreeSort::Frequency;
    bool show_percentage = true;  // TreeShowPercentage
    bool show_score = false;      // TreeShowScore
    bool eco_tree = false;        // the ECO table's tree always shows the frequency
    bool maneuvers = false;       // Show Maneuvers: always by frequency, rows without a number
    int depth = 1;                // 1 at the root; White is to move when it is odd
};

// The order of the list: indices into `moves`. By move type a move is placed by its first
// character in the order a b c d e f g h N B R Q K O, then alphabetically; a move that begins
// otherwise cannot be placed: "Sort error" is reported and the moves keep their order of
// appearance. Equal keys keep the order of appearance.
std::vector<int> SortTreeList(std::span<const NextMove> moves, const TreeListStyle& style, Ui& ui);

// Whether rows carry the value and the game count: sorted by frequency with the percentage or
// the score to show, sorted by score, or Maneuvers.
bool RowsShowStatistics(const TreeListStyle& style);

// The value a row shows: the move's share of all games listed (percentage on, and always for the
// ECO table's tree), otherwise White's score with it.
double RowValue(const NextMove& move, std::uint64_t total_games, const TreeListStyle& style);

// One row as the list shows it: "%d. %s" / "%d...%s", or with statistics "%d. %-8s%4.1f%%%*d" /
// "%d...%-7s%4.1f%%%*d" (the count field 7 wide instead of 8 when the value is exactly 100.0, to
// keep the columns), and "   %-8s%4.1f%%%*d" in Maneuvers.
std::string TreeRowText(const NextMove& move, std::uint64_t total_games,
                        const TreeListStyle& style);

// ShowTreeList: the rows in list order, with the order itself.
struct TreeList {
    std::vector<int> order;  // list row -> index into the moves
    std::vector<std::string> rows;
};
TreeList ShowTreeList(std::span<const NextMove> moves, const TreeListStyle& style, Ui& ui);

}  // namespace qorvale::openings
