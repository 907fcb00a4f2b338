#include "gui/edit/move_input.h"

#include <QInputDialog>
#include <QStringList>
#include <algorithm>
#include <array>

#include "app/edit_messages.h"
#include "gui/panels/board_widget.h"

namespace qorvale::gui {

MoveInput::MoveInput(QWidget* dialog_parent, Ui& ui) : dialog_parent_(dialog_parent), ui_(ui) {}

bool MoveInput::IsTarget(app::BoardSquare square) const {
    return std::find(targets_.begin(), targets_.end(), square) != targets_.end();
}

bool MoveInput::Click(app::GameEntry& entry, int file, int rank) {
    const app::BoardSquare square{file, rank};
    if (picked_ && IsTarget(square)) {
        Move(entry, *picked_, square);
    } else {
        Pick(entry, file, rank);
    }
    return true;
}

bool MoveInput::Drop(app::GameEntry& entry, int file, int rank) {
    const app::BoardSquare square{file, rank};
    if (!picked_ || !IsTarget(square)) return false;
    Move(entry, *picked_, square);
    return true;
}

void MoveInput::Reset() {
    picked_.reset();
    targets_.clear();
    last_move_ = {};
}

void MoveInput::Pick(app::GameEntry& entry, int file, int rank) {
    // A click on anything but a movable piece drops the pick; the picked piece pressed again
    // stays picked, so that it can be dragged.
    picked_.reset();
    targets_.clear();
    std::vector<app::BoardSquare> targets = entry.LegalTargets(file, rank);
    if (targets.empty() && entry.ShownHalfMove() != entry.HalfMoves()) {
        // Moves are made at the end of the game: from an earlier position the moves after it go
        // first, once the user agrees.
        app::GameEntry cut = entry;
        cut.TruncateTo(cut.ShownHalfMove());
        if (!cut.LegalTargets(file, rank).empty() && ui_.ask(app::DropLaterMovesQuestion)) {
            entry = std::move(cut);
            targets = entry.LegalTargets(file, rank);
        }
    }
    if (!targets.empty()) {
        picked_ = app::BoardSquare{file, rank};
        targets_ = std::move(targets);
    }
}

void MoveInput::Move(app::GameEntry& entry, app::BoardSquare from, app::BoardSquare to) {
    std::uint32_t piece = chess::Queen;
    if (entry.IsPromotion(from.file, from.rank, to.file, to.rank)) {
        if (promotion_choice_) {
            piece = *promotion_choice_;
        } else {
            const QStringList names = {tr("Queen"), tr("Rook"), tr("Bishop"), tr("Knight")};
            const std::array<std::uint32_t, 4> pieces = {chess::Queen, chess::Rook, chess::Bishop,
                                                         chess::Knight};
            bool ok = false;
            const QString chosen = QInputDialog::getItem(dialog_parent_, tr("Promotion"),
                                                         tr("Promote to:"), names, 0, false, &ok);
            if (!ok) return;
            piece = pieces[static_cast<std::size_t>(names.indexOf(chosen))];
        }
    }
    const app::GameEntry::MoveOutcome outcome =
        entry.MakeMove(from.file, from.rank, to.file, to.rank, piece);
    if (outcome == app::GameEntry::MoveOutcome::GameFull) ui_.report(app::EnteredGameFull);
    picked_.reset();
    targets_.clear();
    if (outcome == app::GameEntry::MoveOutcome::Made) {
        last_move_ = {from.file, from.rank, to.file, to.rank};
    }
}

void MoveInput::Draw(BoardWidget& board, const app::GameEntry& entry) const {
    board.SetPosition(entry.Board(), last_move_);
    std::optional<std::pair<int, int>> picked;
    if (picked_) picked = std::pair{picked_->file, picked_->rank};
    std::vector<std::pair<int, int>> targets;
    for (const app::BoardSquare& target : targets_) targets.emplace_back(target.file, target.rank);
    board.SetMarks(picked, std::move(targets));
}

}  // namespace qorvale::gui
