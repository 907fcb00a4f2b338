#pragma once

#include <string_view>

// The texts the header reader, the movetext parser and the analysis walk show, exactly as the
// program words them.
namespace qorvale::pgn::messages {

inline constexpr std::string_view ResultInvalid =
    "Result must be 1-0, 0-1, 1/2-1/2 or *. Game not saved.";
inline constexpr std::string_view MaximumMovesExceeded =
    "Warning: Maximum number %d moves exceeded.";
inline constexpr std::string_view InvalidMoveNumberAfterParen =
    "Invalid move number after right paren.";
inline constexpr std::string_view EndOfAnalysis = "End of the analysis.";
inline constexpr std::string_view ErrorSavingGame = "Error saving game.";

}  // namespace qorvale::pgn::messages
