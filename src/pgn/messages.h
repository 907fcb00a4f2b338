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

// Status texts of the main window.
inline constexpr std::string_view FileStatus = "File:  %s";
inline constexpr std::string_view DatabaseStatus = "DB:  %s";
inline constexpr std::string_view GameStatus = "Game:  %d";
inline constexpr std::string_view GameStatusShort = "Game: %d";

// The one message filler of the program, under the name the PGN code has always used.
using ::qorvale::FillMessage;

}  // namespace qorvale::pgn
