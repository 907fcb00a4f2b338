#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chess/board.h"
#include "chess/move_text.h"
#include "chess/setup_validation.h"

namespace qorvale::chess {
class ChessState;
}

namespace qorvale::engines {

// A move in the coordinate form engines use, "e2e4" or "e7e8n": the squares and the promoted
// kind (chess::Knight ... chess::Queen, or 0).
struct CoordinateSquares {
    int from_file = 0;
    int from_rank = 0;
    int to_file = 0;
    int to_rank = 0;
    std::uint32_t promotion = 0;
};

// Reads a coordinate move: file a-h, rank 1-8, file a-h, rank 1-8, then a promotion letter
// q, r, b or n, ending at the end of the text or a blank. Nothing for anything else.
std::optional<CoordinateSquares> ParseCoordinateMove(std::string_view text);
chess::CoordinateMove CoordinateText(const CoordinateSquares& move);

// The position an engine works on: the game's start and the moves played from it.
struct EnginePosition {
    bool from_fen = false;                // the game starts from a set-up position
    chess::Board start{};                 // that position (from_fen only)
    bool black_first = false;             // Black moves first from it
    std::uint32_t start_move_number = 1;  // full-move number of its first move
    // The set-up as a whole FEN when it is known exactly (typed by the user): it then reaches
    // the engine unchanged, castling rights and en passant square included.
    std::string fen;
    std::vector<chess::CoordinateMove> moves;

    // Half-moves from the start, the place of White's move counted in a game Black begins.
    int HalfMoves() const { return static_cast<int>(moves.size()) + (black_first ? 1 : 0); }
};

// The position after the first `half_moves` half-moves of a game whose positions `chess` holds
// (its history, as the game loader or the board filled it); `moves` tells whether Black
// begins. The moves are read from the positions; a step that shows no move ends the list.
EnginePosition EnginePositionFromGame(const chess::ChessState& chess,
                                      const chess::MainLineMoves& moves, int half_moves);

// A whole FEN read for an engine: the position (kept as `fen`, so the engine gets it unchanged)
// and the same facts as the "Crafty Position Info" dialog holds them (the en passant field
// names the pawn that made the double step, not the square behind it).
struct EngineFen {
    EnginePosition position;
    chess::EnginePositionInfo info;
};
// Reads placement, side to move and, when present, castling, en passant square, half-move
// clock and move number. Nothing when the placement does not hold eight ranks of eight
// squares of known pieces or the other fields are malformed.
std::optional<EngineFen> ReadEngineFen(std::string_view fen);

// The UCI command for a position: "position startpos", "position startpos moves e2e4 e7e5",
// or "position fen <StartFen> moves ..." for a game from a set-up position.
std::string PositionCommand(const EnginePosition& position);

// The FEN of a set-up start: `fen` when given, else placement, side, the castling rights of
// kings and rooks standing on their home squares (the program allows castling from a set-up
// wherever they stand so), no en passant square, 0 and the move number.
std::string StartFen(const EnginePosition& position);

// A position played by the program's rules, for turning an engine's moves into SAN and playing
// the engine's move on the board. Set() replays the moves from the start; Play() adds one.
class EngineBoard {
  public:
    EngineBoard();
    ~EngineBoard();
    EngineBoard(EngineBoard&&) noexcept;
    EngineBoard& operator=(EngineBoard&&) noexcept;

    // Plays `position` from its start; stops at the first move that is not legal. Returns the
    // number of moves played.
    int Set(const EnginePosition& position);

    // The moves actually played, as they would be sent to an engine.
    const EnginePosition& Position() const { return position_; }
    // The SAN text of each move played ("Nf3", "exd5", "Qh5#").
    const std::vector<std::string>& SanMoves() const { return san_; }
    // Half-moves from the start; the next move is half-move HalfMove() + 1.
    int HalfMove() const { return position_.HalfMoves(); }
    chess::Side SideToMove() const {
        return HalfMove() % 2 == 0 ? chess::Side::White : chess::Side::Black;
    }
    // The full-move number of the next move.
    std::uint32_t MoveNumber() const;
    const chess::Board& Board() const;

    // Plays a coordinate move when it is legal (true), writing its SAN to `san` when given.
    bool Play(const CoordinateSquares& move, std::string* san = nullptr);
    // Plays a move as an engine writes it: coordinate form ("e2e4", "e7e8q") or SAN ("Nf3",
    // "O-O", "e8=Q+"). True when it was a legal move.
    bool PlayEngineMove(std::string_view text, std::string* san = nullptr);
    // Takes back the last `count` half-moves (fewer when the game is shorter).
    void TakeBack(int count);

    // The SAN of the coordinate moves of `line` (blank-separated) from this position, as the
    // engine window shows a principal variation: " %d.%s" for a White move, " %d...%s" for a
    // first move by Black, " %s" for other Black moves. Ends at the first word that is not a
    // legal coordinate move. The position is left as it was. `converted` gets the moves used.
    std::string SanLine(std::string_view line, int* converted = nullptr);

  private:
    bool PlaySquares(const CoordinateSquares& move, std::string* san);

    std::unique_ptr<chess::ChessState> state_;
    EnginePosition position_;
    std::vector<std::string> san_;
};

}  // namespace qorvale::engines
