#pragma once

#include <string_view>

// The ECO table's texts, exactly as the user sees them.
namespace qorvale::openings::messages {

inline constexpr std::string_view EcoTableCorruption = "ECO table corruption.";

inline constexpr std::string_view EcoFileMissing = "The ECO file is missing.";
inline constexpr std::string_view EcoFileEntries = "The ECO file has %d entries.";
inline constexpr std::string_view EcoNamesFileMissing = "The ECO names file is missing.";
inline constexpr std::string_view EcoNamesFileOutOfSync = "The ECO names file is out of sync.";
inline constexpr std::string_view EcoMovesFileMissing = "The ECO moves file is missing.";
inline constexpr std::string_view EcoMoveFileOutOfSync = "The ECO move file is out of sync.";
inline constexpr std::string_view EcoFileOutOfSync = "The ECO file is out of sync.";
inline constexpr std::string_view EcoNamesOutOfSync = "The ECO names is out of sync.";
inline constexpr std::string_view EcoMovesOutOfSync = "The ECO moves is out of sync.";
inline constexpr std::string_view EcoTableOk = "The ECO table is OK and has %d entries.";

inline constexpr std::string_view ErrorOpeningEcocodes = "Error opening Ecocodes.pgn";
inline constexpr std::string_view InitializationError = "Initialization error.";

inline constexpr std::string_view MustBeInVariationEdit =
    "Must be in Variation Edit or Analyze mode.";
inline constexpr std::string_view NoMovesToCheck = "There are no moves to check.";
inline constexpr std::string_view NoOpeningMatch = "No opening match was found.";

// Captions of the three Find Opening commands (the ECO list window shows the one it came from).
inline constexpr std::string_view FindOpeningClosestMatch = "Find Opening - Closest Match";
inline constexpr std::string_view FindOpeningExactNumberOfMoves =
    "Find Opening - Exact Number of Moves";
inline constexpr std::string_view FindOpeningExactVariation = "Find Opening - Exact Variation";

// "%s %s": code and name (or code and moves in the ECO list's long form).
inline constexpr std::string_view CodeAndText = "%s %s";
// Appended to the opening line once the game has left every table line.
inline constexpr std::string_view LeftTheTable = " *";
inline constexpr std::string_view UnknownGroup = "???";

// The opening tree.
inline constexpr std::string_view TreeFenNotSupported =
    "Tree is not supported for PGN files with FEN starting positions.";
inline constexpr std::string_view TreeFormatChanged =
    "Tree file format has changed. Start tree again.";
inline constexpr std::string_view EndOfBranch = "This is the end of the branch.";
inline constexpr std::string_view ErrorOpeningTreeFile = "Error opening tree file.";
inline constexpr std::string_view ErrorOpeningTreeMergeFile = "Error opening tree merge file.";
inline constexpr std::string_view ErrorOpeningDatabase = "Error opening database.";
inline constexpr std::string_view NotEnoughMemory = "Not enough memory.";
inline constexpr std::string_view ErrorOpeningFile = "Error opening file.";
inline constexpr std::string_view SortError = "Sort error";
// Shown once, the first time a tree of a large source is started.
inline constexpr std::string_view TreeHelp =
    "The tree grows as you use it: the games are searched for a move's continuations the first "
    "time you step into it, and the result is kept in the tree file, so the tree opens at once "
    "next time.";
inline constexpr std::string_view MakeFastFileAgain =
    "Warning: You need to run 'Make Fast File' again.";

// Tree list rows: move number and move, then value (percentage) and games.
inline constexpr std::string_view TreeRowWhite = "%d. %s";
inline constexpr std::string_view TreeRowBlack = "%d...%s";
inline constexpr std::string_view TreeStatsRowWhite = "%d. %-8s%4.1f%%%*d";
inline constexpr std::string_view TreeStatsRowBlack = "%d...%-7s%4.1f%%%*d";
inline constexpr std::string_view ManeuverRow = "   %-8s%4.1f%%%*d";

// Tree merge files.
inline constexpr std::string_view PgnFileSameName =
    "Warning: There is a PGN file with the same name.";
inline constexpr std::string_view DatabaseSameName =
    "Warning: There is a database with the same name.";
inline constexpr std::string_view MergeFileMissing = "Merge file does not exist.";

// ECO table editing.
inline constexpr std::string_view LineAlreadyInTable = "This line is already in the ECO table.";
inline constexpr std::string_view TranspositionInTable =
    "This transposition is already in the ECO table. Continue?";
inline constexpr std::string_view LineIncluded =
    "This line is included in a line already in the ECO table. Continue?";
inline constexpr std::string_view TranspositionIncluded =
    "This transposition is included in a line already in the ECO table. Continue?";
inline constexpr std::string_view EnterLineFirst = "Enter a line first.";
inline constexpr std::string_view NullEcoName = "Cannot have a null ECO name.";
inline constexpr std::string_view LineAdded = "The line has been added.";
inline constexpr std::string_view SelectLineFirst = "Select a line first.";
inline constexpr std::string_view ConfirmModifyLine = "Modify line. Confirm.";
inline constexpr std::string_view MovesModified = "The moves have been modified.";
inline constexpr std::string_view NameNotChanged = "The name was not changed.";
inline constexpr std::string_view NameModified = "The name has been modified.";
inline constexpr std::string_view ConfirmDeleteLine = "Delete line. Confirm.";
inline constexpr std::string_view LineDeleted = "The line has been deleted.";
inline constexpr std::string_view ConfirmExitUnsaved =
    "Are you sure you want to exit? All changes will be lost!";
inline constexpr std::string_view TableMayBeCorrupted = "The ECO table may have been corrupted!";
inline constexpr std::string_view ConfirmRestore =
    "Are you sure you want to restore the previous version of the ECO table?";
inline constexpr std::string_view TableNotRestored = "The ECO table was not restored!";
inline constexpr std::string_view EcoLineTooLong =
    "The maximum number of moves for an ECO line is 30.";

}  // namespace qorvale::openings::messages
