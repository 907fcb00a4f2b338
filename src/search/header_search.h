#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui.h"
#include "chess/move_text.h"
#include "search/header_file.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "search/search_source.h"

namespace qorvale::search {

// The header values of one game as the header search sees them, from the fast header file or
// the PGN text.
struct GameHeader {
    std::string_view event, site, date, round, white, black, result, eco, white_elo, black_elo;
    int full_moves = 0;                           // when a Number of Moves criterion is given
    const chess::MainLineMoves* moves = nullptr;  // when a Specific Move is given
};

// The header criteria, parsed once for a whole search.
class HeaderMatcher {
  public:
    explicit HeaderMatcher(const HeaderCriteria& criteria);

    // A Black criterion "*" alone with a White one: the player's games with either colour, in
    // the five result classes of that search.
    bool EitherColourOnePlayer() const { return either_one_; }
    bool NeedsMoveCount() const { return needs_move_count_; }
    bool NeedsMoves() const { return needs_moves_; }

    // -1 when the game fails a criterion, else its result class.
    int Match(const GameHeader& game) const;

    // One player criterion against one name (either-colour rules aside).
    static bool PlayerMatches(std::string_view criterion, std::string_view name);

  private:
    bool DatePasses(std::string_view date) const;
    bool MovePasses(const GameHeader& game) const;

    HeaderCriteria criteria_;
    ParsedComparison date_;
    ParsedComparison moves_count_;
    SpecificMove specific_;
    bool either_one_ = false;
    bool either_pair_ = false;
    std::string pair_black_;  // the name after "*" in an either-order search
    bool needs_move_count_ = false;
    bool needs_moves_ = false;
};

// The ten values of the fast header file's record at `cursor`, as views into `bytes`, moving the
// cursor past it; false when the record runs past the end.
bool ViewHeaderRecord(const std::vector<std::uint8_t>& bytes, std::size_t& cursor,
                      std::array<std::string_view, HeaderFieldCount>& values);
// The header search's view of such a record.
GameHeader HeaderOfRecord(const std::array<std::string_view, HeaderFieldCount>& values);

// SearchHeader: fills `list` with the games that pass every header criterion, then narrows it by
// the variation and/or position search the combination names. Reads the fast header file when
// it can (not for a Specific Move), else the PGN text. An ECO criterion "*" asks for the ECO
// difference search (SearchEcoDifference), which is refused here in a combination or with a
// Specific Move and otherwise passes every game. Returns the number found, or -1 after a refusal
// was reported.
int SearchHeader(const SearchSource& source, const SearchCriteria& criteria,
                 Combination combination, SearchList& list, Ui& ui);

// SelectAllGames: every game of the file into the search list.
int SelectAllGames(const SearchSource& source, SearchList& list, Ui& ui);

}  // namespace qorvale::search
