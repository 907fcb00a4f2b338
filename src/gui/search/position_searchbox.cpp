#include "gui/search/position_searchbox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/search/searchbox.h"

namespace qorvale::gui {

PositionSearchbox::PositionSearchbox(bool file_open, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PositionSearchbox"));
    setWindowTitle(tr("Search Position"));
    white_ = new QLineEdit(this);
    white_->setObjectName(QStringLiteral("White"));
    black_ = new QLineEdit(this);
    black_->setObjectName(QStringLiteral("Black"));
    move_number_ = new QLineEdit(this);
    move_number_->setObjectName(QStringLiteral("MoveNumber"));
    // Room for a full list of entries.
    for (QLineEdit* edit : {white_, black_}) edit->setMinimumWidth(320);
    auto* form = new QFormLayout;
    form->addRow(tr("White"), white_);
    form->addRow(tr("Black"), black_);
    form->addRow(tr("Move Number Search"), move_number_);
    QDialogButtonBox* buttons = AddSearchButtons(*this, file_open);
    set_up_ = buttons->addButton(tr("Set Up &Board..."), QDialogButtonBox::ActionRole);
    set_up_->setVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void PositionSearchbox::OfferSetUp(std::function<std::optional<chess::Board>()> set_up) {
    set_up_->setVisible(true);
    connect(set_up_, &QPushButton::clicked, this, [this, set_up = std::move(set_up)] {
        const std::optional<chess::Board> board = set_up();
        if (!board) return;
        const search::PositionEntryText text = search::PositionEntriesOf(*board);
        white_->setText(QString::fromLatin1(text.white.c_str()));
        black_->setText(QString::fromLatin1(text.black.c_str()));
    });
}

}  // namespace qorvale::gui
