#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chess/chess_state.h"
#include "chess/move_text.h"
#include "search/move_code.h"

namespace qorvale::openings {

// A line of moves played from the standard start through the chess rules: the position the tree,
// Show Next Moves and the line modes stand on. Each move is kept as its code and its SAN text
// as the rules write it (check marks included), so a line can be matched against move streams
// and shown. Holds its own chess state; the window's is never touched.
class LinePosition {
  public:
    LinePosition();
    ~LinePosition();
    LinePosition(LinePosition&&) noexcept;
    LinePosition& operator=(LinePosition&&) noexcept;

    // Back to the start position.
    void Reset();
    // Plays the move `code` stands for; false, with nothing changed, when it is no legal move
    // here or the line already holds 400 half-moves.
    bool PlayCode(search::MoveCode code);
    // Plays a SAN text ("Nf3", "exd5", "O-O", "e8=N+", and the forms the PGN reader accepts);
    // false, with nothing changed, when it names no legal move here.
    bool PlayText(std::string_view text);
    // The code of the move a SAN text names here, without playing it; 0 when it names none.
    search::MoveCode CodeOf(std::string_view text);
    // Takes back moves until `half_moves` are left.
    void Truncate(int half_moves);

    // The SAN of `code` in this position, without playing it; the square form of the code
    // ("e2e4", "????") when it is no legal move here.
    chess::MoveText TextOf(search::MoveCode code);

    int HalfMoves() const { return static_cast<int>(codes_.size()); }
    bool WhiteToMove() const { return codes_.size() % 2 == 0; }
    const std::vector<search::MoveCode>& Codes() const { return codes_; }
    const chess::MoveText& Text(int index) const;
    // The moves as the game loader leaves a main line: for the opening matcher and the board.
    const chess::MainLineMoves& Moves() const { return moves_; }
    const chess::ChessState& Chess() const { return *chess_; }
    // The line as text: "1.e4 c5 2.Nf3" (the ECO table's form).
    std::string LineText() const;

  private:
    bool Play(int from, int to, int promotion_flags);
    void Record(search::MoveCode code, const chess::MoveText& text);

    std::unique_ptr<chess::ChessState> chess_;
    std::vector<search::MoveCode> codes_;
    chess::MainLineMoves moves_{};
};

// The code of a move given by its squares (Board64 indices) and under-promotion flags.
constexpr search::MoveCode MoveCodeOf(int from, int to, int promotion_flags) {
    return static_cast<search::MoveCode>((to << 8) | (promotion_flags << 6) | from);
}

}  // namespace qorvale::openings
