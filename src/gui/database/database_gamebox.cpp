#include "gui/database/database_gamebox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "gui/panels/board_widget.h"

namespace qorvale::gui {

DatabaseGamebox::DatabaseGamebox(const QString& pieces_folder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DatabaseGamebox"));
    setWindowTitle(tr("Database Game"));
    header_ = new QLabel(this);
    header_->setObjectName(QStringLiteral("Header"));
    board_ = new BoardWidget(pieces_folder, this);
    move_line_ = new QLabel(this);
    move_line_->setObjectName(QStringLiteral("MoveLine"));
    QFont font = move_line_->font();
    font.setBold(true);
    move_line_->setFont(font);

    auto* buttons = new QHBoxLayout;
    using app::NavigationAction;
    const std::array<std::pair<const char*, NavigationAction>, 6> moves = {{
        {"|<", NavigationAction::StartOfGame},
        {"<<", NavigationAction::Back5},
        {"<", NavigationAction::PreviousMove},
        {">", NavigationAction::NextMove},
        {">>", NavigationAction::Forward5},
        {">|", NavigationAction::EndOfGame},
    }};
    auto* previous = new QPushButton(tr("<< Game"), this);
    previous->setObjectName(QStringLiteral("PreviousGame"));
    connect(previous, &QPushButton::clicked, this, [this] { emit stepGame(-1); });
    buttons->addWidget(previous);
    for (const auto& [label, action] : moves) {
        auto* button = new QPushButton(QString::fromLatin1(label), this);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, action] { emit navigate(action); });
        buttons->addWidget(button);
    }
    auto* next = new QPushButton(tr("Game >>"), this);
    next->setObjectName(QStringLiteral("NextGame"));
    connect(next, &QPushButton::clicked, this, [this] { emit stepGame(1); });
    buttons->addWidget(next);
    for (QPushButton* button : {previous, next}) button->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header_);
    layout->addWidget(board_, 0, Qt::AlignHCenter);
    layout->addWidget(move_line_);
    layout->addLayout(buttons);
}

void DatabaseGamebox::SetHeader(const QString& text) const { header_->setText(text); }

void DatabaseGamebox::SetMoveLine(const QString& text) const { move_line_->setText(text); }

QString DatabaseGamebox::MoveLine() const { return move_line_->text(); }

void DatabaseGamebox::keyPressEvent(QKeyEvent* event) {
    using app::NavigationAction;
    // The keys of the main window's Game menu.
    static constexpr std::array<std::pair<int, NavigationAction>, 8> KeyActions = {{
        {Qt::Key_Home, NavigationAction::StartOfGame},
        {Qt::Key_End, NavigationAction::EndOfGame},
        {Qt::Key_Down, NavigationAction::NextMove},
        {Qt::Key_Up, NavigationAction::PreviousMove},
        {Qt::Key_PageDown, NavigationAction::Forward5},
        {Qt::Key_PageUp, NavigationAction::Back5},
        {Qt::Key_Insert, NavigationAction::MiddleOfGame},
        {Qt::Key_Delete, NavigationAction::MiddleOfGame},
    }};
    for (const auto& [key, action] : KeyActions) {
        if (event->key() == key) {
            emit navigate(action);
            return;
        }
    }
    if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left) {
        emit stepGame(event->key() == Qt::Key_Right ? 1 : -1);
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace qorvale::gui
