#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "chess/chess_state.h"
#include "chess/fen.h"

namespace qorvale::chess::test {

// Starts `state` from a FEN placement through the set-up path, with every castling flag set
// except those named in `castling` ("KQkq" letters, as in FEN).
inline void StartFrom(ChessState& state, std::string_view placement,
                      std::string_view castling = "-") {
    state.FenStartBoard() = ReadPlacement(placement);
    state.SetStartsFromFen(true);
    state.SetStartPosition();
    CastlingFlags& flags = state.Castling();
    auto allowed = [&](char c) { return castling.find(c) != std::string_view::npos; };
    flags.WhiteKingMoved = allowed('K') || allowed('Q') ? 0 : 1;
    flags.BlackKingMoved = allowed('k') || allowed('q') ? 0 : 1;
    flags.WhiteRookH1Moved = allowed('K') ? 0 : 1;
    flags.WhiteRookA1Moved = allowed('Q') ? 0 : 1;
    flags.BlackRookH8Moved = allowed('k') ? 0 : 1;
    flags.BlackRookA8Moved = allowed('q') ? 0 : 1;
}

inline std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// Square name ("e4") to file and rank.
inline int FileOf(std::string_view square) { return square[0] - 'a' + 1; }
inline int RankOf(std::string_view square) { return square[1] - '0'; }

// Makes "e2e4"-style moves from squares, recording each, from half-move `first_half_move`.
// Returns the number made before the first rejected one.
inline int MakeMoves(ChessState& state, std::string_view uci_moves, int first_half_move = 1) {
    int made = 0;
    for (const std::string& move : Words(uci_moves)) {
        if (state.MakeMoveFromSquares(MoveMode::Record, first_half_move + made, FileOf(move),
                                      RankOf(move), FileOf(move.substr(2)),
                                      RankOf(move.substr(2))) != 0) {
            break;
        }
        ++made;
    }
    return made;
}

// Plays move texts alternately from `first` by the text road; returns the last text as stored.
inline std::string PlayTexts(ChessState& state, std::string_view texts, Side first = Side::White) {
    Side side = first;
    MoveText text;
    for (const std::string& word : Words(texts)) {
        text = MoveText(word);
        state.ApplyMoveText(text, FromHint{}, side);
        side = Opponent(side);
    }
    return std::string(text.view());
}

}  // namespace qorvale::chess::test

namespace qorvale::chess::test {

// A game written out by hand: its FEN tag line, if any, and the main line's move texts.
struct MainLineGame {
    std::string fen_line;
    std::vector<std::string> moves;
    bool black_first = false;
};

// Fills `moves` from a game's move list; returns the number of full moves.
inline int FillMainLine(const MainLineGame& game, MainLineMoves& moves) {
    moves = MainLineMoves{};
    int half = game.black_first ? 1 : 0;
    if (game.black_first) moves.WhiteMoves[0] = MoveText("...");
    for (const std::string& move : game.moves) {
        if (half >= MaxHalfMoves) break;
        auto index = static_cast<std::size_t>(half / 2);
        (half % 2 == 0 ? moves.WhiteMoves : moves.BlackMoves)[index] = MoveText(move);
        ++half;
    }
    return (half + 1) / 2;
}

inline Board BoardFromSnapshot(const Snapshot& snapshot) {
    Board board{};
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank)
            board[file][rank] = snapshot[(file - 1) * 8 + rank - 1];
    }
    return board;
}

}  // namespace qorvale::chess::test
