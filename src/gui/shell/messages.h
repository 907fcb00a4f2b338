#pragma once

#include <string_view>

namespace qorvale::gui {

// The texts of the window beside the command table's (which holds every menu text and tip).
inline constexpr std::string_view AnalysisListTitle = "Analysis Lines";
inline constexpr std::string_view AnalysisListHeadingStart = "Lines at the start of the game";
inline constexpr std::string_view AnalysisListHeadingAfter = "Lines after %s";
inline constexpr std::string_view AnalysisListNone = "No analysis lines follow this move.";

inline constexpr std::string_view AutoPlayLabel = "Auto Play";
inline constexpr std::string_view StopAutoPlayLabel = "Stop Auto Play";
inline constexpr std::string_view ActualTextTitle = "Actual Text";
inline constexpr std::string_view GoToGameTitle = "Go to Game";
inline constexpr std::string_view AnnotationGameNotShown =
    "The page is open. Its game is not the one on the board: show that game to go on with it.";

}  // namespace qorvale::gui
