#include <gtest/gtest.h>

#include <random>

#include "chess/messages.h"
#include "chess_test_support.h"
#include "support/recording_ui.h"

namespace qorvale::chess::test {
namespace {

constexpr std::string_view Start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

// Every accepted written form, played by the text road from a position: the text as stored
// afterwards and the placement it leads to.
TEST(ApplyMoveText, AcceptsEveryWrittenForm) {
    struct Row {
        const char* name;
        std::string_view placement;
        Side side;
        const char* text;
        const char* stored;
        std::string_view after;
    };
    constexpr std::string_view AfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
    constexpr std::string_view Exchange = "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR";
    constexpr std::string_view AfterExd5 = "rnbqkbnr/ppp1pppp/8/3P4/8/8/PPPP1PPP/RNBQKBNR";
    constexpr std::string_view AfterNf3 = "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R";
    constexpr std::string_view Castles = "r3k2r/8/8/8/8/8/8/R3K2R";
    const Row rows[] = {
        {"coordinates", Start, Side::White, "e2e4", "e4", AfterE4},
        {"hyphenated pawn", Start, Side::White, "e2-e4", "e4", AfterE4},
        {"capture without x", Exchange, Side::White, "ed5", "exd5", AfterExd5},
        {"capture in coordinates", Exchange, Side::White, "e4d5", "exd5", AfterExd5},
        {"coordinates with x", Exchange, Side::White, "e4xd5", "exd5", AfterExd5},
        {"hyphenated capture", Exchange, Side::White, "e4-d5", "exd5", AfterExd5},
        {"piece coordinates", Start, Side::White, "g1f3", "Ng1f3", AfterNf3},
        {"piece by square", Start, Side::White, "Ng1f3", "Ng1f3", AfterNf3},
        {"check mark kept", Start, Side::White, "Nf3+!", "Nf3+!", AfterNf3},
        {"black pawn", AfterE4, Side::Black, "e7e5", "e5",
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR"},
        {"castling zeros", Castles, Side::White, "0-0", "O-O", "r3k2r/8/8/8/8/8/8/R4RK1"},
        {"castling lower case long", Castles, Side::White, "o-o-o", "O-O-O",
         "r3k2r/8/8/8/8/8/8/2KR3R"},
        {"black castling", Castles, Side::Black, "O-O-O+", "O-O-O+", "2kr3r/8/8/8/8/8/8/R3K2R"},
        {"king from-square dropped", "4k3/8/8/8/8/8/8/4K3", Side::White, "Ke1f2", "Kf2",
         "4k3/8/8/8/8/8/5K2/8"},
        {"king capture gets x", "4k3/8/8/8/8/8/5p2/4K3", Side::White, "Kf2", "Kxf2",
         "4k3/8/8/8/8/8/5K2/8"},
        {"piece capture gets x", "4k3/8/8/4p3/8/5N2/8/4K3", Side::White, "Ne5", "Nxe5",
         "4k3/8/8/4N3/8/8/8/4K3"},
        {"x inserted into square form", "4k3/8/8/4p3/8/5N2/8/4K3", Side::White, "Nf3e5", "Nf3xe5",
         "4k3/8/8/4N3/8/8/8/4K3"},
        {"promotion", "4k3/P7/8/8/8/8/8/4K3", Side::White, "a8=Q", "a8=Q", "Q3k3/8/8/8/8/8/8/4K3"},
        {"promotion without =", "4k3/P7/8/8/8/8/8/4K3", Side::White, "a8N", "a8N",
         "N3k3/8/8/8/8/8/8/4K3"},
        {"promotion in coordinates", "4k3/4P3/8/8/8/8/8/K7", Side::White, "e7e8q", "e8=Q",
         "4Q3/8/8/8/8/8/8/K7"},
        {"capture promotion in coordinates", "3rk3/4P3/8/8/8/8/8/K7", Side::White, "e7d8r",
         "exd8=R", "3Rk3/8/8/8/8/8/8/K7"},
        {"black under-promotion", "4k3/8/8/8/8/8/p7/4K3", Side::Black, "a2a1b", "a1=B",
         "4k3/8/8/8/8/8/8/b3K3"},
        {"null move", Start, Side::White, "Z0", "Z0", Start},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        StartFrom(state, row.placement, "KQkq");
        MoveText text(row.text);
        state.ApplyMoveText(text, FromHint{}, row.side);
        EXPECT_EQ(text.view(), row.stored);
        EXPECT_EQ(WritePlacement(state.CurrentBoard()), row.after);
    }
}

TEST(MoveText, LongTokensAreCutToSevenCharacters) {
    EXPECT_EQ(MoveText("Nbxd7+!?").view(), "Nbxd7+!");
    EXPECT_EQ(MoveText("exd8=Q+!!").view(), "exd8=Q+");
}

// Which of several pieces of one kind a text moves, by slot order, disambiguation and pins: the
// cases the corpus replay meets seldom or never.
TEST(ApplyMoveText, FindsTheMovingPiece) {
    struct Row {
        const char* name;
        std::string_view placement;
        Side side;
        const char* text;
        std::string_view after;
    };
    const Row rows[] = {
        {"both reach, first pinned: second moves", "4k3/8/8/b7/8/2N1N3/8/4K3", Side::White, "Nd5",
         "4k3/8/8/b2N4/8/2N5/8/4K3"},
        {"both reach, none pinned: first moves", "4k3/8/8/8/8/2N1N3/8/4K3", Side::White, "Nd5",
         "4k3/8/8/3N4/8/4N3/8/4K3"},
        {"queen on the diagonal, other blocked on file", "4k3/8/8/8/8/8/3P4/Q2QK3", Side::White,
         "Qd4", "4k3/8/8/8/3Q4/8/3P4/3QK3"},
        {"three knights by rank", "4k3/8/8/2N5/8/2N3N1/8/4K3", Side::White, "N5e4",
         "4k3/8/8/8/4N3/2N3N1/8/4K3"},
        {"three knights by square", "4k3/8/8/2N5/8/2N3N1/8/4K3", Side::White, "Ng3e4",
         "4k3/8/8/2N5/4N3/2N5/8/4K3"},
        {"three knights by file", "4k3/8/8/2N5/8/2N3N1/8/4K3", Side::White, "Nge4",
         "4k3/8/8/2N5/4N3/2N5/8/4K3"},
        {"three knights, only one reaches", "4k3/8/8/2N5/8/2N3N1/8/4K3", Side::White, "Nh5",
         "4k3/8/8/2N4N/8/2N5/8/4K3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChessState state;
        StartFrom(state, row.placement);
        MoveText text(row.text);
        state.ApplyMoveText(text, FromHint{}, row.side);
        EXPECT_EQ(WritePlacement(state.CurrentBoard()), row.after);
    }
}

TEST(ApplyMoveText, HintNamesTheMover) {
    ChessState state;
    StartFrom(state, "4k3/8/8/8/8/5N2/8/1N2K3");
    MoveText text("Nd2");
    FromHint hint;
    hint.Set(6, 3);
    state.ApplyMoveText(text, hint, Side::White);
    EXPECT_EQ(WritePlacement(state.CurrentBoard()), "4k3/8/8/8/8/8/3N4/1N2K3");
}

TEST(ApplyMoveText, EnPassantByTextRemovesThePawnBehind) {
    ChessState state;
    StartFrom(state, "4k3/8/8/3pP3/8/8/8/4K3");
    PlayTexts(state, "exd6");
    EXPECT_EQ(WritePlacement(state.CurrentBoard()), "4k3/8/3P4/8/8/8/8/4K3");
}

TEST(ApplyMoveText, CapturedPiecesLeaveTheirSlots) {
    ChessState state;
    state.SetStartPosition();
    PlayTexts(state, "e4 d5 exd5 Qxd5 Nc3 Qa5 Nb5 Nf6 Nxc7+");
    const SideSlots& white = state.Slots(Side::White);
    EXPECT_TRUE(white.knight[0].Is(3, 7));
    EXPECT_TRUE(white.knight[1].Is(7, 1));
    EXPECT_TRUE(state.Slots(Side::Black).queen[0].Is(1, 5));
    // The black knight on f6 and the queen's slot survive; c7 had a pawn (no slot).
    EXPECT_TRUE(state.Slots(Side::Black).knight[1].Is(6, 6));
    PlayTexts(state, "Qxa2", Side::Black);
    PlayTexts(state, "Nxa8", Side::White);
    EXPECT_TRUE(state.Slots(Side::Black).rook[0].empty());
    EXPECT_TRUE(state.Slots(Side::Black).rook[1].Is(8, 8));
}

// A promotion that finds no free slot: the piece stands untracked and the warning is shown once
// per game and kind, never while parsing quietly.
TEST(ApplyMoveText, PromotionOverflowWarnsOncePerGameAndKind) {
    struct Row {
        const char* name;
        std::string_view placement;
        const char* text;
        bool quiet;
        int located;
        std::uint32_t overflow;
        std::vector<std::string_view> messages;
    };
    const Row rows[] = {
        {"fourth queen",
         "4k3/P7/8/8/8/8/8/QQQ1K3",
         "a8=Q",
         false,
         -5,
         Queen,
         {messages::OnlyThreeQueens}},
        {"fourth rook",
         "4k3/P7/8/8/8/8/8/RRR1K3",
         "a8=R",
         false,
         -4,
         Rook,
         {messages::OnlyThreeRooks, messages::TryingQueenInstead}},
        {"fourth bishop",
         "4k3/P7/8/8/8/8/8/BBB1K3",
         "a8=B",
         false,
         -3,
         Bishop,
         {messages::OnlyThreeBishops, messages::TryingQueenInstead}},
        {"fourth knight",
         "4k3/P7/8/8/8/8/8/NNN1K3",
         "a8=N",
         false,
         -2,
         Knight,
         {messages::OnlyThreeKnights}},
        {"quiet parse", "4k3/P7/8/8/8/8/8/QQQ1K3", "a8=Q", true, -5, 0, {}},
        {"third queen fits", "4k3/P7/8/8/8/8/8/QQ2K3", "a8=Q", false, 0, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qorvale::test::RecordingUi ui;
        ChessState state(&ui);
        state.SetCurrentGameNumber(7);
        state.SetQuietParse(row.quiet);
        StartFrom(state, row.placement);
        const std::uint32_t promoted = ReadPlacement(row.placement)[1][1];
        MoveText text(row.text);
        EXPECT_EQ(state.LocateMoveText(text, FromHint{}, Side::White), row.located);
        state.ApplyMoveText(text, FromHint{}, Side::White);
        EXPECT_EQ(state.CurrentBoard()[1][8], promoted);
        EXPECT_EQ(state.PromotionOverflow(Side::White), row.overflow);
        EXPECT_EQ(ui.reports, std::vector<std::string>(row.messages.begin(), row.messages.end()));
        // The same kind again in the same game: no second warning; another game warns again.
        StartFrom(state, row.placement);
        text = MoveText(row.text);
        state.ApplyMoveText(text, FromHint{}, Side::White);
        EXPECT_EQ(ui.reports.size(), row.messages.size());
        state.SetCurrentGameNumber(8);
        StartFrom(state, row.placement);
        text = MoveText(row.text);
        state.ApplyMoveText(text, FromHint{}, Side::White);
        EXPECT_EQ(ui.reports.size(), 2 * row.messages.size());
    }
}

TEST(ApplyMoveText, MalformedTextsChangeNothing) {
    for (const char* text : {"", "*", "--", "Xe4", "Nz9", "N", "e9", "i4", "Kxx", "Qa", "...", "O",
                             "e", "Nbcd4e5", "P@e4"}) {
        SCOPED_TRACE(text);
        ChessState state;
        state.SetStartPosition();
        MoveText move(text);
        state.ApplyMoveText(move, FromHint{}, Side::White);
        EXPECT_EQ(WritePlacement(state.CurrentBoard()), Start);
        EXPECT_EQ(state.LocateMoveText(move, FromHint{}, Side::White), 1);
    }
}

// Arbitrary texts of move-like characters never write outside the board or leave a code that is
// not a piece, whatever position they meet.
TEST(ApplyMoveText, SurvivesArbitraryTexts) {
    constexpr unsigned Seed = 20261205;
    std::mt19937 random(Seed);
    constexpr std::string_view Alphabet = "abcdefgh12345678NBRQKOo0x-=+#Z.";
    ChessState state;
    for (int game = 0; game < 200; ++game) {
        SCOPED_TRACE("seed " + std::to_string(Seed) + " game " + std::to_string(game));
        state.SetStartPosition();
        for (int half_move = 1; half_move <= 120; ++half_move) {
            std::string word;
            const int length = 1 + static_cast<int>(random() % 9);
            for (int i = 0; i < length; ++i) word += Alphabet[random() % Alphabet.size()];
            MoveText text(word);
            const Side side = half_move % 2 == 1 ? Side::White : Side::Black;
            state.LocateMoveText(text, FromHint{}, side);
            state.ApplyMoveText(text, FromHint{}, side);
            state.SnapshotPosition(half_move);
            state.HasLegalMove(half_move, Opponent(side));
        }
        const Board& board = state.CurrentBoard();
        for (int i = 0; i <= 8; ++i) {
            ASSERT_EQ(board[0][i], Empty);
            ASSERT_EQ(board[i][0], Empty);
        }
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) ASSERT_LE(KindOf(board[file][rank]), King);
        }
    }
}

}  // namespace
}  // namespace qorvale::chess::test
