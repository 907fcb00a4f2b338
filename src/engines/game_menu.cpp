#include "engines/game_menu.h"

#include "engines/messages.h"

namespace qorvale::engines {

namespace {

GameMenuStep Refused(std::string_view message) {
    GameMenuStep step;
    step.refusal = message;
    return step;
}

GameMenuStep Sends(std::string command, std::string_view question = {}) {
    GameMenuStep step;
    step.command = std::move(command);
    step.question = question;
    return step;
}

}  // namespace

GameMenuStep UciGameMenu(GameMenuCommand command, const PlayState& state) {
    switch (command) {
        case GameMenuCommand::TakeBack: {
            if (state.engine_to_move) return Refused(messages::ForceMoveFirst);
            GameMenuStep step;
            step.take_back = state.half_moves < 2 ? state.half_moves : 2;
            step.send_position = true;
            return step;
        }
        case GameMenuCommand::ForceMove: {
            if (!state.engine_to_move) return Refused(messages::OnlyWhenEngineOnMove);
            GameMenuStep step = Sends(state.force_count == 0 ? "stop" : "go\nstop");
            step.counts_force = true;
            return step;
        }
        case GameMenuCommand::Score:
        case GameMenuCommand::Clock:
        case GameMenuCommand::Resign:
        case GameMenuCommand::Draw:
            return Refused(messages::NotSupportedForUci);
        case GameMenuCommand::NewGame: {
            if (state.engine_to_move) return Refused(messages::NotWhenEngineOnMove);
            GameMenuStep step = Sends("ucinewgame", messages::ConfirmNewGame);
            step.new_game = true;
            return step;
        }
        case GameMenuCommand::Exit: {
            GameMenuStep step = Sends("", messages::ConfirmExitUci);
            step.stop_engine = true;
            return step;
        }
    }
    return {};
}

GameMenuStep CraftyGameMenu(GameMenuCommand command, const PlayState& state) {
    switch (command) {
        case GameMenuCommand::TakeBack: {
            if (state.engine_to_move) return Refused(messages::ForceMoveFirst);
            if (state.half_moves == 0) return {};
            // "reset n" backs Crafty up to move n with the same side to move: two half-moves.
            GameMenuStep step =
                Sends(state.half_moves == 1 ? std::string("undo\ngo")
                                            : "reset " + std::to_string(state.half_moves / 2));
            step.take_back = state.half_moves == 1 ? 1 : 2;
            return step;
        }
        case GameMenuCommand::ForceMove:
            if (!state.engine_to_move) return Refused(messages::OnlyWhenEngineOnMove);
            return Sends("force");
        case GameMenuCommand::Score:
            if (state.engine_to_move) return Refused(messages::NotWhenEngineOnMove);
            [[fallthrough]];
        case GameMenuCommand::Clock:
            if (!state.display_general) return Refused(messages::DisplayGeneralNotOn);
            return Sends(command == GameMenuCommand::Score ? "score" : "clock");
        case GameMenuCommand::Resign:
            return Sends("resign", messages::ConfirmResign);
        case GameMenuCommand::Draw:
            return Sends("draw");
        case GameMenuCommand::NewGame: {
            if (state.engine_to_move) return Refused(messages::NotWhenEngineOnMove);
            GameMenuStep step =
                Sends(state.moves_first ? "new\ngo" : "new", messages::ConfirmNewGame);
            step.new_game = true;
            return step;
        }
        case GameMenuCommand::Exit: {
            GameMenuStep step = Sends("", messages::ConfirmExitCrafty);
            step.stop_engine = true;
            return step;
        }
    }
    return {};
}

std::string UciPlayCommand(const EnginePosition& position, int& pending_stops,
                           std::string_view go) {
    std::string command;
    if (pending_stops > 0) {
        command = "stop\n";
        --pending_stops;
    }
    command += PositionCommand(position);
    command += '\n';
    command += go;
    return command;
}

}  // namespace qorvale::engines
