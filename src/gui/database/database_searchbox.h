#pragma once

#include <QDialog>

#include "search/database_search.h"

class QCheckBox;
class QLineEdit;

namespace qorvale::gui {

// "Database Search Options": the players, year, ECO, result, number of moves, site and event of
// the games to find, the position to find (from the search position's entries or from the board
// on display) and the order of the list; "OK", "Clear" and "Cancel".
class DatabaseSearchbox : public QDialog {
    Q_OBJECT

  public:
    DatabaseSearchbox(const search::DbSearchCriteria& criteria, QWidget* parent = nullptr);

    // The criteria as filled in; the position is left for the owner, who knows the boards.
    search::DbSearchCriteria Criteria() const;
    bool FromPositionEdit() const;
    bool FromGamePosition() const;

    QLineEdit* Field(const char* name) const;
    QCheckBox* Box(const char* name) const;
};

}  // namespace qorvale::gui
