#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "search/directory_results.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace qorvale::gui {

// "Select File": the files a directory search found games in, one line "stem:count" each, and
// "Total games: %d" under a list of more than one file. OK is handled by the owner (it opens
// the chosen file and then accepts the dialog).
class SelectFilebox : public QDialog {
    Q_OBJECT

  public:
    SelectFilebox(const search::DirectoryResults& results, const std::optional<std::string>& total,
                  QWidget* parent = nullptr);

    // The chosen line, -1 when none is.
    int ChosenIndex() const;
    QListWidget* List() const { return list_; }
    QPushButton* OkButton() const { return ok_; }

  private:
    QListWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The list line of a file: a stem too wide for `width` pixels is cut, at a character, and ends
// with "~"; the count always shows.
QString FitFileLine(const QString& stem, int count, int width,
                    const std::function<int(const QString&)>& measure);

}  // namespace qorvale::gui
