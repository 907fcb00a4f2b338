#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorvale::pgn {

// Every variation of one game as a game of its own: the game's tags with the Event suffixed
// " (variation N)" and the Result "*" (a variation has no result of its own), then the moves
// that lead to the variation from the start followed by the variation's own moves. Nested
// variations make games of their own, branching from the line they sit in. Comments and NAGs are
// left out. `game_text` is one game as the file holds it (tag lines, then movetext); the games
// come back in the order their variations open in the text, with CR LF line ends and a blank
// line after each.
std::vector<std::string> VariationGames(std::string_view game_text);

}  // namespace qorvale::pgn
