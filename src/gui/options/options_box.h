#pragma once

#include <QDialog>
#include <array>

#include "app/options_record.h"
#include "base/ui.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qorvale::gui {

// "Edit Options": the display settings of the options record. OK checks the entries, reports a
// refused one through the Ui and stays open; accepted values are written into the record.
class Optionsbox : public QDialog {
    Q_OBJECT

  public:
    // `game_mode`: the column format may only be switched in game mode.
    Optionsbox(const app::OptionsRecord& options, Ui& ui, bool game_mode,
               QWidget* parent = nullptr);

    // The record with the dialog's values, valid after exec() returned Accepted.
    const app::OptionsRecord& Result() const { return result_; }

    // Checks and takes the entries; false (after a message) when one is refused.
    bool TakeEntries();

    QComboBox* BoardSizeBox() const { return board_size_; }
    QComboBox* PieceStyleBox() const { return piece_style_; }
    QComboBox* NotationBox() const { return notation_; }
    QLineEdit* LettersEdit() const { return letters_; }
    QLineEdit* AutoPlayDelayEdit() const { return auto_play_delay_; }
    QCheckBox* WoodCheck() const { return wood_; }
    QCheckBox* ColumnFormatCheck() const { return column_format_; }
    QComboBox* HighlightBox() const { return highlight_; }
    QComboBox* CoordinatesBox() const { return coordinates_; }

  private slots:
    void accept() override;
    void Reset();

  private:
    void Fill(const app::OptionsRecord& options);
    QPushButton* ColourButton(std::uint32_t& colour);
    void PaintColourButton(QPushButton* button, std::uint32_t colour);

    app::OptionsRecord original_;
    app::OptionsRecord result_;
    Ui& ui_;
    bool game_mode_;
    QComboBox* board_size_ = nullptr;
    QComboBox* piece_style_ = nullptr;
    QCheckBox* wood_ = nullptr;
    QComboBox* border_width_ = nullptr;
    QComboBox* coordinates_ = nullptr;
    QComboBox* highlight_ = nullptr;
    QComboBox* notation_ = nullptr;
    QLineEdit* letters_ = nullptr;
    QLineEdit* auto_play_delay_ = nullptr;
    QCheckBox* auto_page_ = nullptr;
    QCheckBox* hide_text_ = nullptr;
    QCheckBox* column_format_ = nullptr;
    QCheckBox* actual_text_ = nullptr;
    QCheckBox* display_opening_ = nullptr;
    QComboBox* replay_mode_ = nullptr;
    QSpinBox* replay_count_ = nullptr;
    std::array<QPushButton*, 6> colour_buttons_{};
};

}  // namespace qorvale::gui
