#include "engines/crafty_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "chess/fen.h"
#include "engines/messages.h"

namespace qorvale::engines {
namespace {

// The dialog's facts: the side, the castling rights as FEN letters, the en passant field.
chess::EnginePositionInfo Info(bool black_to_move, std::string_view rights,
                               std::string en_passant = "") {
    chess::EnginePositionInfo info;
    info.black_to_move = black_to_move;
    info.white_castle_king = rights.find('K') != std::string_view::npos;
    info.white_castle_queen = rights.find('Q') != std::string_view::npos;
    info.black_castle_king = rights.find('k') != std::string_view::npos;
    info.black_castle_queen = rights.find('q') != std::string_view::npos;
    info.en_passant = std::move(en_passant);
    return info;
}

TEST(BuildSetboardText, WritesOnlyTheRightsThatAreSet) {
    struct Row {
        const char* name;
        chess::EnginePositionInfo info;
        const char* text;
    };
    const std::vector<Row> rows = {
        {"nothing set, White", Info(false, ""), "setboard r3k2r/8/8/3pP3/8/8/8/R3K2R w"},
        {"nothing set, Black", Info(true, ""), "setboard r3k2r/8/8/3pP3/8/8/8/R3K2R b"},
        {"rights in order", Info(false, "qK"), "setboard r3k2r/8/8/3pP3/8/8/8/R3K2R w Kq"},
        {"en passant without rights", Info(false, "", "d5"),
         "setboard r3k2r/8/8/3pP3/8/8/8/R3K2R w d5"},
        {"all", Info(true, "kqQK", "e4"), "setboard r3k2r/8/8/3pP3/8/8/8/R3K2R b KQkq e4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BuildSetboardText(chess::ReadPlacement("r3k2r/8/8/3pP3/8/8/8/R3K2R"), row.info),
                  row.text);
    }
}

TEST(LevelCommand, FillsWhatIsNotTyped) {
    struct Row {
        const char* name;
        const char* moves;
        const char* minutes;
        const char* increment;
        const char* command;
    };
    const std::vector<Row> rows = {
        {"nothing typed", "", "", "", ""},
        {"minutes only", "", "5", "", "level 60 5 0\notime 30000"},
        {"minutes beginning with 0", "", "05", "", "level 60 30 0\notime 180000"},
        {"all", "40", "90", "30", "level 40 90 30\notime 540000"},
        {"moves may be 0", "0", "", "", "level 0 30 0\notime 180000"},
        {"text is not a number", "x", "abc", "-5", "level 60 30 0\notime 180000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CraftyGameSettings settings;
        settings.CraftyLevelMoves = row.moves;
        settings.CraftyLevelMinutes = row.minutes;
        settings.CraftyLevelIncrement = row.increment;
        EXPECT_EQ(LevelCommand(settings), row.command);
    }
}

TEST(CraftyReset, FollowsTheTable) {
    struct Row {
        bool side_flag;
        int half_moves;
        int start_half_moves;
        const char* command;
    };
    // n = ceil(N / 2); White's move n ("Nf3") is sent in the one cell that needs it.
    const std::vector<Row> jumps = {
        {true, 7, 5, "reset 4"},       {true, 6, 6, "reset 3\nwhite"},
        {true, 6, 5, "reset 4\nback"}, {false, 7, 4, "reset 5\nback"},
        {false, 7, 7, "reset 4\nNf3"}, {false, 6, 4, "reset 4"},
    };
    for (const Row& row : jumps) {
        SCOPED_TRACE(row.command);
        EXPECT_EQ(CraftyResetCommand(row.side_flag, row.half_moves, row.start_half_moves, "Nf3"),
                  row.command);
    }
    EXPECT_EQ(CraftyStartReset(true, 7), "reset 4");
    EXPECT_EQ(CraftyStartReset(true, 6), "white\nreset 4");
    EXPECT_EQ(CraftyStartReset(false, 7), "black\nreset 4");
    EXPECT_EQ(CraftyStartReset(false, 6), "reset 4");
}

TEST(EngineIsMoveCommand, TellsMovesFromCommands) {
    for (const char* move : {"e4", "Nf3", "exd5", "Kxe2", "bxc3", "Bb5", "Qh5", "Rad1", "O-O",
                             "0-0-0", "1-0", "0-1", "1/2", "a8=Q", "nf3", "BACK"}) {
        SCOPED_TRACE(move);
        EXPECT_TRUE(EngineIsMoveCommand(move));
    }
    for (const char* command :
         {"back", "Back 2", "new", "name x", "reset 3", "read x.pgn", "exit", "Exit", "ext", "help",
          "score", "go", "force", "", "e", "o-o", "display general"}) {
        SCOPED_TRACE(command);
        EXPECT_FALSE(EngineIsMoveCommand(command));
    }
}

TEST(TypedCommandRefusal, RefusesMovesWhereTheBoardMustLead) {
    MoveEntry entry = MoveEntry::Open;
    EXPECT_EQ(TypedCommandRefusal("Nf3", CraftyMode::Play, entry),
              messages::MoveCommandsNotAllowed);
    EXPECT_EQ(TypedCommandRefusal("back", CraftyMode::Play, entry), "");
    EXPECT_EQ(TypedCommandRefusal("new", CraftyMode::Play, entry), "");
    EXPECT_EQ(TypedCommandRefusal("e4", CraftyMode::Direct, entry), "");
    entry = MoveEntry::Locked;
    EXPECT_EQ(TypedCommandRefusal("e4", CraftyMode::Analyse, entry),
              messages::MoveCommandsNotAllowed);
    entry = MoveEntry::Open;
    EXPECT_EQ(TypedCommandRefusal("e4", CraftyMode::Analyse, entry), "");
    EXPECT_EQ(entry, MoveEntry::Typed);
    EXPECT_EQ(TypedCommandRefusal("e5", CraftyMode::Analyse, entry), "");
}

TEST(ParseCraftyProfileLine, ReadsScoreAndPly) {
    struct Row {
        const char* line;
        bool read;
        int ply;
        int centipawns;
    };
    const std::vector<Row> rows = {
        {"              10->   0.35   0.12   12. Nf3 Nc6 13. d4", true, 21, 12},
        {"              10->   0.35  -1.25   12. ... Nc6 13. d4", true, 22, -125},
        {"               9->   0.01   0.40   1. e4 e5", true, 0, 40},
        {"               9->   0.01   0.40   1. ... e5", true, 0, 40},
        {"              12->   2.00   Mat05  30. Qh7+", true, 57, 99995},
        {"               9     0.01   0.40   1. e4", false, 0, 0},
        {"              10->   0.35   abc    12. Nf3", false, 0, 0},
        {"              10->   0.35", false, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        std::optional<ProfilePoint> point = ParseCraftyProfileLine(row.line);
        ASSERT_EQ(point.has_value(), row.read);
        if (!point) continue;
        EXPECT_EQ(point->ply, row.ply);
        EXPECT_EQ(point->centipawns, row.centipawns);
    }
    EXPECT_EQ(CraftyMoveFromLine("move e7e5"), "e7e5");
    EXPECT_EQ(CraftyMoveFromLine("move Nf6"), "Nf6");
    EXPECT_FALSE(CraftyMoveFromLine("moves 12"));
    EXPECT_FALSE(CraftyMoveFromLine("my move e5"));
}

}  // namespace
}  // namespace qorvale::engines
