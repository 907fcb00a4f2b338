#pragma once

#include <QDialog>
#include <array>

#include "base/ui.h"
#include "pgn/header_tags.h"

class QComboBox;
class QLineEdit;

namespace qorvale::gui {

// The header of an entered game: the ten fields the program writes. A Result other than the four
// of the PGN standard keeps the dialog open with the program's message.
class HeaderBox : public QDialog {
    Q_OBJECT

  public:
    HeaderBox(QWidget* parent, const pgn::HeaderEditFields& fields, Ui& ui);

    // The fields as typed (each cut by the entry to what it accepts).
    pgn::HeaderEditFields Fields() const;

  private:
    std::array<QLineEdit*, pgn::HeaderFieldCount> edits_{};
    QComboBox* result_ = nullptr;
    pgn::HeaderEditFields start_;
    Ui& ui_;
};

}  // namespace qorvale::gui
