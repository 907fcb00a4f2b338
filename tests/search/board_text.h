#pragma once

#include <string_view>

#include "chess/board.h"

namespace qorvale::search::test {

// A Board64 from the placement field of a FEN ("rnbqkbnr/pppppppp/8/..."), rank 8 first.
inline chess::Board64 Board64FromPlacement(std::string_view placement) {
    chess::Board64 board{};
    int file = 0;
    int rank = 7;
    for (char c : placement) {
        if (c == '/') {
            --rank;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
        } else {
            std::string_view letters = "PNBRQK";
            char upper = c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
            std::uint8_t kind = static_cast<std::uint8_t>(letters.find(upper) + 1);
            board[file * 8 + rank] = static_cast<std::uint8_t>(c >= 'a' ? kind + 10 : kind);
            ++file;
        }
    }
    return board;
}

inline constexpr std::string_view StartPlacement = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

}  // namespace qorvale::search::test
