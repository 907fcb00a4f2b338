#pragma once

#include <string_view>

// The background operations' own texts, exactly as the user sees them.
namespace qorvale::utilities::messages {

inline constexpr std::string_view MustTerminateDirectorySearch =
    "Must terminate directory search first.";
inline constexpr std::string_view MustTerminateFileCheck = "Must terminate file check first.";
inline constexpr std::string_view MustTerminateDuplicates =
    "Must terminate duplicate games check first.";
inline constexpr std::string_view MustTerminateFastFile =
    "Must terminate fast file generation first.";
inline constexpr std::string_view MustTerminateMergeFile =
    "Must terminate merge file generation first.";
inline constexpr std::string_view MustTerminateAdjust = "Must terminate file adjust first.";
inline constexpr std::string_view MustTerminateSplit = "Must terminate file split first.";
inline constexpr std::string_view MustTerminateCurrent = "Must terminate current operation first.";
inline constexpr std::string_view MustTerminateEcoDiff = "Must terminate ECO diff search first.";

inline constexpr std::string_view TitleDirectorySearch = "Search Directory";
inline constexpr std::string_view TitleCheckFile = "Check File";
inline constexpr std::string_view TitleDeleteFenGames = "Delete FEN Games";
inline constexpr std::string_view TitleDeleteSearchListGames = "Delete Search List Games";
inline constexpr std::string_view TitleDuplicates = "Duplicate Games";
inline constexpr std::string_view TitleMakeFastFile = "Make Fast File";
inline constexpr std::string_view TitleMakeMergeFile = "Make Merge File";
inline constexpr std::string_view TitleAdjust = "Adjust File";
inline constexpr std::string_view TitleSplit = "Split File";
inline constexpr std::string_view TitleMakeDatabase = "Make Database";
inline constexpr std::string_view TitleEcoDiff = "Search ECO Diff";

inline constexpr std::string_view SearchingFirstFile = "Searching first file...";
inline constexpr std::string_view CalculatingGames = "Calculating number of games...";

// printf formats of the progress line; two spaces between fields.
inline constexpr const char* FileProgress = "File:  %d of %d  %.0f%%  %s";
inline constexpr const char* GameComplete = "Game:  %d of %d    %.0f%% complete";
inline constexpr const char* GameFound = "Game:  %d of %d  %0.f%%  %d %s";

inline constexpr std::string_view Duplicate = "duplicate";
inline constexpr std::string_view Duplicates = "duplicates";
inline constexpr std::string_view Dups = "dups";
inline constexpr std::string_view Deleted = "deleted";
inline constexpr std::string_view Fen = "FEN";
inline constexpr std::string_view Fens = "FEN's";
inline constexpr std::string_view Error = "error";
inline constexpr std::string_view Errors = "errors";

// Check file.
inline constexpr std::string_view AskDeleteBadGames =
    "Do you want to automatically delete all the bad games that are found?";
inline constexpr std::string_view AreYouSure = "Are you sure?";
inline constexpr std::string_view ConfirmDeleteFenGames = "Delete all FEN games. Confirm.";
inline constexpr std::string_view ConfirmDeleteListedGames =
    "Delete games in the search list. Confirm.";
inline constexpr std::string_view NoListedGamesToDelete =
    "There are no games in the search list to delete.";
inline constexpr std::string_view ErrorCreatingTempFile = "Error creating temp file.";
inline constexpr std::string_view ErrorOpeningFile = "Error opening file.";
inline constexpr std::string_view NotEnoughMemory = "Not enough memory.";
inline constexpr std::string_view NoGamesDeleted = "No games deleted.";
inline constexpr std::string_view NoFenGamesFound = "No FEN games found.";
inline constexpr std::string_view NoErrorsFound = "No errors found.";
inline constexpr const char* FenGamesDeleted = "%d FEN games deleted.";
inline constexpr std::string_view OneFenGameDeleted = "1 FEN game deleted.";
inline constexpr const char* GamesDeleted = "%d games deleted.";
inline constexpr std::string_view OneGameDeleted = "1 game deleted.";
// The error list window ("Errors") and its titles.
inline constexpr std::string_view ErrorListWindow = "Errors";
inline constexpr std::string_view MoreThanTenErrors = "More Than 10 Errors Found";
inline constexpr const char* ErrorsFound = "%d Errors Found";
inline constexpr const char* ErrorFound = "%d Error Found";
inline constexpr const char* GamesWereDeleted = "%d games were deleted.";
inline constexpr std::string_view OneGameWasDeleted = "1 game was deleted.";
// One entry of the error list per check error code; %d is the game, the second %d the move.
inline constexpr const char* HeaderCorrupt =
    "Game %d header is corrupt, a line is missing two double quotes.";
inline constexpr const char* NoBlankLineAfterHeader =
    "Game %d does not have a blank line after the header.";
inline constexpr const char* ParensOutOfSync = "Game %d may have line parens out of sync.";
inline constexpr const char* BracesOutOfSync = "Game %d may have comment braces out of sync.";
inline constexpr const char* ExtraSpaces = "Game %d has more than 1 space between tokens.";
inline constexpr const char* LongRecords =
    "Game %d has some records that are longer than 255 characters.";
inline constexpr const char* BishopsOnSameDiagonal = "Game %d has 2 bishops on same diagonal.";
inline constexpr const char* FourKnights = "Game %d has 4 knights.";
inline constexpr const char* FourBishops = "Game %d has 4 bishops.";
inline constexpr const char* FourRooks = "Game %d has 4 rooks.";
inline constexpr const char* FourQueens = "Game %d has 4 queens.";
inline constexpr const char* MayBeCorrupt = "Game %d may be corrupt.";
inline constexpr const char* IllegalMove = "Game %d, move %d is illegal.";

// Duplicate games.
inline constexpr std::string_view FasterWithFastFile =
    "This will go a lot faster if you perform a 'Make Fast File' first.";
inline constexpr std::string_view ContinueWithoutFastFileMissing =
    "Do you want continue without the fast file?";
inline constexpr std::string_view ContinueWithoutFastFileStale =
    "Do you want to continue without the fast file?";
inline constexpr const char* GamesContinue = "%d games. Do you want to continue?";
inline constexpr std::string_view CheckNamesNeedsFastFile =
    "Check name is only supported for fast files. Do you want to continue?";
inline constexpr std::string_view MakeFastFileAgain =
    "Warning: You need to run 'Make Fast File' again.";
inline constexpr std::string_view MaximumDuplicates =
    "Warning: Maximum number of duplicates found.";
inline constexpr std::string_view HeaderFileNamesUnchecked =
    "Error opening header file. Names will not be checked.";
inline constexpr std::string_view NoDuplicatesFound = "No duplicate games found.";
inline constexpr const char* DuplicateGamesTitle = "%d Duplicate Games";
inline constexpr const char* DuplicateLine = "Game %d is a duplicate of game %d";
inline constexpr std::string_view ConfirmDeleteDuplicates = "Delete duplicate games. Confirm.";
inline constexpr std::string_view ViewNotSupported = "View is not supported for this mode.";
inline constexpr std::string_view UseActiveCheckFile =
    "There is an active duplicate check for this file. Do you want to use it?";
inline constexpr std::string_view UseActiveCheckDatabase =
    "There is an active duplicate check for this database. Do you want to use it?";
inline constexpr std::string_view DuplicatesDeleted = "Duplicate games deleted.";
// The buttons of the "Duplicate Games" window.
inline constexpr std::string_view DeleteButton = "Delete";
inline constexpr std::string_view ViewButton = "View";
inline constexpr std::string_view CancelButton = "Cancel";
inline constexpr std::string_view SearchCurrentGameDuplicates =
    "Search the entire file for duplicates of the current game.";
// The settings dialog.
inline constexpr std::string_view DuplicateSettingsTitle = "Duplicate Games Settings";
inline constexpr std::string_view LookAheadLabel = "Number of games to look ahead";
inline constexpr std::string_view MaxMoveDifferenceLabel = "Maximum difference in number of moves";
inline constexpr std::string_view EntireFileLabel =
    "Check the entire file for duplicates (do not use look ahead)";
inline constexpr std::string_view CheckNamesLabel =
    "Check the player names when determining duplicate games";
inline constexpr std::string_view ResetButton = "Reset";

// Adjust, split and fix.
inline constexpr std::string_view ConfirmAdjust = "Adjust the record size and format. Confirm.";
inline constexpr std::string_view ConfirmTrim = "Trim the number of moves. Confirm.";
inline constexpr std::string_view SetMaxMovesTitle = "Set Max Moves";
inline constexpr std::string_view SetMaxMovesLabel = "Enter the max number of half moves";
inline constexpr const char* ConfirmTrimTo =
    "Trim the number of moves to a maximum of %d half moves. Continue?";
inline constexpr std::string_view StripWarning =
    "Warning: All comments and analysis will be stripped. Do you want to continue?";
inline constexpr std::string_view AdjustmentComplete = "Adjustment complete.";
inline constexpr std::string_view AdjustmentCanceled = "Adjustment canceled.";
inline constexpr std::string_view SelectFileToSplit = "Select PGN File to Split";
inline constexpr std::string_view AskMaximumSizedFiles =
    "Do you want to split into maximum sized files?";
inline constexpr const char* ConfirmSplitInto = "%d games. Split into %d files. Continue?";
inline constexpr const char* ConfirmSplitAnyway = "%d games. File size OK. Split anyway?";
inline constexpr std::string_view CannotCancelSplit = "Sorry, cannot cancel file split.";
inline constexpr std::string_view ErrorCreatingSplitFile = "Error creating split file.";
inline constexpr std::string_view SplitComplete = "Split file complete.";
inline constexpr std::string_view FixDateTitle = "Fix Date";
inline constexpr std::string_view FixDateCommand = "Fix game dates";
inline constexpr std::string_view MustEnterFixDate = "Must enter the Fix Date.";
inline constexpr std::string_view MustEnterToDate = "Must enter the To Date.";
inline constexpr std::string_view DateForm = "Date must of the form yyyy.mm.dd.";
inline constexpr const char* ConfirmChange = "Change %s to %s. Confirm.";
inline constexpr std::string_view FixDateComplete = "Fix date complete.";
inline constexpr std::string_view ErrorChangingDate = "Error changing date.";
inline constexpr std::string_view FixNameTitle = "Fix Player Name";
inline constexpr std::string_view FixNameCommand = "Fix player names";
inline constexpr std::string_view FixNameQuestionTitle = "Fix Name";
inline constexpr std::string_view MustEnterFixName = "Must enter the Fix Name.";
inline constexpr std::string_view MustEnterToName = "Must enter the To Name.";
inline constexpr std::string_view ToNameWithoutFirstName =
    "The To Name should normally contain a ',' followed by a first name or initial.\n"
    "Do you want to continue without the first name or initial?";
inline constexpr std::string_view FixNameComplete = "Fix name complete.";
inline constexpr std::string_view ErrorChangingNames = "Error changing names.";

// Yahoo game conversion.
inline constexpr std::string_view ConvertYahooTitle = "Convert Yahoo Game";
inline constexpr std::string_view ConvertYahooPrompt =
    "Copy and paste Yahoo game into box and click Convert";
inline constexpr std::string_view SelectYahooPgnFile = "Select Yahoo PGN File";
inline constexpr std::string_view SelectYahooGameFile = "Select Yahoo Game File";
inline constexpr std::string_view YahooTargetIsOpenFile =
    "The new PGN file cannot be the same as the current PGN file.";
inline constexpr std::string_view ErrorOpeningYahooFile = "Error opening Yahoo file.";
inline constexpr std::string_view ErrorCreatingPgnFile = "Error creating PGN file.";
inline constexpr std::string_view SetAllResultsQuestion =
    "This file has %d games. Do you want to set all the results now?";
inline constexpr std::string_view YahooGameConverted = "Yahoo game converted to file ";
inline constexpr std::string_view YahooGamesConverted = "Yahoo games converted to file ";

// Downloading a PGN file from a web address.
inline constexpr std::string_view TitleDownload = "Open from Web Address";
inline constexpr std::string_view MustTerminateDownload = "Must terminate the download first.";
inline constexpr const char* DownloadProgress = "Downloaded:  %d of %d KB  %.0f%%";
inline constexpr const char* DownloadProgressUnknown = "Downloaded:  %d KB";
inline constexpr std::string_view NotHttpAddress =
    "The address must begin with http:// or https://.";
inline constexpr std::string_view DownloadCancelled = "Download cancelled.";
inline constexpr std::string_view DownloadRedirectLoop =
    "The web address redirects too often (a redirect loop).";
inline constexpr const char* DownloadTooLarge =
    "The file is larger than the download limit of %d MB.";
inline constexpr const char* DownloadHttpError = "The server answered with error %d.";
inline constexpr std::string_view DownloadConnectionFailed =
    "The download failed: the connection was broken or could not be made.";
inline constexpr std::string_view DownloadWebPage = "The address gave a web page, not a PGN file.";
inline constexpr std::string_view DownloadNotPgn = "The downloaded file is not a PGN file.";
inline constexpr std::string_view DownloadNoPgnInArchive = "The archive holds no PGN file.";
inline constexpr std::string_view DownloadDamagedArchive =
    "The downloaded archive is damaged and cannot be unpacked.";
inline constexpr std::string_view DownloadUnsafeArchive =
    "The archive names a file outside the download folder; nothing was unpacked.";
inline constexpr std::string_view DownloadWriteFailed = "Error writing the downloaded file.";
inline constexpr std::string_view DownloadFolderMissing =
    "The download folder does not exist and cannot be created.";
inline constexpr std::string_view DownloadOverwrite =
    "File already exists. Do you want to overwrite?";

}  // namespace qorvale::utilities::messages
