#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "base/ui.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "search/search_source.h"
#include "utilities/eco_difference_operation.h"

namespace qorvale::app {

// Which kinds of criteria a search takes part in.
struct SearchParts {
    bool header = false;
    bool variation = false;
    bool position = false;

    bool Any() const { return header || variation || position; }
    friend bool operator==(const SearchParts&, const SearchParts&) = default;
};

// Where a search leaves the user: the first game found, at the half-move where the searched
// position stands or the searched line ends.
struct SearchLanding {
    std::int32_t game_number = 0;
    std::int32_t ply = 0;
};

// The searches of the open file and what they leave behind: the criteria (kept for the whole
// run), the search list of the last search and, after an ECO difference search, the code each
// found game classifies as. The window's search commands and `qorvale-tool search` both run
// through it.
class SearchSession {
  public:
    search::SearchCriteria& Criteria() { return criteria_; }
    const search::SearchCriteria& Criteria() const { return criteria_; }
    const search::SearchList& List() const { return list_; }
    // The parts of the last search that found games or of the criteria last loaded.
    SearchParts LastParts() const { return last_parts_; }

    // The ECO difference search is asked for by an ECO criterion "*" in a header search of its
    // own, without a Specific Move; it runs on the worker (see EcoDifferenceRequestFor).
    bool IsEcoDifference(SearchParts parts) const;

    // Runs the search `parts` names over `source` with the criteria. Returns the number of games
    // found, or -1 after a refusal was reported through `ui` (the list is then unchanged). The
    // header criteria are checked first; the ECO difference search is refused here.
    int Run(const search::SearchSource& source, SearchParts parts, Ui& ui);

    // The ECO difference search for the worker, and its results taken in when it has ended.
    utilities::EcoDifferenceRequest EcoDifferenceRequestFor(const search::SearchSource& source,
                                                            std::string eco_lines_path) const;
    int TakeEcoDifference(utilities::EcoDifferenceResult&& result);
    // Per found game of the last ECO difference search, the code its moves classify as; empty
    // after any other search.
    const std::vector<std::string>& EcoDifferenceCodes() const { return eco_codes_; }

    // The found games in list order, for the navigation list.
    std::vector<std::int32_t> FoundGames() const;
    // Where the board goes after the search; nothing when no game was found.
    std::optional<SearchLanding> Landing() const;

    // Saves the criteria as a .ser file of the kind the last search's parts need: a header file
    // with its combination, or a variation or position file.
    Error Save(const std::string& path) const;
    // Loads a .ser file of any kind; the parts it holds become LastParts().
    Error Load(const std::string& path);

    // A new file is open: its search list starts empty (the criteria stay).
    void ClearList();
    // A search list made elsewhere (the found games of one file of a directory search, the
    // duplicates the duplicate check found) becomes the list of the open file; the criteria stay.
    void TakeList(search::SearchList list);
    // SelectAllGames: every game of `source` into the search list ("All %d games have been
    // selected into the file search list."). Returns the count.
    int SelectAll(const search::SearchSource& source, Ui& ui);

  private:
    search::SearchCriteria criteria_;
    search::SearchList list_;
    SearchParts last_parts_;
    std::vector<std::string> eco_codes_;
};

// The combination code of the header search for `parts`.
search::Combination CombinationOf(SearchParts parts);

}  // namespace qorvale::app
