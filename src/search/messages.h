#pragma once

#include <string_view>

// The fast file's and the searches' texts, exactly as the user sees them.
namespace qorvale::search::messages {

inline constexpr std::string_view MakeFastFileAgain =
    "Warning: You need to run 'Make Fast File' again.";
inline constexpr std::string_view FastFileOk = "Fast file OK";
inline constexpr std::string_view FastFileMissing = "Fast file does not exist.";
inline constexpr std::string_view ConfirmDelete = "Delete the fast file. Confirm.";
inline constexpr std::string_view FastFileDeleted = "Fast file deleted.";
inline constexpr std::string_view ErrorCreatingFastFile = "Error creating fast file.";
inline constexpr std::string_view ErrorMakingFastFile =
    "Error making fast file. Run 'Check File' utility.";
inline constexpr std::string_view FenWarning =
    "Warning: File contained some FEN positions. Fast file may not be correct.";
inline constexpr std::string_view FastFileComplete = "Fast file complete.";
inline constexpr std::string_view CannotCancelFastFile =
    "Sorry, cannot cancel fast file generation.";
inline constexpr std::string_view ErrorOpeningMergeFile = "Error opening merge file.";
inline constexpr std::string_view CannotCancelMergeFile =
    "Sorry, cannot cancel merge file generation.";
inline constexpr std::string_view MergeFileComplete = "Merge file complete.";
inline constexpr std::string_view ErrorMakingMergeFile = "Error making merge file.";
inline constexpr std::string_view ErrorFixingFastFile =
    "Error fixing fast file. Run 'Make Fast File' again.";
inline constexpr std::string_view ErrorGettingMemory = "Error getting memory.";
inline constexpr std::string_view NotEnoughMemory = "Not enough memory.";
inline constexpr std::string_view ErrorOpeningFile = "Error opening file.";
inline constexpr std::string_view ErrorCreatingTempFile = "Error creating temp file.";

// The searches.
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
