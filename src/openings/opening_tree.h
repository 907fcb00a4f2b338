#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "openings/line_position.h"
#include "openings/next_moves.h"
#include "openings/tree_file.h"
#include "openings/tree_source.h"
#include "search/search_list.h"

namespace qorvale::openings {

// The tree settings of the options file, and the look-ahead of Show Maneuvers.
struct TreeOptions {
    int single_node_limit = 10;      // TreeSingleNodeLimit, at least 1
    bool auto_display_game = false;  // TreeAutoDisplayGame
    bool exact_variations = false;   // TreeExactVariations
    int sort_mode = 1;               // TreeSortMode: 0 none, 1 frequency, 2 move type (3 score)
    bool show_percentage = true;     // TreeShowPercentage
    bool show_score = false;         // TreeShowScore
    int maneuver_look_ahead = 10;    // ManeuverLookAhead

    // The "Tree Settings" dialog's Reset: 10 nodes, automatic display off, exact variations
    // off, sort by frequency, percentage on, score off. The look-ahead has its own dialog.
    void Reset();
};

// How a node is expanded beyond the interactive step.
struct ExpandMode {
    // Run by a background operation (a refresh or a search of the tree): the single-node limit
    // is 99 and the end of a branch is not announced.
    bool background = false;
    // A refresh: an ended branch is expanded again.
    bool refresh = false;
    // With background: a single continuation is followed down (up to the limit) to decide
    // whether the branch ends.
    bool look_ahead = false;
};

enum class EnterOutcome {
    Children,     // the node's children are the list now
    EndOfBranch,  // the node has no children and never will
    Refused,      // nothing changed; the reason was reported
};

// What opening a tree found on disk.
struct TreeOpenInfo {
    bool started_anew = false;  // no usable tree file: the root was built from a scan
    bool old_format = false;  // an older tree file was deleted ("Tree file format has changed...")
    bool stale = false;       // a tree of another state of the source was deleted
};

// The opening tree of one source: the nodes (on disk after every expansion), where the user
// stands in it, the line of moves from the root and the children of the current node.
//
// Single-threaded: the window's thread (or a background operation's, on a tree of its own).
class OpeningTree {
  public:
    OpeningTree();
    ~OpeningTree();
    OpeningTree(OpeningTree&&) noexcept;
    OpeningTree& operator=(OpeningTree&&) noexcept;

    // OpenTree: opens the source's tree file (TRE, or TRX with exact variations) or, without a
    // usable one, scans the source for the first moves and writes a new tree. A file of the older
    // format is deleted with "Tree file format has changed. Start tree again."; a damaged file,
    // or one whose source has changed since (its stamp), is deleted and started again. `rebuild`
    // deletes the tree first. Fails with "Error opening tree file." when the file exists but
    // cannot be read, or with the source's failure.
    // The tree files are written and deleted through `files`.
    Error Open(std::unique_ptr<TreeSource> source, const TreeOptions& options, Ui& ui,
               bool rebuild = false, TreeOpenInfo* info = nullptr,
               platform::FileSystem& files = platform::SystemFileSystem());
    bool IsOpen() const { return source_ != nullptr; }
    // Settings that take effect at the next expansion (the single-node limit). Exact variations
    // live in another tree file: a change of them needs Open.
    void SetOptions(const TreeOptions& options);

    // EnterChild: steps into child `index` (stored order) of the current node, expanding it the
    // first time: the source is scanned for the moves played after the new line and the node's
    // children are appended and the tree file written. A node with no continuation, or whose
    // single continuation is the last of a run as long as the single-node limit, ends its
    // branch. Refused, with the message, on a tree of PGN text with FEN games ("Tree is not
    // supported for PGN files with FEN starting positions.") and when memory runs out ("Not
    // enough memory.", the tree stays where it was).
    EnterOutcome EnterChild(int index, Ui& ui, const ExpandMode& mode = {});
    // StepBack: to the parent; false at the root.
    bool StepBack();
    // Goes straight to `node` (the window's history), without expanding anything.
    bool GoTo(std::int32_t node);

    // The current node's children in stored order, as NextMove values (codes for every source).
    const std::vector<NextMove>& Children() const { return children_; }
    std::int32_t CurrentNode() const { return current_; }
    // 1 at the root; White is to move when it is odd.
    int Depth() const { return depth_; }
    const TreeNode& Node(std::int32_t node) const { return nodes_[static_cast<std::size_t>(node)]; }
    WinCounts Counts(std::int32_t node) const { return counts_[static_cast<std::size_t>(node)]; }
    std::int32_t NodeCount() const { return static_cast<std::int32_t>(nodes_.size()); }
    // The index in stored order of `node` among its parent's children, or -1.
    int ChildIndexOf(std::int32_t node) const;
    // The position and the line of moves from the root to the current node.
    const LinePosition& Line() const { return position_; }
    // The codes the scans compare for that line.
    const std::vector<search::MoveCode>& LineCodes() const { return line_codes_; }

    TreeSource& Source() { return *source_; }
    const std::string& TreeFilePath() const { return tree_path_; }
    // No tree is kept on disk for this source (PGN text with FEN games).
    bool NotKept() const { return source_ && source_->FenSeen(); }
    bool ExactVariations() const { return options_.exact_variations; }
    bool IsEcoTree() const { return source_ && source_->Kind() == TreeSourceKind::EcoTable; }

    // The games behind child `index` of the current node: those that follow the line and play
    // that move next, by number, with their result classes.
    Result<search::SearchList> GamesBehind(int index, Ui& ui);
    // The games behind the current node itself (those of its row in the parent's list).
    Result<search::SearchList> GamesOfCurrent(Ui& ui);

  private:
    Error StartAnew(Ui& ui);
    void LoadChildren();
    bool Expand(std::int32_t node, Ui& ui, const ExpandMode& mode, bool& ended);
    bool SingleLineEnds(std::int32_t node, search::MoveCode single, const ExpandMode& mode, Ui& ui);
    Error ScanAfter(std::uint32_t first_game, NextMoveScan& scan, Ui& ui);
    Result<search::SearchList> GamesPlaying(std::span<const search::MoveCode> line,
                                            search::MoveCode code, std::uint32_t first_game,
                                            Ui& ui);
    bool Reserve(std::size_t nodes);
    // Appends `moves` as the children of `parent`, which must have room reserved for them.
    void AppendChildren(std::int32_t parent, const std::vector<NextMove>& moves);
    void Write(Ui& ui);
    void PlayNode(std::int32_t node);
    void ReplayTo(std::int32_t node);

    std::unique_ptr<TreeSource> source_;
    platform::FileSystem* files_ = &platform::SystemFileSystem();
    TreeOptions options_;
    std::string tree_path_;
    SourceStamp stamp_;  // the source as the tree was opened on it
    std::vector<TreeNode> nodes_;
    std::vector<WinCounts> counts_;
    std::size_t capacity_ = 0;  // nodes the array may hold before it is grown
    std::int32_t current_ = 0;
    int depth_ = 1;
    LinePosition position_;
    std::vector<search::MoveCode> line_codes_;
    std::vector<NextMove> children_;
    bool write_failed_ = false;
};

// What the end of a branch leads to: the message, or with TreeAutoDisplayGame (not for the ECO
// table's or a database's tree) the one game of the node, or its games as a list.
enum class EndOfBranchAction { Message, ShowGame, ShowGameList, Nothing };
EndOfBranchAction EndOfBranchActionFor(const TreeNode& node, TreeSourceKind kind,
                                       const TreeOptions& options, bool background);

}  // namespace qorvale::openings
