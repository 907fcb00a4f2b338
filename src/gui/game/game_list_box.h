#pragma once

#include <QDialog>

#include "gui/game/game_list_model.h"

class QComboBox;
class QListView;

namespace qorvale::gui {

// "Select Game": the games of the navigation list (every game of the file, or after a search the
// search list's games); a double click or OK picks one.
class GameListBox : public QDialog {
    Q_OBJECT

  public:
    GameListBox(const std::vector<app::GameListRecord>& records, int layout,
                std::int32_t current_game, QWidget* parent = nullptr);
    GameListBox(const std::vector<app::GameListRecord>& records, GameListContent content,
                int layout, std::int32_t current_game, QWidget* parent = nullptr);

    // The game picked, 0 when none.
    std::int32_t ChosenGame() const;
    int Layout() const { return model_->Layout(); }
    GameListModel* Model() const { return model_; }
    QListView* View() const { return view_; }
    // Picks `game_number` as a double click would.
    void Choose(std::int32_t game_number);

  private:
    void ShowGameRow(std::int32_t game_number);

    GameListModel* model_ = nullptr;
    QListView* view_ = nullptr;
    QComboBox* layout_box_ = nullptr;
    QComboBox* segment_box_ = nullptr;
};

}  // namespace qorvale::gui
