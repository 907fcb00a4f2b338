#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "base/ui.h"
#include "chess/board.h"
#include "chess/move_text.h"
#include "pgn/game_lines.h"
#include "pgn/header_tags.h"

namespace qorvale::pgn {

class PgnFile;

// What a changed game is written from: its header lines as they stand, the ten values as the
// header dialog loaded them and as they are now, its main line, and the annotations that follow
// each half-move (index 0: before the first move), in the text form the movetext holds them
// (comments in braces, variations in parentheses, NAGs as "$n").
struct GameRewrite {
    std::vector<std::string> header_lines;
    HeaderEditFields loaded;
    HeaderEditFields edited;
    bool starts_from_setup = false;
    chess::Board start{};  // the FEN start of a set-up game
    chess::MainLineMoves moves{};
    int full_moves = 0;
    std::vector<std::string> annotations;

    // Half-moves of the main line (the black-first placeholder counts as one).
    int HalfMoves() const;
    // The game was written in long algebraic notation with piece letters ("Ng1-f3").
    bool LongAlgebraic() const { return moves.WhiteHints[0].bytes[0] == 1; }
};

// Reads game `game_number` of `file` for a rewrite, with `edited` equal to `loaded`. Reports
// nothing; fails with "Error finding game.", or with "This game is too big to edit." for a game of
// which the program holds only a part (more than 200 moves or 3000 movetext lines), or with "Part
// of this game cannot be read, so it cannot be rewritten." when its movetext holds moves the parser
// did not take (it skipped or stopped early); writing back what was read would lose them.
Result<GameRewrite> LoadGameRewrite(PgnFile& file, int game_number);
// The same for one game's text held in memory.
Result<GameRewrite> LoadGameRewrite(std::string_view game_text);

// The annotation texts of a loaded game, half-move 0 to `half_moves`.
std::vector<std::string> AnnotationsOf(const GameLines& lines, int half_moves);

// The rewritten text of a game. The header lines are copied, except that a known tag whose
// value was edited is written again as "[Event \"%s\"]" and so on, the FEN tag of a set-up game
// gets the edited starting move number, and a known tag the game lacked is added (in the order
// Event, Site, Date, Round, White, Black, Result, WhiteElo, BlackElo, ECO) when its edited value
// is not empty; an empty line follows. Then the moves as WriteMoves writes them, each half-move
// followed by its annotations ("%d... %s" for a black move after an annotation), lines ended at
// 60 characters, two spaces, the Result, CR LF and a final CR LF; and the whole cleaned up by
// NormaliseGameText with line joining. A tag line whose value was not edited is copied as it
// is, so that a value longer than the 95 characters a field holds is never cut.
std::string RewriteGameText(const GameRewrite& game);

}  // namespace qorvale::pgn
