#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "app/options_record.h"
#include "app/setup_position.h"
#include "base/ui.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace qorvale::gui {

class BoardWidget;

// The set-up board: pieces are put on the squares from a palette (a piece clicked onto the same
// piece again takes it off), with the side to move, castling rights, en-passant file and move
// number beside it, and FEN to and from the clipboard. OK runs the set-up checks and stays open
// when they fail.
class SetupBox : public QDialog {
    Q_OBJECT

  public:
    SetupBox(QWidget* parent, const QString& pieces_folder, const app::OptionsRecord& options,
             const app::SetupPosition& start, Ui& ui);

    const app::SetupPosition& Position() const { return setup_; }
    // The palette's piece (0 for the eraser).
    void ChoosePiece(std::uint32_t code);
    void SquareClicked(int file, int rank);
    BoardWidget* Board() const { return board_; }

  private:
    // Board and fields from the position, and back.
    void Show();
    void ReadFields();
    void PasteFen();

    app::SetupPosition setup_;
    Ui& ui_;
    BoardWidget* board_ = nullptr;
    QButtonGroup* palette_ = nullptr;
    std::array<QRadioButton*, 2> side_{};
    std::array<QCheckBox*, 4> castling_{};
    QComboBox* en_passant_ = nullptr;
    QSpinBox* move_number_ = nullptr;
};

}  // namespace qorvale::gui
