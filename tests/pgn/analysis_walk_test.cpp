#include "pgn/analysis_walk.h"

#include <gtest/gtest.h>

#include <string>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "pgn/game_lines.h"
#include "support/recording_ui.h"

namespace qorvale::pgn {
namespace {

// Loads `movetext`, replays it as the window does and starts a walk after `half_move`.
struct Walk {
    GameLines lines;
    chess::ChessState chess;
    AnalysisWalk walk;
    test::RecordingUi ui;

    Walk(const char* movetext, int half_move) {
        lines.ParseMovetextText(movetext);
        chess.ReplayToHalfMove(lines.Moves(), lines.FullMoves());
        chess.RestorePosition(half_move);
        walk.Start(lines, half_move);
    }
    std::string Placement() const { return chess::WritePlacement(chess.CurrentBoard()); }
};

TEST(AnalysisWalk, PlaysVariationsAndReturnsToTheLineTheyLeft) {
    // Placements from pgn-extract -Wepd of the same lines.
    const char* after_f4 = "rnbqkbnr/pppp1ppp/8/4p3/4PP2/8/PPPP2PP/RNBQKBNR";
    const char* after_exf4 = "rnbqkbnr/pppp1ppp/8/8/4Pp2/8/PPPP2PP/RNBQKBNR";
    const char* after_d5 = "rnbqkbnr/ppp2ppp/8/3pp3/4PP2/8/PPPP2PP/RNBQKBNR";
    const char* after_bc4 = "rnbqkbnr/pppp1ppp/8/8/2B1Pp2/8/PPPP2PP/RNBQK1NR";
    struct Expect {
        AnalysisWalk::Step step;
        int half_move;
        const char* move;
        const char* placement;
    };
    const Expect steps[] = {
        {AnalysisWalk::Step::Played, 3, "f4", after_f4},
        {AnalysisWalk::Step::Played, 4, "exf4", after_exf4},
        {AnalysisWalk::Step::Played, 4, "d5", after_d5},
        {AnalysisWalk::Step::Played, 4, "exf4", after_exf4},
        {AnalysisWalk::Step::Played, 5, "Bc4", after_bc4},
        {AnalysisWalk::Step::End, 0, "", nullptr},
        {AnalysisWalk::Step::End, 0, "", nullptr},
    };
    Walk walk("1. e4 e5 2. Nf3 {Or} (2. f4 exf4 $1 (2... d5) 3. Bc4) Nc6 *", 3);
    int index = 0;
    for (const Expect& expect : steps) {
        SCOPED_TRACE(index++);
        ASSERT_EQ(walk.walk.StepAnalysis(walk.lines, walk.chess, walk.ui), expect.step);
        if (expect.step != AnalysisWalk::Step::Played) continue;
        EXPECT_EQ(walk.walk.HalfMove(), expect.half_move);
        EXPECT_EQ(walk.walk.LastMove().view(), expect.move);
        EXPECT_EQ(walk.Placement(), expect.placement);
    }
    ASSERT_EQ(walk.ui.reports.size(), 2u);
    EXPECT_EQ(walk.ui.reports[0], "End of the analysis.");
    EXPECT_EQ(walk.ui.reports[1], "End of the analysis.");
    // The game's own history is back after the walk.
    walk.chess.RestorePosition(3);
    EXPECT_EQ(walk.Placement(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R");
}

TEST(AnalysisWalk, RefusesAVariationNumberedAfterThePosition) {
    struct Row {
        const char* name;
        const char* movetext;
        int start;
        AnalysisWalk::Step first;
        const char* message;
    };
    const Row rows[] = {
        {"number too far ahead", "1. e4 e5 2. Nf3 (5. d4 d5) *", 3,
         AnalysisWalk::Step::InvalidMoveNumber, "Invalid move number after right paren."},
        {"no number", "1. e4 e5 (Nf6) *", 2, AnalysisWalk::Step::InvalidMoveNumber,
         "Invalid move number after right paren."},
        {"black move one ahead is fine", "1. e4 (1... c5) e5", 1, AnalysisWalk::Step::Played,
         nullptr},
        {"nothing follows the move", "1. e4 e5 2. Nf3 *", 2, AnalysisWalk::Step::End,
         "End of the analysis."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Walk walk(row.movetext, row.start);
        EXPECT_EQ(walk.walk.StepAnalysis(walk.lines, walk.chess, walk.ui), row.first);
        if (row.message == nullptr) {
            EXPECT_TRUE(walk.ui.reports.empty());
        } else {
            ASSERT_EQ(walk.ui.reports.size(), 1u);
            EXPECT_EQ(walk.ui.reports[0], row.message);
        }
    }
}

TEST(AnalysisWalk, StepsOverVariationsNestedBeyondTheBound) {
    const int nesting = AnalysisWalk::MaxDepth + 8;
    std::string movetext = "1. e4 ";
    for (int depth = 0; depth < nesting; ++depth) movetext += depth % 2 ? "(1. c4 " : "(1. d4 ";
    movetext += std::string(static_cast<std::size_t>(nesting), ')') + " e5 *";
    Walk walk(movetext.c_str(), 1);
    int played = 0;
    int deepest = 0;
    for (int step = 0; step < 1000; ++step) {
        AnalysisWalk::Step result = walk.walk.StepAnalysis(walk.lines, walk.chess, walk.ui);
        if (result != AnalysisWalk::Step::Played) break;
        ++played;
        deepest = std::max(deepest, walk.walk.Depth());
    }
    EXPECT_EQ(deepest, AnalysisWalk::MaxDepth);
    // One move per walked variation, and the replaced move again as each inner one closes.
    EXPECT_EQ(played, 2 * AnalysisWalk::MaxDepth - 1);
    EXPECT_EQ(walk.ui.reports.back(), "End of the analysis.");
}

}  // namespace
}  // namespace qorvale::pgn
