#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "output/player_table.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace qorvale::gui {

// The "Player Scores" window: one row per player with the counts by colour, sortable by any
// column; a row chosen (double-click or Enter) asks for that player's games.
class PlayerScoresWindow : public QDialog {
    Q_OBJECT

  public:
    explicit PlayerScoresWindow(QWidget* parent);

    void Show(const QString& title, const output::PlayerTable& table);
    // The name of a player as the file holds it (Latin-1 bytes stay as they are).
    const std::string& RawName(int player) const {
        return names_[static_cast<std::size_t>(player)];
    }
    QTableWidget* table() const { return table_; }
    QCheckBox* exact() const { return exact_; }

  signals:
    // `player` indexes RawName: double-click or Enter lists the player's games, the context
    // menu asks for the player's card.
    void playerChosen(int player);
    void playerCardAsked(int player);
    void exactChanged(bool exact);

  private:
    int PlayerAt(int row) const;

    QTableWidget* table_;
    QCheckBox* exact_;
    std::vector<std::string> names_;  // the raw names, by the row they were first put in
};

// The "Cross Table" window: the table in a fixed-width font, and a button that saves it as a web
// page.
class CrossTableWindow : public QDialog {
    Q_OBJECT

  public:
    explicit CrossTableWindow(QWidget* parent);

    void Show(const QString& title, const QString& text);
    QPlainTextEdit* text() const { return text_; }
    QCheckBox* exact() const { return exact_; }

  signals:
    void saveAsPage();
    void exactChanged(bool exact);

  private:
    QPlainTextEdit* text_;
    QCheckBox* exact_;
};

}  // namespace qorvale::gui
