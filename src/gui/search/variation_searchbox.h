#pragma once

#include <QDialog>

class QLineEdit;

namespace qorvale::gui {

// The line of moves to search for ("1.e4 e5 2.f4"). Ends with QDialog::Accepted to search the
// open file, or SearchDirResult to search a folder.
class VariationSearchbox : public QDialog {
    Q_OBJECT

  public:
    explicit VariationSearchbox(bool file_open, QWidget* parent = nullptr);

    QLineEdit* MovesField() const { return moves_; }

  private:
    QLineEdit* moves_ = nullptr;
};

}  // namespace qorvale::gui
