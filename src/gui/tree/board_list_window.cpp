#include "gui/tree/board_list_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/panels/board_widget.h"
#include "gui/tree/move_stats_list.h"

namespace qorvale::gui {

BoardListWindow::BoardListWindow(const QString& title, const QString& pieces_folder,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    board_ = new BoardWidget(pieces_folder, this);
    line_ = new QLabel(this);
    line_->setObjectName(QStringLiteral("LineText"));
    line_->setWordWrap(true);
    line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    opening_ = new QLabel(this);
    opening_->setObjectName(QStringLiteral("OpeningText"));
    opening_->setWordWrap(true);
    QFont bold = opening_->font();
    bold.setBold(true);
    opening_->setFont(bold);

    auto* left = new QVBoxLayout;
    left->addWidget(board_, 0, Qt::AlignLeft | Qt::AlignTop);
    left->addWidget(line_);
    left->addWidget(opening_);
    left->addStretch(1);

    buttons_ = new QHBoxLayout;
    buttons_->addStretch(1);
    moves_ = new MoveStatsList(this);
    entries_ = new QListWidget(this);
    entries_->setObjectName(QStringLiteral("EcoEntries"));
    entries_->setVisible(false);
    auto* right = new QVBoxLayout;
    right->addLayout(buttons_);
    right->addWidget(moves_, 1);
    right->addWidget(entries_, 1);

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 0);
    columns->addLayout(right, 1);
    // The board sets the column's width; the labels wrap inside it.
    line_->setMaximumWidth(board_->sizeHint().width());
    opening_->setMaximumWidth(board_->sizeHint().width());
}

void BoardListWindow::ShowEntries(bool on) { entries_->setVisible(on); }

void BoardListWindow::ShowMoves(bool on) { moves_->setVisible(on); }

void BoardListWindow::SetLineText(const QString& text) { line_->setText(text); }

void BoardListWindow::SetOpeningText(const QString& text) { opening_->setText(text); }

QString BoardListWindow::LineText() const { return line_->text(); }

QString BoardListWindow::OpeningText() const { return opening_->text(); }

QPushButton* BoardListWindow::AddButton(const QString& name, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    buttons_->insertWidget(buttons_->count() - 1, button);
    return button;
}

QPushButton* BoardListWindow::Button(const QString& name) const {
    return findChild<QPushButton*>(name);
}

void BoardListWindow::closeEvent(QCloseEvent* event) {
    // The owner closes the window itself once it has agreed.
    event->ignore();
    emit closeAsked();
}

void BoardListWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        emit closeAsked();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace qorvale::gui
