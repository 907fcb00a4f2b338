#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "chess/board.h"
#include "chess/move_text.h"

namespace qorvale::search {

// A header criterion holds at most this many characters (an 80-byte zero-terminated buffer).
inline constexpr std::size_t CriteriaFieldSize = 80;
inline constexpr std::size_t MaxCriteriaText = CriteriaFieldSize - 1;

// The twelve fields of the "Edit Header" dialog in its search role, in dialog order. The first
// eleven are the ones a search file keeps.
enum class HeaderCriterion : int {
    Event,
    Site,
    Date,
    Round,
    White,
    Black,
    Result,
    Eco,
    NumberOfMoves,
    WhiteElo,
    BlackElo,
    SpecificMove,
};
inline constexpr int HeaderCriterionCount = 12;
inline constexpr int SavedHeaderCriteria = 11;

struct HeaderCriteria {
    std::array<std::string, HeaderCriterionCount> fields;

    const std::string& Get(HeaderCriterion field) const {
        return fields[static_cast<std::size_t>(field)];
    }
    // Keeps at most MaxCriteriaText characters; false when the text had to be cut.
    bool Set(HeaderCriterion field, std::string_view text);
    // Any field filled.
    bool Any() const;
    // The "Clear" button.
    void Clear() { fields = {}; }
};

// The search line: White's and Black's half-moves; the line ends at the first empty entry and
// "*" is a move that matches any move.
inline constexpr int MaxLineMoves = chess::MaxFullMoves;
struct VariationCriteria {
    std::array<chess::MoveText, MaxLineMoves> WhiteMoves{};
    std::array<chess::MoveText, MaxLineMoves> BlackMoves{};

    int WhiteCount() const;
    int BlackCount() const;
    bool Any() const { return !WhiteMoves[0].empty(); }
    void Clear() { *this = VariationCriteria(); }
};

// The search position: up to 40 entries per colour ("Nf3", "e4", "=8", "Q<2", and in the Black
// list "*" or "Q*"), each 7 characters and a zero; a list ends at its first empty entry.
inline constexpr int MaxPositionEntries = 40;
using PositionEntry = chess::MoveText;
struct PositionCriteria {
    std::array<PositionEntry, MaxPositionEntries> White{};
    std::array<PositionEntry, MaxPositionEntries> Black{};

    bool Any() const { return !White[0].empty() || !Black[0].empty(); }
    void Clear() { *this = PositionCriteria(); }
};

// The position as the search dialog takes it: White's and Black's entries ("Kg1, Nf3", "=8"),
// separated by commas or blanks. Fails with "Invalid position entry." when an entry is too long
// or a side has too many; `position` is then unchanged.
Error ParsePositionEntries(std::string_view white, std::string_view black,
                           PositionCriteria& position);

// The entries that find `board` (a position set up on the board, for instance): each piece on
// its square, pawns by their square alone ("Kg1", "Nf3", "e4"), White's list and Black's, each
// joined by ", ". Only the listed squares are tested, so this finds every position that has these
// pieces on these squares.
struct PositionEntryText {
    std::string white;
    std::string black;
};
PositionEntryText PositionEntriesOf(const chess::Board& board);

// The same on one line, as the command-line tool takes it: "W:Kg1,Nf3 B:Kg8" (a side may come in
// several words, each with its colour letter).
Error ParsePositionText(std::string_view text, PositionCriteria& position);

// How a numeric or date criterion compares.
enum class Comparison { Equal, GreaterOrEqual, Greater, LessOrEqual, Less, Range };

struct ParsedComparison {
    Comparison comparison = Comparison::Equal;
    std::string first;   // the value, or the range's start
    std::string second;  // the range's end
};

// Reads an operator ("=", "=<", "=>", ">", ">=", "<", "<=" or none) and one value, or, without
// an operator, a range "a-b".
ParsedComparison ParseComparison(std::string_view text);

// A decimal number at the start of `text` after spaces; text that is no number reads as 0.
long ReadNumber(std::string_view text);
// Whether `text` starts (after spaces) with a digit: a rating that can be compared.
bool IsNumber(std::string_view text);

// `value` against a parsed criterion, its values read as numbers.
bool CompareValue(long value, const ParsedComparison& criterion);

// A player's name in the form names are compared in: letters in lower case, then also digits
// and commas; everything else dropped; "(" ends the name. A non-letter first character is kept.
std::string NormalizeName(std::string_view name);
// The same into `out`, stopping after `limit` characters; returns the length written.
std::size_t NormalizeNameInto(std::string_view name, char* out, std::size_t limit);

// A move pattern against a game's move text: "?" is any one character, "*" skips the move's
// characters up to the pattern's next one; the move may go on after the pattern ("N" matches
// every knight move). An empty pattern or move never matches.
bool WildcardMatch(std::string_view pattern, std::string_view move);

// The Specific Move criterion: "12.Nf6" (White's 12th move), "12...Nf6" (Black's), or a move of
// either side. Castling written with zeros reads as castling.
struct SpecificMove {
    enum class Side { White, Black, Either };
    Side side = Side::Either;
    int move_number = 0;
    std::string pattern;
};
SpecificMove ParseSpecificMove(std::string_view text);

// The "Move Number Search" filter of the position search: the full move m = (k + 1) / 2 at which
// the position stands (k half-moves played) must compare with `value`.
struct MoveNumberFilter {
    bool on = false;
    Comparison comparison = Comparison::Equal;
    int value = 0;
    int upper = 0;  // range end; 0 = none

    bool Passes(int half_moves) const;
};
// "12", ">=10", "<20", "10-20" (ParseComparison); an empty text switches the filter off.
MoveNumberFilter ParseMoveNumberFilter(std::string_view text);

// Refuses criteria that cannot mean anything: an operator or range without its value
// ("A comparison needs a value.") and a range whose end is below its start (numbers compared as
// numbers, dates as text). Ok otherwise.
Error CheckComparison(std::string_view text, bool numeric);
Error CheckHeaderCriteria(const HeaderCriteria& criteria);
// The move-number filter's text, where a range end of 0 means no end.
Error CheckMoveNumberFilter(std::string_view text);

// Everything a search reads: the three criteria and the variation search's toggles.
// The searches a search is combined with. The values are the program's combination codes, which
// a header search file also stores as its parts word.
enum class Combination : int {
    Alone = 0,
    WithVariation = 1,
    WithPosition = 2,
    WithVariationAndPosition = 3,
};
constexpr bool HasVariation(Combination combination) {
    return combination == Combination::WithVariation ||
           combination == Combination::WithVariationAndPosition;
}
constexpr bool HasPosition(Combination combination) {
    return combination == Combination::WithPosition ||
           combination == Combination::WithVariationAndPosition;
}

struct SearchCriteria {
    HeaderCriteria header;
    VariationCriteria line;
    PositionCriteria position;
    MoveNumberFilter move_number;
    bool exact = false;        // "Exact Variation"
    bool force_match = false;  // "Force Match"
};

}  // namespace qorvale::search
