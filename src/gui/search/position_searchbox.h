#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "base/error.h"
#include "chess/board.h"
#include "search/search_criteria.h"

class QLineEdit;
class QPushButton;

namespace qorvale::gui {

// The search position as text: White's and Black's entries ("Kg1, Nf3, =8", "Kg8, *") and the
// move-number filter (">=10", "12", "10-20"). Ends with QDialog::Accepted to search the open
// file, or SearchDirResult to search a folder.
class PositionSearchbox : public QDialog {
    Q_OBJECT

  public:
    explicit PositionSearchbox(bool file_open, QWidget* parent = nullptr);
    // Shows a "Set Up Board..." button that fills White's and Black's entries with the pieces of
    // the position `set_up` returns (nothing when the user cancelled).
    void OfferSetUp(std::function<std::optional<chess::Board>()> set_up);

    QLineEdit* WhiteField() const { return white_; }
    QLineEdit* BlackField() const { return black_; }
    QLineEdit* MoveNumberField() const { return move_number_; }

  private:
    QLineEdit* white_ = nullptr;
    QLineEdit* black_ = nullptr;
    QLineEdit* move_number_ = nullptr;
    QPushButton* set_up_ = nullptr;
};

}  // namespace qorvale::gui
