#pragma once

#include <QTreeWidget>
#include <vector>

#include "app/tree_session.h"

namespace qorvale::gui {

// The list of next moves of the tree window and of Show Next Moves: each row's text as the
// program formats it, the game count, White's score and a bar of the White-win, other and
// Black-win shares. Enter or a double-click steps into a row, Backspace steps back; the context
// menu asks for the games behind a row.
class MoveStatsList : public QTreeWidget {
    Q_OBJECT

  public:
    explicit MoveStatsList(QWidget* parent = nullptr);

    // Shows `rows` and selects row `selected` (none when negative).
    void SetRows(const std::vector<app::TreeRow>& rows, int selected, bool figurines);
    // Whether the context menu offers "Games of this move".
    void SetGamesMenu(bool on) { games_menu_ = on; }
    // The index of the current row, or -1.
    int CurrentRow() const;

  signals:
    void rowEntered(int row);
    void stepBack();
    void gamesAsked(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    bool games_menu_ = false;
};

}  // namespace qorvale::gui
