#include "gui/utilities/fix_tags_box.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <utility>

namespace qorvale::gui {

FixTagsBox::FixTagsBox(const QString& title, const std::pair<QString, QString>& labels,
                       const QString& fix, Check check, QWidget* parent)
    : QDialog(parent), check_(std::move(check)) {
    setObjectName(QStringLiteral("FixTagsBox"));
    setWindowTitle(title);
    fix_ = new QLineEdit(fix, this);
    fix_->setObjectName(QStringLiteral("Fix"));
    to_ = new QLineEdit(this);
    to_->setObjectName(QStringLiteral("To"));
    auto* form = new QFormLayout;
    form->addRow(labels.first, fix_);
    form->addRow(labels.second, to_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FixTagsBox::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

QString FixTagsBox::FixText() const { return fix_->text(); }

QString FixTagsBox::ToText() const { return to_->text(); }

void FixTagsBox::accept() {
    if (check_(FixText(), ToText())) QDialog::accept();
}

}  // namespace qorvale::gui
