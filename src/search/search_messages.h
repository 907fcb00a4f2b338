#pragma once

#include <string_view>

// The searches' texts, exactly as the user sees them (beside the fast file's in messages.h).
namespace qorvale::search::messages {

inline constexpr std::string_view InvalidSearchFile = "Invalid search file.";
inline constexpr std::string_view LineCannotBePlayed = "the line cannot be played";
inline constexpr std::string_view CriterionTooLong = "Search criterion longer than 79 characters.";
inline constexpr std::string_view ComparisonWithoutValue = "A comparison needs a value.";
inline constexpr std::string_view RangeReversed = "The end of a range must not be below its start.";
inline constexpr std::string_view InvalidPositionEntry = "Invalid position entry.";
inline constexpr std::string_view EcoDiffSpecificMove =
    "ECO diff not allowed when searching for a specific move.";
inline constexpr std::string_view EcoDiffCombination =
    "Sorry, ECO diff is not supported for combination or directory search.";
inline constexpr std::string_view EcoDiffNeedsFastFile = "ECO diff requires a fast file.";
inline constexpr std::string_view MissingEcocodes = "Missing Ecocodes fast file.";
inline constexpr std::string_view AllGamesSelected =
    "All %d games have been selected into the file search list.";

// The statistics window of the search list.
inline constexpr std::string_view GamesFound = "Number of games found: %d";
inline constexpr std::string_view WhiteWinsLine = "White wins: %d  %.1f%%";
inline constexpr std::string_view BlackWinsLine = "Black wins: %d  %.1f%%";
inline constexpr std::string_view DrawsLine = "Draws: %d  %.1f%%";
inline constexpr std::string_view ScoreLine = "Score: %.1f  %.1f%%";
inline constexpr std::string_view PerformanceLine = "Performance: %.1f  %.1f%%";

}  // namespace qorvale::search::messages
