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
