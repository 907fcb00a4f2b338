#include "search/move_code.h"

#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace qorvale::search {

namespace {

using chess::Board64;

constexpr std::uint8_t WhiteKing = chess::King;
constexpr std::uint8_t BlackKing = chess::King + chess::BlackOffset;
constexpr int E1 = 32, C1 = 16, G1 = 48, A1 = 0, D1 = 24, F1 = 40, H1 = 56;
constexpr int E8 = 39, C8 = 23, G8 = 55, A8 = 7, D8 = 31, F8 = 47, H8 = 63;

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

void ReplayMoveCodes(std::span<const MoveCode> codes, std::vector<Board64>& positions) {
    positions.resize(codes.size() + 1);
    Board64 board = StartPosition;
    positions[0] = board;
    for (std::size_t n = 0; n < codes.size(); ++n) {
        MoveCode code = codes[n];
        bool white = (n & 1) == 0;
        int from = FromSquare(code);
        int to = ToSquare(code);
        int flags = PromotionFlags(code);
        int from_rank = RankOf(from);
        int to_file = FileOf(to);
        std::uint8_t piece = board[from];
        std::uint8_t offset = white ? 0 : chess::BlackOffset;
        std::uint8_t pawn = chess::Pawn + offset;
        if (code == UnknownMoveCode) {
            // The encoder could not tell this move; playing a2-a2 would only empty a2.
        } else if (white && from == E1 && piece == WhiteKing && (to_file == 6 || to_file == 2)) {
            bool short_side = to_file == 6;
            board[E1] = chess::Empty;
            board[short_side ? G1 : C1] = WhiteKing;
            board[short_side ? F1 : D1] = board[short_side ? H1 : A1];
            board[short_side ? H1 : A1] = chess::Empty;
        } else if (!white && from == E8 && piece == BlackKing && (to_file == 6 || to_file == 2)) {
            bool short_side = to_file == 6;
            board[E8] = chess::Empty;
            board[short_side ? G8 : C8] = BlackKing;
            board[short_side ? F8 : D8] = board[short_side ? H8 : A8];
            board[short_side ? H8 : A8] = chess::Empty;
        } else if (piece == pawn && from_rank == (white ? 6 : 1) && RankOf(to) == (white ? 7 : 0)) {
            constexpr std::uint8_t promoted[4] = {chess::Queen, chess::Knight, chess::Bishop,
                                                  chess::Rook};
            board[from] = chess::Empty;
            board[to] = static_cast<std::uint8_t>(promoted[flags] + offset);
        } else if (piece == pawn && from_rank == (white ? 4 : 3) && to_file != FileOf(from) &&
                   board[Square(to_file, white ? 5 : 2)] == chess::Empty) {
            board[Square(to_file, white ? 5 : 2)] = pawn;
            board[from] = chess::Empty;
            board[Square(to_file, from_rank)] = chess::Empty;
        } else {
            board[to] = piece;
            board[from] = chess::Empty;
        }
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
