#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "chess/board.h"
#include "chess/move_text.h"
#include "pgn/header_tags.h"

namespace qorvale::pgn {

// The game text buffer: one game's PGN text for the text editor, the game buffer and the
// rewriting of an edited game. A game that does not fit is refused ("This game is too big to
// edit.").
inline constexpr std::size_t GameTextBufferSize = 500000;
// The movetext writer ends a line once it has reached this many characters.
inline constexpr std::size_t MovesLineWidth = 60;
// Longest line a typed game text may hold; a longer one would be cut by every reader.
inline constexpr std::size_t MaxTypedLine = 255;

// Gathers movetext tokens into lines the way the movetext writer does: one space between tokens,
// and CR LF as soon as a line has reached 60 characters.
class MovetextLines {
  public:
    void Add(std::string_view token);
    // The lines so far, then the unfinished line followed by `ending`.
    std::string Finish(std::string_view ending);

  private:
    std::string text_;
    std::string line_;
};

// A main line to be written with the numbers it is shown with.
struct MovesToWrite {
    const chess::MainLineMoves& moves;
    int full_moves = 0;
    // First move number of a set-up game that starts later than move 1; 0 otherwise.
    std::uint32_t start_move_number = 0;
};

// The number written before full move `index` (0-based).
std::uint32_t WrittenMoveNumber(int index, std::uint32_t start_move_number);

// The movetext writer: "%d.%s %s" per full move ("%d.%s" when Black's half-move is missing), the
// tokens joined by one space, a CR LF as soon as a line reaches 60 characters, then two spaces,
// the Result and CR LF. A game without moves gives "" for a file, and "1." for the game text
// buffer (`into_buffer`), where typing goes on.
std::string WriteMoves(const MovesToWrite& game, std::string_view result, bool into_buffer = false);

// A game entered on the board: its header fields (the starting move number of a set-up game
// among them), its moves, and for a set-up game the starting position.
struct EnteredGame {
    HeaderEditFields header;
    chess::MainLineMoves moves{};
    int full_moves = 0;
    bool starts_from_setup = false;
    chess::Board start{};
    // The castling and en-passant fields of the FEN tag. Other programs refuse a castling or an
    // en-passant capture that the FEN does not allow, so the set-up's own rights are written;
    // "-" when there are none.
    std::string castling = "-";
    std::string en_passant = "-";
};

// "No moves have been entered. Game was not saved." for a game without moves that is not a
// set-up position; then the Result check of ValidateResult.
Error CheckEnteredGame(const EnteredGame& game);

// The entered game's text as it is saved: WriteHeader, the FEN tag of a set-up game, and
// WriteMoves when there is at least one move.
std::string EnteredGameText(const EnteredGame& game);

// The line-end and line-length clean-up of a game text before it is written: every line end
// becomes CR LF; with `join_lines` (a rewritten game) short lines are joined (below 60
// characters, and again below 50 after the wrapping); a line of 88 characters or more is broken
// at the last space at or before the 86th (a line of 88 or 89 that ends with its line end is
// kept); a line holding only a move number and "..." runs on into the next. Tag lines, escape
// lines ("%") and ";" comments are never broken or joined into, and no join makes a line longer
// than 255 characters, so that nothing a reader would cut is made.
std::string NormaliseGameText(std::string_view text, bool join_lines);

// The checks on a game text typed by the user before it is saved: too big ("This game is too
// big to edit."), a line of 256 characters or more ("Some records are longer than 255
// characters. Click on File->Adjust to fix the game."), unbalanced braces ("Warning: Comment
// braces may be out of sync.") or parentheses outside comments ("Warning: Line parens may be out
// of sync.") after the first line that begins "1.", no moves in a game that has no FEN tag ("No
// moves have been entered. Game was not saved."), the Result tag (ValidateResult), and more than
// one game ("The text holds more than one game.": the index learns one new game). A text
// that fails is not saved: brace or parenthesis trouble would also swallow the games behind it.
// On success: the text with CR LF line ends, doubled spaces outside comments reduced to one
// unless a result follows, and a final CR LF.
Result<std::string> CheckTypedGameText(std::string_view text);

}  // namespace qorvale::pgn
