#include "app/session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/file_opener.h"
#include "chess/fen.h"
#include "platform/file.h"
#include "search/variation_search.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

std::string GameFile(const test::TempDir& folder, const std::vector<std::string>& movetexts) {
    std::string text;
    int round = 1;
    for (const std::string& movetext : movetexts) {
        text += "[Event \"Test\"]\n[Round \"" + std::to_string(round++) +
                "\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"*\"]\n\n" + movetext + " *\n\n";
    }
    return folder.Write("games.pgn", text);
}

TEST(SessionTest, LastMoveSquares) {
    struct Row {
        const char* name;
        std::string movetext;
        int ply;
        MoveSquares expected;
    };
    const std::vector<Row> rows = {
        {"pawn move", "1. e4 e5", 1, {5, 2, 5, 4}},
        {"black knight", "1. e4 Nf6", 2, {7, 8, 6, 6}},
        {"capture", "1. e4 d5 2. exd5", 3, {5, 4, 4, 5}},
        {"short castling marks the king", "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. O-O", 7, {5, 1, 7, 1}},
        {"long castling",
         "1. d4 d5 2. Nc3 Nc6 3. Bf4 Bf5 4. Qd2 Qd7 5. O-O-O O-O-O",
         10,
         {5, 8, 3, 8}},
        {"en passant", "1. e4 a6 2. e5 d5 3. exd6", 5, {5, 5, 4, 6}},
        {"promotion", "1. h4 g5 2. hxg5 h6 3. gxh6 Nf6 4. hxg7 Rg8 5. gxf8=Q+", 9, {7, 7, 6, 8}},
        {"start position", "1. e4 e5", 0, {}},
    };
    test::TempDir folder;
    std::vector<std::string> movetexts;
    for (const Row& row : rows) movetexts.push_back(row.movetext);
    const std::string path = GameFile(folder, movetexts);
    test::RecordingUi ui;
    Session session;
    ASSERT_FALSE(session.OpenFile(path, ui));
    ASSERT_EQ(session.GameCount(), static_cast<int>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const Row& row = rows[k];
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(session.LoadGame(static_cast<int>(k + 1), ui));
        for (int step = 0; step < row.ply; ++step) session.Go(NavigationAction::NextMove, ui);
        ASSERT_EQ(session.Navigation().currentPly, row.ply);
        MoveSquares squares = session.LastMoveSquares();
        EXPECT_EQ(squares.present(), row.expected.present());
        EXPECT_EQ(squares.from_file, row.expected.from_file);
        EXPECT_EQ(squares.from_rank, row.expected.from_rank);
        EXPECT_EQ(squares.to_file, row.expected.to_file);
        EXPECT_EQ(squares.to_rank, row.expected.to_rank);
    }
    EXPECT_TRUE(ui.reports.empty());
}

TEST(SessionTest, JumpsAndStepsShowTheSamePositions) {
    test::TempDir folder;
    const std::string path = GameFile(
        folder, {"1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6"});
    test::RecordingUi ui;
    Session session;
    ASSERT_FALSE(session.OpenFile(path, ui));
    ASSERT_FALSE(session.LoadGame(1, ui));
    ASSERT_EQ(session.Navigation().lastPly, 14);
    std::vector<std::string> stepped;
    stepped.push_back(chess::WritePlacement(session.CurrentBoard()));
    while (session.Go(NavigationAction::NextMove, ui).moved) {
        stepped.push_back(chess::WritePlacement(session.CurrentBoard()));
    }
    ASSERT_EQ(stepped.size(), 15u);
    EXPECT_NE(stepped[0], stepped[1]);
    for (int ply : {0, 7, 14, 3, 9}) {
        SCOPED_TRACE(ply);
        session.GoToPly(ply);
        EXPECT_EQ(chess::WritePlacement(session.CurrentBoard()),
                  stepped[static_cast<std::size_t>(ply)]);
    }
    session.Go(NavigationAction::MiddleOfGame, ui);
    EXPECT_EQ(chess::WritePlacement(session.CurrentBoard()), stepped[7]);
    EXPECT_EQ(session.GoToPly(99).moved, true);
    EXPECT_EQ(session.Navigation().currentPly, 14);
}

TEST(SessionTest, BadRequestsKeepTheGameOnDisplay) {
    test::TempDir folder;
    const std::string path = GameFile(folder, {"1. d4 d5", "1. c4 e5 2. Nc3"});
    test::RecordingUi ui;
    Session session;
    EXPECT_TRUE(session.LoadGame(1, ui));  // no file yet
    ASSERT_FALSE(session.OpenFile(path, ui));
    ASSERT_FALSE(session.LoadGame(2, ui));
    for (int game : {0, 3, -1}) {
        SCOPED_TRACE(game);
        Error failed = session.LoadGame(game, ui);
        EXPECT_EQ(failed.message(), "Error finding game.");
        EXPECT_EQ(session.GameNumber(), 2);
        EXPECT_EQ(session.Navigation().lastPly, 3);
    }
    EXPECT_TRUE(session.OpenFile(folder.File("missing.pgn"), ui));
    EXPECT_EQ(session.GameNumber(), 2);
}

TEST(SessionTest, ActualTextIsTheGameAsStored) {
    test::TempDir folder;
    const std::string path = GameFile(folder, {"1. d4 d5", "1. c4 {English} e5 2. Nc3"});
    test::RecordingUi ui;
    Session session;
    ASSERT_FALSE(session.OpenFile(path, ui));
    ASSERT_FALSE(session.LoadGame(2, ui));
    std::string text = session.ActualGameText();
    EXPECT_EQ(text.rfind("[Event \"Test\"]\n[Round \"2\"]", 0), 0u);
    EXPECT_NE(text.find("1. c4 {English} e5 2. Nc3 *"), std::string::npos);
    // Loading after reading the text still finds the games.
    ASSERT_FALSE(session.LoadGame(1, ui));
    EXPECT_EQ(session.Navigation().lastPly, 2);
    EXPECT_EQ(session.ActualGameText().find("[Round \"2\"]"), std::string::npos);
}

}  // namespace
}  // namespace qorvale::app

namespace qorvale::app {
namespace {

TEST(SessionTest, GameListCacheLivesUntilTheFileIsRescanned) {
    test::TempDir folder;
    std::vector<std::string> movetexts(1001, "1. e4 e5 2. Nf3");
    const std::string path = GameFile(folder, movetexts);
    const std::string cache = folder.File("games.pgs");
    test::RecordingUi ui;
    {
        Session session;
        ASSERT_FALSE(session.OpenFile(path, ui));
        EXPECT_EQ(session.GameList(ui).size(), 1001u);
        EXPECT_TRUE(platform::FileExists(cache));
    }
    struct Row {
        const char* name;
        bool reload;
        bool cache_kept;
    };
    for (const Row& row : std::vector<Row>{{"reopened through the offset cache", false, true},
                                           {"reloaded", true, false}}) {
        SCOPED_TRACE(row.name);
        Session session;
        ASSERT_FALSE(session.OpenFile(path, ui));
        if (row.reload) {
            ASSERT_TRUE(session.Reload(ui));
        }
        EXPECT_EQ(platform::FileExists(cache), row.cache_kept);
        EXPECT_FALSE(session.HasGameList());
        EXPECT_EQ(session.GameList(ui).size(), 1001u);
        EXPECT_TRUE(session.HasGameList());
        EXPECT_TRUE(platform::FileExists(cache));
    }
}

}  // namespace
}  // namespace qorvale::app

namespace qorvale::app {
namespace {

// Rules that used to live in the window: where a set-up game with Black to move starts, what a
// file without games leaves, the counter after a search, hidden moves and the comment line.
TEST(SessionTest, GameThatBlackBeginsHasNoDeadStepAtItsStart) {
    test::TempDir folder;
    const std::string path = folder.Write(
        "black.pgn",
        "[Event \"B\"]\n[SetUp \"1\"]\n[FEN \"rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b "
        "KQkq - 1 2\"]\n\n2... Nc6 3. Bb5 a6 *\n");
    test::RecordingUi ui;
    Session session;
    ASSERT_FALSE(session.OpenFile(path, ui));
    ASSERT_FALSE(session.LoadGame(1, ui));
    ASSERT_TRUE(session.StartsWithBlack());
    const std::string start = chess::WritePlacement(session.CurrentBoard());
    ASSERT_TRUE(session.Go(NavigationAction::NextMove, ui).moved);
    EXPECT_EQ(session.Navigation().currentPly, 2);
    EXPECT_NE(chess::WritePlacement(session.CurrentBoard()), start);
    ASSERT_TRUE(session.Go(NavigationAction::PreviousMove, ui).moved);
    EXPECT_EQ(session.Navigation().currentPly, 0);
    // A click on the empty White move shows the start.
    session.GoToPly(2);
    session.GoToPly(1);
    EXPECT_EQ(session.Navigation().currentPly, 0);
    EXPECT_TRUE(ui.reports.empty());
}

TEST(SessionTest, FileWithoutGamesSaysSoAndEmptiesTheBoard) {
    test::TempDir folder;
    const std::string games = GameFile(folder, {"1. e4 e5"});
    const std::string empty = folder.Write("empty.pgn", "");
    test::RecordingUi ui;
    Session session;
    ASSERT_FALSE(session.OpenFile(games, ui));
    ASSERT_FALSE(session.LoadGame(1, ui));
    ASSERT_FALSE(session.OpenFile(empty, ui));
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(NoGamesInFile)});
    EXPECT_FALSE(session.HasGame());
    EXPECT_EQ(chess::WritePlacement(session.CurrentBoard()), "8/8/8/8/8/8/8/8");
    EXPECT_EQ(session.GameCounterText(), "");
}

TEST(SessionTest, CounterSaysWhereTheGameStandsAmongTheGamesFound) {
    test::TempDir folder;
    const std::string path = GameFile(folder, {"1. e4 e5", "1. d4 d5", "1. e4 c5", "1. c4"});
    test::RecordingUi ui;
    Session session;
    ASSERT_FALSE(session.OpenFile(path, ui));
    ASSERT_FALSE(session.LoadGame(3, ui));
    EXPECT_EQ(session.GameCounterText(), "Game:  3 of 4");
    session.Search().Criteria().line = *search::ParseSearchLine("1.e4");
    search::SearchSource source;
    source.pgn_path = path;
    source.offsets = session.File().Index().Offsets();
    source.game_count = 4;
    source.use_fast_file = false;
    ASSERT_EQ(session.Search().Run(source, {false, true, false}, ui), 2);
    session.UseSearchResults();
    EXPECT_EQ(session.GameCounterText(), "Game:  3 of 4   (found: 2 of 2)");
    ASSERT_FALSE(session.LoadGame(2, ui));
    EXPECT_EQ(session.GameCounterText(), "Game:  2 of 4   (not among the 2 found)");
    session.Games().Reset();
    EXPECT_EQ(session.GameCounterText(), "Game:  2 of 4");
}

TEST(SessionTest, HiddenMovesShowTheFarthestReachedAndStudyModeTheCurrent) {
    test::TempDir folder;
    const std::string path = GameFile(folder, {"1. e4 e5 2. Nf3 Nc6 3. Bb5 a6"});
    test::RecordingUi ui;
    Session session;
    ASSERT_FALSE(session.OpenFile(path, ui));
    ASSERT_FALSE(session.LoadGame(1, ui));
    EXPECT_EQ(session.HiddenMovesLimit(false), -1);
    session.GoToPly(4);
    EXPECT_EQ(session.HiddenMovesLimit(true), 4);
    session.GoToPly(2);
    EXPECT_EQ(session.HiddenMovesLimit(true), 4);
    session.Navigation().studyMode = 1;
    EXPECT_EQ(session.HiddenMovesLimit(false), 2);
    // Another game starts hidden again.
    session.Navigation().studyMode = 0;
    ASSERT_FALSE(session.LoadGame(1, ui));
    EXPECT_EQ(session.HiddenMovesLimit(true), 0);
}

TEST(GameTextTest, CommentLineDropsBracesAndJoinsBlanks) {
    EXPECT_EQ(CommentLineText("{A fine\r\n  move}  {and a second}"), "A fine move and a second");
    EXPECT_EQ(CommentLineText(""), "");
}

}  // namespace
}  // namespace qorvale::app
