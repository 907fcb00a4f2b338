#include "search/move_code.h"

#include <array>
#include <bit>

#include "chess/chess_state.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace qorvale::search {

namespace {

using chess::Board64;

constexpr std::uint8_t WhiteKing = chess::King;
constexpr std::uint8_t BlackKing = chess::King + chess::BlackOffset;
constexpr int C1 = 16, E1 = 32, G1 = 48;
constexpr int C8 = 23, E8 = 39, G8 = 55;

constexpr bool IsMover(std::uint8_t code, bool white) {
    return white ? chess::IsWhiteCode(code) : chess::IsBlackCode(code);
}

constexpr int FileOf(int square) { return square >> 3; }  // 0..7
constexpr int RankOf(int square) { return square & 7; }   // 0..7
constexpr int Square(int file, int rank) { return file * 8 + rank; }

constexpr Board64 StartBoard64() {
    Board64 board{};
    constexpr std::uint8_t back_rank[8] = {chess::Rook, chess::Knight, chess::Bishop, chess::Queen,
                                           chess::King, chess::Bishop, chess::Knight, chess::Rook};
    for (int file = 0; file < 8; ++file) {
        board[Square(file, 0)] = back_rank[file];
        board[Square(file, 1)] = chess::Pawn;
        board[Square(file, 6)] = chess::Pawn + chess::BlackOffset;
        board[Square(file, 7)] = static_cast<std::uint8_t>(back_rank[file] + chess::BlackOffset);
    }
    return board;
}

constexpr Board64 StartPosition = StartBoard64();

}  // namespace

int ResultFromTag(std::string_view result) {
    if (result.size() < 2 || result[1] != '-') return OtherResult;
    return result[0] == '1' ? WhiteWon : BlackWon;
}

int ResultFromTagLine(std::string_view line) {
    // [Result "1-0"]: the dash stands at index 10, the winner's digit at 9.
    if (line.size() < 11 || line[10] != '-') return OtherResult;
    return line[9] == '1' ? WhiteWon : BlackWon;
}

namespace {

// Bit s set when square s differs between the two boards.
std::uint64_t ChangedSquares(const std::uint8_t* before, const std::uint8_t* after) {
    std::uint64_t changed = 0;
#ifdef __SSE2__
    for (int block = 0; block < 4; ++block) {
        __m128i old_squares = _mm_loadu_si128(reinterpret_cast<const __m128i*>(before) + block);
        __m128i new_squares = _mm_loadu_si128(reinterpret_cast<const __m128i*>(after) + block);
        auto same =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(old_squares, new_squares)));
        changed |= static_cast<std::uint64_t>(~same & 0xFFFFu) << (16 * block);
    }
#else
    for (int square = 0; square < 64; ++square) {
        changed |= static_cast<std::uint64_t>(before[square] != after[square]) << square;
    }
#endif
    return changed;
}

std::uint64_t ChangedSquares(const std::uint32_t* before, const std::uint32_t* after) {
    std::uint64_t changed = 0;
#ifdef __SSE2__
    for (int block = 0; block < 16; ++block) {
        __m128i old_squares = _mm_loadu_si128(reinterpret_cast<const __m128i*>(before) + block);
        __m128i new_squares = _mm_loadu_si128(reinterpret_cast<const __m128i*>(after) + block);
        auto same = static_cast<std::uint32_t>(
            _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(old_squares, new_squares))));
        changed |= static_cast<std::uint64_t>(~same & 0xFu) << (4 * block);
    }
#else
    for (int square = 0; square < 64; ++square) {
        changed |= static_cast<std::uint64_t>(before[square] != after[square]) << square;
    }
#endif
    return changed;
}

// The encoder over any 64-square array of piece codes: the compact Board64 and the history's
// 32-bit snapshots alike.
template <typename Square>
MoveCode Encode(const Square* before, const Square* after, int half_move, MoveCodeVariant variant) {
    bool white = (half_move & 1) != 0;
    if (white) {
        if (after[E1] == chess::Empty && before[E1] == WhiteKing) {
            if (after[G1] == WhiteKing) return WhiteCastlesShort;
            if (after[C1] == WhiteKing) return WhiteCastlesLong;
        }
    } else if (after[E8] == chess::Empty && before[E8] == BlackKing) {
        if (after[G8] == BlackKing) return BlackCastlesShort;
        if (after[C8] == BlackKing) return BlackCastlesLong;
    }
    int from = -1;
    int to = -1;
    auto look_at = [&](int square) {
        std::uint8_t old_piece = static_cast<std::uint8_t>(before[square]);
        std::uint8_t new_piece = static_cast<std::uint8_t>(after[square]);
        if (to < 0 && IsMover(new_piece, white) &&
            (old_piece == chess::Empty || IsMover(old_piece, !white))) {
            to = square;
        }
        if (from < 0 && IsMover(old_piece, white) && new_piece == chess::Empty) from = square;
    };
    // Only a square that changed can be either: find them all without branches, then look at
    // the few there are in ascending order.
    std::uint64_t changed = ChangedSquares(before, after);
    while (changed != 0 && (from < 0 || to < 0)) {
        look_at(std::countr_zero(changed));
        changed &= changed - 1;
    }
    if (from < 0 || to < 0 || (from == 0 && to == 0)) return UnknownMoveCode;
    int from_byte = from;
    int to_byte = to;
    std::uint8_t mover_pawn = white ? chess::Pawn : chess::Pawn + chess::BlackOffset;
    if (before[from] == mover_pawn) {
        std::uint32_t kind = chess::KindOf(static_cast<std::uint32_t>(after[to]));
        if (kind == chess::Knight) from_byte |= 0x40;
        if (kind == chess::Bishop) from_byte |= 0x80;
        if (kind == chess::Rook) from_byte |= 0xC0;
        if (kind == chess::Queen && variant == MoveCodeVariant::Engine) to_byte += 0x40;
    }
    return static_cast<MoveCode>(to_byte * 256 + from_byte);
}

// The code of a move between two squares, with the under-promotion flags when a pawn of the
// mover left `from` and `to` now holds `to_piece`.
MoveCode SquaresCode(int from, int to, std::uint8_t from_piece, std::uint8_t to_piece, bool white,
                     MoveCodeVariant variant) {
    int from_byte = from;
    int to_byte = to;
    if (from_piece == (white ? chess::Pawn : chess::Pawn + chess::BlackOffset)) {
        std::uint32_t kind = chess::KindOf(to_piece);
        if (kind == chess::Knight) from_byte |= 0x40;
        if (kind == chess::Bishop) from_byte |= 0x80;
        if (kind == chess::Rook) from_byte |= 0xC0;
        if (kind == chess::Queen && variant == MoveCodeVariant::Engine) to_byte += 0x40;
    }
    return static_cast<MoveCode>(to_byte * 256 + from_byte);
}

std::uint8_t AfterOn(const chess::Board& after, int square) {
    return static_cast<std::uint8_t>(after[FileOf(square) + 1][RankOf(square) + 1]);
}

// EncodeMoveChange for any change: castling, en passant, a move the slots gave to the wrong
// piece.
// Kept out of line so that the usual case's caller does not pay for this one's registers.
[[gnu::noinline]] MoveCode EncodeAnyChange(const chess::BoardChange& change,
                                           const chess::Board& after, int half_move,
                                           MoveCodeVariant variant) {
    const bool white = (half_move & 1) != 0;
    auto after_on = [&](int square) { return AfterOn(after, square); };
    // The squares that changed, in ascending order, with their pieces before and after: the
    // board comparison restricted to the only squares that can differ.
    struct Changed {
        int square;
        std::uint8_t old_piece;
        std::uint8_t new_piece;
    };
    std::array<Changed, chess::BoardChange::MaxSquares> changed;
    int count = 0;
    std::uint64_t seen = 0;
    for (int n = 0; n < change.count; ++n) {
        const int square = change.squares[static_cast<std::size_t>(n)];
        const std::uint64_t bit = std::uint64_t{1} << square;
        // A repeated square's first entry holds what it had before the move.
        if ((seen & bit) != 0) continue;
        seen |= bit;
        const auto old_piece = change.before[static_cast<std::size_t>(n)];
        const auto new_piece = after_on(square);
        if (old_piece == new_piece) continue;
        int at = count++;
        while (at > 0 && changed[static_cast<std::size_t>(at - 1)].square > square) {
            changed[static_cast<std::size_t>(at)] = changed[static_cast<std::size_t>(at - 1)];
            --at;
        }
        changed[static_cast<std::size_t>(at)] = {square, old_piece, new_piece};
    }

    const int home = white ? E1 : E8;
    const std::uint8_t king = white ? WhiteKing : BlackKing;
    int from = -1;
    int to = -1;
    std::uint8_t from_piece = 0;
    std::uint8_t to_piece = 0;
    for (int n = 0; n < count; ++n) {
        const Changed& square = changed[static_cast<std::size_t>(n)];
        // Castling is told by the king alone: it left its home square (so that square changed)
        // and stands on g1/c1 (g8/c8), changed or not.
        if (square.square == home && square.old_piece == king && square.new_piece == chess::Empty) {
            const int short_target = white ? G1 : G8;
            const int long_target = white ? C1 : C8;
            if (after_on(short_target) == king) {
                return white ? WhiteCastlesShort : BlackCastlesShort;
            }
            if (after_on(long_target) == king) {
                return white ? WhiteCastlesLong : BlackCastlesLong;
            }
        }
    }
    for (int n = 0; n < count && (from < 0 || to < 0); ++n) {
        const Changed& square = changed[static_cast<std::size_t>(n)];
        if (to < 0 && IsMover(square.new_piece, white) &&
            (square.old_piece == chess::Empty || IsMover(square.old_piece, !white))) {
            to = square.square;
            to_piece = square.new_piece;
        }
        if (from < 0 && IsMover(square.old_piece, white) && square.new_piece == chess::Empty) {
            from = square.square;
            from_piece = square.old_piece;
        }
    }
    if (from < 0 || to < 0 || (from == 0 && to == 0)) return UnknownMoveCode;
    return SquaresCode(from, to, from_piece, to_piece, white, variant);
}

}  // namespace

MoveCode EncodeMoveCode(const Board64& before, const Board64& after, int half_move,
                        MoveCodeVariant variant) {
    return Encode(before.data(), after.data(), half_move, variant);
}

MoveCode EncodeMoveCode(std::span<const std::uint32_t, 64> before,
                        std::span<const std::uint32_t, 64> after, int half_move,
                        MoveCodeVariant variant) {
    return Encode(before.data(), after.data(), half_move, variant);
}

MoveCode EncodeMoveChange(const chess::BoardChange& change, const chess::Board& after,
                          int half_move, MoveCodeVariant variant) {
    const bool white = (half_move & 1) != 0;
    auto after_on = [&](int square) { return AfterOn(after, square); };
    // The usual move: a piece of the mover left one square, which is now empty, for another that
    // was empty or the opponent's and now holds a piece of the mover. The comparison finds
    // exactly these two, in either order; only castling and the promotion flags need a look.
    if (change.count == 2) {
        const int from = change.squares[0];
        const int to = change.squares[1];
        const std::uint8_t from_piece = change.before[0];
        const std::uint8_t old_piece = change.before[1];
        const std::uint8_t to_piece = after_on(to);
        if (from != to && IsMover(from_piece, white) && after_on(from) == chess::Empty &&
            IsMover(to_piece, white) && !IsMover(old_piece, white)) {
            const std::uint8_t king = white ? WhiteKing : BlackKing;
            if (from == (white ? E1 : E8) && from_piece == king) {
                if (after_on(white ? G1 : G8) == king) {
                    return white ? WhiteCastlesShort : BlackCastlesShort;
                }
                if (after_on(white ? C1 : C8) == king) {
                    return white ? WhiteCastlesLong : BlackCastlesLong;
                }
            }
            return SquaresCode(from, to, from_piece, to_piece, white, variant);
        }
    }
    return EncodeAnyChange(change, after, half_move, variant);
}

void PlayMoveCode(Board64& board, MoveCode code, bool white) {
    if (code == UnknownMoveCode) return;  // playing a2-a2 would only empty a2
    const int from = FromSquare(code);
    const int to = ToSquare(code);
    const int from_rank = RankOf(from);
    const int to_file = FileOf(to);
    const std::uint8_t piece = board[from];
    const auto offset = static_cast<std::uint8_t>(white ? 0 : chess::BlackOffset);
    const auto pawn = static_cast<std::uint8_t>(chess::Pawn + offset);
    const auto king = static_cast<std::uint8_t>(chess::King + offset);
    const int back_rank = white ? 0 : 7;
    if (piece == king && from == Square(4, back_rank) && (to_file == 6 || to_file == 2)) {
        const bool short_side = to_file == 6;
        board[from] = chess::Empty;
        board[Square(short_side ? 6 : 2, back_rank)] = king;
        board[Square(short_side ? 5 : 3, back_rank)] = board[Square(short_side ? 7 : 0, back_rank)];
        board[Square(short_side ? 7 : 0, back_rank)] = chess::Empty;
    } else if (piece == pawn && from_rank == (white ? 6 : 1) && RankOf(to) == (white ? 7 : 0)) {
        constexpr std::uint8_t promoted[4] = {chess::Queen, chess::Knight, chess::Bishop,
                                              chess::Rook};
        board[from] = chess::Empty;
        board[to] = static_cast<std::uint8_t>(promoted[PromotionFlags(code)] + offset);
    } else if (piece == pawn && from_rank == (white ? 4 : 3) && to_file != FileOf(from) &&
               board[Square(to_file, white ? 5 : 2)] == chess::Empty) {
        board[Square(to_file, white ? 5 : 2)] = pawn;
        board[from] = chess::Empty;
        board[Square(to_file, from_rank)] = chess::Empty;
    } else {
        board[to] = piece;
        board[from] = chess::Empty;
    }
}

void ReplayMoveCodes(std::span<const MoveCode> codes, std::vector<Board64>& positions) {
    positions.resize(codes.size() + 1);
    Board64 board = StartPosition;
    positions[0] = board;
    for (std::size_t n = 0; n < codes.size(); ++n) {
        PlayMoveCode(board, codes[n], (n & 1) == 0);
        positions[n + 1] = board;
    }
}

std::string MoveCodeText(MoveCode code, const Board64& before) {
    if (code == UnknownMoveCode) return "????";
    int from = FromSquare(code);
    int to = ToSquare(code);
    std::string text = {static_cast<char>('a' + FileOf(from)),
                        static_cast<char>('1' + RankOf(from)), static_cast<char>('a' + FileOf(to)),
                        static_cast<char>('1' + RankOf(to))};
    constexpr char letters[4] = {'q', 'n', 'b', 'r'};
    std::uint32_t kind = chess::KindOf(before[from]);
    bool reaches_last_rank = RankOf(to) == 7 || RankOf(to) == 0;
    if (PromotionFlags(code) != 0 || (kind == chess::Pawn && reaches_last_rank)) {
        text += letters[PromotionFlags(code)];
    }
    return text;
}

}  // namespace qorvale::search
