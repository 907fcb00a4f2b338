#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "pgn/game_file_edit.h"

class QLineEdit;
class QRadioButton;

namespace qorvale::gui {

// Where a game goes: the save mode and the file. A new file is chosen with a save dialog and must
// not exist yet; the other modes take an existing file, the open one to begin with.
class SaveGameBox : public QDialog {
    Q_OBJECT

  public:
    SaveGameBox(QWidget* parent, const QString& title, pgn::SaveMode mode,
                const QString& open_file);

    pgn::SaveMode Mode() const;
    QString Path() const;

  private:
    void Browse();

    std::array<QRadioButton*, 4> modes_{};
    QLineEdit* path_ = nullptr;
    QString open_file_;
};

}  // namespace qorvale::gui
