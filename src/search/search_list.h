#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qorvale::search {

// One found game: its 1-based number, the half-move at which the search position stood (0 when
// no position took part) and its result class.
struct FoundGame {
    std::int32_t game_number = 0;
    std::int32_t half_move = 0;
    int result_class = 0;
};

// The result of the last search of the open file, in ascending file order.
//
// Result classes: a normal search uses 1 = White won, 2 = Black won, 0 = other. An either-colour
// search for one player uses 1 = the player won with White, 2 = won with Black, 3 = other result
// as White, 4 = other result as Black, 0 = lost.
class SearchList {
  public:
    void Clear();
    void Add(std::int32_t game_number, int result_class, std::int32_t half_move = 0);

    const std::vector<FoundGame>& Games() const { return games_; }
    std::int32_t Count() const { return static_cast<std::int32_t>(games_.size()); }

    // Games of class 1..4. A normal search keeps ClassCount(3) at -1, which picks the normal
    // form of the statistics.
    int ClassCount(int result_class) const {
        return counters_[static_cast<std::size_t>(result_class)];
    }
    bool EitherColour() const { return either_colour_; }
    void SetEitherColour(bool on);
    // Counts the classes again from the games.
    void Recount();
    // A list read back from a directory search's results keeps the counts saved with it (its
    // games carry no class); a class 3 count of -1 marks a normal search.
    void RestoreCounts(int white_wins, int black_wins, int class3, int class4);

    // Keeps the games whose number `other` also holds, in this list's order, taking `other`'s
    // half-move for each; then recounts.
    void IntersectWith(const SearchList& other);

    // Half-moves of the search line finally searched (after Force Match); 0 when no line.
    int MatchedLineLength() const { return matched_line_length_; }
    void SetMatchedLineLength(int half_moves) { matched_line_length_ = half_moves; }
    // Whether a position took part, so each game carries its half-move.
    bool HasHalfMoves() const { return has_half_moves_; }
    void SetHasHalfMoves(bool on) { has_half_moves_ = on; }

    // The walk of the navigation list after a search: the found game after or before
    // `game_number` in list order (a number not in the list counts from where it would stand),
    // or 0 at either end.
    std::int32_t NextGame(std::int32_t game_number) const;
    std::int32_t PreviousGame(std::int32_t game_number) const;
    // 0-based place of `game_number` in the list, or -1.
    int IndexOf(std::int32_t game_number) const;

    // The statistics window's lines.
    std::vector<std::string> FormatWinStatistics() const;

  private:
    std::vector<FoundGame> games_;
    std::array<int, 5> counters_{0, 0, 0, -1, 0};
    bool either_colour_ = false;
    bool has_half_moves_ = false;
    int matched_line_length_ = 0;
};

// The class of a game result for a normal search: 1 White won, 2 Black won, 0 other.
int NormalResultClass(int fast_file_result);

}  // namespace qorvale::search
