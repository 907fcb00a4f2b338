// The engine commands of the window: analysis lines that follow the board, a game against the
// engine on the board, the window kept responsive while an engine floods it, and no engine
// process left behind.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>

#include "app/engine_settings.h"
#include "gui/edit/edit_controller.h"
#include "gui/engine/engine_boxes.h"
#include "gui/engine/engine_controller.h"
#include "gui/engine/engine_window.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/shell/main_window.h"
#include "support/fake_engines.h"
#include "support/modal_answer.h"
#include "support/pgn_extract.h"
#include "support/program_home.h"

using namespace qorvale;

namespace {

constexpr int EngineWait = 8000;
constexpr std::string_view StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

struct Program : test::ProgramHome {
    test::TempDir folder;  // the engine scripts
    std::unique_ptr<gui::MainWindow> window;

    Program() : ProgramHome("app/steinitz-zukertort-1886.pgn", "world-1886.pgn") { Start(); }
    void UseEngine(engines::EngineKind kind, const std::string& path) {
        QVERIFY(app::SetEnginePath(state.options, kind, path));
    }
    // The engine script tests/data/engines/`name`.
    void UseScript(engines::EngineKind kind, const char* name) {
        UseEngine(kind, test::InstallEngine(folder, name));
    }
    // The main window, showing the test game; false when the file did not open.
    bool Open() {
        window = std::make_unique<gui::MainWindow>(state);
        window->SetUi(ui);
        return window->file().OpenPath(QString::fromStdString(games));
    }
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The legal moves after `before` (coordinate moves from the standard start), as stockfish
// counts them.
std::vector<std::string> LegalMoves(const std::vector<std::string>& before) {
    std::string fen(StartFen);
    if (!before.empty()) fen += " moves";
    for (const std::string& move : before) fen += " " + move;
    return test::StockfishLegalMoves(fen);
}

bool NoEngineLeft() { return test::ChildProcesses().empty(); }

// Answers the modal dialog of the next command with `answer`, then OK.
template <typename Box>
void Accept(std::function<void(Box&)> answer) {
    test::Answer<Box>([answer](Box& box) {
        answer(box);
        box.accept();
    });
}

// The control of `box` whose text is `label`.
template <typename Control>
Control* Labelled(QWidget& box, const char* label) {
    for (Control* control : box.findChildren<Control*>()) {
        if (control->text() == QLatin1String(label)) return control;
    }
    return nullptr;
}

}  // namespace

class EngineTest : public QObject {
    Q_OBJECT

  private slots:
    void AnalysisShowsLegalLinesAndFollowsTheBoard() {
        const std::string stockfish = test::InstalledEngine("/usr/games/stockfish");
        if (stockfish.empty() || !test::HavePgnExtract()) QSKIP("stockfish or pgn-extract missing");
        Program program;
        program.UseEngine(engines::EngineKind::Uci, stockfish);
        QVERIFY(program.Open());
        gui::MainWindow& window = *program.window;
        const std::vector<std::string> game =
            Words(test::PgnExtractMainLines(program.games, {"-Wuci"}).front());
        window.game().Navigate(app::NavigationAction::Forward5);
        gui::EngineController& engine = window.engine();
        engine.Session();
        {
            app::EngineSettings settings = app::ReadEngineSettings(program.state.options);
            settings.analysis_lines = 2;
            app::WriteEngineSettings(settings, program.state.options);
        }
        window.Action(QStringLiteral("AnalyseUci"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::EngineAnalysis);
        QVERIFY(engine.Window()->isVisible());
        QCOMPARE(engine.Window()->windowTitle(), QStringLiteral("UCI Engine Interface"));
        QVERIFY(!window.Action(QStringLiteral("AnalyseUci"))->isEnabled() ||
                window.Action(QStringLiteral("StopEngine"))->isEnabled());

        // Each step of the game is analysed in turn; the pane shows its lines.
        for (int ply : {5, 6}) {
            window.GoToPly(ply);
            QTRY_VERIFY_WITH_TIMEOUT(engine.Session().Lines().size() == 2 &&
                                         engine.Session().AnalysedBoard()->HalfMove() == ply &&
                                         engine.Window()->Lines()->topLevelItemCount() == 2 &&
                                         engine.Session().Lines().front().depth >= 4,
                                     EngineWait);
            const std::vector<std::string> legal =
                LegalMoves(std::vector<std::string>(game.begin(), game.begin() + ply));
            for (int row = 0; row < 2; ++row) {
                const engines::InfoLine& line =
                    engine.Session().Lines()[static_cast<std::size_t>(row)];
                QVERIFY(!line.pv.empty());
                QVERIFY2(std::find(legal.begin(), legal.end(), std::string(line.pv[0].view())) !=
                             legal.end(),
                         line.pv[0].view().data());
                QVERIFY(!engine.Window()->Lines()->topLevelItem(row)->text(2).isEmpty());
                QVERIFY(!engine.Window()->Lines()->topLevelItem(row)->text(1).isEmpty());
            }
            // Two lines are two different moves.
            QVERIFY(engine.Session().Lines()[0].pv[0].view() !=
                    engine.Session().Lines()[1].pv[0].view());
            // Moves in the pane are numbered from the board's position on.
            const QString first = engine.Window()->Lines()->topLevelItem(0)->text(2);
            QVERIFY2(first.startsWith(QString::number(ply / 2 + 1) +
                                      QLatin1String(ply % 2 == 0 ? "." : "...")),
                     qPrintable(first));
        }
        QVERIFY(engine.Window()->Bar()->Share().has_value());

        // The first line goes into the game as a variation that pgn-extract reads as legal.
        const std::size_t games = test::PgnExtractGames(program.games).size();
        QVERIFY(test::PgnExtractGames(program.games).front().find('(') == std::string::npos);
        engine.Window()->InsertLine()->click();
        const std::vector<std::string> annotated = test::PgnExtractGames(program.games);
        QCOMPARE(annotated.size(), games);
        QVERIFY2(annotated.front().find('(') != std::string::npos, annotated.front().c_str());
        QCOMPARE(window.session().Navigation().currentPly, 6);

        window.Action(QStringLiteral("StopEngine"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::GameReplay);
        QVERIFY(!engine.Window()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(NoEngineLeft(), 3000);
    }

    void PlayedMovesGetTheEnginesReplyOnTheBoard() {
        const std::string stockfish = test::InstalledEngine("/usr/games/stockfish");
        if (stockfish.empty()) QSKIP("stockfish missing");
        Program program;
        program.UseEngine(engines::EngineKind::Uci, stockfish);
        {
            app::EngineSettings settings = app::ReadEngineSettings(program.state.options);
            settings.play_milliseconds = 100;
            app::WriteEngineSettings(settings, program.state.options);
        }
        QVERIFY(program.Open());
        gui::MainWindow& window = *program.window;
        program.ui.answers = {true};  // the user moves first
        window.Action(QStringLiteral("PlayUci"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::EnginePlay);
        gui::EngineController& engine = window.engine();
        QVERIFY(engine.PlayEntry() != nullptr);
        QVERIFY(window.Action(QStringLiteral("EngineTakeBack"))->isEnabled());
        QVERIFY(!window.Action(QStringLiteral("Open"))->isEnabled());

        // e2-e4 by two clicks on the board; the engine's reply is drawn on it.
        emit window.board()->squareClicked(5, 2);
        emit window.board()->squareClicked(5, 4);
        QTRY_VERIFY_WITH_TIMEOUT(engine.PlayEntry()->HalfMoves() == 2, EngineWait);
        const std::vector<chess::CoordinateMove>& moves =
            engine.Session().PlayBoard().Position().moves;
        QCOMPARE(moves.size(), std::size_t{2});
        const std::vector<std::string> legal = LegalMoves({"e2e4"});
        QVERIFY(std::find(legal.begin(), legal.end(), std::string(moves[1].view())) != legal.end());
        QVERIFY(window.board()->Position() == engine.PlayEntry()->Board());
        QVERIFY(window.board()->Position() != window.session().CurrentBoard());
        QVERIFY(window.MoveLineText().contains(QStringLiteral("e4")));

        // A click on the engine's pieces moves nothing.
        emit window.board()->squareClicked(5, 7);
        emit window.board()->squareClicked(5, 5);
        QCOMPARE(engine.PlayEntry()->HalfMoves(), 2);

        // Stopping leaves the game played as an entered game, ready to be saved.
        window.Action(QStringLiteral("StopEngine"))->trigger();
        QVERIFY(engine.PlayEntry() == nullptr);
        QCOMPARE(window.session().Modes().Current(), app::Mode::AddGame);
        QVERIFY(window.edit().Entry() != nullptr);
        QCOMPARE(window.edit().Entry()->HalfMoves(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(NoEngineLeft(), 3000);
    }

    void FloodingEngineLeavesTheWindowResponsive() {
        Program program;
        program.UseScript(engines::EngineKind::Uci, "flooding.sh");
        QVERIFY(program.Open());
        gui::MainWindow& window = *program.window;
        // The longest wait of a 10 ms timer while the engine's 240,000 bytes are read.
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        clock.start();
        ticks.start(10);
        window.Action(QStringLiteral("AnalyseUci"))->trigger();
        gui::EngineController& engine = window.engine();
        QTRY_VERIFY_WITH_TIMEOUT(engine.Session().BestMoveText().find("Bestmove") == 0, EngineWait);
        ticks.stop();
        qInfo("longest wait of a 10 ms timer while the engine floods: %lld ms", longest);
        QVERIFY2(longest < 500, qPrintable(QString::number(longest)));
        QVERIFY(engine.Window()->Rows()->blockCount() > 1);
    }

    void ClosingTheWindowEndsTheEngine() {
        // Engines that stop when asked, and one that ignores "quit" and must be killed.
        for (const char* name : {"flooding.sh", "deaf.sh"}) {
            Program program;
            program.UseScript(engines::EngineKind::Uci, name);
            QVERIFY(program.Open());
            program.window->Action(QStringLiteral("AnalyseUci"))->trigger();
            QVERIFY2(program.window->engine().Session().Running(), name);
            QVERIFY(!NoEngineLeft());
            program.window.reset();
            QVERIFY2(NoEngineLeft(), name);
        }
    }

    void CraftyDialogsAndGame() {
        Program program;
        program.UseScript(engines::EngineKind::Crafty, "scripted_crafty.sh");
        program.folder.Write("answers", "e4|move e5\n");
        QVERIFY(program.Open());
        gui::MainWindow& window = *program.window;

        Accept<gui::CraftyGameInfoBox>([](gui::CraftyGameInfoBox& box) {
            QCOMPARE(box.windowTitle(), QStringLiteral("Crafty Game Info"));
            QVERIFY(Labelled<QCheckBox>(box, "Crafty to move first") != nullptr);
            Labelled<QCheckBox>(box, "Disable pondering")->setChecked(true);
        });
        window.Action(QStringLiteral("CraftyGameInfo"))->trigger();
        QVERIFY(app::ReadEngineSettings(program.state.options).crafty.CraftyNoPonder);

        // A game: the user's move goes to Crafty as its text, Crafty's "move" is drawn.
        window.Action(QStringLiteral("PlayCrafty"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::EnginePlay);
        gui::EngineController& engine = window.engine();
        QTRY_VERIFY_WITH_TIMEOUT(
            engine.Session().List() != nullptr && !engine.Session().List()->Rows().empty(),
            EngineWait);
        emit window.board()->squareClicked(5, 2);
        emit window.board()->squareClicked(5, 4);
        QTRY_VERIFY_WITH_TIMEOUT(engine.PlayEntry()->HalfMoves() == 2, EngineWait);
        QCOMPARE(window.board()->Position()[5][5], std::uint32_t{11});  // Black's pawn on e5
        QVERIFY(window.MoveLineText().contains(QStringLiteral("e5")));
        window.Action(QStringLiteral("StopEngine"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(NoEngineLeft(), 3000);
        const std::string played = test::ReadWholeFile(program.folder.File("received.log"));
        QVERIFY2(played.find("ponder off\n") != std::string::npos, played.c_str());
        QVERIFY2(played.find("\ne4\n") != std::string::npos, played.c_str());
        program.ui.answers = {true};  // the played game is dropped
        QVERIFY(window.edit().Leave());

        // Analysing a position without moves asks what the board does not show.
        std::remove(program.folder.File("received.log").c_str());
        window.GoToPly(0);
        Accept<gui::CraftyPositionInfoBox>([](gui::CraftyPositionInfoBox& box) {
            QCOMPARE(box.windowTitle(), QStringLiteral("Crafty Position Info"));
            Labelled<QRadioButton>(box, "Black to move")->setChecked(true);
        });
        window.Action(QStringLiteral("AnalyseCrafty"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::EngineAnalysis);
        QTRY_VERIFY_WITH_TIMEOUT(
            test::ReadWholeFile(program.folder.File("received.log")).find("analyze") !=
                std::string::npos,
            EngineWait);
        const std::string analysed = test::ReadWholeFile(program.folder.File("received.log"));
        QVERIFY2(analysed.find("setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b") !=
                     std::string::npos,
                 analysed.c_str());
        window.Action(QStringLiteral("StopEngine"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(NoEngineLeft(), 3000);
    }

    void AnEngineThatDiesEndsItsMode() {
        // Crashing in the middle of a search; and a game against one that dies before replying.
        for (const char* command : {"AnalyseUci", "PlayUci"}) {
            Program program;
            program.UseScript(engines::EngineKind::Uci, "crashing.sh");
            QVERIFY(program.Open());
            gui::MainWindow& window = *program.window;
            program.ui.answers = {false};  // the engine moves first
            window.Action(QString::fromLatin1(command))->trigger();
            QVERIFY2(window.session().Modes().Current() != app::Mode::GameReplay, command);
            QTRY_VERIFY_WITH_TIMEOUT(window.session().Modes().Current() == app::Mode::GameReplay,
                                     EngineWait);
            QVERIFY(!window.engine().Window()->isVisible());
            QVERIFY(std::find(program.ui.reports.begin(), program.ui.reports.end(),
                              "The UCI engine has stopped.") != program.ui.reports.end());
            QTRY_VERIFY_WITH_TIMEOUT(NoEngineLeft(), 3000);
            // The path of an engine that once worked is kept.
            QVERIFY(!app::EnginePath(program.state.options, engines::EngineKind::Uci).empty());
        }
    }

    void AProgramThatCannotStartIsForgotten() {
        Program program;
        const std::string not_executable = program.games;
        program.UseEngine(engines::EngineKind::Uci, not_executable);
        QVERIFY(program.Open());
        gui::MainWindow& window = *program.window;
        window.Action(QStringLiteral("AnalyseUci"))->trigger();
        QCOMPARE(window.session().Modes().Current(), app::Mode::GameReplay);
        QVERIFY(!program.ui.reports.empty());
        QCOMPARE(program.ui.reports.back(), std::string("Could not start UCI engine."));
        QCOMPARE(app::EnginePath(program.state.options, engines::EngineKind::Uci), std::string());
    }
};

QTEST_MAIN(EngineTest)
#include "engine_test.moc"
