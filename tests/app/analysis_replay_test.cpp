#include "app/analysis_replay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/session.h"
#include "chess/fen.h"
#include "pgn/analysis_lines.h"
#include "platform/file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

// A session over a one-game file made of `movetext`, standing at `ply`.
struct ReplaySession {
    test::TempDir folder;
    test::RecordingUi ui;
    Session session;

    ReplaySession(const std::string& movetext, int ply) {
        const std::string path =
            folder.Write("games.pgn", "[Event \"Test\"]\n[Result \"*\"]\n\n" + movetext + " *\n\n");
        EXPECT_FALSE(session.OpenFile(path, ui));
        EXPECT_FALSE(session.LoadGame(1, ui));
        session.GoToPly(ply);
    }
    std::string Placement() const { return chess::WritePlacement(session.CurrentBoard()); }
};

// Placements checked against pgn-extract -Wepd of the same lines.
constexpr const char* AfterNf3 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R";
constexpr const char* AfterF4 = "rnbqkbnr/pppp1ppp/8/4p3/4PP2/8/PPPP2PP/RNBQKBNR";
constexpr const char* AfterExf4 = "rnbqkbnr/pppp1ppp/8/8/4Pp2/8/PPPP2PP/RNBQKBNR";
constexpr const char* AfterD5 = "rnbqkbnr/ppp2ppp/8/3pp3/4PP2/8/PPPP2PP/RNBQKBNR";
constexpr const char* AfterBc4 = "rnbqkbnr/pppp1ppp/8/8/2B1Pp2/8/PPPP2PP/RNBQK1NR";
constexpr const char* Game = "1. e4 e5 2. Nf3 {Or} (2. f4 exf4 (2... d5) 3. Bc4) Nc6";

TEST(AnalysisReplayTest, NextPreviousAndEnd) {
    using Outcome = AnalysisReplay::Outcome;
    struct Row {
        const char* action;  // "next", "prev", "start"
        Outcome outcome;
        const char* placement;
        const char* move_text;  // the analysis move on the board; "" for the main line
        MoveSquares squares;
    };
    const std::vector<Row> rows = {
        {"prev", Outcome::Nothing, AfterNf3, "", {7, 1, 6, 3}},
        {"next", Outcome::Played, AfterF4, "2. f4", {6, 2, 6, 4}},
        {"next", Outcome::Played, AfterExf4, "2...exf4", {5, 5, 6, 4}},
        {"next", Outcome::Played, AfterD5, "2...d5", {4, 7, 4, 5}},
        {"prev", Outcome::Back, AfterExf4, "2...exf4", {5, 5, 6, 4}},
        {"next", Outcome::Played, AfterD5, "2...d5", {4, 7, 4, 5}},
        {"next", Outcome::Played, AfterExf4, "2...exf4", {5, 5, 6, 4}},
        {"next", Outcome::Played, AfterBc4, "3. Bc4", {6, 1, 3, 4}},
        {"next", Outcome::End, AfterNf3, "", {7, 1, 6, 3}},
        {"next", Outcome::End, AfterNf3, "", {7, 1, 6, 3}},
        // After the end, the last analysis position comes back.
        {"prev", Outcome::Back, AfterBc4, "3. Bc4", {6, 1, 3, 4}},
        {"prev", Outcome::Back, AfterExf4, "2...exf4", {5, 5, 6, 4}},
        {"start", Outcome::Nothing, AfterNf3, "", {7, 1, 6, 3}},
        {"next", Outcome::Played, AfterF4, "2. f4", {6, 2, 6, 4}},
        {"prev", Outcome::Back, AfterNf3, "", {7, 1, 6, 3}},
        {"prev", Outcome::Nothing, AfterNf3, "", {7, 1, 6, 3}},
    };
    ReplaySession replay(Game, 3);
    Session& session = replay.session;
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << index++ << " " << row.action);
        const std::string action = row.action;
        Outcome outcome = Outcome::Nothing;
        if (action == "next") {
            outcome = session.ReplayNext(replay.ui);
        } else if (action == "prev") {
            outcome = session.ReplayPrevious();
        } else {
            session.ReplayStart();
        }
        EXPECT_EQ(outcome, row.outcome);
        EXPECT_EQ(replay.Placement(), row.placement);
        const AnalysisReplay& walk = session.Replay();
        EXPECT_EQ(walk.OnBoard() ? AnalysisMoveText(walk.HalfMove(), walk.Move().view(), 0) : "",
                  row.move_text);
        const MoveSquares squares = session.LastMoveSquares();
        EXPECT_EQ((std::vector<int>{squares.from_file, squares.from_rank, squares.to_file,
                                    squares.to_rank}),
                  (std::vector<int>{row.squares.from_file, row.squares.from_rank,
                                    row.squares.to_file, row.squares.to_rank}));
        EXPECT_EQ(session.Navigation().currentPly, 3);
    }
    // The end was shown each time it was reached, and nothing else.
    EXPECT_EQ(replay.ui.reports,
              (std::vector<std::string>{"End of the analysis.", "End of the analysis."}));
}

TEST(AnalysisReplayTest, LeavingTheWalkShowsTheMainLineAgain) {
    struct Row {
        const char* name;
        int steps;  // analysis moves played before leaving
        const char* how;
        int ply;
        const char* placement;
    };
    const std::vector<Row> rows = {
        {"next move", 2, "next", 4, "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R"},
        {"previous move", 1, "previous", 2, "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR"},
        {"click on a move", 3, "click", 1, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR"},
        {"stop", 2, "stop", 3, AfterNf3},
        {"reload the game", 2, "reload", 0, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReplaySession replay(Game, 3);
        Session& session = replay.session;
        for (int step = 0; step < row.steps; ++step) {
            ASSERT_EQ(session.ReplayNext(replay.ui), AnalysisReplay::Outcome::Played);
        }
        const std::string how = row.how;
        if (how == "next") session.Go(NavigationAction::NextMove, replay.ui);
        if (how == "previous") session.Go(NavigationAction::PreviousMove, replay.ui);
        if (how == "click") session.GoToPly(1);
        if (how == "stop") session.ReplayStop();
        if (how == "reload") {
            ASSERT_FALSE(session.LoadGame(1, replay.ui));
        }
        EXPECT_FALSE(session.Replay().Started());
        EXPECT_EQ(session.Navigation().currentPly, row.ply);
        EXPECT_EQ(replay.Placement(), row.placement);
        // The positions of the main line are the game's again.
        session.GoToPly(3);
        EXPECT_EQ(replay.Placement(), AfterNf3);
        EXPECT_TRUE(replay.ui.reports.empty());
    }
}

// On real annotated games: the walk started at each listed line plays that line's own moves
// (nested lines aside), ends with the message, and leaves the board on the main line.
TEST(AnalysisReplayTest, WalksAgreeWithTheListedLinesOnRealGames) {
    test::RecordingUi ui;
    Session session;
    Session reference;
    test::TempDir folder;
    const std::string path = folder.CopyData("gui/annotated-matches.pgn", "annotated-matches.pgn");
    ASSERT_FALSE(session.OpenFile(path, ui));
    ASSERT_FALSE(reference.OpenFile(path, ui));
    int walked = 0;
    for (int game = 1; game <= session.GameCount(); ++game) {
        SCOPED_TRACE(testing::Message() << "game " << game);
        ASSERT_FALSE(session.LoadGame(game, ui));
        ASSERT_FALSE(reference.LoadGame(game, ui));
        for (int ply = 0; ply <= session.Navigation().lastPly; ++ply) {
            session.GoToPly(ply);
            reference.GoToPly(ply);
            const std::string main_line = chess::WritePlacement(reference.CurrentBoard());
            const auto lines = pgn::AnalysisLinesAfter(session.Lines(), ply);
            for (const pgn::AnalysisLine& line : lines) {
                SCOPED_TRACE(testing::Message() << "ply " << ply << " at " << line.text_offset);
                session.ReplayStart(line.text_offset);
                std::vector<std::string> played;
                int last_half_move = -1;
                ui.reports.clear();
                AnalysisReplay::Outcome outcome;
                while ((outcome = session.ReplayNext(ui)) == AnalysisReplay::Outcome::Played) {
                    const AnalysisReplay& walk = session.Replay();
                    // A nested line returns by playing again the move it replaced.
                    if (walk.Depth() == 1 && walk.HalfMove() > last_half_move) {
                        played.emplace_back(walk.Move().view());
                        last_half_move = walk.HalfMove();
                    }
                    ASSERT_LT(played.size(), 400u);
                }
                ASSERT_EQ(ui.reports.size(), 1u);
                if (ui.reports[0] != "End of the analysis.") continue;
                EXPECT_EQ(played, line.half_moves);
                EXPECT_EQ(chess::WritePlacement(session.CurrentBoard()), main_line);
                ++walked;
            }
        }
        session.ReplayStop();
    }
    EXPECT_GT(walked, 20);
}

TEST(AnalysisReplayTest, MoveTextNumbersAsTheGameText) {
    struct Row {
        int half_move;
        const char* move;
        std::uint32_t start;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {1, "e4", 0, "1. e4"},      {2, "c5", 0, "1...c5"}, {9, "O-O", 0, "5. O-O"},
        {4, "Kf8", 23, "24...Kf8"}, {0, "e4", 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(AnalysisMoveText(row.half_move, row.move, row.start), row.expected);
    }
}

}  // namespace
}  // namespace qorvale::app
