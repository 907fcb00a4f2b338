#pragma once

#include <cstdio>
#include <string>
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

// Directory search and its results file.
inline constexpr std::string_view NoFilesFound = "No files were found.";
inline constexpr std::string_view FilenameTooLong = "Filename %s is too long.";
inline constexpr std::string_view TooManyGames = "Warning: Too many games.";
inline constexpr std::string_view ViewResultsNow = "Directory search complete. View results now?";
inline constexpr std::string_view NoMatchesFound = "No matches were found.";
inline constexpr std::string_view MustPerformDirectorySearch = "Must perform a directory search.";
inline constexpr std::string_view ErrorCreatingSearchFile = "Error creating search file.";
inline constexpr std::string_view MaximumSearchFiles = "Maximum number %d search files exceeded.";
inline constexpr std::string_view TotalGames = "Total games: %d";
inline constexpr std::string_view SelectFileFirst = "Select a file first.";
inline constexpr std::string_view SelectFileTitle = "Select File";
inline constexpr std::string_view DirectorySearchFirst =
    "You must perform a directory search first.";
inline constexpr std::string_view SameAsCurrentFile =
    "The file specified is the same as the current file.";
inline constexpr std::string_view OverwriteFile = "File already exists. Do you want to overwrite?";
inline constexpr std::string_view ContinueQuestion = "Do you want to continue?";
inline constexpr std::string_view FileDoesNotExist = "File does not exist.";
inline constexpr std::string_view ErrorCreatingNewFile = "Error creating new file.";
inline constexpr std::string_view CopyGamesComplete = "Copy games complete.";

// The database.
inline constexpr std::string_view MakeFastFileFirst =
    "You must make a 'fast' file first. Do it now?";
inline constexpr std::string_view MakeFastFileAgainQuestion =
    "You need to make a 'fast' file again. Do it now?";
inline constexpr std::string_view DatabaseExists =
    "Database already exists. Do you want to overwrite?";
inline constexpr std::string_view AreYouSure = "Are you sure?";
inline constexpr std::string_view FileOpenError = "File open error.";
inline constexpr std::string_view FileReadError = "File read error.";
inline constexpr std::string_view FileWriteError = "File write error.";
inline constexpr std::string_view MemoryAllocationError = "Memory allocation error.";
inline constexpr std::string_view RootError = "Root error.";
inline constexpr std::string_view CannotCancelDatabase =
    "Sorry, cannot cancel database generation.";
inline constexpr std::string_view DatabaseComplete = "Database complete.";
inline constexpr std::string_view DatabaseRemakeComplete = "Database remake complete.";
inline constexpr std::string_view AdditionalCriteria =
    "You must specify additional search criteria.";
inline constexpr std::string_view NothingToSearch = "Nothing to search.";
inline constexpr std::string_view SelectGameFrom = "Select Game from %d";
inline constexpr std::string_view SavingResults = "Saving Results...";
inline constexpr std::string_view ResultProgress = "%d of %d";
inline constexpr std::string_view HeaderOutOfSync = "Header file is out of sync: %d vs %d";
inline constexpr std::string_view PositionOutOfSync = "Position file is out of sync.";
inline constexpr std::string_view MovesOutOfSync = "Moves file is out of sync: %d vs %d";
inline constexpr std::string_view GamesOutOfSync = "Games file is out of sync: %d vs %d";
inline constexpr std::string_view DatabaseOk = "Database OK. Number of games: %d";
inline constexpr std::string_view NoDatabaseGames = "There are no database games to copy.";
inline constexpr std::string_view ErrorCreatingGameBuffer = "Error creating game buffer file.";
inline constexpr std::string_view GameMovedToBuffer = "Game moved to the game buffer.";
inline constexpr std::string_view ChainOutOfRange =
    "Problem 1. A game record points outside the games file. Please report this to the "
    "maintainers of Qorvale.";
inline constexpr std::string_view ChainLoops =
    "Problem 2. A player's chain of games runs in a circle. Please report this to the "
    "maintainers of Qorvale.";
inline constexpr std::string_view InvalidEco = "ECO must be a letter A to E and up to two digits.";
inline constexpr std::string_view MovesNotReplayed =
    "Warning: Not every move of this game could be replayed.";
inline constexpr std::string_view DatabaseSearchOptionsTitle = "Database Search Options";

}  // namespace qorvale::search::messages
