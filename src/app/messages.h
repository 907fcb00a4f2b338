#pragma once

#include <string_view>

namespace qorvale::app {

inline constexpr std::string_view ErrorCreatingFolder = "Error creating folder.";
inline constexpr std::string_view ErrorSavingScreenShot = "Error saving the screen shot.";

// The game counter of the status line once the file's game count is known, and after a search
// where the game stands among the games found.
inline constexpr std::string_view GameOfCountStatus = "Game:  %d of %d";
inline constexpr std::string_view FoundPlaceStatus = "   (found: %d of %d)";
inline constexpr std::string_view NotFoundStatus = "   (not among the %d found)";

// Options dialog checks.
inline constexpr std::string_view OnlyLettersAllowed = "Only valid characters are A to Z.";
inline constexpr std::string_view LettersMustDiffer = "Characters must be different.";

// Extract Variations.
inline constexpr const char* VariationsExtracted = "%d variations extracted.";
inline constexpr std::string_view NoVariationsToExtract = "There are no variations to extract.";
inline constexpr std::string_view ErrorReadingGames = "Error reading the games.";

}  // namespace qorvale::app
