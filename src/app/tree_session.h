#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "base/ui.h"
#include "openings/eco_table.h"
#include "openings/opening_tree.h"
#include "openings/tree_list.h"
#include "pgn/pgn_file.h"
#include "search/search_list.h"

namespace qorvale::app {

// One row of the tree list: the text the list shows (before any figurine conversion), and what
// the bar beside it draws.
struct TreeRow {
    std::string text;
    openings::NextMove move;  // games, points, results, first game, move
    int child_index = 0;      // the move's place among the node's children (stored order)
    // Shares of the move's games, each 0..1, summing to 1 (all 0 without games).
    double white_share = 0;
    double other_share = 0;
    double black_share = 0;
    double score = 0;      // White's score with the move, percent
    double frequency = 0;  // the move's share of the listed games, percent
};

// The rows of a list of moves in the order and form `style` gives; child_index is the move's
// index in `moves`.
std::vector<TreeRow> MakeTreeRows(std::span<const openings::NextMove> moves,
                                  const openings::TreeListStyle& style, Ui& ui);

// The tree source of an open PGN file: its path, its game index and its game count.
openings::TreeSourceRequest FileTreeSource(const pgn::PgnFile& file);

// What stepping into a move led to, for the window to follow.
struct TreeStep {
    enum class Kind {
        Children,     // the list shows the new node's moves
        EndOfBranch,  // the branch ends here; `end` says what to do about it
        Refused,      // nothing moved; the reason was reported
    };
    Kind kind = Kind::Refused;
    openings::EndOfBranchAction end = openings::EndOfBranchAction::Nothing;
    // ShowGame: the game to load and the half-move to show it at (the tree's depth).
    std::int32_t game_number = 0;
    int half_move = 0;
    // ShowGameList: the node's games.
    search::SearchList games;
};

// The tree window's session: the open tree, the rows of its list in the chosen order, the
// back/forward history and the line the board shows. The window (and qorvale-tool tree) drive
// it; everything it decides is here, so both front ends behave alike.
//
// The end of a branch is announced here: "This is the end of the branch." through the Ui, or,
// with TreeAutoDisplayGame, the game or the games for the window to show.
class TreeSession {
  public:
    // Opens the tree of `request` with `options` (OpenTree) and lists the root's moves. A new
    // tree of a source with 1000 games or more shows the tree help message once: `help_shown`
    // (from the options record) is set then, for the caller to save.
    Error Open(const openings::TreeSourceRequest& request, const openings::TreeOptions& options,
               Ui& ui, bool* help_shown = nullptr, bool rebuild = false);
    // Saves the history beside the tree and closes it.
    void Close();
    bool IsOpen() const { return tree_.IsOpen(); }

    const std::vector<TreeRow>& Rows() const { return rows_; }
    // The row to select: after a step back the move just left, else the first (-1 when empty).
    int SelectedRow() const { return selected_row_; }

    // Enter or double-click on a row: steps into its move.
    TreeStep Enter(int row, Ui& ui);
    // Steps from the current node through the moves of `line` ("1.e4 c5 2.Nf3", move numbers
    // optional), each as Enter does, stopping at the first that cannot be taken.
    struct LineWalk {
        enum class Stop {
            Done,
            NotLegal,   // the text names no legal move in the position
            NotPlayed,  // no game of the source plays it there
            Ended,      // the branch ended before it
            Refused,    // the step was refused (its reason reported)
        };
        Stop stop = Stop::Done;
        std::string move;  // the move it stopped at
        TreeStep last;     // what the last step led to
    };
    LineWalk EnterLine(std::string_view line, Ui& ui);
    // Backspace: back to the parent; false at the root.
    bool StepBack(Ui& ui);
    // The history of visited nodes.
    bool CanGoBack() const { return history_at_ > 0; }
    bool CanGoForward() const { return history_at_ + 1 < history_.size(); }
    bool Back(Ui& ui);
    bool Forward(Ui& ui);

    // The line from the root, as the ECO table writes lines ("1.e4 c5 2.Nf3"), and its position.
    std::string LineText() const { return tree_.Line().LineText(); }
    const openings::LinePosition& Line() const { return tree_.Line(); }
    int Depth() const { return tree_.Depth(); }
    // The opening line under the board: refreshed while the depth is below 62, kept beyond.
    const std::string& OpeningText(const openings::EcoTable& table);

    // The games behind a row, for a search list.
    Result<search::SearchList> GamesOfRow(int row, Ui& ui);

    // New settings from the options dialog: the list is sorted again; a change of exact
    // variations opens the other tree file of the source, at the root.
    Error SetOptions(const openings::TreeOptions& options, Ui& ui);
    const openings::TreeOptions& Options() const { return options_; }
    openings::TreeListStyle ListStyle() const;

    const openings::OpeningTree& Tree() const { return tree_; }
    openings::OpeningTree& Tree() { return tree_; }

  private:
    void BuildRows(int select_child, Ui& ui);
    void Visit();
    bool GoToHistory(std::size_t at, Ui& ui);
    void SaveHistory();
    std::uint32_t HistoryValue(std::int32_t node) const;

    openings::OpeningTree tree_;
    openings::TreeSourceRequest request_;
    openings::TreeOptions options_;
    std::vector<TreeRow> rows_;
    int selected_row_ = -1;
    std::vector<std::uint32_t> history_;
    std::size_t history_at_ = 0;
    std::string opening_text_;
};

}  // namespace qorvale::app
