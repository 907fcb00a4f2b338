#include "search/move_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/pgn_file.h"
#include "search/board_text.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using test::Board64FromPlacement;
using test::StartPlacement;

TEST(MoveCode, EncodesFromTheBoardsBeforeAndAfter) {
    struct Row {
        const char* name;
        const char* before;
        const char* after;
        int half_move;
        MoveCodeVariant variant;
        MoveCode expected;
    };
    const Row rows[] = {
        {"d2-d4 is the no-moves code", StartPlacement.data(),
         "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR", 1, MoveCodeVariant::FastFile, 0x1B19},
        {"black knight", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR",
         "r1bqkbnr/pppppppp/2n5/8/4P3/8/PPPP1PPP/RNBQKBNR", 2, MoveCodeVariant::FastFile, 0x150F},
        {"white castles short", "4k3/8/8/8/8/8/8/4K2R", "4k3/8/8/8/8/8/8/5RK1", 1,
         MoveCodeVariant::FastFile, 0x3020},
        {"white castles long", "4k3/8/8/8/8/8/8/R3K3", "4k3/8/8/8/8/8/8/2KR4", 3,
         MoveCodeVariant::FastFile, 0x1020},
        {"black castles short", "4k2r/8/8/8/8/8/8/4K3", "5rk1/8/8/8/8/8/8/4K3", 2,
         MoveCodeVariant::FastFile, 0x3727},
        {"black castles long", "r3k3/8/8/8/8/8/8/4K3", "2kr4/8/8/8/8/8/8/4K3", 4,
         MoveCodeVariant::FastFile, 0x1727},
        {"king steps off e1", "4k3/8/8/8/8/8/8/4K3", "4k3/8/8/8/8/8/8/5K2", 1,
         MoveCodeVariant::FastFile, 0x2820},
        {"capture", "4k3/8/8/3p4/4P3/8/8/4K3", "4k3/8/8/3P4/8/8/8/4K3", 1,
         MoveCodeVariant::FastFile, 0x1C23},
        {"en passant ignores the taken pawn", "4k3/8/8/3pP3/8/8/8/4K3", "4k3/8/3P4/8/8/8/8/4K3", 1,
         MoveCodeVariant::FastFile, 0x1D24},
        {"knight under-promotion", "4k3/1P6/8/8/8/8/8/4K3", "1N2k3/8/8/8/8/8/8/4K3", 1,
         MoveCodeVariant::FastFile, 0x0F4E},
        {"black rook promotion taking", "4k3/8/8/8/8/8/6p1/4K2N", "4k3/8/8/8/8/8/8/4K2r", 2,
         MoveCodeVariant::FastFile, 0x38F1},
        {"bishop promotion", "4k3/8/8/8/8/8/6p1/4K3", "4k3/8/8/8/8/8/8/4K1b1", 2,
         MoveCodeVariant::FastFile, 0x30B1},
        {"queen promotion sets nothing", "4k3/1P6/8/8/8/8/8/4K3", "1Q2k3/8/8/8/8/8/8/4K3", 1,
         MoveCodeVariant::FastFile, 0x0F0E},
        {"engine marks the queen", "4k3/1P6/8/8/8/8/8/4K3", "1Q2k3/8/8/8/8/8/8/4K3", 1,
         MoveCodeVariant::Engine, 0x4F0E},
        {"engine knight as usual", "4k3/1P6/8/8/8/8/8/4K3", "1N2k3/8/8/8/8/8/8/4K3", 1,
         MoveCodeVariant::Engine, 0x0F4E},
        {"nothing moved", StartPlacement.data(), StartPlacement.data(), 1,
         MoveCodeVariant::FastFile, UnknownMoveCode},
        {"wrong side to move", StartPlacement.data(),
         "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR", 2, MoveCodeVariant::FastFile,
         UnknownMoveCode},
        {"a1 to a1 is unknown", "4k3/8/8/8/8/8/8/R3K3", "4k3/8/8/8/8/8/8/R3K3", 1,
         MoveCodeVariant::FastFile, UnknownMoveCode},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MoveCode code = EncodeMoveCode(Board64FromPlacement(row.before),
                                       Board64FromPlacement(row.after), row.half_move, row.variant);
        EXPECT_EQ(code, row.expected) << std::hex << code;
    }
}

TEST(MoveCode, ReplayRebuildsEveryPositionAndEncodesBack) {
    struct Row {
        const char* name;
        std::vector<MoveCode> codes;
        const char* final_position;
    };
    const Row rows[] = {
        {"white en passant and knight promotion taking a rook",
         {0x2321, 0x1C1E, 0x2423, 0x2C2E, 0x2D24, 0x150F, 0x362D, 0x0506, 0x3F76},
         "r1bqkbnN/1pp1p2p/p1n5/3p4/8/8/PPPP1PPP/RNBQKBNR"},
        {"both sides castle",
         {0x2321, 0x2426, 0x2A30, 0x150F, 0x1328, 0x1D1E, 0x3020, 0x2517, 0x1A19, 0x1E1F, 0x3410,
          0x1727},
         "2kr1bnr/pppq1ppp/2npb3/4p1B1/2B1P3/3P1N2/PPP2PPP/RN1Q1RK1"},
        {"black en passant and bishop promotion",
         {0x0201, 0x1C1E, 0x0302, 0x1B1C, 0x2321, 0x221B, 0x0403, 0x2922, 0x2120, 0x30A9},
         "rnbqkbnr/ppp1pppp/8/P7/8/8/1PPPK1PP/RNBQ1BbR"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<chess::Board64> positions;
        ReplayMoveCodes(row.codes, positions);
        ASSERT_EQ(positions.size(), row.codes.size() + 1);
        EXPECT_EQ(positions.front(), Board64FromPlacement(StartPlacement));
        EXPECT_EQ(positions.back(), Board64FromPlacement(row.final_position));
        for (std::size_t n = 1; n < positions.size(); ++n) {
            SCOPED_TRACE(n);
            EXPECT_EQ(EncodeMoveCode(positions[n - 1], positions[n], static_cast<int>(n)),
                      row.codes[n - 1]);
        }
    }
}

TEST(MoveCode, ReplaySurvivesUnknownAndGarbageCodes) {
    std::vector<MoveCode> codes = {0x2321, UnknownMoveCode, 0x7FFF, 0x4040, 0x0101};
    std::vector<chess::Board64> positions;
    ReplayMoveCodes(codes, positions);
    ASSERT_EQ(positions.size(), codes.size() + 1);
    // The unknown half-move leaves the board as it was.
    EXPECT_EQ(positions[2], positions[1]);
    EXPECT_EQ(positions[5], positions[4]);
}

TEST(MoveCode, ResultsFromTagsAndWords) {
    struct Row {
        const char* tag;
        ResultWord word;
    };
    const Row rows[] = {
        {"1-0", 0x8002}, {"0-1", 0x8000}, {"1/2-1/2", 0x8001},
        {"*", 0x8001},   {"", 0x8001},    {"1", 0x8001},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tag);
        EXPECT_EQ(MakeResultWord(ResultFromTag(row.tag)), row.word);
        EXPECT_EQ(ResultFromTagLine(std::string("[Result \"") + row.tag + "\"]"),
                  ResultFromTag(row.tag));
        EXPECT_TRUE(IsResultWord(row.word));
    }
    struct WordRow {
        ResultWord word;
        int result;
    };
    const WordRow words[] = {{0x8002, WhiteWon},
                             {0x8000, BlackWon},
                             {0x8001, OtherResult},
                             {0x8003, OtherResult},
                             {0xFFFF, OtherResult}};
    for (const WordRow& row : words) {
        SCOPED_TRACE(row.word);
        EXPECT_EQ(ResultOf(row.word), row.result);
    }
}

TEST(MoveCode, PrintsSquaresAndPromotionLetters) {
    struct Row {
        MoveCode code;
        const char* before;
        const char* text;
    };
    const Row rows[] = {
        {0x2321, StartPlacement.data(), "e2e4"},
        {0x0F4E, "4k3/1P6/8/8/8/8/8/4K3", "b7b8n"},
        {0x0F0E, "4k3/1P6/8/8/8/8/8/4K3", "b7b8q"},
        {0x0F0E, "4k3/1R6/8/8/8/8/8/4K3", "b7b8"},
        {0x38F1, "4k3/8/8/8/8/8/6p1/4K2N", "g2h1r"},
        {0x3727, "4k2r/8/8/8/8/8/8/4K3", "e8g8"},
        {UnknownMoveCode, StartPlacement.data(), "????"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(MoveCodeText(row.code, Board64FromPlacement(row.before)), row.text);
    }
}

// EncodeMoveChange must name every half-move as the board comparison does, for legal moves
// from the games' own starts (FEN positions included) and for whatever the replay makes of text
// it cannot play: each game is replayed from its start and both encoders see each half-move.
TEST(MoveCode, ChangeEncoderAgreesWithTheBoardComparison) {
    const char* const files[] = {
        "chess/games.pgn",
        "lines/castling.pgn",
        "lines/black2move.pgn",
        "fast/odd/mate_in_2.pgn",
        "fast/odd/cutechess-fischerrandom.pgn",
        "fast/odd/knightvuillaume-jannlee-zh-lichess.pgn",
        "fast/odd/antichess-programfox.pgn",
        "fast/odd/test-promotion-in.pgn",
        "fast/odd/pychess-promotion.pgn",
    };
    int compared = 0;
    int special = 0;  // castling, en passant, promotion: not the two-square case
    for (const char* name : files) {
        SCOPED_TRACE(name);
        qorvale::test::TempDir dir;
        std::string path =
            dir.Write("games.pgn", qorvale::test::ReadWholeFile(qorvale::test::TestDataPath(name)));
        pgn::PgnFile file;
        qorvale::test::RecordingUi ui;
        ASSERT_TRUE(file.Open(path).ok());
        file.ScanGameFile(false, ui);
        pgn::HeaderTags header;
        pgn::GameLines lines;
        chess::ChessState chess;
        pgn::LoadOptions quiet;
        quiet.quiet = true;
        for (std::int32_t game = 1; game <= file.GameCount(); ++game) {
            SCOPED_TRACE("game " + std::to_string(game));
            ASSERT_TRUE(pgn::OpenGameForDisplay(file, game, header, lines, chess, ui, quiet).ok());
            chess::Board64 before = chess::ToBoard64(chess.CurrentBoard());
            chess.ReplayMainLine(lines.Moves(), lines.FullMoves(), [&](int half_move) {
                chess::Board64 after = chess::ToBoard64(chess.CurrentBoard());
                for (MoveCodeVariant variant :
                     {MoveCodeVariant::FastFile, MoveCodeVariant::Engine}) {
                    MoveCode expected = EncodeMoveCode(before, after, half_move, variant);
                    ASSERT_EQ(EncodeMoveChange(chess.LastChange(), chess.CurrentBoard(), half_move,
                                               variant),
                              expected)
                        << "half-move " << half_move;
                }
                if (chess.LastChange().count > 2) ++special;
                before = after;
                ++compared;
            });
        }
    }
    EXPECT_GT(compared, 100000);
    EXPECT_GT(special, 1000);
}

}  // namespace
}  // namespace qorvale::search
