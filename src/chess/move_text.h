#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qorvale::chess {

// Full moves a game can hold; a 201st white move ends the parse.
inline constexpr int MaxFullMoves = 200;
// Half-moves a position history holds after the start position.
inline constexpr int MaxHalfMoves = 2 * MaxFullMoves;

// One half-move as read from a file ("Nbd7", "O-O-O", "e8=Q+"): at most 7 characters and a
// terminating zero. Check, mate and "!"/"?" marks stay in it as read; the appliers ignore them.
// Piece letters are always the English K, Q, R, B, N. "Z0" is a null move, "*" no move, and a
// first white entry beginning with "." marks a game in which Black moves first.
struct MoveText {
    static constexpr std::size_t Capacity = 7;
    std::array<char, Capacity + 1> bytes{};

    MoveText() = default;
    // Cut to 7 characters when longer.
    MoveText(std::string_view text) { Assign(text); }  // NOLINT: texts convert implicitly

    void Assign(std::string_view text) {
        bytes.fill(0);
        std::size_t length = text.size() < Capacity ? text.size() : Capacity;
        for (std::size_t i = 0; i < length; ++i) bytes[i] = text[i];
    }
    std::string_view view() const { return std::string_view(bytes.data()); }
    bool empty() const { return bytes[0] == 0; }
    char& operator[](std::size_t i) { return bytes[i]; }
    char operator[](std::size_t i) const { return bytes[i]; }
    friend bool operator==(const MoveText& a, const MoveText& b) { return a.view() == b.view(); }
};

// The from-square of a half-move when the file named it ("g1" of "Ng1-f3"), else empty. A first
// byte that is not a file letter (the long-algebraic marker 1 of the first white hint) is no hint.
struct FromHint {
    std::array<char, 3> bytes{};

    bool present() const {
        return bytes[0] >= 'a' && bytes[0] <= 'h' && bytes[1] >= '1' && bytes[1] <= '8';
    }
    int file() const { return bytes[0] - 'a' + 1; }
    int rank() const { return bytes[1] - '0'; }
    void Clear() { bytes.fill(0); }
    void Set(int file, int rank) {
        bytes = {static_cast<char>('a' + file - 1), static_cast<char>('0' + rank), 0};
    }
};

// The main line of a game: White's and Black's half-move of every full move with their hints.
// An empty black text after the last white move means the game ended after White's move.
struct MainLineMoves {
    std::array<MoveText, MaxFullMoves> WhiteMoves{};
    std::array<MoveText, MaxFullMoves> BlackMoves{};
    std::array<FromHint, MaxFullMoves> WhiteHints{};
    std::array<FromHint, MaxFullMoves> BlackHints{};
};

// Squares found for a move text by the slot resolution, 1..8 each.
struct LocatedMove {
    std::uint32_t from_file = 0;
    std::uint32_t from_rank = 0;
    std::uint32_t to_file = 0;
    std::uint32_t to_rank = 0;
};

// A move for an engine: "e2e4", "e7e8q" (lower-case promotion letter), zero-terminated.
struct CoordinateMove {
    std::array<char, 6> bytes{};
    std::string_view view() const { return std::string_view(bytes.data()); }
};

}  // namespace qorvale::chess
