#pragma once

#include <string>
#include <string_view>

#include "chess/board.h"
#include "engines/engine_board.h"

namespace qorvale::engines {

// The game menu while playing against an engine.
enum class GameMenuCommand { TakeBack, ForceMove, Score, Clock, Resign, Draw, NewGame, Exit };

// The game being played when a command is given.
struct PlayState {
    int half_moves = 0;            // half-moves played from the start of the game
    bool engine_to_move = false;   // EngineToMove
    int force_count = 0;           // uses of Force move in this game (UCI)
    bool moves_first = false;      // the engine had the first move of the game
    bool display_general = false;  // CraftyDisplayGeneral
};

// What a game-menu command does. A refusal shows its message and does nothing else; a question
// is asked first and No does nothing. Then `command` (when not empty) is sent as prepared, the
// board takes back `take_back` half-moves or starts a new game, and the engine may be stopped.
struct GameMenuStep {
    std::string_view refusal;
    std::string_view question;
    std::string command;
    int take_back = 0;
    bool new_game = false;
    bool stop_engine = false;
    bool send_position = false;  // UCI: two commands get "stop" in front; the position is sent
    bool counts_force = false;   // a Force move to count
};

// The engine is to move when it plays the side whose turn it is after `half_moves` half-moves.
constexpr bool EngineToMove(chess::Side engine_side, int half_moves) {
    return (half_moves % 2 == 0 ? chess::Side::White : chess::Side::Black) == engine_side;
}

GameMenuStep UciGameMenu(GameMenuCommand command, const PlayState& state);
GameMenuStep CraftyGameMenu(GameMenuCommand command, const PlayState& state);

// What the UCI engine gets after a move of the user or a take-back while playing:
// "position ..." and "\n" and `go`, with "stop\n" in front while `pending_stops` is above zero
// (it is then counted down).
std::string UciPlayCommand(const EnginePosition& position, int& pending_stops,
                           std::string_view go = "go");

}  // namespace qorvale::engines
