#pragma once

#include <string_view>

namespace qorvale::app {

inline constexpr std::string_view ErrorOpeningFile = "Error opening file.";
inline constexpr std::string_view ErrorCreatingFolder = "Error creating folder.";

// Options dialog checks.
inline constexpr std::string_view OnlyLettersAllowed = "Only valid characters are A to Z.";
inline constexpr std::string_view LettersMustDiffer = "Characters must be different.";

}  // namespace qorvale::app
