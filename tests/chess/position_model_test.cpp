#include <gtest/gtest.h>

#include "chess/messages.h"
#include "chess_test_support.h"
#include "support/recording_ui.h"

namespace qorvale::chess::test {
namespace {

constexpr std::string_view Start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

// Pieces of a set-up position take the first free slot in scan order (a1, a2, ..., h8), except
// that a rook on its kingside corner is always rook B; a fourth piece stays untracked.
TEST(SetupFromBoard, FillsSlotsInScanOrder) {
    struct Row {
        const char* name;
        std::string_view placement;
        std::uint32_t kind;
        Side side;
        std::array<SlotSquare, 3> slots;
    };
    const Row rows[] = {
        {"rooks a1 and h1", "4k3/8/8/8/8/8/8/R3K2R", Rook, Side::White, {{{1, 1}, {8, 1}, {}}}},
        {"single rook on h1 is rook B",
         "4k3/8/8/8/8/8/8/4K2R",
         Rook,
         Side::White,
         {{{}, {8, 1}, {}}}},
        {"black rook on h8 is rook B",
         "4k2r/8/8/8/8/8/8/4K3",
         Rook,
         Side::Black,
         {{{}, {8, 8}, {}}}},
        {"rook on h2 is no corner rook",
         "4k3/8/8/8/8/8/7R/4K3",
         Rook,
         Side::White,
         {{{8, 2}, {}, {}}}},
        {"fourth knight untracked",
         "4k3/8/8/8/8/8/NN6/NN2K3",
         Knight,
         Side::White,
         {{{1, 1}, {1, 2}, {2, 1}}}},
        {"queens in file order",
         "4k3/8/8/8/Q7/8/8/4K2Q",
         Queen,
         Side::White,
         {{{1, 4}, {8, 1}, {}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        StartFrom(state, row.placement);
        EXPECT_EQ(state.Slots(row.side).ForKind(row.kind), row.slots);
        EXPECT_EQ(WritePlacement(state.CurrentBoard()), row.placement);
    }
}

TEST(SetupFromBoard, UsesSetupBoardWhenNoFen) {
    ChessState state;
    state.SetupBoard() = ReadPlacement("4k3/8/8/8/8/8/8/4K2R");
    state.SetSetupActive(true);
    state.SetStartPosition();
    EXPECT_EQ(WritePlacement(state.CurrentBoard()), "4k3/8/8/8/8/8/8/4K2R");
    EXPECT_TRUE(state.Slots(Side::White).king.Is(5, 1));
}

TEST(ParseFenPlacement, ReadsThePlacementField) {
    struct Row {
        const char* name;
        std::string line;
        std::string_view placement;
        std::string line_after;
    };
    const Row rows[] = {
        {"full fen", "[FEN \"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1\"]", "r3k2r/8/8/8/8/8/8/R3K2R",
         "[FEN \"R3K2R/8/8/8/8/8/8/R3K2R w KQkq - 0 1\"]"},
        {"x and z are pawns", "[FEN \"xz6/8/8/8/8/8/8/XZ6 w - - 0 1\"]", "pp6/8/8/8/8/8/8/PP6",
         "[FEN \"XZ6/8/8/8/8/8/8/XZ6 w - - 0 1\"]"},
        {"placement only", "[FEN \"8/8/8/8/8/8/8/K6k\"]", "8/8/8/8/8/8/8/K6k",
         "[FEN \"8/8/8/8/8/8/8/K6K\"]"},
        {"overlong rank loses extra squares", "[FEN \"RNBQKBNRRRR/8/8/8/8/8/8/7k w\"]",
         "RNBQKBNR/8/8/8/8/8/8/7k", "[FEN \"RNBQKBNRRRR/8/8/8/8/8/8/7K w\"]"},
        {"digit overrunning the rank", "[FEN \"7R8Q/8/8/8/8/8/8/7k w\"]", "7R/8/8/8/8/8/8/7k",
         "[FEN \"7R8Q/8/8/8/8/8/8/7K w\"]"},
        {"a nine counts as a piece", "[FEN \"99/8/8/8/8/8/8/7k w\"]", "PP6/8/8/8/8/8/8/7k",
         "[FEN \"99/8/8/8/8/8/8/7K w\"]"},
        {"too many ranks", "[FEN \"8/8/8/8/8/8/8/8/8/8/QQ w\"]", "8/8/8/8/8/8/8/8",
         "[FEN \"8/8/8/8/8/8/8/8/8/8/QQ w\"]"},
        {"no quote", "[FEN 8/8]", "8/8/8/8/8/8/8/8", "[FEN 8/8]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        state.FenStartBoard()[3][3] = Queen;  // cleared first
        std::string line = row.line;
        state.ParseFenPlacement(line);
        EXPECT_EQ(WritePlacement(state.FenStartBoard()), row.placement);
        EXPECT_EQ(line, row.line_after);
        // Row and column 0 are never written.
        for (int i = 0; i <= 8; ++i) {
            EXPECT_EQ(state.FenStartBoard()[0][i], Empty);
            EXPECT_EQ(state.FenStartBoard()[i][0], Empty);
        }
    }
}

TEST(ReadFenTagExtras, SetsFenFlagAndMoveNumber) {
    struct Row {
        const char* name;
        std::string_view line;
        bool starts_from_fen;
        std::uint32_t start_move_number;
    };
    const Row rows[] = {
        {"standard start", "[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\"]",
         false, 0},
        {"same first 56 characters",
         "[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1x\"]", false, 0},
        {"move 37", "[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 37\"]", true, 37},
        {"move 1", "[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 1\"]", true, 0},
        {"no number", "[FEN \"4k3/8/8/8/8/8/8/4K3 w - -\"]", true, 0},
        {"placement only", "[FEN \"4k3/8/8/8/8/8/8/4K3\"]", true, 0},
        {"no tag", "", false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        state.SetStartMoveNumber(99);
        state.ReadFenTagExtras(row.line);
        EXPECT_EQ(state.StartsFromFen(), row.starts_from_fen);
        if (row.starts_from_fen) {
            EXPECT_EQ(state.StartMoveNumber(), row.start_move_number);
        }
    }
}

TEST(DisplayMoveNumber, CountsFromTheFenMoveNumber) {
    ChessState state;
    state.ReadFenTagExtras("[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 37\"]");
    EXPECT_EQ(state.DisplayMoveNumber(0), 37u);
    EXPECT_EQ(state.DisplayMoveNumber(2), 39u);
    state.ReadFenTagExtras("");
    EXPECT_EQ(state.DisplayMoveNumber(2), 3u);
}

TEST(WriteFenTag, WritesSideAndMoveNumber) {
    struct Row {
        const char* name;
        const char* first_white;
        int full_moves;
        std::string_view result;
        std::uint32_t start_move_number;
        std::string_view line;
    };
    const Row rows[] = {
        {"white first", "Kf2", 1, "*", 0, "[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\r\n"},
        {"black first", "...", 1, "*", 12, "[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 12\"]\r\n"},
        {"no moves, black won", "", 0, "0-1", 0, "[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 1\"]\r\n"},
        {"no moves, white won", "", 0, "1-0", 5, "[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 5\"]\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainLineMoves moves;
        moves.WhiteMoves[0] = MoveText(row.first_white);
        EXPECT_EQ(WriteFenTag(ReadPlacement("4k3/8/8/8/8/8/8/4K3"), moves, row.full_moves,
                              row.result, row.start_move_number),
                  row.line);
    }
}

TEST(ClipboardFenText, AsksForTheSideToMove) {
    for (bool white : {true, false}) {
        qorvale::test::RecordingUi ui;
        ui.answers.push_back(white);
        EXPECT_EQ(ClipboardFenText(StartBoard(), ui), std::string(Start) + (white ? "+w" : "+b"));
        EXPECT_EQ(ui.questions, std::vector<std::string>{"Is white to move first?"});
    }
}

TEST(RestorePosition, CopiesTheBoardOnly) {
    ChessState state;
    state.SetStartPosition();
    ASSERT_EQ(MakeMoves(state, "g1f3 g8f6 f3g5"), 3);
    const SideSlots slots = state.Slots(Side::White);
    const Board after = state.CurrentBoard();
    state.RestorePosition(1);
    EXPECT_EQ(WritePlacement(state.CurrentBoard()),
              "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R");
    EXPECT_EQ(state.Slots(Side::White), slots);
    state.RestorePosition(3);
    EXPECT_EQ(state.CurrentBoard(), after);
    state.RestorePosition(401);  // out of range: ignored
    EXPECT_EQ(state.CurrentBoard(), after);
}

TEST(SaveChessState, RestoresEverythingMovePlayChanges) {
    ChessState state;
    state.SetStartPosition();
    MainLineMoves moves;
    moves.WhiteMoves[0] = MoveText("e4");
    ASSERT_EQ(MakeMoves(state, "e2e4 d7d5"), 2);
    const SavedChessState saved = state.SaveChessState(moves);
    const Board board = state.CurrentBoard();
    ASSERT_EQ(MakeMoves(state, "e4d5 d8d5 e1e2", 3), 3);
    moves.WhiteMoves[0] = MoveText("d4");
    state.RestoreChessState(saved, moves);
    EXPECT_EQ(state.CurrentBoard(), board);
    EXPECT_EQ(state.Castling().WhiteKingMoved, 0u);
    EXPECT_TRUE(state.Slots(Side::Black).queen[0].Is(4, 8));
    EXPECT_EQ(moves.WhiteMoves[0].view(), "e4");
    // The en-passant chance of the restored position is back as well.
    EXPECT_EQ(MakeMoves(state, "e4e5 f7f5 e5f6", 3), 3);
}

TEST(LastMoveCoordinates, FindsFromAndToSquares) {
    struct Row {
        const char* name;
        std::string_view placement;
        const char* moves;  // the last one is examined
        std::string_view coordinates;
    };
    const Row rows[] = {
        {"plain move", Start, "g1f3", "g1f3"},
        {"capture", "4k3/8/8/3p4/4P3/8/8/4K3", "e4d5", "e4d5"},
        {"short castling", "4k3/8/8/8/8/8/8/4K2R", "e1g1", "e1g1"},
        {"long castling", "4k3/8/8/8/8/8/8/R3K3", "e1c1", "e1c1"},
        {"promotion", "4k3/P7/8/8/8/8/8/4K3", "a7a8", "a7a8q"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        StartFrom(state, row.placement, "KQ");
        ASSERT_EQ(MakeMoves(state, row.moves), 1);
        auto last = state.LastMoveCoordinates(1, state.MadeMoveText());
        EXPECT_EQ(last.coordinates.view(), row.coordinates);
    }
    // En passant: three squares change.
    ChessState state;
    StartFrom(state, "4k3/3p4/8/4P3/8/8/8/4K3");
    ASSERT_EQ(MakeMoves(state, "d7d5 e5d6", 2), 2);
    auto last = state.LastMoveCoordinates(3, state.MadeMoveText());
    EXPECT_EQ(last.coordinates.view(), "e5d6");
}

}  // namespace
}  // namespace qorvale::chess::test
