#pragma once

#include <cstdint>
#include <string_view>

namespace qorvale::app {

inline constexpr std::string_view ModWoodChanged =
    "The Mod Wood piece style can only be used with the wooden board. Changing piece style.";
inline constexpr std::string_view ModWoodNeedsWood =
    "The Mod Wood piece style must be used with the wooden board.";
inline constexpr std::string_view ModBlueNoWood =
    "The Mod Blue piece style cannot be used with the wooden board.";

// A choice of piece style and wooden board in the options dialog, before and after.
struct BoardStyleChoice {
    std::int32_t old_style = 8;
    bool old_wood = true;
    std::int32_t style = 8;
    bool wood = true;
};

// The outcome: the values to store, the message to show ("" for none) and whether the dialog
// may close.
struct BoardStyleOutcome {
    std::int32_t style = 8;
    bool wood = true;
    std::string_view message;
    bool accepted = true;
};

// Mod Wood needs the wooden board (switching the board off changes the style to Classic); Mod
// Blue cannot have it (choosing Mod Blue clears it).
BoardStyleOutcome CheckBoardStyle(const BoardStyleChoice& choice);

// The board size (0 Small, 1 Medium, 2 Large) a screen of `screen_height` pixels can show:
// Large needs 1024 and falls back to Medium, Medium needs 768 and falls back to Small. A size
// outside 0..2 is Small.
std::int32_t EffectiveBoardSize(std::int32_t board_size, int screen_height);

}  // namespace qorvale::app
