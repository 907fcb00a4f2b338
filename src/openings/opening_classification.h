#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/ui.h"
#include "chess/move_text.h"
#include "openings/eco_table.h"

namespace qorvale::openings {

// How an entry's moves are compared with a game's.
enum class MatchMode {
    // Every move of the entry equals the game's move of the same number and colour, check
    // marks included.
    Exact,
    // Per colour, every move of the entry occurs among the game's first moves of that colour
    // (as many as the entry has), in any order, a trailing '+' ignored on both sides: the same
    // moves reached by another order match.
    Transposing,
};

// The three Find Opening commands. ClosestMatch is the default: it is what the opening line
// under the board and the show-opening command use.
enum class FindOpeningMode {
    ClosestMatch,        // transposing; the longest entry that fits the position
    ExactNumberOfMoves,  // transposing; the first entry exactly as long as the position
    ExactVariation,      // exact; the first entry exactly as long as the position
};

std::string_view FindOpeningCaption(FindOpeningMode mode);

// The moves of a game as the matcher sees them, taken once per game: White's and Black's moves
// up to where the game ends, and the first 30 of each colour with a trailing '+' removed.
class OpeningGame {
  public:
    static constexpr int PlainMoves = 30;

    OpeningGame() = default;
    // `half_moves`: the game's main-line length; moves beyond it are not read.
    OpeningGame(const chess::MainLineMoves& moves, int half_moves) { Set(moves, half_moves); }
    void Set(const chess::MainLineMoves& moves, int half_moves);

    int HalfMoves() const { return half_moves_; }
    int WhiteCount() const { return white_count_; }
    int BlackCount() const { return black_count_; }
    const chess::MoveText& White(int index) const {
        return white_[static_cast<std::size_t>(index)];
    }
    const chess::MoveText& Black(int index) const {
        return black_[static_cast<std::size_t>(index)];
    }
    const chess::MoveText& PlainWhite(int index) const {
        return plain_white_[static_cast<std::size_t>(index)];
    }
    const chess::MoveText& PlainBlack(int index) const {
        return plain_black_[static_cast<std::size_t>(index)];
    }

  private:
    int half_moves_ = 0;
    int white_count_ = 0;
    int black_count_ = 0;
    std::array<chess::MoveText, chess::MaxFullMoves> white_{};
    std::array<chess::MoveText, chess::MaxFullMoves> black_{};
    std::array<chess::MoveText, PlainMoves> plain_white_{};
    std::array<chess::MoveText, PlainMoves> plain_black_{};
};

// No ply limit: the whole entry is compared.
inline constexpr int NoPlyLimit = -1;

// EntryMatchesGame: whether `entry` matches `game` in `mode`. With a ply limit L only the
// entry's first ceil(L/2) White and floor(L/2) Black moves are compared. In the transposing mode
// a move the entry repeats counts as found only when the game repeats it as often (counting from
// two moves after it).
bool EntryMatchesGame(const EcoTable& table, std::int32_t entry, const OpeningGame& game,
                      MatchMode mode, int ply_limit = NoPlyLimit);

struct Classification {
    std::int32_t entry = -1;  // -1: no entry names the position
    // The length of the longest entry whose first `half_moves` moves match (0 when none): the
    // position has left every table line when it is longer than this.
    int longest = 0;
};

// ClassifyPosition: names the position after `half_moves` half-moves of `game`. Of the entries
// no longer than the position that match, the longest (A); of all entries whose first
// `half_moves` moves match, the longest (B); ties go to the lower table index. B wins when A is
// missing, or when B is longer than A and the position is beyond A's end; otherwise A. A position
// with no moves names nothing.
Classification ClassifyPosition(const EcoTable& table, const OpeningGame& game, int half_moves);

// FindOpening: the entry `mode` finds at `half_moves`, or -1. The exact-length modes take the
// first entry (table order) exactly `half_moves` long that matches; 0 finds nothing.
std::int32_t FindOpening(const EcoTable& table, const OpeningGame& game, FindOpeningMode mode,
                         int half_moves);

// The Find Opening commands with their messages: "Must be in Variation Edit or Analyze mode."
// unless `mode_allowed`, "There are no moves to check." at half-move 0, "No opening match was
// found."; otherwise returns the entry for the ECO list window to select, without a message.
std::int32_t FindOpeningCommand(const EcoTable& table, const OpeningGame& game,
                                FindOpeningMode mode, int half_moves, bool mode_allowed, Ui& ui);

// The half-move count the show-opening command classifies: twice the move number, less one
// when Black has not moved yet at that number.
int ShowOpeningHalfMoves(int move_number, bool black_has_moved);

// The show-opening command: reports "There are no moves to check." at half-move 0, else
// "%s %s" (code, name) of ClassifyPosition or "No opening match was found.". Returns the entry.
std::int32_t ShowOpening(const EcoTable& table, const OpeningGame& game, int half_moves, Ui& ui);

// "%s %s" of an entry's code and name.
std::string CodeAndName(const EcoTable& table, std::int32_t entry);

// The opening line under the board at `half_moves` (before width fitting): at the start of a
// game with an ECO tag not beginning with '?', the tag and the name of that code's entry (of a
// run of entries with the code, the longest that matches the game); otherwise the code and name
// of ClassifyPosition, with " *" once the position is longer than every matching line. "" when
// nothing is named.
std::string OpeningDisplayText(const EcoTable& table, const OpeningGame& game,
                               std::string_view eco_tag, int half_moves);

// The longest prefix of `text` whose `measure`d width is at most `width`; when it had to be
// shortened it is cut back to its last space and "..." is appended.
std::string FitOpeningText(std::string_view text, int width,
                           const std::function<int(std::string_view)>& measure);

}  // namespace qorvale::openings
