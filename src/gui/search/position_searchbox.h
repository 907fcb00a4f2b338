#pragma once

#include <QDialog>
#include <QString>

#include "base/error.h"
#include "search/search_criteria.h"

class QLineEdit;

namespace qorvale::gui {

// The search position as text: White's and Black's entries ("Kg1, Nf3, =8", "Kg8, *") and the
// move-number filter (">=10", "12", "10-20"). Ends with QDialog::Accepted to search the open
// file, or SearchDirResult to search a folder.
class PositionSearchbox : public QDialog {
    Q_OBJECT

  public:
    explicit PositionSearchbox(bool file_open, QWidget* parent = nullptr);

    QLineEdit* WhiteField() const { return white_; }
    QLineEdit* BlackField() const { return black_; }
    QLineEdit* MoveNumberField() const { return move_number_; }

  private:
    QLineEdit* white_ = nullptr;
    QLineEdit* black_ = nullptr;
    QLineEdit* move_number_ = nullptr;
};

}  // namespace qorvale::gui
