#pragma once

#include <array>
#include <functional>
#include <span>
#include <string_view>

#include "base/result.h"
#include "base/ui.h"
#include "chess/move_text.h"
#include "search/move_code.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "search/search_source.h"

namespace qorvale::search {

// The search line made ready for matching: each half-move replayed from the standard position
// and held both as a move code (for the fast file) and as a move text in the form the text
// matcher compares. A wildcard "*" matches any move.
struct SearchLine {
    int white_count = 0;  // nW
    int black_count = 0;  // nB: nW or nW - 1
    std::array<MoveCode, MaxLineMoves> SearchWhite{};
    std::array<MoveCode, MaxLineMoves> SearchBlack{};
    std::array<chess::MoveText, MaxLineMoves> white_texts{};
    std::array<chess::MoveText, MaxLineMoves> black_texts{};
    std::array<bool, MaxLineMoves> white_wild{};
    std::array<bool, MaxLineMoves> black_wild{};
};

// Replays the line; "the line cannot be played" when a move is not legal there.
Result<SearchLine> BuildSearchLine(const VariationCriteria& line);

// "1.d4 Nf6 2.c4 e6", move numbers optional, "*" for any move.
Result<VariationCriteria> ParseSearchLine(std::string_view text);

// A move text in the one form both sides of a text comparison are brought to: check and
// annotation marks dropped, a piece move reduced to its letter and destination.
chess::MoveText ComparableMove(std::string_view text);

// Matches one game's two move lists against the leading nW/nB half-moves of a search line.
class VariationMatcher {
  public:
    VariationMatcher(const SearchLine& line, int white_count, int black_count, bool exact);

    bool Matches(std::span<const MoveCode> game_white, std::span<const MoveCode> game_black) const;
    bool Matches(std::span<const chess::MoveText> game_white,
                 std::span<const chess::MoveText> game_black) const;

    // RepeatWhite / RepeatBlack: later recurrences (two or more moves on) of each search move.
    // (By codes; the text matcher counts the same way over the texts.)
    int RepeatWhite(int index) const { return repeats_[0][static_cast<std::size_t>(index)]; }
    int RepeatBlack(int index) const { return repeats_[1][static_cast<std::size_t>(index)]; }

  private:
    template <typename Move>
    bool MatchesSide(std::span<const Move> search, const std::array<bool, MaxLineMoves>& wild,
                     const std::array<int, MaxLineMoves>& repeats, int length,
                     std::span<const Move> game, int tests) const;

    const SearchLine& line_;
    int white_count_;
    int black_count_;
    bool exact_;
    // White codes, Black codes, White texts, Black texts.
    std::array<std::array<int, MaxLineMoves>, 4> repeats_{};
};

// The Force Match walk: `pass` searches the leading nW White and nB Black half-moves and returns
// the number found; the caller keeps the list of the last pass that found games. Returns the
// half-moves (nW + nB) the walk ended on, 0 when no pass found any.
int ForceMatch(int white_count, int black_count,
               const std::function<int(int white_count, int black_count)>& pass);

// SearchVariation: searches the line; combined with the position search, keeps only the games
// the position search also finds. Uses the fast file when it can be
// opened, else the PGN text. With Force Match, a line no game follows is shortened to the
// longest leading part some game follows (the list's MatchedLineLength). Returns the number
// found, or -1 after reporting that the line cannot be played.
int SearchVariation(const SearchSource& source, const SearchCriteria& criteria,
                    Combination combination, SearchList& list, Ui& ui);

}  // namespace qorvale::search
