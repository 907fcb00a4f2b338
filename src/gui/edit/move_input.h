#pragma once

#include <QObject>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/game_entry.h"
#include "app/session.h"
#include "base/ui.h"

class QWidget;

namespace qorvale::gui {

class BoardWidget;

// Turns clicks and drags on a board into the moves of a game being entered: the first click (or
// the press of a drag) picks a piece of the side to move and marks where it may go, the second
// click (or the release) on one of those squares makes the move. A pawn reaching the last rank
// asks for the piece.
class MoveInput : public QObject {
    Q_OBJECT

  public:
    // `dialog_parent` parents the promotion chooser; questions go through `ui`.
    MoveInput(QWidget* dialog_parent, Ui& ui);

    // Each returns true when the board must be drawn again.
    bool Click(app::GameEntry& entry, int file, int rank);
    bool Drop(app::GameEntry& entry, int file, int rank);
    // Forgets the pick and the last move (the board shows another position).
    void Reset();

    // Marks the pick and its targets on `board` and draws the entry's position.
    void Draw(BoardWidget& board, const app::GameEntry& entry) const;
    std::optional<app::BoardSquare> Picked() const { return picked_; }
    const std::vector<app::BoardSquare>& Targets() const { return targets_; }
    app::MoveSquares LastMove() const { return last_move_; }
    // The piece a pawn promotes to; asked in a dialog unless a test set it.
    void SetPromotionChoice(std::optional<std::uint32_t> piece) { promotion_choice_ = piece; }

  private:
    void Pick(app::GameEntry& entry, int file, int rank);
    void Move(app::GameEntry& entry, app::BoardSquare from, app::BoardSquare to);
    bool IsTarget(app::BoardSquare square) const;

    QWidget* dialog_parent_;
    Ui& ui_;
    std::optional<app::BoardSquare> picked_;
    std::vector<app::BoardSquare> targets_;
    app::MoveSquares last_move_;
    std::optional<std::uint32_t> promotion_choice_;
};

}  // namespace qorvale::gui
