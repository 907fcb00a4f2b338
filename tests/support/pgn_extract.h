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
// The games of the PGN file at `path` as pgn-extract reads and writes them again (its own
// layout, one movetext line per game): an oracle that shares no code with the program. Extra
// arguments (such as "-Wuci" or "-C") go before the file name. A game pgn-extract cannot read is
// left out, as pgn-extract leaves it out.
std::vector<std::string> PgnExtractGames(const std::string& path,
                                         const std::vector<std::string>& arguments = {});

// The main line of every game of the file as pgn-extract reads it: one line of moves per game,
// without numbers, comments, NAGs, variations, tags or results; in SAN, or in the notation an
// extra argument asks for ("-Wuci").
std::vector<std::string> PgnExtractMainLines(const std::string& path,
                                             const std::vector<std::string>& arguments = {});

// The legal moves of a FEN position as stockfish counts them ("go perft 1"), in UCI notation.
std::vector<std::string> StockfishLegalMoves(const std::string& fen);

// Whether /usr/games/pgn-extract is there to ask.
bool HavePgnExtract();

}  // namespace qorvale::test
