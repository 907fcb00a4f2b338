#pragma once

#include <QDialog>

#include "app/navigation.h"

class QLabel;

namespace qorvale::gui {

class BoardWidget;

// A found database game on a board of its own: its players and date above, the move line
// below, and the game navigation keys (Home, End, Up, Down, Page Up, Page Down, Insert; Left and
// Right for the previous and next found game). What it shows is set by its owner.
class DatabaseGamebox : public QDialog {
    Q_OBJECT

  public:
    DatabaseGamebox(const QString& pieces_folder, QWidget* parent = nullptr);

    BoardWidget* Board() const { return board_; }
    void SetHeader(const QString& text) const;
    void SetMoveLine(const QString& text) const;
    QString MoveLine() const;

  signals:
    void navigate(app::NavigationAction action);
    // +1 the next found game, -1 the previous one.
    void stepGame(int direction);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    BoardWidget* board_ = nullptr;
    QLabel* header_ = nullptr;
    QLabel* move_line_ = nullptr;
};

}  // namespace qorvale::gui
