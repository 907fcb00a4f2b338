#include "openings/opening_tree.h"

#include <algorithm>
#include <new>

#include "openings/messages.h"

namespace qorvale::openings {

namespace {

// The node array starts in a fixed 500,000-byte area; a larger tree file gets its size raised
// to the next multiple of 10,000 bytes, and the array grows 100,000 bytes at a time.
constexpr std::size_t InitialAreaBytes = 500000;
constexpr std::size_t FileAreaStep = 10000;
constexpr std::size_t GrowthBytes = 100000;
// The single-node limit of the ECO table's tree and of background building.
constexpr int LongSingleNodeLimit = 99;

std::size_t InitialCapacity(std::size_t nodes) {
    const std::size_t file_bytes = nodes * TreeNodeSize;
    const std::size_t area =
        std::max(InitialAreaBytes, (file_bytes + FileAreaStep - 1) / FileAreaStep * FileAreaStep);
    return area / TreeNodeSize;
}

}  // namespace

void TreeOptions::Reset() {
    const int look_ahead = maneuver_look_ahead;
    *this = TreeOptions{};
    maneuver_look_ahead = look_ahead;
}

OpeningTree::OpeningTree() = default;
OpeningTree::~OpeningTree() = default;
OpeningTree::OpeningTree(OpeningTree&&) noexcept = default;
OpeningTree& OpeningTree::operator=(OpeningTree&&) noexcept = default;

Error OpeningTree::Open(std::unique_ptr<TreeSource> source, const TreeOptions& options, Ui& ui,
                        bool rebuild, TreeOpenInfo* info, platform::FileSystem& files) {
    TreeOpenInfo local;
    TreeOpenInfo& found = info != nullptr ? *info : local;
    found = {};
    source_ = std::move(source);
    files_ = &files;
    options_ = options;
    tree_path_ = source_->TreeFilePath(options.exact_variations);
    stamp_ = source_->Stamp();
    nodes_.clear();
    counts_.clear();
    current_ = 0;
    depth_ = 1;
    position_.Reset();
    line_codes_.clear();
    children_.clear();
    write_failed_ = false;

    if (rebuild) DeleteTreeFiles(tree_path_, *files_);
    TreeFileContents contents = ReadTreeFile(tree_path_);
    switch (contents.state) {
        case TreeFileState::Unreadable:
            source_.reset();
            ui.report(messages::ErrorOpeningTreeFile);
            return Error(std::string(messages::ErrorOpeningTreeFile));
        case TreeFileState::OldFormat:
            DeleteTreeFiles(tree_path_, *files_);
            found.old_format = true;
            ui.report(messages::TreeFormatChanged);
            break;
        case TreeFileState::Damaged:
            DeleteTreeFiles(tree_path_, *files_);
            found.stale = true;
            break;
        case TreeFileState::Missing:
            // Counts and history left by a tree that was deleted belong to no tree now.
            DeleteTreeFiles(tree_path_, *files_);
            break;
        case TreeFileState::Loaded: {
            TreeCounts counts;
            if (ReadTreeCounts(TreeCountsPath(tree_path_), counts) && counts.stamp == stamp_ &&
                CountsFitTree(contents.nodes, counts.nodes)) {
                nodes_ = std::move(contents.nodes);
                counts.nodes.resize(nodes_.size());
                counts_ = std::move(counts.nodes);
                capacity_ = InitialCapacity(nodes_.size());
                LoadChildren();
                return Error::Ok();
            }
            DeleteTreeFiles(tree_path_, *files_);
            found.stale = true;
            break;
        }
    }
    found.started_anew = true;
    if (Error error = StartAnew(ui)) {
        source_.reset();
        ui.report(error.message());
        return error;
    }
    return Error::Ok();
}

void OpeningTree::SetOptions(const TreeOptions& options) {
    const bool exact = options_.exact_variations;
    options_ = options;
    options_.exact_variations = exact;
}

Error OpeningTree::ScanAfter(std::uint32_t first_game, NextMoveScan& scan, Ui& ui) {
    // With exact variations no game before the node's first holds its line.
    std::int32_t start = 0;
    if (source_->ReadsText() && options_.exact_variations && first_game > 0) {
        start = static_cast<std::int32_t>(first_game) - 1;
    }
    return source_->Scan(scan, start, ui);
}

Error OpeningTree::StartAnew(Ui& ui) {
    NextMoveScan scan({}, ScanSettings{options_.exact_variations, 0, 0});
    if (Error error = ScanAfter(0, scan, ui)) return error;
    std::vector<NextMove>& moves = scan.Moves();
    NameNextMoves(moves, position_);
    capacity_ = InitialCapacity(moves.size() + 1);
    if (!Reserve(moves.size() + 1)) return Error(std::string(messages::NotEnoughMemory));
    nodes_.push_back(TreeNode{});
    counts_.push_back({});
    AppendChildren(0, moves);
    Write(ui);
    LoadChildren();
    return Error::Ok();
}

void OpeningTree::AppendChildren(std::int32_t parent, const std::vector<NextMove>& moves) {
    TreeNode& at = nodes_[static_cast<std::size_t>(parent)];
    at.first_child = static_cast<std::uint32_t>(nodes_.size());
    at.child_count = static_cast<std::uint16_t>(moves.size());
    for (const NextMove& move : moves) {
        TreeNode child;
        child.points = move.points;
        child.parent = parent;
        child.games = move.games;
        child.first_game = move.first_game;
        child.move_code = source_->KeepsMoveCodes() ? move.code : 0;
        child.move_text = move.text;
        nodes_.push_back(child);
        counts_.push_back(move.wins);
    }
}

bool OpeningTree::Reserve(std::size_t nodes) {
    if (nodes <= capacity_ && nodes_.capacity() >= capacity_) return true;
    std::size_t capacity = capacity_;
    while (capacity < nodes) capacity = (capacity * TreeNodeSize + GrowthBytes) / TreeNodeSize;
    try {
        nodes_.reserve(capacity);
        counts_.reserve(capacity);
    } catch (const std::bad_alloc&) {
        return false;
    }
    capacity_ = capacity;
    return true;
}

void OpeningTree::Write(Ui& ui) {
    if (NotKept()) return;
    // The counts go first: a tree file never has more nodes on disk than its counts file.
    const bool written =
        WriteTreeCounts(TreeCountsPath(tree_path_), TreeCounts{stamp_, counts_}, *files_) &&
        WriteTreeFile(tree_path_, nodes_, *files_);
    if (!written && !write_failed_) {
        write_failed_ = true;
        ui.report(messages::ErrorOpeningTreeFile);
    }
}

void OpeningTree::LoadChildren() {
    children_.clear();
    const TreeNode& node = nodes_[static_cast<std::size_t>(current_)];
    if (!node.Expanded() || node.child_count == EndOfBranch) return;
    const bool whole_line = position_.HalfMoves() == static_cast<int>(line_codes_.size());
    for (std::uint32_t i = node.first_child; i < node.first_child + node.child_count; ++i) {
        const TreeNode& child = nodes_[i];
        NextMove move;
        move.code = child.move_code;
        if (!source_->KeepsMoveCodes()) {
            move.code = whole_line ? position_.CodeOf(child.move_text.view()) : 0;
        }
        move.text = child.move_text;
        move.games = child.games;
        move.points = child.points;
        move.first_game = child.first_game;
        move.wins = counts_[i];
        children_.push_back(move);
    }
}

void OpeningTree::PlayNode(std::int32_t node) {
    const TreeNode& step = nodes_[static_cast<std::size_t>(node)];
    search::MoveCode code = step.move_code;
    // Once a move of the line could not be played, the board stays before it.
    if (position_.HalfMoves() == static_cast<int>(line_codes_.size())) {
        const bool played = source_->KeepsMoveCodes() ? position_.PlayCode(code)
                                                      : position_.PlayText(step.move_text.view());
        if (played && !source_->KeepsMoveCodes()) code = position_.Codes().back();
    }
    line_codes_.push_back(code);
    current_ = node;
    ++depth_;
}

void OpeningTree::ReplayTo(std::int32_t node) {
    std::vector<std::int32_t> path;
    for (std::int32_t at = node; at > 0; at = nodes_[static_cast<std::size_t>(at)].parent) {
        path.push_back(at);
    }
    position_.Reset();
    line_codes_.clear();
    current_ = 0;
    depth_ = 1;
    for (auto it = path.rbegin(); it != path.rend(); ++it) PlayNode(*it);
}

bool OpeningTree::SingleLineEnds(std::int32_t node, search::MoveCode single, const ExpandMode& mode,
                                 Ui& ui) {
    int limit = IsEcoTree() || mode.background ? LongSingleNodeLimit
                                               : std::max(options_.single_node_limit - 1, 0);
    if (mode.background && mode.look_ahead) {
        // Follow the single continuation: a branch that stays single for the whole limit, or
        // comes to an end, is ended here; one that forks keeps its single child.
        std::vector<search::MoveCode> line = line_codes_;
        line.push_back(single);
        for (int step = 0; step < limit; ++step) {
            NextMoveScan probe(line, ScanSettings{options_.exact_variations, 0, 0});
            if (ScanAfter(nodes_[static_cast<std::size_t>(node)].first_game, probe, ui)) {
                return false;
            }
            if (probe.Moves().empty()) return true;
            if (probe.Moves().size() > 1) return false;
            line.push_back(probe.Moves()[0].code);
        }
        return true;
    }
    if (limit == 0) return true;
    for (std::int32_t at = nodes_[static_cast<std::size_t>(node)].parent;
         at >= 0 && nodes_[static_cast<std::size_t>(at)].child_count == 1;
         at = nodes_[static_cast<std::size_t>(at)].parent) {
        if (--limit == 0) return true;
    }
    return false;
}

bool OpeningTree::Expand(std::int32_t node, Ui& ui, const ExpandMode& mode, bool& ended) {
    const auto index = static_cast<std::size_t>(node);
    NextMoveScan scan(line_codes_, ScanSettings{options_.exact_variations, 0, 0});
    if (Error error = ScanAfter(nodes_[index].first_game, scan, ui)) {
        ui.report(error.message());
        return false;
    }
    std::vector<NextMove>& moves = scan.Moves();
    if (moves.empty() || (moves.size() == 1 && SingleLineEnds(node, moves[0].code, mode, ui))) {
        nodes_[index].child_count = EndOfBranch;
        nodes_[index].first_child = 0;
        ended = true;
        Write(ui);
        return true;
    }
    if (!Reserve(nodes_.size() + moves.size())) {
        ui.report(messages::NotEnoughMemory);
        return false;
    }
    NameNextMoves(moves, position_);
    AppendChildren(node, moves);
    Write(ui);
    return true;
}

EnterOutcome OpeningTree::EnterChild(int index, Ui& ui, const ExpandMode& mode) {
    if (!IsOpen()) return EnterOutcome::Refused;
    if (NotKept()) {
        ui.report(messages::TreeFenNotSupported);
        return EnterOutcome::Refused;
    }
    const TreeNode& parent = nodes_[static_cast<std::size_t>(current_)];
    if (!parent.Expanded() || parent.child_count == EndOfBranch || index < 0 ||
        index >= parent.child_count) {
        return EnterOutcome::Refused;
    }
    const std::int32_t previous = current_;
    const std::int32_t node = static_cast<std::int32_t>(parent.first_child) + index;
    PlayNode(node);
    TreeNode& entered = nodes_[static_cast<std::size_t>(node)];
    if (entered.child_count == EndOfBranch && mode.refresh) {
        entered.child_count = 0;
        entered.first_child = 0;
    }
    if (entered.child_count == EndOfBranch) {
        children_.clear();
        return EnterOutcome::EndOfBranch;
    }
    if (entered.child_count == 0) {
        bool ended = false;
        if (!Expand(node, ui, mode, ended)) {
            ReplayTo(previous);
            LoadChildren();
            return EnterOutcome::Refused;
        }
        if (ended) {
            children_.clear();
            return EnterOutcome::EndOfBranch;
        }
    }
    LoadChildren();
    return EnterOutcome::Children;
}

bool OpeningTree::StepBack() {
    if (!IsOpen() || current_ == 0) return false;
    current_ = nodes_[static_cast<std::size_t>(current_)].parent;
    line_codes_.pop_back();
    --depth_;
    if (position_.HalfMoves() > static_cast<int>(line_codes_.size())) {
        position_.Truncate(static_cast<int>(line_codes_.size()));
    }
    LoadChildren();
    return true;
}

bool OpeningTree::GoTo(std::int32_t node) {
    if (!IsOpen() || node < 0 || node >= NodeCount()) return false;
    ReplayTo(node);
    LoadChildren();
    return true;
}

int OpeningTree::ChildIndexOf(std::int32_t node) const {
    if (node <= 0 || node >= NodeCount()) return -1;
    const TreeNode& parent = nodes_[static_cast<std::size_t>(Node(node).parent)];
    return node - static_cast<std::int32_t>(parent.first_child);
}

Result<search::SearchList> OpeningTree::GamesPlaying(std::span<const search::MoveCode> line,
                                                     search::MoveCode code,
                                                     std::uint32_t first_game, Ui& ui) {
    if (code == 0) return search::SearchList{};
    NextMoveScan scan(line, ScanSettings{options_.exact_variations, 0, code});
    if (Error error = ScanAfter(first_game, scan, ui)) return error;
    return scan.GamesOf();
}

Result<search::SearchList> OpeningTree::GamesBehind(int index, Ui& ui) {
    if (!IsOpen() || index < 0 || index >= static_cast<int>(children_.size())) {
        return search::SearchList{};
    }
    return GamesPlaying(line_codes_, children_[static_cast<std::size_t>(index)].code,
                        Node(current_).first_game, ui);
}

Result<search::SearchList> OpeningTree::GamesOfCurrent(Ui& ui) {
    if (!IsOpen() || current_ == 0) return search::SearchList{};
    const std::span<const search::MoveCode> line(line_codes_.data(), line_codes_.size() - 1);
    return GamesPlaying(line, line_codes_.back(), Node(Node(current_).parent).first_game, ui);
}

EndOfBranchAction EndOfBranchActionFor(const TreeNode& node, TreeSourceKind kind,
                                       const TreeOptions& options, bool background) {
    if (background) return EndOfBranchAction::Nothing;
    if (options.auto_display_game && kind != TreeSourceKind::EcoTable &&
        kind != TreeSourceKind::Database) {
        return node.games == 1 ? EndOfBranchAction::ShowGame : EndOfBranchAction::ShowGameList;
    }
    return EndOfBranchAction::Message;
}

}  // namespace qorvale::openings
