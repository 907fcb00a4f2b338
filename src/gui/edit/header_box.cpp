#include "gui/edit/header_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/shell/qt_text.h"

namespace qorvale::gui {

HeaderBox::HeaderBox(QWidget* parent, const pgn::HeaderEditFields& fields, Ui& ui)
    : QDialog(parent), start_(fields), ui_(ui) {
    setObjectName(QStringLiteral("HeaderBox"));
    setWindowTitle(tr("Edit Header"));
    auto* form = new QFormLayout;
    for (const pgn::WrittenTag& tag : pgn::WrittenHeaderOrder) {
        const auto index = static_cast<std::size_t>(tag.field);
        const QString value = ToQString(fields.Get(tag.field));
        const QString label = QString::fromLatin1(tag.name.data(), tag.name.size());
        if (tag.field == pgn::HeaderField::Result) {
            result_ = new QComboBox(this);
            result_->setEditable(true);
            result_->addItems({QStringLiteral("*"), QStringLiteral("1-0"), QStringLiteral("0-1"),
                               QStringLiteral("1/2-1/2")});
            result_->setCurrentText(value);
            result_->setObjectName(label);
            form->addRow(label + QLatin1Char(':'), result_);
            continue;
        }
        edits_[index] = new QLineEdit(value, this);
        edits_[index]->setObjectName(label);
        edits_[index]->setMaxLength(static_cast<int>(pgn::MaxHeaderDialogField));
        edits_[index]->setMinimumWidth(320);
        form->addRow(label + QLatin1Char(':'), edits_[index]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Error valid = pgn::ValidateResult(Fields()); !valid.ok()) {
            ui_.explain(valid);
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

pgn::HeaderEditFields HeaderBox::Fields() const {
    pgn::HeaderEditFields fields = start_;
    for (const pgn::WrittenTag& tag : pgn::WrittenHeaderOrder) {
        const auto index = static_cast<std::size_t>(tag.field);
        const QString text = tag.field == pgn::HeaderField::Result
                                 ? result_->currentText().trimmed()
                                 : edits_[index]->text();
        fields.Get(tag.field) = text.toStdString();
    }
    return fields;
}

}  // namespace qorvale::gui
