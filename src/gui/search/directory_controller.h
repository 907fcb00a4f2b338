#pragma once

#include <QString>
#include <string>

#include "app/commands.h"
#include "app/directory_results_session.h"
#include "gui/shell/controller.h"
#include "search/copy_target.h"
#include "search/directory_results.h"

namespace qorvale::gui {

class SearchController;
class SelectFilebox;

// The searches of a whole folder: the directory search on the worker, the "Select File" list of
// its results (choosing a file opens it with its found games as the search list), saving and
// loading the results as .dir files, copying the found games into one PGN file, and Select All
// Games.
class DirectoryController : public Controller {
    Q_OBJECT

  public:
    // `search` shows a search list once it has been filled.
    DirectoryController(ShellContext& context, SearchController& search);

    void Run(app::DirectoryCommand command);

    // The folder dialog, then SearchFolder.
    void SearchDirectory(search::DirectorySearchKind kind, std::uint32_t combination);
    // Starts the search of `kind` with the session's criteria over `folder`; false when the
    // worker refused it. When games were found, "Directory search complete. View results now?"
    // and on Yes the results list.
    bool SearchFolder(search::DirectorySearchKind kind, std::uint32_t combination,
                      const std::string& folder);

    // "Select File" over the results file; its criteria become the search criteria again.
    void ShowResults();
    // OK in "Select File" on line `index` (-1: none, "Select a file first."): opens that file
    // with its found games as the search list. False when it was not opened.
    bool OpenChosen(int index);
    // The list while it is open, else null.
    SelectFilebox* selectFilebox() const { return select_filebox_; }

    Error SaveResults(const std::string& path);
    Error LoadResults(const std::string& path);
    search::CopyOutcome CopyGames(const std::string& target);

    // Where a directory search leaves its results: searchqq.xyz in the install folder.
    std::string ResultsPath() const;

  private:
    QString ChooseDirFile(bool save);

    SearchController& search_;
    app::DirectoryResultsSession results_;
    SelectFilebox* select_filebox_ = nullptr;
};

}  // namespace qorvale::gui
