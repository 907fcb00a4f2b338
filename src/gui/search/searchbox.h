#pragma once

#include <QDialog>
#include <array>

#include "search/search_criteria.h"

class QLineEdit;
class QPushButton;

namespace qorvale::gui {

// "Edit Header" in its search role: the twelve header criteria with the buttons "OK",
// "Players", "Search File", "Search Dir", "Clear" and "Cancel". OK (with a criterion filled) and
// Search File accept the dialog; the criteria are then in Criteria().
class Searchbox : public QDialog {
    Q_OBJECT

  public:
    Searchbox(const search::HeaderCriteria& criteria, QWidget* parent = nullptr);

    search::HeaderCriteria Criteria() const;
    QLineEdit* Field(search::HeaderCriterion field) const {
        return fields_[static_cast<std::size_t>(field)];
    }

  private:
    std::array<QLineEdit*, search::HeaderCriterionCount> fields_{};
};

}  // namespace qorvale::gui
