#pragma once

#include <QString>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;

namespace qorvale::gui {

class BoardWidget;
class MoveStatsList;

// A window of its own beside the main window: a board with the line and its opening under it,
// and beside it a list of moves (the opening tree, Show Next Moves) or of the ECO table's lines
// (ECO edit). The controller that owns it fills it and follows its signals.
class BoardListWindow : public QWidget {
    Q_OBJECT

  public:
    BoardListWindow(const QString& title, const QString& pieces_folder, QWidget* parent);

    BoardWidget* board() const { return board_; }
    MoveStatsList* moves() const { return moves_; }
    // The ECO table's lines; hidden unless ShowEntries.
    QListWidget* entries() const { return entries_; }
    void ShowEntries(bool on);
    void ShowMoves(bool on);

    void SetLineText(const QString& text);
    void SetOpeningText(const QString& text);
    QString LineText() const;
    QString OpeningText() const;
    // A button in the row above the list, named `name` for tests and scripts.
    QPushButton* AddButton(const QString& name, const QString& text);
    QPushButton* Button(const QString& name) const;

  signals:
    // The user closes the window; the owner decides (Leave) and may keep it open.
    void closeAsked();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape asks to close, as the window's close button does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    BoardWidget* board_;
    QLabel* line_;
    QLabel* opening_;
    MoveStatsList* moves_;
    QListWidget* entries_;
    QHBoxLayout* buttons_;
};

}  // namespace qorvale::gui
