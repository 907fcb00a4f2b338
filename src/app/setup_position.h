#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/ui.h"
#include "chess/board.h"
#include "chess/setup_validation.h"

namespace qorvale::app {

// The castling rights of a set-up position, as a FEN's "KQkq" field holds them.
struct CastlingRights {
    bool white_king = false;
    bool white_queen = false;
    bool black_king = false;
    bool black_queen = false;
    friend bool operator==(const CastlingRights&, const CastlingRights&) = default;
};

// The set-up board: the position the user builds with the mouse (pieces placed from a palette,
// moved, removed), the side to move, castling rights, the en-passant file, and the move number.
// It reads and writes FEN, and is checked by the set-up checks before any use. The window draws
// Board() and forwards clicks; nothing here knows about widgets.
class SetupPosition {
  public:
    // The initial position, White to move, all castling rights, move 1.
    SetupPosition();

    const chess::Board& Board() const { return board_; }
    std::uint32_t PieceAt(int file, int rank) const;
    // Puts `code` on the square (0 empties it): the palette's click or a right click.
    void Place(int file, int rank, std::uint32_t code);
    // A piece dragged to another square; dragged off the board (`to_file` 0) it is removed.
    void MovePiece(int from_file, int from_rank, int to_file, int to_rank);
    // An empty board (no castling, no en passant) or the initial position.
    void Clear();
    void Initial();

    chess::Side SideToMove() const { return side_; }
    void SetSideToMove(chess::Side side) { side_ = side; }
    const CastlingRights& Castling() const { return castling_; }
    void SetCastling(const CastlingRights& rights) { castling_ = rights; }
    // The file (1..8) of the pawn that has just made a double step; 0 for none.
    int EnPassantFile() const { return en_passant_file_; }
    void SetEnPassantFile(int file) { en_passant_file_ = file >= 1 && file <= 8 ? file : 0; }
    // The number of the first full move, 1 or more.
    int MoveNumber() const { return move_number_; }
    void SetMoveNumber(int number) { move_number_ = number < 1 ? 1 : number; }

    // The rights the position really allows: a right whose king or rook is not on its home
    // square is left out.
    CastlingRights UsableCastling() const;
    // The FEN castling field of UsableCastling ("KQkq", "-").
    std::string CastlingField() const;
    // The FEN en-passant field: the square behind the pawn ("e3", "d6"), or "-" when there is
    // none or no pawn stands there.
    std::string EnPassantField() const;

    // Reads a FEN: a whole one, the placement alone, or the program's clipboard form
    // ("placement+w"). A missing field keeps its default (White, no castling, no en passant,
    // move 1). Fails with "The text is not a FEN position." and changes nothing when the
    // placement does not describe eight ranks of eight squares or a field is not FEN.
    Error SetFromFen(std::string_view text);
    // The whole FEN of the position ("... w KQkq - 0 1").
    std::string Fen() const;
    // The clipboard text of the program: the placement, then "+w" or "+b" after asking "Is
    // white to move first?".
    std::string ClipboardText(Ui& ui) const;

    // The set-up checks (pieces the slots can hold, both kings, bishops on both colours; then
    // the en-passant square against the side to move) with their messages. True when the
    // position may be used.
    bool Validate(Ui& ui) const;
    // What an engine is told about the position besides the placement.
    chess::EnginePositionInfo EngineInfo() const;

  private:
    chess::Board board_{};
    chess::Side side_ = chess::Side::White;
    CastlingRights castling_;
    int en_passant_file_ = 0;
    int move_number_ = 1;
};

}  // namespace qorvale::app
