#include "gui/position_searchbox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "search/messages.h"

namespace qorvale::gui {

namespace {

using EntryList = std::array<search::PositionEntry, search::MaxPositionEntries>;

bool FillList(const QString& text, EntryList& list) {
    const QStringList entries =
        text.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts);
    if (entries.size() > static_cast<qsizetype>(list.size())) return false;
    std::size_t count = 0;
    for (const QString& entry : entries) {
        const std::string bytes = entry.toStdString();
        if (bytes.size() > chess::MoveText::Capacity) return false;
        list[count++].Assign(bytes);
    }
    return true;
}

}  // namespace

PositionSearchbox::PositionSearchbox(QWidget* parent) : QDialog(parent) {
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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

Error FillPosition(const QString& white, const QString& black, search::PositionCriteria& position) {
    search::PositionCriteria filled;
    if (!FillList(white, filled.White) || !FillList(black, filled.Black)) {
        return Error(std::string(search::messages::InvalidPositionEntry));
    }
    position = filled;
    return Error::Ok();
}

}  // namespace qorvale::gui
