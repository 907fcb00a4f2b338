#pragma once

#include <QString>

#include "app/commands.h"
#include "gui/shell/controller.h"
#include "search/directory_results.h"
#include "search/search_criteria.h"

class QDialog;

namespace qorvale::gui {

// The Search menu: the header, variation and position searches of the open file (the ECO
// difference search on the worker), the search statistics, the navigation list they leave,
// and saving and loading the criteria.
class SearchController : public Controller {
    Q_OBJECT

  public:
    explicit SearchController(ShellContext& context);

    void Run(app::SearchCommand command);

    // The searches as their dialogs run them. Each returns the number of games found, or -1
    // after a refusal was reported; the found games become the navigation list and the first
    // is shown where the search stands in it. An ECO criterion "*" starts the ECO difference
    // search on the worker: 0 is returned and the games arrive when it ends.
    int RunHeaderSearch(const search::HeaderCriteria& criteria);
    int RunVariationSearch(const QString& line);
    int RunPositionSearch(const QString& white, const QString& black, const QString& move_number);

    // Saves or loads the criteria as a .ser file; the failure is reported and returned.
    Error SaveSearchFile(const std::string& path);
    Error LoadSearchFile(const std::string& path);

    // The search list was filled elsewhere (a directory search's file, Select All Games): the
    // navigation list walks it, the board goes to its first game and the statistics show.
    void ShowFound();
    // Select All Games: every game of the open file into the search list.
    int SelectAllGames();

    // The modeless statistics window, null until first shown.
    QDialog* statisticsBox() const { return statistics_box_; }

    void FileOpened() override;

  signals:
    // "Search Dir" in a search dialog: the criteria are taken; the search is to run over a
    // folder.
    void DirectorySearchAsked(search::DirectorySearchKind kind);

  private:
    // The dialog's line or position as the criteria; a refusal is reported and false returned.
    bool TakeVariation(const QString& line);
    bool TakePosition(const QString& white, const QString& black, const QString& move_number);
    search::SearchSource SourceOfFile() const;
    int Finish(int found);
    void ShowStatistics();
    void SaveSearch();
    void LoadSearch();

    QDialog* statistics_box_ = nullptr;
};

}  // namespace qorvale::gui
