#include "engines/game_menu.h"

#include <gtest/gtest.h>

#include <vector>

#include "engines/messages.h"

namespace qorvale::engines {
namespace {

using Command = GameMenuCommand;

struct Row {
    const char* name;
    Command command;
    PlayState state;
    std::string_view refusal;
    std::string_view question;
    const char* sent;
    int take_back;
};

void Check(const std::vector<Row>& rows, GameMenuStep (*menu)(GameMenuCommand, const PlayState&)) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameMenuStep step = menu(row.command, row.state);
        EXPECT_EQ(step.refusal, row.refusal);
        EXPECT_EQ(step.question, row.question);
        EXPECT_EQ(step.command, row.sent);
        EXPECT_EQ(step.take_back, row.take_back);
    }
}

PlayState State(int half_moves, bool engine_to_move, int force_count = 0,
                bool display_general = true, bool moves_first = false) {
    PlayState state;
    state.half_moves = half_moves;
    state.engine_to_move = engine_to_move;
    state.force_count = force_count;
    state.display_general = display_general;
    state.moves_first = moves_first;
    return state;
}

TEST(GameMenu, UciColumn) {
    namespace m = messages;
    Check(
        {
            {"take back on the engine's move", Command::TakeBack, State(3, true), m::ForceMoveFirst,
             "", "", 0},
            {"take back", Command::TakeBack, State(4, false), "", "", "", 2},
            {"take back the engine's first move", Command::TakeBack, State(1, false), "", "", "",
             1},
            {"force when not its move", Command::ForceMove, State(2, false),
             m::OnlyWhenEngineOnMove, "", "", 0},
            {"first force", Command::ForceMove, State(0, true), "", "", "stop", 0},
            {"later force", Command::ForceMove, State(2, true, 1), "", "", "go\nstop", 0},
            {"score", Command::Score, State(2, false), m::NotSupportedForUci, "", "", 0},
            {"draw", Command::Draw, State(2, false), m::NotSupportedForUci, "", "", 0},
            {"new game on the engine's move", Command::NewGame, State(3, true),
             m::NotWhenEngineOnMove, "", "", 0},
            {"new game", Command::NewGame, State(4, false), "", m::ConfirmNewGame, "ucinewgame", 0},
            {"exit", Command::Exit, State(4, true), "", m::ConfirmExitUci, "", 0},
        },
        UciGameMenu);
    EXPECT_TRUE(UciGameMenu(Command::TakeBack, State(4, false)).send_position);
}

TEST(GameMenu, CraftyColumn) {
    namespace m = messages;
    Check(
        {
            {"take back on Crafty's move", Command::TakeBack, State(3, true), m::ForceMoveFirst, "",
             "", 0},
            {"take back after one half-move", Command::TakeBack, State(1, false), "", "",
             "undo\ngo", 1},
            {"take back by reset", Command::TakeBack, State(6, false), "", "", "reset 3", 2},
            {"take back as Black", Command::TakeBack, State(5, false), "", "", "reset 2", 2},
            {"force when not its move", Command::ForceMove, State(2, false),
             m::OnlyWhenEngineOnMove, "", "", 0},
            {"force", Command::ForceMove, State(3, true), "", "", "force", 0},
            {"score on Crafty's move", Command::Score, State(3, true), m::NotWhenEngineOnMove, "",
             "", 0},
            {"score", Command::Score, State(2, false), "", "", "score", 0},
            {"score without display general", Command::Score, State(2, false, 0, false),
             m::DisplayGeneralNotOn, "", "", 0},
            {"clock on Crafty's move", Command::Clock, State(3, true), "", "", "clock", 0},
            {"clock without display general", Command::Clock, State(3, true, 0, false),
             m::DisplayGeneralNotOn, "", "", 0},
            {"resign", Command::Resign, State(3, true), "", m::ConfirmResign, "resign", 0},
            {"draw", Command::Draw, State(3, true), "", "", "draw", 0},
            {"new game on Crafty's move", Command::NewGame, State(3, true), m::NotWhenEngineOnMove,
             "", "", 0},
            {"new game", Command::NewGame, State(4, false), "", m::ConfirmNewGame, "new", 0},
            {"new game, Crafty first", Command::NewGame, State(3, false, 0, true, true), "",
             m::ConfirmNewGame, "new\ngo", 0},
            {"exit", Command::Exit, State(3, true), "", m::ConfirmExitCrafty, "", 0},
        },
        CraftyGameMenu);
}

TEST(UciPlayCommand, PutsStopInFrontWhileStopsArePending) {
    EnginePosition position;
    position.moves = {CoordinateText(*ParseCoordinateMove("e7e8n"))};
    int pending = 2;
    EXPECT_EQ(UciPlayCommand(position, pending), "stop\nposition startpos moves e7e8n\ngo");
    EXPECT_EQ(UciPlayCommand(position, pending, "go movetime 500"),
              "stop\nposition startpos moves e7e8n\ngo movetime 500");
    EXPECT_EQ(UciPlayCommand(position, pending), "position startpos moves e7e8n\ngo");
    EXPECT_EQ(pending, 0);
}

}  // namespace
}  // namespace qorvale::engines
