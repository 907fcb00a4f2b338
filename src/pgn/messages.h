#pragma once

#include <string>
#include <string_view>

#include "base/message.h"

namespace qorvale::pgn {

// The program's own texts for the PGN side, used exactly as written.
inline constexpr std::string_view ErrorOpeningFile = "Error opening file.";
inline constexpr std::string_view ErrorCreatingTempFile = "Error creating temp file.";
inline constexpr std::string_view ErrorFindingGame = "Error finding game.";
inline constexpr std::string_view MustOpenAFile = "Must open a file.";
inline constexpr std::string_view FileHasBeenReloaded = "File has been reloaded.";
inline constexpr std::string_view FileAlreadyExists = "File already exists.";
inline constexpr std::string_view MaximumGamesExceeded =
    "Warning: Maximum number %d games exceeded.";
inline constexpr std::string_view TreeMergeFileWarning =
    "Warning: There is a tree merge file with the same name.";
inline constexpr std::string_view DatabaseWarning =
    "Warning: There is a database with the same name.";
inline constexpr std::string_view TrimLongRecordsQuestion =
    "Trim the records that are too long to less than 255 characters. Confirm.";
inline constexpr std::string_view SelectPgnFileTitle = "Select PGN File";

// Header reading, the movetext parser and the analysis walk.
inline constexpr std::string_view ResultInvalid =
    "Result must be 1-0, 0-1, 1/2-1/2 or *. Game not saved.";
inline constexpr std::string_view MaximumMovesExceeded =
    "Warning: Maximum number %d moves exceeded.";
inline constexpr std::string_view InvalidMoveNumberAfterParen =
    "Invalid move number after right paren.";
inline constexpr std::string_view EndOfAnalysis = "End of the analysis.";
inline constexpr std::string_view ErrorSavingGame = "Error saving game.";

// Editing games and the game buffer.
inline constexpr std::string_view GameTooBigToEdit = "This game is too big to edit.";
inline constexpr std::string_view NoMovesEntered =
    "No moves have been entered. Game was not saved.";
inline constexpr std::string_view ErrorCreatingFile = "Error creating file.";
inline constexpr std::string_view ErrorInsertingGame = "Error inserting game.";
inline constexpr std::string_view ErrorCreatingGameBuffer = "Error creating game buffer file.";
inline constexpr std::string_view GameMovedToBuffer = "Game moved to the game buffer.";
inline constexpr std::string_view GameBufferEmpty = "The game buffer is empty. Game was not saved.";
inline constexpr std::string_view NoGamesInThisFile = "There are no games in this file.";
inline constexpr std::string_view DeleteGameQuestion = "Delete this game from current file?";
inline constexpr std::string_view AreYouSure = "Are you sure?";
inline constexpr std::string_view ErrorOpeningToChangeSize = "Error opening to change size.";
inline constexpr std::string_view ErrorChangingFileSize = "Error changing file size.";
inline constexpr std::string_view RecordsTooLong =
    "Some records are longer than 255 characters. Click on File->Adjust to fix the game.";
inline constexpr std::string_view CommentBracesOutOfSync =
    "Warning: Comment braces may be out of sync.";
inline constexpr std::string_view LineParensOutOfSync = "Warning: Line parens may be out of sync.";
inline constexpr std::string_view NoGamesToCopy =
    "There are no games in the navigation list to copy.";
inline constexpr std::string_view SameAsCurrentFile =
    "The file specified is the same as the current file.";
inline constexpr std::string_view OverwriteFileQuestion =
    "File already exists. Do you want to overwrite?";
inline constexpr std::string_view ContinueQuestion = "Do you want to continue?";
inline constexpr std::string_view FileDoesNotExist = "File does not exist.";
inline constexpr std::string_view ErrorCreatingNewFile = "Error creating new file.";
inline constexpr std::string_view CopyGamesComplete = "Copy games complete.";
// An append or insert indexes one new game; a typed text holding more would leave games out of
// the index.
inline constexpr std::string_view MoreThanOneGame = "The text holds more than one game.";
// A rewrite would keep only what the movetext parser read (a number without its dot, two blanks
// in a row or a stray result hide moves from it); the game is refused rather than cut.
inline constexpr std::string_view GameNotWhollyRead =
    "Part of this game cannot be read, so it cannot be rewritten.";

// Labels of the four save modes.
inline constexpr std::string_view NewFileLabel = "New file";
inline constexpr std::string_view AppendGameLabel = "Append game";
inline constexpr std::string_view InsertGameLabel = "Insert game";
inline constexpr std::string_view OverwriteLastLabel = "Overwrite last";

// Status texts of the main window.
inline constexpr std::string_view FileStatus = "File:  %s";
inline constexpr std::string_view DatabaseStatus = "DB:  %s";
inline constexpr std::string_view GameStatus = "Game:  %d";
inline constexpr std::string_view GameStatusShort = "Game: %d";

// The one message filler of the program, under the name the PGN code has always used.
using ::qorvale::FillMessage;

}  // namespace qorvale::pgn
