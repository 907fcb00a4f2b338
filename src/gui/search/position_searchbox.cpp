#include "gui/search/position_searchbox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
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
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

}  // namespace qorvale::gui
