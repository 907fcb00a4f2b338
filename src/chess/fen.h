#pragma once

#include <string>
#include <string_view>

#include "base/ui.h"
#include "chess/board.h"
#include "chess/move_text.h"

namespace qorvale::chess {

// A "[FEN" value that agrees with this in its first 56 characters is the standard start.
inline constexpr std::string_view StandardStartFen =
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The FEN placement field of `board`: rank 8 first, runs of empty squares as one digit.
std::string WritePlacement(const Board& board);
// Appends the placement of `board` to `out` without allocating beyond its capacity.
void AppendPlacement(const Board& board, std::string& out);

// Reads a placement field (up to the first blank) into a cleared board; malformed text is not
// diagnosed and nothing outside the board is written. The same rules as ParseFenPlacement.
Board ReadPlacement(std::string_view placement);

// The "[FEN ...]" line (CR LF ended) for a game started from `start`. The side is " b" when the
// first white text is the black-first placeholder, or for a game without moves whose result is
// "0-1"; castling and en passant are "-", the half-move clock 0.
std::string WriteFenTag(const Board& start, const MainLineMoves& moves, int full_moves,
                        std::string_view result, std::uint32_t start_move_number);

// The clipboard text of the set-up position: placement, then "+w" or "+b" after asking
// "Is white to move first?".
std::string ClipboardFenText(const Board& setup, Ui& ui);

}  // namespace qorvale::chess
