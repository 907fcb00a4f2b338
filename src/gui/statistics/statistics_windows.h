#pragma once

#include <QDialog>
#include <QString>
#include <functional>

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
    QTableWidget* table() const { return table_; }
    QCheckBox* exact() const { return exact_; }

  signals:
    void playerChosen(const QString& raw_name);
    void exactChanged(bool exact);

  private:
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
