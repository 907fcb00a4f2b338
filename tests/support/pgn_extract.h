#pragma once

#include <string>
#include <vector>

namespace qorvale::test {

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
