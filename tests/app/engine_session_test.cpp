#include "app/engine_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engines/messages.h"
#include "support/fake_engines.h"
#include "support/pgn_extract.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using namespace std::chrono_literals;
using engines::CoordinateSquares;
using engines::EngineKind;
using engines::EnginePosition;
using engines::GameMenuCommand;
using Clock = EngineSession::Clock;
namespace messages = engines::messages;

CoordinateSquares Move(std::string_view text) { return *engines::ParseCoordinateMove(text); }

EnginePosition FenPosition(std::string_view fen) { return engines::ReadEngineFen(fen)->position; }

// The SAN pgn-extract writes for coordinate moves from a FEN position: the independent check of
// the engine window's lines.
std::string PgnExtractSan(const std::string& fen, const std::vector<chess::CoordinateMove>& moves) {
    test::TempDir folder;
    std::string game = "[Event \"?\"]\n[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n\n";
    for (const chess::CoordinateMove& move : moves) game += std::string(move.view()) + " ";
    const std::vector<std::string> lines =
        test::PgnExtractMainLines(folder.Write("line.pgn", game + "*\n\n"));
    std::istringstream words(lines.empty() ? "" : lines.front());
    std::string san;
    for (std::string word; words >> word;) san += (san.empty() ? "" : " ") + word;
    return san;
}

// The SAN moves of an engine window line, without its move numbers.
std::string WithoutNumbers(const std::string& line) {
    std::istringstream words(line);
    std::string san;
    for (std::string word; words >> word;) {
        std::size_t dot = word.rfind('.');
        if (dot != std::string::npos) word = word.substr(dot + 1);
        san += (san.empty() ? "" : " ") + word;
    }
    return san;
}

class EngineSessionTest : public testing::Test {
  protected:
    // Polls as the window does, until `done` holds for an update; ten seconds at the most.
    bool PollUntil(const std::function<bool(const EngineUpdate&)>& done) {
        const Clock::time_point give_up = Clock::now() + 10s;
        while (Clock::now() < give_up) {
            session_.WaitForOutput(50ms);
            EngineUpdate update = session_.Poll(Clock::now());
            if (done(update)) return true;
            if (update.stopped) return false;
        }
        return false;
    }
    bool Started() {
        return PollUntil([](const EngineUpdate& u) { return u.started; });
    }
    bool EngineMoved() {
        return PollUntil([](const EngineUpdate& u) { return u.board; });
    }
    void TearDown() override {
        session_.StopNow();
        EXPECT_TRUE(test::ChildProcesses().empty());
    }

    test::TempDir folder_;
    test::RecordingUi ui_;
    EngineSession session_{ui_};
};

class StockfishTest : public EngineSessionTest {
  protected:
    void SetUp() override {
        stockfish_ = test::InstalledEngine("/usr/games/stockfish");
        if (stockfish_.empty()) GTEST_SKIP() << "stockfish is not installed";
    }
    EngineStart Analysis(const std::string& fen, int depth) {
        EngineStart start;
        start.path = stockfish_;
        start.mode = EngineMode::Analyse;
        start.position = FenPosition(fen);
        start.analysis_go = "go depth " + std::to_string(depth);
        return start;
    }
    std::string stockfish_;
};

TEST_F(StockfishTest, FindsTheMateInTwoWithItsLine) {
    if (test::InstalledEngine("/usr/games/pgn-extract").empty()) GTEST_SKIP() << "no pgn-extract";
    const std::string fen = "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 10";
    ASSERT_TRUE(session_.Start(Analysis(fen, 10), Clock::now()).ok());
    ASSERT_TRUE(Started());
    EXPECT_NE(session_.UciOptionList()->find("Hash type spin"), std::string::npos);
    ASSERT_TRUE(PollUntil([](const EngineUpdate& u) { return u.best_move; }));
    ASSERT_FALSE(session_.Lines().empty());
    const engines::InfoLine& line = session_.Lines().front();
    EXPECT_EQ(line.score.kind, engines::EngineScore::Kind::Mate);
    EXPECT_EQ(line.score.value, 2);
    EXPECT_TRUE(line.text.starts_with("Mate 2 10.")) << line.text;
    ASSERT_FALSE(line.pv.empty());
    EXPECT_EQ(WithoutNumbers(line.pv_text), PgnExtractSan(fen, line.pv));
    EXPECT_TRUE(session_.BestMoveText().starts_with("Bestmove 10.")) << session_.BestMoveText();
    EXPECT_GT(*session_.WhiteEvaluation(), 90000);
}

// Engines score from the side to move; the window shows White's side.
TEST_F(StockfishTest, ScoresFromWhitesSideWhateverSideIsToMove) {
    struct Row {
        const char* name;
        const char* fen;
        bool white_ahead;
    };
    for (const Row& row :
         {Row{"White ahead, Black to move", "4k3/8/8/8/8/8/8/3QK3 b - - 0 1", true},
          Row{"Black ahead, Black to move", "3qk3/8/8/8/8/8/8/4K3 b - - 0 1", false},
          Row{"Black ahead, White to move", "3qk3/8/8/8/8/8/8/4K3 w - - 0 1", false}}) {
        SCOPED_TRACE(row.name);
        // One engine analyses the positions in turn, as the window steps through them.
        if (!session_.Running()) {
            ASSERT_TRUE(session_.Start(Analysis(row.fen, 6), Clock::now()).ok());
        } else {
            session_.AnalysePosition(FenPosition(row.fen));
        }
        ASSERT_TRUE(PollUntil([](const EngineUpdate& u) { return u.best_move; }));
        ASSERT_TRUE(session_.WhiteEvaluation().has_value());
        EXPECT_EQ(*session_.WhiteEvaluation() > 300, row.white_ahead);
        EXPECT_EQ(*session_.WhiteEvaluation() < -300, !row.white_ahead);
        EXPECT_EQ(session_.Lines().front().text[0], row.white_ahead ? '+' : '-');
    }
}

TEST_F(StockfishTest, PlaysLegalMovesTakesBackAndStartsAgain) {
    if (test::InstalledEngine("/usr/games/pgn-extract").empty()) GTEST_SKIP() << "no pgn-extract";
    EngineStart start;
    start.path = stockfish_;
    start.mode = EngineMode::Play;
    start.play_go = "go depth 3";
    ASSERT_TRUE(session_.Start(start, Clock::now()).ok());
    ASSERT_TRUE(Started());
    EXPECT_FALSE(session_.EngineToMove());
    for (const char* move : {"e2e4", "g1f3", "f1c4"}) {
        SCOPED_TRACE(move);
        const int before = session_.PlayBoard().HalfMove();
        if (!session_.UserMove(Move(move))) break;  // the engine's reply may forbid it
        EXPECT_TRUE(session_.EngineToMove());
        ASSERT_TRUE(EngineMoved());
        EXPECT_EQ(session_.PlayBoard().HalfMove(), before + 2);
        EXPECT_FALSE(session_.EngineToMove());
    }
    const engines::EngineBoard& board = session_.PlayBoard();
    ASSERT_GE(board.HalfMove(), 4);
    std::string san;
    for (const std::string& move : board.SanMoves()) san += (san.empty() ? "" : " ") + move;
    EXPECT_EQ(san, PgnExtractSan("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                                 board.Position().moves));

    const int played = board.HalfMove();
    session_.GameMenu(GameMenuCommand::TakeBack, Clock::now());
    EXPECT_EQ(session_.PlayBoard().HalfMove(), played - 2);
    ASSERT_TRUE(session_.UserMove(Move("h2h3")));
    ASSERT_TRUE(EngineMoved());
    EXPECT_EQ(session_.PlayBoard().HalfMove(), played);

    ui_.answers.push_back(true);
    session_.GameMenu(GameMenuCommand::NewGame, Clock::now());
    EXPECT_EQ(ui_.questions.back(), messages::ConfirmNewGame);
    EXPECT_EQ(session_.PlayBoard().HalfMove(), 0);
    ASSERT_TRUE(session_.UserMove(Move("d2d4")));
    ASSERT_TRUE(EngineMoved());
    EXPECT_TRUE(ui_.reports.empty());
}

// The scripted Crafty-protocol engine records what it receives in its folder; it is read once
// the engine has been stopped (it has then read everything).
class CraftyTest : public EngineSessionTest {
  protected:
    EngineStart Crafty(EngineMode mode) {
        EngineStart start;
        start.kind = EngineKind::Crafty;
        start.mode = mode;
        start.path = test::InstallEngine(folder_, "scripted_crafty.sh");
        start.program_folder = program_.path();
        start.crafty.CraftyDisplayGeneral = false;
        return start;
    }
    void Answer(std::string_view answers) { folder_.Write("answers", answers); }
    std::string Received() {
        session_.StopNow();
        return test::ReadWholeFile(folder_.File("received.log"));
    }
    test::TempDir program_;
};

TEST_F(CraftyTest, StartModesSendTheirCommands) {
    EnginePosition game;
    for (const char* move : {"e2e4", "c7c5", "g1f3"}) {
        game.moves.push_back(engines::CoordinateText(Move(move)));
    }
    struct Row {
        const char* name;
        EngineMode mode;
        EnginePosition position;
        std::function<void(EngineStart&)> adjust;
        const char* received;
    };
    const std::vector<Row> rows = {
        {"play with every setting",
         EngineMode::Play,
         {},
         [](EngineStart& s) {
             s.crafty.CraftyNoPonder = true;
             s.crafty.CraftyDisplayGeneral = true;
             s.crafty.CraftyDisplayVariation = true;
             s.crafty.CraftyLevelMinutes = "5";
             s.crafty.CraftyMovesFirst = true;
         },
         "ponder off\ndisplay general\ndisplay variation\nlevel 60 5 0\notime 30000\ngo\n"},
        {"play from a set-up", EngineMode::Play, FenPosition("4k3/8/8/8/8/8/4P3/4K3 b - - 0 40"),
         [](EngineStart& s) { s.crafty.CraftyContinueGame = true; },
         "setboard 4k3/8/8/8/8/8/4P3/4K3 b\n"},
        {"play on from the game", EngineMode::Play, game,
         [](EngineStart& s) { s.crafty.CraftyContinueGame = true; },
         "read {program}/craftyqq.pgn\n"},
        {"direct", EngineMode::Direct, {}, nullptr, "display general\ndisplay variation\n"},
        {"score with Black to move", EngineMode::Score, game,
         [](EngineStart& s) { s.setup.white_castle_king = true; },
         "display general\nsetboard rnbqkbnr/pp1ppppp/8/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R b K\n"
         "score\nwhite\n"},
        {"analyse a game position", EngineMode::Analyse, game, nullptr,
         "display general\ndisplay variation\nread crafanal.pgn\nanalyze\n"},
        {"analyse following the replay", EngineMode::Analyse, game,
         [](EngineStart& s) { s.follows_replay = true; },
         "display general\ndisplay variation\nread crafanal.pgn\nreset 2\nanalyze\n"},
        {"analyse the start",
         EngineMode::Analyse,
         {},
         nullptr,
         "display general\ndisplay variation\n"
         "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w\nanalyze\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ::unlink(folder_.File("received.log").c_str());
        EngineStart start = Crafty(row.mode);
        start.position = row.position;
        if (row.adjust) row.adjust(start);
        ASSERT_TRUE(session_.Start(start, Clock::now()).ok());
        ASSERT_TRUE(Started());
        std::string received = row.received;
        if (std::size_t at = received.find("{program}"); at != std::string::npos) {
            received.replace(at, 9, program_.path());
        }
        EXPECT_EQ(Received(), received);
    }
    EXPECT_EQ(test::ReadWholeFile(folder_.File("crafanal.pgn")), "1. e4 c5\r\n2. Nf3\r\n");
    EXPECT_EQ(test::ReadWholeFile(program_.File("craftyqq.pgn")), "\r\n1.e4 c5 2.Nf3  *\r\n");
}

// The user's moves go to Crafty as their SAN, its "move" lines come back onto the board, and
// the game menu's commands move the board with it.
TEST_F(CraftyTest, PlaysOverItsMoveLinesAndTheGameMenu) {
    Answer("e4|\\nmove e5\nNf3|move Nc6\n");
    ASSERT_TRUE(session_.Start(Crafty(EngineMode::Play), Clock::now()).ok());
    ASSERT_TRUE(Started());
    ASSERT_TRUE(session_.UserMove(Move("e2e4")));
    EXPECT_FALSE(session_.UserMove(Move("d2d4")));  // Crafty is on move
    ASSERT_TRUE(EngineMoved());
    ASSERT_TRUE(session_.UserMove(Move("g1f3")));
    ASSERT_TRUE(EngineMoved());
    EXPECT_EQ(session_.PlayBoard().SanMoves(),
              (std::vector<std::string>{"e4", "e5", "Nf3", "Nc6"}));
    session_.GameMenu(GameMenuCommand::TakeBack, Clock::now());
    EXPECT_EQ(session_.PlayBoard().HalfMove(), 2);
    ui_.answers = {true};
    session_.GameMenu(GameMenuCommand::NewGame, Clock::now());
    EXPECT_EQ(session_.PlayBoard().HalfMove(), 0);
    EXPECT_TRUE(ui_.reports.empty());
    EXPECT_EQ(Received(), "e4\nNf3\nreset 2\nnew\n");
}

TEST_F(CraftyTest, TypedExitEndsCraftyWithoutAMessage) {
    ASSERT_TRUE(session_.Start(Crafty(EngineMode::Direct), Clock::now()).ok());
    ASSERT_TRUE(Started());
    session_.TypeCommand("exit");
    EXPECT_TRUE(PollUntil([](const EngineUpdate& u) { return u.stopped; }));
    EXPECT_TRUE(ui_.reports.empty());
    EXPECT_EQ(Received(), "display general\ndisplay variation\nexit\n");
}

TEST_F(CraftyTest, AnalysisFollowsTheBoardAndCollectsTheProfile) {
    Answer("analyze|   10->   0.35   0.12   1. e4 e5\ne5|   11->   0.40  -0.30   2. Nf3 Nc6\n");
    EngineStart start = Crafty(EngineMode::Analyse);
    start.profile = true;
    start.position.moves = {engines::CoordinateText(Move("e2e4"))};
    ASSERT_TRUE(session_.Start(start, Clock::now()).ok());
    ASSERT_TRUE(PollUntil([](const EngineUpdate& u) { return u.profile; }));
    EnginePosition next = start.position;
    next.moves.push_back(engines::CoordinateText(Move("e7e5")));
    session_.AnalysePosition(next);
    ASSERT_TRUE(PollUntil([&](const EngineUpdate&) { return session_.Profile().size() == 2; }));
    EXPECT_EQ(session_.Profile()[0].centipawns, 12);
    EXPECT_EQ(session_.Profile()[1].ply, 1);
    EXPECT_EQ(ProfileToolTip(session_.Profile()[1]), "1. -0.30");
    session_.AnalysePosition({});
    EXPECT_EQ(Received(),
              "display general\ndisplay variation\nread crafanal.pgn\nanalyze\ne5\nback 2\n");
}

TEST_F(CraftyTest, HoichessPlaysOverTheSameLoop) {
    const std::string hoichess = test::InstalledEngine("/usr/games/hoichess");
    if (hoichess.empty()) GTEST_SKIP() << "hoichess is not installed";
    EngineStart start = Crafty(EngineMode::Play);
    start.path = hoichess;
    ASSERT_TRUE(session_.Start(start, Clock::now()).ok());
    ASSERT_TRUE(Started());
    // Typed in the engine window: hoichess answers moves once told it talks to a program.
    for (const char* command : {"xboard", "new", "level 60 1 0"}) session_.TypeCommand(command);
    EXPECT_TRUE(ui_.reports.empty());
    for (const char* move : {"e2e4", "d2d4"}) {
        SCOPED_TRACE(move);
        const int before = session_.PlayBoard().HalfMove();
        ASSERT_TRUE(session_.UserMove(Move(move)));
        ASSERT_TRUE(EngineMoved());
        EXPECT_EQ(session_.PlayBoard().HalfMove(), before + 2);
    }
}

// A launcher of scripted engines that answer the UCI handshake at once.
EngineSession::Launcher ScriptedLauncher(std::vector<std::shared_ptr<test::ScriptedEngine>>& made) {
    return
        [&made](EngineKind, const std::string&) -> Result<std::unique_ptr<engines::EngineChannel>> {
            auto engine = std::make_shared<test::ScriptedEngine>();
            engine->output.push_back(
                "option name MultiPV type spin default 1 min 1 max 8\nuciok\nreadyok\n");
            made.push_back(engine);
            return std::unique_ptr<engines::EngineChannel>(
                std::make_unique<test::ScriptedChannel>(engine));
        };
}

TEST(EngineSession, OneEngineKindAtATime) {
    test::RecordingUi ui;
    std::vector<std::shared_ptr<test::ScriptedEngine>> made;
    EngineSession session(ui, ScriptedLauncher(made));
    EXPECT_EQ(session.UciOptionList(), nullptr);
    EngineStart start;
    start.mode = EngineMode::Score;
    EXPECT_EQ(session.Start(start, Clock::now()).message(), messages::NotSupportedForUci);
    start.mode = EngineMode::Analyse;
    ASSERT_TRUE(session.Start(start, Clock::now()).ok());
    start.kind = EngineKind::Crafty;
    EXPECT_EQ(session.Start(start, Clock::now()).message(), messages::CannotRunCraftyWithUci);
    EXPECT_EQ(ui.reports,
              (std::vector<std::string>{std::string(messages::NotSupportedForUci),
                                        std::string(messages::CannotRunCraftyWithUci)}));
    EXPECT_TRUE(session.Running());
}

TEST(EngineSession, KeepsOneLinePerMultiPvNumberAndAProfilePoint) {
    test::RecordingUi ui;
    std::vector<std::shared_ptr<test::ScriptedEngine>> made;
    EngineSession session(ui, ScriptedLauncher(made));
    EngineStart start;
    start.multipv = 2;
    start.profile = true;
    start.position.moves = {engines::CoordinateText(Move("e2e4"))};
    ASSERT_TRUE(session.Start(start, Clock::now()).ok());
    EXPECT_TRUE(session.Poll(Clock::now()).started);
    EXPECT_EQ(
        made[0]->written,
        "uci\nisready\nsetoption name MultiPV value 2\nstop\nposition startpos moves e2e4\ngo\n");
    made[0]->output.push_back(
        "info depth 5 multipv 2 score cp 10 pv c7c5\ninfo depth 5 multipv 1 score cp -20 pv e7e5\n"
        "info depth 6 multipv 1 score mate -3 pv d7d5\n");
    EngineUpdate update = session.Poll(Clock::now());
    EXPECT_TRUE(update.lines && update.profile);
    ASSERT_EQ(session.Lines().size(), 2u);
    EXPECT_EQ(session.Lines()[0].text, "Mate -3 1...d5");
    EXPECT_EQ(session.Lines()[1].text, "-0.10  1...c5");
    // Black, to move, is mated in three: a score far on White's side.
    EXPECT_EQ(*session.WhiteEvaluation(), engines::EngineScore::MateScore - 3);
    ASSERT_EQ(session.Profile().size(), 1u);
    EXPECT_EQ(session.Profile()[0].ply, 2);
    EXPECT_EQ(ProfileToolTip(session.Profile()[0]), "1... Mate -3");
    EXPECT_GT(EvaluationBarShare(300), 0.7);
    EXPECT_LT(EvaluationBarShare(-300), 0.3);
}

}  // namespace
}  // namespace qorvale::app
