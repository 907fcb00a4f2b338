#pragma once

#include <QDialog>
#include <array>

#include "search/search_criteria.h"

class QDialogButtonBox;
class QLineEdit;
class QPushButton;

namespace qorvale::gui {

// What a search dialog ends with when "Search Dir" was pressed: the search is to run over every
// PGN file of a folder instead of the open file (QDialog::Accepted).
inline constexpr int SearchDirResult = 2;

// The buttons of the variation and position search dialogs: "OK" (searches the open file, so
// only with one), "Search Dir" and "Cancel".
QDialogButtonBox* AddSearchButtons(QDialog& box, bool file_open);

// "Edit Header" in its search role: the twelve header criteria with the buttons "OK",
// "Players", "Search File", "Search Dir", "Clear" and "Cancel". OK (with a criterion filled) and
// Search File accept the dialog, Search Dir ends it with SearchDirResult; the criteria are then
// in Criteria(). Without an open file only Search Dir searches.
class Searchbox : public QDialog {
    Q_OBJECT

  public:
    Searchbox(const search::HeaderCriteria& criteria, bool file_open, QWidget* parent = nullptr);

    search::HeaderCriteria Criteria() const;
    QLineEdit* Field(search::HeaderCriterion field) const {
        return fields_[static_cast<std::size_t>(field)];
    }

  private:
    std::array<QLineEdit*, search::HeaderCriterionCount> fields_{};
};

}  // namespace qorvale::gui
