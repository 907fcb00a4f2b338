#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chess/board.h"
#include "chess/setup_validation.h"

namespace qorvale::engines {

// The "Crafty Game Info" settings, kept in the options file.
struct CraftyGameSettings {
    bool CraftyMovesFirst = false;
    bool CraftyContinueGame = false;  // play on from the current game
    bool CraftyNoPonder = false;
    bool CraftyDisplayGeneral = true;
    bool CraftyDisplayVariation = false;
    // The level fields as typed; empty means not set.
    std::string CraftyLevelMoves;
    std::string CraftyLevelMinutes;
    std::string CraftyLevelIncrement;
};

// BuildSetboardText: "setboard " and the board's FEN placement, " w" or " b", then " " and the
// castling letters K, Q, k, q that are set (only when one is), then " " and the en passant
// field when it is set ("Crafty Position Info"). No move counters, and no "-" for what is
// missing.
std::string BuildSetboardText(const chess::Board& board, const chess::EnginePositionInfo& info);

// "level %d %d %d\notime %d" from the level fields, or "" when all three are empty. Moves
// default to 60 (a field beginning with a digit counts), minutes to 30 and the increment to 0
// (fields beginning with 1-9 count); otime is the clock in centiseconds.
std::string LevelCommand(const CraftyGameSettings& settings);

// The modes a Crafty engine window runs in (EngineMode).
enum class CraftyMode : int { Play = 1, Direct = 2, Score = 3, Analyse = 4 };

// What the start commands need besides the settings.
struct CraftyStart {
    // Play with CraftyContinueGame: the board's set-up-position flag, and the full path of the
    // continue-game file the caller has written (used when the flag is clear).
    bool setup_position = false;
    std::string continue_game_path;
    // SetboardText for Score, for Play from a set-up and for Analyse from a set-up position.
    std::string setboard;
    bool black_to_move = false;       // Score
    bool analyse_from_setup = false;  // Analyse: setboard rather than "read crafanal.pgn"
    std::string reset;                // Analyse: the reset command when following a replay
};

// CraftyStartCommands: what is sent when the engine window starts, one element per write (each
// sent with its "\n"); commands joined by "\n" within an element. Nothing for an empty start.
std::vector<std::string> CraftyStartCommands(CraftyMode mode, const CraftyGameSettings& settings,
                                             const CraftyStart& start);

// The reset command at the analysis start (and after the game came from the clipboard), with
// `side_flag` the parity of the starting half-move count (set when odd) and N `half_moves`.
std::string CraftyStartReset(bool side_flag, int half_moves);
// The reset command when the replayed game jumps to `half_moves` (N); `start_half_moves` is N0.
// Where the table sends White's move n as a move, `white_move` is that move's text.
std::string CraftyResetCommand(bool side_flag, int half_moves, int start_half_moves,
                               std::string_view white_move);

// EngineIsMoveCommand: whether a typed command is a move rather than a command for Crafty.
bool EngineIsMoveCommand(std::string_view text);

// Typed moves in analysis mode: the lock refuses them, an open entry lets the first through and
// moves on to Typed, where further moves pass.
enum class MoveEntry { Locked, Open, Typed };

// The message that refuses a typed command ("" when it may be sent), moving `entry` on when a
// typed move passes in analysis mode.
std::string_view TypedCommandRefusal(std::string_view text, CraftyMode mode, MoveEntry& entry);

// The engine's move in a line beginning "move ": the text after it, up to the end of the line.
std::optional<std::string_view> CraftyMoveFromLine(std::string_view line);

// One point of the evaluation profile: the score of a position and the half-move it belongs to.
struct ProfilePoint {
    int ply = 0;
    int centipawns = 0;  // from White's side
    int mate = 0;        // moves to mate as the engine wrote them, 0 for none
};

// A point read from a Crafty line holding "->": after it and its blanks one word is skipped,
// the next is the score (in pawns), and the number before the first '.' after that is the move
// number; the ply is 2 x number - 2, plus 1 for a Black move ("12..." or "12. ..."), less 1
// when not zero.
std::optional<ProfilePoint> ParseCraftyProfileLine(std::string_view line);

}  // namespace qorvale::engines
