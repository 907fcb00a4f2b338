#include "app/tree_session.h"

#include <algorithm>

#include "chess/notation.h"
#include "openings/messages.h"
#include "openings/opening_classification.h"

namespace qorvale::app {

namespace {

// A large source gets the tree help message the first time a tree of it is started.
constexpr std::int32_t HelpGameCount = 1000;
// Beyond this depth the opening line under the board is left as it was.
constexpr int OpeningTextDepth = 62;

}  // namespace

openings::TreeSourceRequest FileTreeSource(const pgn::PgnFile& file) {
    openings::TreeSourceRequest request;
    request.kind = openings::TreeSourceKind::PgnFile;
    request.path = file.CurrentPath();
    const std::span<const std::uint32_t> offsets = file.Index().Offsets();
    request.offsets.assign(offsets.begin(), offsets.end());
    request.game_count = file.GameCount();
    return request;
}

Error TreeSession::Open(const openings::TreeSourceRequest& request,
                        const openings::TreeOptions& options, Ui& ui, bool* help_shown,
                        bool rebuild) {
    Close();
    request_ = request;
    options_ = options;
    Result<std::unique_ptr<openings::TreeSource>> source = openings::TreeSource::Open(request);
    if (!source) {
        ui.report(source.error().message());
        return source.error();
    }
    openings::TreeOpenInfo info;
    if (Error error = tree_.Open(std::move(source).value(), options, ui, rebuild, &info)) {
        return error;
    }
    if (info.started_anew && help_shown != nullptr && !*help_shown &&
        tree_.Source().GameCount() >= HelpGameCount) {
        ui.report(openings::messages::TreeHelp);
        *help_shown = true;
    }
    history_.clear();
    if (!info.started_anew) {
        const std::string path = openings::TreeHistoryPath(tree_.TreeFilePath());
        for (std::uint32_t value : openings::ReadTreeHistory(path)) {
            const bool exact = (value & openings::ExactTreeHistoryMark) != 0;
            const auto node = static_cast<std::int32_t>(value & ~openings::ExactTreeHistoryMark);
            if (exact == options_.exact_variations && node < tree_.NodeCount()) {
                history_.push_back(value);
            }
        }
    }
    history_.push_back(HistoryValue(0));
    history_at_ = history_.size() - 1;
    opening_text_.clear();
    BuildRows(-1, ui);
    return Error::Ok();
}

void TreeSession::SaveHistory() {
    if (!tree_.IsOpen() || tree_.NotKept()) return;
    std::vector<std::uint32_t> kept(
        history_.begin(), history_.begin() + static_cast<std::ptrdiff_t>(history_at_) + 1);
    (void)openings::WriteTreeHistory(openings::TreeHistoryPath(tree_.TreeFilePath()), kept);
}

void TreeSession::Close() {
    SaveHistory();
    tree_ = openings::OpeningTree();
    rows_.clear();
    selected_row_ = -1;
    history_.clear();
    history_at_ = 0;
}

std::uint32_t TreeSession::HistoryValue(std::int32_t node) const {
    return static_cast<std::uint32_t>(node) |
           (options_.exact_variations ? openings::ExactTreeHistoryMark : 0);
}

void TreeSession::Visit() {
    history_.resize(history_at_ + 1);
    history_.push_back(HistoryValue(tree_.CurrentNode()));
    if (history_.size() > openings::MaxHistoryValues) {
        history_.erase(history_.begin(),
                       history_.end() - static_cast<std::ptrdiff_t>(openings::MaxHistoryValues));
    }
    history_at_ = history_.size() - 1;
}

openings::TreeListStyle TreeSession::ListStyle() const {
    openings::TreeListStyle style;
    style.sort = static_cast<openings::TreeSort>(std::clamp(options_.sort_mode, 0, 3));
    style.show_percentage = options_.show_percentage;
    style.show_score = options_.show_score;
    style.eco_tree = tree_.IsEcoTree();
    style.depth = tree_.Depth();
    return style;
}

std::vector<TreeRow> MakeTreeRows(std::span<const openings::NextMove> moves,
                                  const openings::TreeListStyle& style, Ui& ui) {
    std::vector<TreeRow> rows;
    openings::TreeList list = openings::ShowTreeList(moves, style, ui);
    std::uint64_t total = 0;
    for (const openings::NextMove& move : moves) total += move.games;
    openings::TreeListStyle frequency = style;
    frequency.sort = openings::TreeSort::Frequency;
    frequency.show_percentage = true;
    for (std::size_t row = 0; row < list.order.size(); ++row) {
        const int index = list.order[row];
        TreeRow entry;
        entry.text = list.rows[row];
        entry.move = moves[static_cast<std::size_t>(index)];
        entry.child_index = index;
        const openings::NextMove& move = entry.move;
        if (move.games > 0) {
            const double games = move.games;
            entry.white_share = move.wins.white_wins / games;
            entry.black_share = move.wins.black_wins / games;
            entry.other_share = (games - move.wins.white_wins - move.wins.black_wins) / games;
            entry.score = move.points * 0.5 / games * 100.0;
        }
        entry.frequency = openings::RowValue(move, total, frequency);
        rows.push_back(std::move(entry));
    }
    return rows;
}

void TreeSession::BuildRows(int select_child, Ui& ui) {
    rows_ = MakeTreeRows(tree_.Children(), ListStyle(), ui);
    selected_row_ = rows_.empty() ? -1 : 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].child_index == select_child) selected_row_ = static_cast<int>(row);
    }
}

TreeStep TreeSession::Enter(int row, Ui& ui) {
    TreeStep step;
    if (row < 0 || row >= static_cast<int>(rows_.size())) return step;
    const openings::EnterOutcome outcome =
        tree_.EnterChild(rows_[static_cast<std::size_t>(row)].child_index, ui);
    if (outcome == openings::EnterOutcome::Refused) return step;
    Visit();
    BuildRows(-1, ui);
    if (outcome == openings::EnterOutcome::Children) {
        step.kind = TreeStep::Kind::Children;
        return step;
    }
    step.kind = TreeStep::Kind::EndOfBranch;
    const openings::TreeNode& node = tree_.Node(tree_.CurrentNode());
    step.end = openings::EndOfBranchActionFor(node, tree_.Source().Kind(), options_, false);
    switch (step.end) {
        case openings::EndOfBranchAction::Message:
            ui.report(openings::messages::EndOfBranch);
            break;
        case openings::EndOfBranchAction::ShowGame:
            step.game_number = static_cast<std::int32_t>(node.first_game);
            step.half_move = tree_.Line().HalfMoves();
            break;
        case openings::EndOfBranchAction::ShowGameList: {
            Result<search::SearchList> games = tree_.GamesOfCurrent(ui);
            if (games) {
                step.games = std::move(games).value();
            } else {
                ui.report(games.error().message());
            }
            break;
        }
        case openings::EndOfBranchAction::Nothing:
            break;
    }
    return step;
}

TreeSession::LineWalk TreeSession::EnterLine(std::string_view line, Ui& ui) {
    LineWalk walk;
    walk.last.kind = TreeStep::Kind::Children;
    for (std::string_view move : chess::SplitLineMoves(line)) {
        walk.move = std::string(move);
        if (walk.last.kind == TreeStep::Kind::EndOfBranch) {
            walk.stop = LineWalk::Stop::Ended;
            return walk;
        }
        openings::LinePosition probe;
        for (search::MoveCode code : tree_.Line().Codes()) (void)probe.PlayCode(code);
        const search::MoveCode code = probe.CodeOf(move);
        if (code == 0) {
            walk.stop = LineWalk::Stop::NotLegal;
            return walk;
        }
        auto row = std::find_if(rows_.begin(), rows_.end(),
                                [code](const TreeRow& entry) { return entry.move.code == code; });
        if (row == rows_.end()) {
            walk.stop = LineWalk::Stop::NotPlayed;
            return walk;
        }
        walk.last = Enter(static_cast<int>(row - rows_.begin()), ui);
        if (walk.last.kind == TreeStep::Kind::Refused) {
            walk.stop = LineWalk::Stop::Refused;
            return walk;
        }
    }
    walk.move.clear();
    return walk;
}

bool TreeSession::StepBack(Ui& ui) {
    const std::int32_t left = tree_.CurrentNode();
    if (!tree_.StepBack()) return false;
    Visit();
    BuildRows(tree_.ChildIndexOf(left), ui);
    return true;
}

bool TreeSession::GoToHistory(std::size_t at, Ui& ui) {
    const auto node = static_cast<std::int32_t>(history_[at] & ~openings::ExactTreeHistoryMark);
    if (!tree_.GoTo(node)) return false;
    history_at_ = at;
    BuildRows(-1, ui);
    return true;
}

bool TreeSession::Back(Ui& ui) { return CanGoBack() && GoToHistory(history_at_ - 1, ui); }

bool TreeSession::Forward(Ui& ui) { return CanGoForward() && GoToHistory(history_at_ + 1, ui); }

const std::string& TreeSession::OpeningText(const openings::EcoTable& table) {
    if (Depth() < OpeningTextDepth) {
        const openings::LinePosition& line = tree_.Line();
        const openings::OpeningGame game(line.Moves(), line.HalfMoves());
        opening_text_ = openings::OpeningDisplayText(table, game, {}, line.HalfMoves());
    }
    return opening_text_;
}

Result<search::SearchList> TreeSession::GamesOfRow(int row, Ui& ui) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return search::SearchList{};
    return tree_.GamesBehind(rows_[static_cast<std::size_t>(row)].child_index, ui);
}

Error TreeSession::SetOptions(const openings::TreeOptions& options, Ui& ui) {
    const bool other_tree = options.exact_variations != options_.exact_variations;
    if (other_tree && tree_.IsOpen()) {
        const openings::TreeSourceRequest request = request_;
        return Open(request, options, ui);
    }
    options_ = options;
    tree_.SetOptions(options);
    const int selected_child =
        selected_row_ >= 0 ? rows_[static_cast<std::size_t>(selected_row_)].child_index : -1;
    BuildRows(selected_child, ui);
    return Error::Ok();
}

}  // namespace qorvale::app
