#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "app/engine_settings.h"
#include "chess/setup_validation.h"
#include "engines/crafty_commands.h"
#include "engines/uci_output.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace qorvale::gui {

// "Crafty Game Info": who moves first, continuing the game on display, pondering, what Crafty
// shows, and the clock.
class CraftyGameInfoBox : public QDialog {
    Q_OBJECT

  public:
    CraftyGameInfoBox(QWidget* parent, const engines::CraftyGameSettings& settings);
    engines::CraftyGameSettings Settings() const;

  private:
    QCheckBox* moves_first_;
    QCheckBox* continue_game_;
    QCheckBox* no_ponder_;
    QCheckBox* display_general_;
    QCheckBox* display_variation_;
    QLineEdit* level_moves_;
    QLineEdit* level_minutes_;
    QLineEdit* level_increment_;
};

// "Crafty Position Info": the facts of a position the board does not show.
class CraftyPositionInfoBox : public QDialog {
    Q_OBJECT

  public:
    CraftyPositionInfoBox(QWidget* parent, const chess::EnginePositionInfo& info);
    chess::EnginePositionInfo Info() const;

  private:
    QRadioButton* white_;
    QRadioButton* black_;
    QCheckBox* white_king_;
    QCheckBox* white_queen_;
    QCheckBox* black_king_;
    QCheckBox* black_queen_;
    QLineEdit* en_passant_;
};

// The display options of the engine window ("UCI Display Options" / "Crafty Display Options").
class EngineDisplayBox : public QDialog {
    Q_OBJECT

  public:
    EngineDisplayBox(QWidget* parent, const QString& title, const app::EngineSettings& settings);
    // `settings` with the dialog's choices.
    app::EngineSettings Settings(app::EngineSettings settings) const;

  private:
    QCheckBox* fixed_font_;
    QCheckBox* profile_;
    QButtonGroup* colours_;
    QSpinBox* move_time_;
};

// "UCI Options": one field per option the engine offered (check box, number, choice, text; a
// button option is a check box that presses it).
class UciOptionsBox : public QDialog {
    Q_OBJECT

  public:
    UciOptionsBox(QWidget* parent, const std::vector<engines::UciOption>& options);
    // The options whose value the user changed, with their new values.
    std::vector<std::pair<std::string, std::string>> Changed() const;

  private:
    std::vector<engines::UciOption> options_;
    std::vector<QWidget*> fields_;
};

}  // namespace qorvale::gui
