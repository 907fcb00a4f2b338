#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace qorvale::gui {

// A modeless window of text lines with a row of buttons under them: the "Errors" window of the
// file check and the "Duplicate Games" window. Choosing a line (a click, or Enter on it) is
// signalled with its row; what a line or a button does is the owner's business.
class ListWindow : public QDialog {
    Q_OBJECT

  public:
    // `name` is the window's object name, the program's name for it.
    ListWindow(const QString& name, QWidget* parent);

    // A button at the end of the row; `role` decides whether it closes the window.
    QPushButton* AddButton(const QString& text, QDialogButtonBox::ButtonRole role);
    // Shows `lines` under `title` and brings the window to the front.
    void ShowLines(const QString& title, const QStringList& lines);

    QListWidget* list() const { return list_; }

  signals:
    void rowChosen(int row);

  private:
    QListWidget* list_;
    QDialogButtonBox* buttons_;
    bool placed_ = false;  // the first showing places it; later the user's place is kept
};

}  // namespace qorvale::gui
