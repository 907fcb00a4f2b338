#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qorvale::test {

// One game's main line as a reader replayed it: the half-moves played and the placement after
// the last one ("" when no half-move was played).
struct ReplayedGame {
    int plies = 0;
    std::string placement;
    friend bool operator==(const ReplayedGame&, const ReplayedGame&) = default;
    friend std::ostream& operator<<(std::ostream& out, const ReplayedGame& game) {
        return out << game.plies << " plies " << game.placement;
    }
};

// Every game of the PGN file at `path` as pgn-extract replays it (its FEN comment after every
// main-line half-move; games with errors kept up to the first move it cannot play).
std::vector<ReplayedGame> ReplayWithPgnExtract(const std::string& path);

// Every game of the PGN file at `path` as the program loads it for the window: opened and
// scanned (a question to re-wrap long lines answered No), each game loaded quietly. The file is
// read where it is; pass a copy when the offset cache it writes must not stay.
std::vector<ReplayedGame> ReplayWithLoader(const std::string& path);

}  // namespace qorvale::test
