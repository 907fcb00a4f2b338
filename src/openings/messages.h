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

}  // namespace qorvale::openings::messages
