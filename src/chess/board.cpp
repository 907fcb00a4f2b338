#include "chess/board.h"

namespace qorvale::chess {

namespace {

// Back-rank pieces from file a to file h.
constexpr std::array<std::uint32_t, 8> BackRank = {Rook, Knight, Bishop, Queen,
                                                   King, Bishop, Knight, Rook};

}  // namespace

Board StartBoard() {
    Board board{};
    for (int file = 1; file <= 8; ++file) {
        board[file][1] = BackRank[file - 1];
        board[file][2] = Pawn;
        board[file][7] = Pawn + BlackOffset;
        board[file][8] = BackRank[file - 1] + BlackOffset;
    }
    return board;
}

Board64 ToBoard64(const Board& board) {
    Board64 compact{};
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            compact[Board64Index(file, rank)] = static_cast<std::uint8_t>(board[file][rank]);
        }
    }
    return compact;
}

Board FromBoard64(const Board64& compact) {
    Board board{};
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) board[file][rank] = compact[Board64Index(file, rank)];
    }
    return board;
}

void SetStartBoard64(Board64& working, Board64& copy) {
    working = ToBoard64(StartBoard());
    copy = working;
}

}  // namespace qorvale::chess
