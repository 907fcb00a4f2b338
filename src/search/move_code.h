#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chess/board.h"

namespace qorvale::chess {
struct BoardChange;
}

namespace qorvale::search {

// One half-move of the fast file, 16 bits, little-endian on disk. Squares are Board64 indices
// (file * 8 + rank, a1 = 0, a2 = 1, e1 = 32, h8 = 63).
//   bits 0-5    from-square
//   bits 6-7    under-promotion: 0 queen or none, 1 knight, 2 bishop, 3 rook
//   bits 8-13   to-square
//   bits 14-15  0 (bit 14 is the engine's queen-promotion mark, never in a fast file)
// A code is never 0 and never has bit 15 set: 0 ends the file, bit 15 marks a ResultWord.
using MoveCode = std::uint16_t;

// Closes a game record: 0x8000 | 2 (White won), 0 (Black won) or 1 (anything else).
using ResultWord = std::uint16_t;

inline constexpr MoveCode WhiteCastlesShort = 0x3020;  // e1-g1
inline constexpr MoveCode WhiteCastlesLong = 0x1020;   // e1-c1
inline constexpr MoveCode BlackCastlesShort = 0x3727;  // e8-g8
inline constexpr MoveCode BlackCastlesLong = 0x1727;   // e8-c8
// A half-move whose squares could not be told from the boards.
inline constexpr MoveCode UnknownMoveCode = 0x0101;
// Ends a move file.
inline constexpr std::uint16_t EndMark = 0x0000;

inline constexpr ResultWord ResultFlag = 0x8000;
inline constexpr int BlackWon = 0;
inline constexpr int OtherResult = 1;
inline constexpr int WhiteWon = 2;

// A game record holds at most this many codes before its result word.
inline constexpr int MaxRecordCodes = 400;

constexpr int FromSquare(MoveCode code) { return code & 0x3F; }
constexpr int ToSquare(MoveCode code) { return (code >> 8) & 0x3F; }
constexpr int PromotionFlags(MoveCode code) { return (code >> 6) & 0x03; }

constexpr bool IsResultWord(std::uint16_t word) { return (word & ResultFlag) != 0; }
constexpr ResultWord MakeResultWord(int result) {
    return static_cast<ResultWord>(ResultFlag | static_cast<unsigned>(result));
}
// 2, 0 or 1: only 0x8002 and 0x8000 are decisive.
constexpr int ResultOf(ResultWord word) {
    return word == (ResultFlag | WhiteWon)   ? WhiteWon
           : word == (ResultFlag | BlackWon) ? BlackWon
                                             : OtherResult;
}

// The result a Result tag value stands for: 0 when its second character is "-" ("0-1"), 2 when
// the first is also "1" ("1-0"); 1 otherwise ("1/2-1/2", "*", empty).
int ResultFromTag(std::string_view result);

// The same from a whole "[Result" tag line, by the fixed columns of [Result "1-0"].
int ResultFromTagLine(std::string_view line);

// Which encoder: the engine's differs only in marking a queen promotion with 0x40 in the to byte.
enum class MoveCodeVariant { FastFile, Engine };

// The code of the half-move that turned `before` into `after`; `half_move` is 1-based (odd is
// White's). Castling is told by the king alone; otherwise the first square (a1 upwards) that
// the mover now holds and did not is the to-square and the first one it left is the from-square.
// En passant needs nothing special: the taken pawn's square is neither. Gives UnknownMoveCode
// when the boards do not show a move.
MoveCode EncodeMoveCode(const chess::Board64& before, const chess::Board64& after, int half_move,
                        MoveCodeVariant variant = MoveCodeVariant::FastFile);
// The same from two positions of the history (32-bit codes, in Board64 order).
MoveCode EncodeMoveCode(std::span<const std::uint32_t, 64> before,
                        std::span<const std::uint32_t, 64> after, int half_move,
                        MoveCodeVariant variant = MoveCodeVariant::FastFile);

// The same for a half-move just played on `after` that wrote the squares of `change` (what
// ChessState::LastChange gives): the same code, without a copy of the board before the move.
MoveCode EncodeMoveChange(const chess::BoardChange& change, const chess::Board& after,
                          int half_move, MoveCodeVariant variant = MoveCodeVariant::FastFile);

// Plays one code on `board` for the side given; castling, promotion and en passant are told
// from the board. UnknownMoveCode leaves the board as it was; any 16-bit value is safe to play.
void PlayMoveCode(chess::Board64& board, MoveCode code, bool white);

// Rebuilds the positions of one record's codes from the standard start: `positions` gets the
// start and then the board after each code (codes.size() + 1 boards). Castling, promotion and en
// passant are recognised from the board; UnknownMoveCode leaves the board as it was. Any 16-bit
// value is safe to replay.
void ReplayMoveCodes(std::span<const MoveCode> codes, std::vector<chess::Board64>& positions);

// "e2e4", with the promotion letter for a promotion ("b7b8n"); a pawn reaching the last rank
// from `before` without flags is a queen ("e7e8q"). UnknownMoveCode prints as "????".
std::string MoveCodeText(MoveCode code, const chess::Board64& before);

}  // namespace qorvale::search
