#pragma once

#include <string>
#include <string_view>

#include "chess/chess_state.h"
#include "pgn/game_lines.h"

namespace qorvale::utilities {

// Movetext lines of an adjusted game are broken before a move once they reach this length.
inline constexpr std::size_t AdjustLineLength = 72;

// Lays out one game in the normal layout: its tag lines with one space after the tag name, an
// empty line, the main line replayed from its start in lines of about 72 characters, two spaces
// and the result. Buffers are kept from game to game.
class GameAdjuster {
  public:
    GameAdjuster() {
        chess_.SetQuietParse(true);
        chess_.SetMessagesSuppressed(true);
    }

    enum class Outcome { Written, Annotated, TooLong };

    // Reads the game in `text` and appends its adjusted form to `out`. Annotated: the game has
    // comments or variations and `strip` is off (nothing appended). TooLong: the reader could not
    // hold the whole game (nothing appended).
    Outcome Adjust(std::string_view text, bool strip, int trim_limit, std::string& out);

  private:
    chess::ChessState chess_;
    pgn::GameLines lines_;
    std::string record_;
    std::string header_;
    std::string fen_line_;
};

}  // namespace qorvale::utilities
