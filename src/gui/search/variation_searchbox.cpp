#include "gui/search/variation_searchbox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/search/searchbox.h"

namespace qorvale::gui {

VariationSearchbox::VariationSearchbox(bool file_open, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("VariationSearchbox"));
    setWindowTitle(tr("Search Variation"));
    moves_ = new QLineEdit(this);
    moves_->setObjectName(QStringLiteral("Moves"));
    moves_->setMinimumWidth(320);
    auto* form = new QFormLayout;
    form->addRow(tr("Moves"), moves_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(AddSearchButtons(*this, file_open));
}

}  // namespace qorvale::gui
