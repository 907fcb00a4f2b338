#pragma once

#include <array>
#include <cstdint>

namespace qorvale::chess {

// Piece codes held in every board. A black code is the white code plus 10; 0 is an empty square.
inline constexpr std::uint32_t Empty = 0;
inline constexpr std::uint32_t Pawn = 1;
inline constexpr std::uint32_t Knight = 2;
inline constexpr std::uint32_t Bishop = 3;
inline constexpr std::uint32_t Rook = 4;
inline constexpr std::uint32_t Queen = 5;
inline constexpr std::uint32_t King = 6;
inline constexpr std::uint32_t BlackOffset = 10;

enum class Side : std::uint8_t { White, Black };

constexpr Side Opponent(Side side) { return side == Side::White ? Side::Black : Side::White; }
constexpr std::uint32_t PieceCode(std::uint32_t kind, Side side) {
    return side == Side::White ? kind : kind + BlackOffset;
}
constexpr bool IsBlackCode(std::uint32_t code) { return code > BlackOffset; }
constexpr bool IsWhiteCode(std::uint32_t code) { return code != 0 && code <= BlackOffset; }
constexpr std::uint32_t KindOf(std::uint32_t code) {
    return code > BlackOffset ? code - BlackOffset : code;
}
constexpr bool BelongsTo(std::uint32_t code, Side side) {
    return side == Side::White ? IsWhiteCode(code) : IsBlackCode(code);
}

// A position: piece codes indexed [file][rank], both 1..8 (file 1 = a, rank 1 = White's back
// rank). Row and column 0 stay empty so squares are used by their chess numbers.
using Board = std::array<std::array<std::uint32_t, 9>, 9>;

// 64 codes at index (file - 1) * 8 + (rank - 1): a1, a2, ..., a8, b1, ..., h8. The compact
// position of the fast file, the position search and the ECO position data.
using Board64 = std::array<std::uint8_t, 64>;

constexpr int Board64Index(int file, int rank) { return (file - 1) * 8 + (rank - 1); }

// The standard start position, as a Board.
Board StartBoard();
Board64 ToBoard64(const Board& board);
Board FromBoard64(const Board64& compact);

// The standard start position in `working`, copied into `copy`.
void SetStartBoard64(Board64& working, Board64& copy);

constexpr bool OnBoard(int file, int rank) {
    return file >= 1 && file <= 8 && rank >= 1 && rank <= 8;
}
constexpr char FileLetter(int file) { return static_cast<char>('a' + file - 1); }
constexpr char RankDigit(int rank) { return static_cast<char>('0' + rank); }
constexpr bool IsFileLetter(char c) { return c >= 'a' && c <= 'h'; }
constexpr bool IsRankDigit(char c) { return c >= '1' && c <= '8'; }
// Square colour: equal parity of file + rank means equal colour.
constexpr int SquareColour(int file, int rank) { return (file + rank) & 1; }

}  // namespace qorvale::chess
