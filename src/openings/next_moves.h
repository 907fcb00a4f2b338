#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "chess/move_text.h"
#include "openings/line_position.h"
#include "openings/tree_file.h"
#include "search/move_code.h"
#include "search/search_list.h"

namespace qorvale::openings {

// A scan stops once it has found this many different moves.
inline constexpr std::size_t MaxNextMoves = 1000;

// One move the games played after a line, with how those games ended.
struct NextMove {
    search::MoveCode code = 0;
    chess::MoveText text;
    std::uint32_t games = 0;
    std::uint32_t points = 0;      // 2 per White win, 1 per other result
    std::uint32_t first_game = 0;  // 1-based number of the first game that played it
    WinCounts wins;
    // Where the first game played it: the half-move index, and (look-ahead only) that game's
    // moves before it, from which its text is made.
    int ply = 0;
    std::vector<search::MoveCode> lead;
};

struct ScanSettings {
    // Each game move must be the line's move of the same number; otherwise the moves of each
    // colour may come in any order among as many moves (transpositions).
    bool exact = false;
    // Maneuvers: the next `look_ahead` moves of the side to move are counted, each on its own;
    // 0 counts the next move only.
    int look_ahead = 0;
    // When not 0: the games that play this move next are listed (GamesOf).
    search::MoveCode games_of = 0;
};

// ScanNextMoves and ScanNextMovesStream share this: the games are offered one by one, each as
// its main line's codes, and the scan keeps the moves played next after `line` in the order
// they first appear. The comparison works on 16-bit codes and gives up on a game at its first
// difference; with transpositions allowed, each of the line's moves of a colour must be among
// the game's first moves of that colour (as many as the line has), a move the line repeats
// counting only when the game repeats it as often from two moves after it.
class NextMoveScan {
  public:
    NextMoveScan(std::span<const search::MoveCode> line, const ScanSettings& settings);
    ~NextMoveScan();
    NextMoveScan(const NextMoveScan&) = delete;
    NextMoveScan& operator=(const NextMoveScan&) = delete;

    // Offers game `game_number` (1-based): `count` codes as little-endian bytes and its result
    // (WhiteWon, BlackWon or OtherResult). Returns false once MaxNextMoves moves are found: the
    // scan ends there.
    bool Offer(const std::uint8_t* codes, std::size_t count, int result, std::int32_t game_number);

    std::size_t LineLength() const { return line_.size(); }
    bool Full() const { return moves_.size() >= MaxNextMoves; }
    std::vector<NextMove>& Moves() { return moves_; }
    const std::vector<NextMove>& Moves() const { return moves_; }
    const search::SearchList& GamesOf() const { return games_of_; }

  private:
    struct Side {
        std::vector<search::MoveCode> moves;
        std::vector<int> repeats;  // later recurrences from two moves on
    };
    bool Matches(const std::uint8_t* codes) const;
    bool SideMatches(const std::uint8_t* codes, const Side& side, int parity) const;
    void Count(search::MoveCode code, int ply, const std::uint8_t* codes, int result,
               std::int32_t game_number);

    std::vector<search::MoveCode> line_;
    std::vector<std::uint8_t> line_bytes_;
    Side white_;
    Side black_;
    ScanSettings settings_;
    std::vector<NextMove> moves_;
    // Code -> index + 1 into moves_; 0 when the code is no candidate yet.
    std::unique_ptr<std::array<std::uint16_t, 65536>> slots_;
    search::SearchList games_of_;
};

// Gives every move its SAN text: a move played right after the line in `at_line`, a look-ahead
// move in the position its first game had reached.
void NameNextMoves(std::vector<NextMove>& moves, LinePosition& at_line);

}  // namespace qorvale::openings
