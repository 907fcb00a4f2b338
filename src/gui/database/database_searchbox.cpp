#include "gui/database/database_searchbox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

using search::DbSearchCriteria;

struct TextRow {
    const char* label;
    const char* name;
    std::string DbSearchCriteria::*field;
};

// In dialog order.
const std::array<TextRow, 8> TextRows = {{
    {"White", "White", &DbSearchCriteria::white},
    {"Black", "Black", &DbSearchCriteria::black},
    {"Year", "Year", &DbSearchCriteria::year},
    {"ECO", "ECO", &DbSearchCriteria::eco},
    {"Result", "Result", &DbSearchCriteria::result},
    {"Number of Moves", "NumberOfMoves", &DbSearchCriteria::moves},
    {"Site", "Site", &DbSearchCriteria::site},
    {"Event", "Event", &DbSearchCriteria::event},
}};

struct CheckRow {
    const char* label;
    const char* name;
    int row;
    int column;
};

// Each pair that belongs together on one row.
const std::array<CheckRow, 7> CheckRows = {{
    {"Either Color", "EitherColor", 0, 0},
    {"Exact Match", "ExactMatch", 1, 0},
    {"Partial Position", "PartialPosition", 1, 1},
    {"Search from Position Edit", "FromPositionEdit", 2, 0},
    {"Search from Game Position", "FromGamePosition", 2, 1},
    {"Sort by Year", "SortByYear", 3, 0},
    {"Descending", "Descending", 3, 1},
}};

}  // namespace

DatabaseSearchbox::DatabaseSearchbox(const search::DbSearchCriteria& criteria, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DatabaseSearchbox"));
    setWindowTitle(tr("Database Search Options"));
    auto* form = new QFormLayout;
    for (const TextRow& row : TextRows) {
        auto* edit = new QLineEdit(ToQString(criteria.*row.field), this);
        edit->setObjectName(QString::fromLatin1(row.name));
        form->addRow(tr(row.label), edit);
    }
    auto* checks = new QGridLayout;
    for (const CheckRow& row : CheckRows) {
        auto* box = new QCheckBox(tr(row.label), this);
        box->setObjectName(QString::fromLatin1(row.name));
        checks->addWidget(box, row.row, row.column);
    }
    Box("EitherColor")->setChecked(criteria.either_colour);
    Box("ExactMatch")->setChecked(criteria.exact_match);
    Box("PartialPosition")->setChecked(!criteria.exact_match);
    Box("SortByYear")->setChecked(criteria.sort_by_year);
    Box("Descending")->setChecked(criteria.descending);
    // The two position matches and the two position sources exclude each other.
    for (auto [one, other] : {std::pair{"ExactMatch", "PartialPosition"},
                              std::pair{"FromPositionEdit", "FromGamePosition"}}) {
        QCheckBox* first = Box(one);
        QCheckBox* second = Box(other);
        connect(first, &QCheckBox::toggled, second, [second](bool on) {
            if (on) second->setChecked(false);
        });
        connect(second, &QCheckBox::toggled, first, [first](bool on) {
            if (on) first->setChecked(false);
        });
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OK"));
    QPushButton* clear = buttons->addButton(tr("Clear"), QDialogButtonBox::ResetRole);
    clear->setObjectName(QStringLiteral("Clear"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, [this] {
        for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->clear();
        for (QCheckBox* box : findChildren<QCheckBox*>()) box->setChecked(false);
        Box("ExactMatch")->setChecked(true);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(checks);
    layout->addWidget(buttons);
}

QLineEdit* DatabaseSearchbox::Field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

QCheckBox* DatabaseSearchbox::Box(const char* name) const {
    return findChild<QCheckBox*>(QString::fromLatin1(name));
}

search::DbSearchCriteria DatabaseSearchbox::Criteria() const {
    search::DbSearchCriteria criteria;
    for (const TextRow& row : TextRows) {
        criteria.*row.field = Field(row.name)->text().trimmed().toStdString();
    }
    criteria.either_colour = Box("EitherColor")->isChecked();
    criteria.exact_match = !Box("PartialPosition")->isChecked();
    criteria.sort_by_year = Box("SortByYear")->isChecked();
    criteria.descending = Box("Descending")->isChecked();
    return criteria;
}

bool DatabaseSearchbox::FromPositionEdit() const { return Box("FromPositionEdit")->isChecked(); }

bool DatabaseSearchbox::FromGamePosition() const { return Box("FromGamePosition")->isChecked(); }

}  // namespace qorvale::gui
