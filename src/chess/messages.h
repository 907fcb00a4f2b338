#pragma once

#include <string_view>

// The chess core's fixed texts, exactly as the program shows them.
namespace qorvale::chess::messages {

// Promotions that find no free slot.
inline constexpr std::string_view OnlyThreeBishops = "Sorry - only 3 bishops supported!";
inline constexpr std::string_view OnlyThreeKnights = "Sorry - only 3 knights supported!";
inline constexpr std::string_view OnlyThreeRooks = "Sorry - only 3 rooks supported!";
inline constexpr std::string_view OnlyThreeQueens = "Sorry - only 3 queens supported!";
inline constexpr std::string_view TryingQueenInstead = "Trying promotion to queen instead.";

// The promotion choice shown by the board window while it is not the queen.
inline constexpr std::string_view PromoteToKnight = "Promote to knight";
inline constexpr std::string_view PromoteToBishop = "Promote to bishop";
inline constexpr std::string_view PromoteToRook = "Promote to rook";

// Clipboard FEN.
inline constexpr std::string_view CopyFenQuestion = "Copy FEN position to clipboard?";
inline constexpr std::string_view WhiteToMoveFirstQuestion = "Is white to move first?";
inline constexpr std::string_view FenCopied = "FEN position copied to the clipboard.";
inline constexpr std::string_view ErrorGettingMemory = "Error getting memory.";

// Notation letters in the options dialog.
inline constexpr std::string_view OnlyLettersAllowed = "Only valid characters are A to Z.";
inline constexpr std::string_view LettersMustDiffer = "Characters must be different.";
inline constexpr std::string_view CannotAnnotateLongAlgebraic =
    "Cannot annotate games in 1.e2-e4 format.";

// Set-up position checks, in the order they are tested.
inline constexpr std::string_view BishopsSameColour = "Bishops must be on different diagonals.";
inline constexpr std::string_view TooManyKnights =
    "More than three knights of the same color are on the board.";
inline constexpr std::string_view TooManyBishops =
    "More than two bishops of the same color are on the board.";
inline constexpr std::string_view TooManyRooks =
    "More than three rooks of the same color are on the board.";
inline constexpr std::string_view TooManyQueens =
    "More than three queens of the same color are on the board.";
inline constexpr std::string_view PlaceBothKings = "Must place both kings on the board.";
inline constexpr std::string_view MultipleKings = "Multiple kings are on the board.";

// Engine position dialog.
inline constexpr std::string_view EnPassantSquareRange = "The en passant square must be a1-h8.";
inline constexpr std::string_view WhitePawnFourthRank = "A white pawn must be on the fourth rank.";
inline constexpr std::string_view BlackPawnFifthRank = "A black pawn must be on the fifth rank.";

}  // namespace qorvale::chess::messages
