#include "gui/search/searchbox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qorvale::gui {

namespace {

using search::HeaderCriterion;

struct FieldRow {
    HeaderCriterion field;
    const char* label;
    const char* name;
};

// In dialog order.
constexpr std::array<FieldRow, search::HeaderCriterionCount> FieldRows = {{
    {HeaderCriterion::Event, "Event", "Event"},
    {HeaderCriterion::Site, "Site", "Site"},
    {HeaderCriterion::Date, "Date", "Date"},
    {HeaderCriterion::Round, "Round", "Round"},
    {HeaderCriterion::White, "White", "White"},
    {HeaderCriterion::Black, "Black", "Black"},
    {HeaderCriterion::Result, "Result", "Result"},
    {HeaderCriterion::Eco, "ECO", "ECO"},
    {HeaderCriterion::WhiteElo, "White ELO", "WhiteElo"},
    {HeaderCriterion::BlackElo, "Black ELO", "BlackElo"},
    {HeaderCriterion::NumberOfMoves, "Number of Moves", "NumberOfMoves"},
    {HeaderCriterion::SpecificMove, "Specific Move", "SpecificMove"},
}};

}  // namespace

QDialogButtonBox* AddSearchButtons(QDialog& box, bool file_open) {
    auto* buttons = new QDialogButtonBox(&box);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setEnabled(file_open);
    ok->setDefault(file_open);
    QPushButton* search_dir =
        buttons->addButton(Searchbox::tr("Search Dir"), QDialogButtonBox::ActionRole);
    search_dir->setObjectName(QStringLiteral("SearchDir"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    QObject::connect(search_dir, &QPushButton::clicked, &box,
                     [&box] { box.done(SearchDirResult); });
    return buttons;
}

Searchbox::Searchbox(const search::HeaderCriteria& criteria, bool file_open, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Searchbox"));
    setWindowTitle(tr("Edit Header"));
    auto* form = new QFormLayout;
    for (const FieldRow& row : FieldRows) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(row.name));
        edit->setMaxLength(static_cast<int>(search::MaxCriteriaText));
        edit->setText(QString::fromStdString(criteria.Get(row.field)));
        fields_[static_cast<std::size_t>(row.field)] = edit;
        form->addRow(tr(row.label), edit);
    }

    auto* buttons = new QDialogButtonBox(this);
    auto add = [this, buttons](const QString& text, const char* name) {
        auto* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    QPushButton* ok = add(tr("OK"), "OK");
    ok->setDefault(true);
    // The player list is not part of this window yet.
    add(tr("Players"), "Players")->setEnabled(false);
    QPushButton* search_file = add(tr("Search File"), "SearchFile");
    QPushButton* search_dir = add(tr("Search Dir"), "SearchDir");
    ok->setEnabled(file_open);
    search_file->setEnabled(file_open);
    QPushButton* clear = add(tr("Clear"), "Clear");
    QPushButton* cancel = add(tr("Cancel"), "Cancel");

    // OK searches only when there is something to search for; otherwise it just closes.
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Criteria().Any()) {
            accept();
        } else {
            reject();
        }
    });
    connect(search_file, &QPushButton::clicked, this, &QDialog::accept);
    connect(search_dir, &QPushButton::clicked, this, [this] { done(SearchDirResult); });
    connect(clear, &QPushButton::clicked, this, [this] {
        for (QLineEdit* edit : fields_) edit->clear();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

search::HeaderCriteria Searchbox::Criteria() const {
    search::HeaderCriteria criteria;
    for (const FieldRow& row : FieldRows) {
        criteria.Set(row.field, fields_[static_cast<std::size_t>(row.field)]->text().toStdString());
    }
    return criteria;
}

}  // namespace qorvale::gui
