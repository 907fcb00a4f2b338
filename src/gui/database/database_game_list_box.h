#pragma once

#include <QDialog>
#include <vector>

#include "app/database_session.h"

class QTreeWidget;

namespace qorvale::gui {

// "Select Game from %d": the found games of the last database search, one row each (White,
// Black, Year, Result); OK or a double click chooses one.
class DatabaseGameListBox : public QDialog {
    Q_OBJECT

  public:
    DatabaseGameListBox(const QString& title, const std::vector<app::DatabaseGameRow>& rows,
                        int current, QWidget* parent = nullptr);

    // 0-based place of the chosen game in the found games, -1 when none is chosen.
    int ChosenRow() const;
    QTreeWidget* List() const { return list_; }

  private:
    QTreeWidget* list_ = nullptr;
};

}  // namespace qorvale::gui
