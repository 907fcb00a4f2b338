#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

#include "app/game_text.h"
#include "app/start_up.h"
#include "chess/fen.h"
#include "gui/file/file_controller.h"
#include "gui/game/analysis_list_box.h"
#include "gui/game/game_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/search/search_controller.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::gui {

namespace {

// Game 4 of the file, McDonnell - De la Bourdonnais, London 1834: after 12. g3 (ply 23) the
// annotator gives 12. e5 c6 13. exf6 fxg2+ 14. Kxg2 Bh3+ 15. Nxh3 Qg4+ 16. Kf1 (16. Kf2 Qf3+
// 17. Kg1 Ne2#) 16... Qe2+ 17. Kg1 Nf3#.
constexpr int AnnotatedGame = 4;
constexpr int BranchPly = 23;

struct Step {
    const char* move_line;  // the analysis move under the board
    const char* placement;  // pgn-extract --fencomments of the line played as a game
    const char* marked;     // the move marked in the annotation text; none after an inner line
};
// The walk through that line, the inner line included, and back to 16. Kf1 when it closes.
const Step Walk[] = {
    {"12. e5", "Q4b1r/p1p3pp/3p1nk1/4P3/3n2bq/N4p2/PPP3PP/R1B2KNR", "e5"},
    {"12...c6", "Q4b1r/p5pp/2pp1nk1/4P3/3n2bq/N4p2/PPP3PP/R1B2KNR", "c6"},
    {"13. exf6", "Q4b1r/p5pp/2pp1Pk1/8/3n2bq/N4p2/PPP3PP/R1B2KNR", "exf6"},
    {"13...fxg2+", "Q4b1r/p5pp/2pp1Pk1/8/3n2bq/N7/PPP3pP/R1B2KNR", "fxg2+"},
    {"14. Kxg2", "Q4b1r/p5pp/2pp1Pk1/8/3n2bq/N7/PPP3KP/R1B3NR", "Kxg2"},
    {"14...Bh3+", "Q4b1r/p5pp/2pp1Pk1/8/3n3q/N6b/PPP3KP/R1B3NR", "Bh3+"},
    {"15. Nxh3", "Q4b1r/p5pp/2pp1Pk1/8/3n3q/N6N/PPP3KP/R1B4R", "Nxh3"},
    {"15...Qg4+", "Q4b1r/p5pp/2pp1Pk1/8/3n2q1/N6N/PPP3KP/R1B4R", "Qg4+"},
    {"16. Kf1", "Q4b1r/p5pp/2pp1Pk1/8/3n2q1/N6N/PPP4P/R1B2K1R", "Kf1"},
    {"16. Kf2", "Q4b1r/p5pp/2pp1Pk1/8/3n2q1/N6N/PPP2K1P/R1B4R", "Kf2"},
    {"16...Qf3+", "Q4b1r/p5pp/2pp1Pk1/8/3n4/N4q1N/PPP2K1P/R1B4R", "Qf3+"},
    {"17. Kg1", "Q4b1r/p5pp/2pp1Pk1/8/3n4/N4q1N/PPP4P/R1B3KR", "Kg1"},
    {"17...Ne2#", "Q4b1r/p5pp/2pp1Pk1/8/8/N4q1N/PPP1n2P/R1B3KR", "Ne2#"},
    {"16. Kf1", "Q4b1r/p5pp/2pp1Pk1/8/3n2q1/N6N/PPP4P/R1B2K1R", ""},
    {"16...Qe2+", "Q4b1r/p5pp/2pp1Pk1/8/3n4/N6N/PPP1q2P/R1B2K1R", "Qe2+"},
    {"17. Kg1", "Q4b1r/p5pp/2pp1Pk1/8/3n4/N6N/PPP1q2P/R1B3KR", "Kg1"},
    {"17...Nf3#", "Q4b1r/p5pp/2pp1Pk1/8/8/N4n1N/PPP1q2P/R1B3KR", "Nf3#"},
};

// A started program over a fresh install folder, with the annotated file open.
struct Program {
    test::TempDir folder;
    app::StartUpState state;
    test::RecordingUi ui;
    std::unique_ptr<MainWindow> window;

    explicit Program(int replay_mode) {
        state = app::StartUp({folder.path(), "", false});
        state.options.AnalysisReplayMode = replay_mode;
        state.options.AnalysisReplayActive = replay_mode == 1 ? 1 : 0;
        window = std::make_unique<MainWindow>(state);
        window->SetUi(ui);
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        (void)QTest::qWaitForWindowActive(window.get());
        const bool opened = window->file().OpenPath(QString::fromStdString(
            folder.CopyData("gui/annotated-matches.pgn", "annotated-matches.pgn")));
        if (!opened || !window->ShowGame(AnnotatedGame)) QFAIL("the annotated file does not load");
        window->GoToPly(BranchPly);
        ui.reports.clear();
    }
    std::string Placement() const { return chess::WritePlacement(window->board()->Position()); }
    QString MoveLine() const {
        return window->findChild<QLabel*>(QStringLiteral("MoveLine"))->text();
    }
    void Key(Qt::Key key) { QTest::keyClick(window.get(), key, Qt::ControlModifier); }
};

// The text marked (in bold) in the comments panel; the anchor before it splits it in fragments.
QString MarkedAnnotationText(const MainWindow& window) {
    auto* comments = window.findChild<QTextBrowser*>(QStringLiteral("Comments"));
    QString marked;
    for (QTextBlock block = comments->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().fontWeight() >= QFont::Bold) {
                marked += fragment.fragment().text();
            }
        }
    }
    return marked;
}

}  // namespace

class MainWindowReplayTest : public QObject {
    Q_OBJECT

  private slots:
    void nextWalksTheVariationAndEnds();
    void previousAndStartGoBack();
    void buttonsReadAsTheModeSays();
    void refusedWhileTheModeIsOff();
    void leavingTheModeOrReloadingShowsTheMainLine();
    void analysisListShowsAndStartsTheLines();
    void largeBoardFallsBackOnAShortScreen();
};

void MainWindowReplayTest::nextWalksTheVariationAndEnds() {
    Program program(1);
    const std::string main_line = program.Placement();
    const QString main_move_line = program.MoveLine();
    int index = 0;
    for (const Step& step : Walk) {
        program.Key(Qt::Key_Down);
        const QByteArray where = QByteArray::number(index++);
        QVERIFY2(program.Placement() == step.placement, where.constData());
        QVERIFY2(program.MoveLine() == QString::fromLatin1(step.move_line), where.constData());
        QVERIFY2(MarkedAnnotationText(*program.window) == QString::fromLatin1(step.marked),
                 where.constData());
        // The main-line move stays marked in the text: the walk leaves from it.
        QVERIFY2(program.window->session().Navigation().currentPly == BranchPly, where.constData());
    }
    // The last-move highlight follows the analysis: Nd4-f3.
    const app::MoveSquares squares = program.window->session().LastMoveSquares();
    QCOMPARE((QList<int>{squares.from_file, squares.from_rank, squares.to_file, squares.to_rank}),
             (QList<int>{4, 4, 6, 3}));
    QVERIFY(program.ui.reports.empty());

    program.Key(Qt::Key_Down);
    QCOMPARE(program.ui.reports, std::vector<std::string>{"End of the analysis."});
    QCOMPARE(program.Placement(), main_line);
    QCOMPARE(program.MoveLine(), main_move_line);
    program.Key(Qt::Key_Down);
    QCOMPARE(program.ui.reports.size(), std::size_t{2});
    QCOMPARE(program.ui.reports.back(), std::string("End of the analysis."));
}

// The walk's own rules are tested with the session; here Ctrl+Up and Ctrl+Home reach it.
void MainWindowReplayTest::previousAndStartGoBack() {
    Program program(1);
    const std::string main_line = program.Placement();
    for (int step = 0; step < 13; ++step) program.Key(Qt::Key_Down);
    program.Key(Qt::Key_Up);
    QCOMPARE(program.Placement(), std::string(Walk[11].placement));
    QCOMPARE(program.MoveLine(), QStringLiteral("17. Kg1"));
    program.Key(Qt::Key_Home);
    QCOMPARE(program.Placement(), main_line);
    QCOMPARE(program.window->session().Navigation().currentPly, BranchPly);
    QVERIFY(program.ui.reports.empty());
}

void MainWindowReplayTest::buttonsReadAsTheModeSays() {
    Program program(1);
    auto* bar = program.window->findChild<QToolBar*>(QStringLiteral("ReplayBar"));
    QVERIFY(bar != nullptr);
    QVERIFY(bar->isVisible());
    QStringList labels;
    for (const char* name : {"ReplayNext", "ReplayPrevious", "ReplayStart", "ReplayPromote"}) {
        auto* button =
            qobject_cast<QToolButton*>(bar->widgetForAction(program.window->Action(name)));
        QVERIFY(button != nullptr);
        labels << button->text();
    }
    QCOMPARE(labels, (QStringList{"Next", "Prev", "Start", "Promote"}));
    // Promoting a line needs the game editor.
    QAction* promote = program.window->Action(QStringLiteral("ReplayPromote"));
    QVERIFY(!promote->isEnabled());
    QVERIFY(!promote->toolTip().isEmpty());
    // The keys are shown in the menu.
    QCOMPARE(program.window->Action(QStringLiteral("ReplayNext"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_Down));
    QCOMPARE(program.window->Action(QStringLiteral("ReplayPrevious"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_Up));

    // A click on the button steps like the key.
    QTest::mouseClick(bar->widgetForAction(program.window->Action("ReplayNext")), Qt::LeftButton);
    QCOMPARE(program.Placement(), std::string(Walk[0].placement));

    app::OptionsRecord off = program.state.options;
    off.AnalysisReplayMode = 0;
    off.AnalysisReplayActive = 0;
    program.window->optionsController().ApplyNewOptions(off);
    QVERIFY(!bar->isVisible());
}

void MainWindowReplayTest::refusedWhileTheModeIsOff() {
    Program program(0);
    const std::string main_line = program.Placement();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home}) {
        program.ui.reports.clear();
        program.Key(key);
        QCOMPARE(program.ui.reports,
                 std::vector<std::string>{"This function is only available when Analysis Replay "
                                          "Mode is enabled in the Options menu."});
        QCOMPARE(program.Placement(), main_line);
    }
}

void MainWindowReplayTest::leavingTheModeOrReloadingShowsTheMainLine() {
    struct Row {
        const char* name;
        int after_ply;
    };
    const Row rows[] = {{"mode switched off", BranchPly},
                        {"game loaded again", 0},
                        {"file reloaded", BranchPly},
                        {"main line stepped", BranchPly + 1}};
    for (const Row& row : rows) {
        Program program(1);
        for (int step = 0; step < 5; ++step) program.Key(Qt::Key_Down);
        QCOMPARE(program.Placement(), std::string(Walk[4].placement));
        const std::string name = row.name;
        if (name == "mode switched off") {
            app::OptionsRecord off = program.state.options;
            off.AnalysisReplayMode = 0;
            off.AnalysisReplayActive = 0;
            program.window->optionsController().ApplyNewOptions(off);
        } else if (name == "game loaded again") {
            QVERIFY(program.window->ShowGame(AnnotatedGame));
        } else if (name == "file reloaded") {
            program.window->Run(app::FileCommand::Reload);
        } else {
            QTest::keyClick(program.window.get(), Qt::Key_Down);
        }
        QVERIFY2(!program.window->session().Replay().Started(), row.name);
        QCOMPARE(program.window->session().Navigation().currentPly, row.after_ply);
        // The board shows the game's own move there, as stepping to it would.
        Program fresh(0);
        fresh.window->GoToPly(row.after_ply);
        QVERIFY2(program.Placement() == fresh.Placement(), row.name);
        QVERIFY2(program.MoveLine() == fresh.MoveLine(), row.name);
    }
}

void MainWindowReplayTest::analysisListShowsAndStartsTheLines() {
    Program program(1);
    QTest::keyClick(program.window.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    AnalysisListBox* box = program.window->game().analysisList();
    QVERIFY(box != nullptr);
    QVERIFY(box->isVisible());
    QCOMPARE(box->Heading(), QStringLiteral("Lines after 12. g3"));
    QCOMPARE(box->List()->count(), 1);
    QCOMPARE(box->List()->item(0)->text(),
             QStringLiteral(
                 "1- 12.e5 c6 13.exf6 fxg2+ 14.Kxg2 Bh3+ 15.Nxh3 Qg4+ 16.Kf1 Qe2+ 17.Kg1 Nf3#"));
    QCOMPARE(
        box->Detail()->toPlainText(),
        QStringLiteral("12.e5 c6 13.exf6 fxg2+ 14.Kxg2 Bh3+ 15.Nxh3 Qg4+ 16.Kf1 Qe2+ 17.Kg1 Nf3#"));

    // Choosing the line starts the walk in it.
    box->findChild<QPushButton*>(QStringLiteral("ReplayLine"))->click();
    QCOMPARE(program.Placement(), std::string(Walk[0].placement));
    // The list follows the main-line move, not the walk.
    QCOMPARE(box->List()->count(), 1);

    // One move on, nothing follows; at 7. Bxf7+ the annotator's 7. Bb5 does.
    QTest::keyClick(program.window.get(), Qt::Key_Down);
    QCOMPARE(box->List()->count(), 0);
    QCOMPARE(box->Heading(), QStringLiteral("No analysis lines follow this move."));
    program.window->GoToPly(13);
    QCOMPARE(box->List()->count(), 1);
    QCOMPARE(box->List()->item(0)->text(), QStringLiteral("1- 7.Bb5"));
    QVERIFY(program.ui.reports.empty());
}

void MainWindowReplayTest::largeBoardFallsBackOnAShortScreen() {
    struct Row {
        int chosen;
        int screen_height;
        int square;
    };
    const Row rows[] = {
        {2, 1200, SquareSizes[2]}, {2, 1000, SquareSizes[1]}, {2, 700, SquareSizes[0]},
        {1, 900, SquareSizes[1]},  {1, 740, SquareSizes[0]},  {0, 1200, SquareSizes[0]},
    };
    Program program(0);
    for (const Row& row : rows) {
        const QByteArray where =
            QByteArray::number(row.chosen) + " at " + QByteArray::number(row.screen_height);
        app::OptionsRecord options = program.state.options;
        options.BoardSize = row.chosen;
        program.window->optionsController().ApplyNewOptions(options);
        program.window->FitBoardToScreen(row.screen_height);
        QVERIFY2(program.window->board()->SquareSize() == row.square, where.constData());
        // The choice itself is kept for a taller screen.
        QVERIFY2(program.state.options.BoardSize == row.chosen, where.constData());
    }
}

}  // namespace qorvale::gui

QTEST_MAIN(qorvale::gui::MainWindowReplayTest)
#include "main_window_replay_test.moc"
