#pragma once

#include <string_view>

namespace qorvale::app {

inline constexpr std::string_view ErrorCreatingFolder = "Error creating folder.";

// The game counter of the status line once the file's game count is known.
inline constexpr std::string_view GameOfCountStatus = "Game:  %d of %d";

// Options dialog checks.
inline constexpr std::string_view OnlyLettersAllowed = "Only valid characters are A to Z.";
inline constexpr std::string_view LettersMustDiffer = "Characters must be different.";

}  // namespace qorvale::app
