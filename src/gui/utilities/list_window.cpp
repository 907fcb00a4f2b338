#include "gui/utilities/list_window.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qorvale::gui {

ListWindow::ListWindow(const QString& name, QWidget* parent) : QDialog(parent) {
    setObjectName(name);
    setModal(false);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("Lines"));
    list_->setUniformItemSizes(true);
    buttons_ = new QDialogButtonBox(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons_);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { emit rowChosen(list_->row(item)); });
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit rowChosen(list_->row(item)); });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(460, 300);
}

QPushButton* ListWindow::AddButton(const QString& text, QDialogButtonBox::ButtonRole role) {
    QPushButton* button = buttons_->addButton(text, role);
    button->setObjectName(text);
    button->setAutoDefault(false);
    return button;
}

void ListWindow::ShowLines(const QString& title, const QStringList& lines) {
    setWindowTitle(title);
    list_->clear();
    list_->addItems(lines);
    if (!lines.isEmpty()) list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    if (!placed_ && parentWidget() != nullptr) {
        // Beside the board, over the lower right of the game text: the game a line names stays
        // in view while the user goes down the list.
        const QRect frame = parentWidget()->window()->geometry();
        move(frame.right() - width() - 24, frame.bottom() - height() - 48);
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

}  // namespace qorvale::gui
