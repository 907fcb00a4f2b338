#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/navigation_list.h"
#include "base/error.h"
#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "search/directory_results.h"
#include "search/search_list.h"

namespace qorvale::app {

// What the "Select File" dialog works on: the files of a directory search's results file, and
// the choice of one of them, which opens it with its found games as the search list.
class DirectoryResultsSession {
  public:
    // Reads the results file (searchqq.xyz, or a loaded `.dir` copied there). Reports "Error
    // opening file." or "Invalid search file." and returns false when it cannot be listed; a
    // file of more than 1000 records lists the first 1000 after "Maximum number 1000 search
    // files exceeded.", one damaged part-way lists the records before the damage after
    // "Invalid search file.".
    bool Load(const std::string& results_path, Ui& ui);

    const search::DirectoryResults& Results() const { return results_; }
    // The criteria that produced the results: the search dialogs take them as their own again.
    const search::SearchCriteria& Criteria() const { return results_.header.criteria; }
    // The list's lines, "stem:count", in search order.
    std::vector<std::string> Lines() const;
    // "Total games: %d" under a list of more than one file, else nothing.
    std::optional<std::string> TotalLine() const;

    // "OK" on list entry `index` (-1: nothing chosen, "Select a file first."): the PGN file to
    // open and its found games as a search list, with the counts and line length saved for it.
    struct Choice {
        std::string pgn_path;
        search::SearchList list;
    };
    std::optional<Choice> Choose(int index, Ui& ui) const;

    // Choose, then open the chosen file the way every front end opens one, keep the games it
    // holds (a number beyond its game count, or repeated, is dropped) as `list`, and walk them in
    // `navigation`. The file that was open stays open when the chosen one cannot be opened.
    Error OpenChoice(int index, pgn::PgnFile& file, search::SearchList& list,
                     NavigationList& navigation, Ui& ui) const;

  private:
    search::DirectoryResults results_;
};

// The games of `list` that a file of `game_count` games still holds, once each and ascending,
// with the list's counts and line length: a results file may be older than the file.
search::SearchList KeptGames(const search::SearchList& list, std::int32_t game_count);

}  // namespace qorvale::app
