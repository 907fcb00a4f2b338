#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <fstream>
#include <map>
#include <sstream>

#include "app/app_folder.h"
#include "app/options_file.h"
#include "app/start_up.h"
#include "chess/fen.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_box.h"
#include "gui/options/options_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/panels/game_text_widget.h"
#include "gui/search/search_controller.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "platform/file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

Q_DECLARE_METATYPE(qorvale::app::NavigationAction)

namespace qorvale::gui {

namespace {

constexpr int GamesInFile = 12;

// Placements after each half-move as pgn-extract replays the games: (file, game, ply).
using PlacementKey = std::tuple<std::string, int, int>;
const std::map<PlacementKey, std::string>& ReferencePlacements() {
    static const std::map<PlacementKey, std::string> placements = [] {
        std::map<PlacementKey, std::string> table;
        std::ifstream in(test::TestDataPath("gui/placements.tsv"));
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string file, game, ply, placement;
            std::getline(fields, file, '\t');
            std::getline(fields, game, '\t');
            std::getline(fields, ply, '\t');
            std::getline(fields, placement, '\t');
            table[{file, std::stoi(game), std::stoi(ply)}] = placement;
        }
        return table;
    }();
    return placements;
}

// A started program over a fresh install folder, with a window that reports to a recorder.
struct Program {
    test::TempDir folder;
    app::StartUpState state;
    test::RecordingUi ui;
    std::unique_ptr<MainWindow> window;

    Program() { Start(); }

    void Start() {
        state = app::StartUp({folder.path(), "", false});
        window = std::make_unique<MainWindow>(state);
        window->SetUi(ui);
        window->show();
        // Key presses reach the window's shortcuts only while it is the active window.
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        (void)QTest::qWaitForWindowActive(window.get());
    }
    void Restart() {
        window->close();
        window.reset();
        Start();
    }
    bool Open(const char* name) {
        return window->file().OpenPath(
            QString::fromStdString(folder.CopyData(std::string("gui/") + name, name)));
    }
    int Ply() const { return window->session().Navigation().currentPly; }
    std::string Placement() const { return chess::WritePlacement(window->board()->Position()); }
};

// The text the game text panel shows at the marked move's place.
std::string MarkedMoveText(const MainWindow& window) {
    const GameTextView& view = window.gameText()->View();
    app::PlyPlace place = view.text.PlaceOf(view.ply);
    if (place.line == 0) return {};
    const std::string& line =
        view.text.TextLines.at(static_cast<std::size_t>(place.line - app::FirstMoveLine));
    std::string rest = line.substr(static_cast<std::size_t>(place.column));
    return rest.substr(0, rest.find(' '));
}

std::string MainLineMove(const MainWindow& window, int ply) {
    const auto& moves = window.session().Lines().Moves();
    const auto index = static_cast<std::size_t>((ply - 1) / 2);
    return std::string(ply % 2 == 1 ? moves.WhiteMoves[index].view()
                                    : moves.BlackMoves[index].view());
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { qRegisterMetaType<app::NavigationAction>(); }
    void opensARealFile();
    void keysStepThroughTheGame_data();
    void keysStepThroughTheGame();
    void boardClicks_data();
    void boardClicks();
    void clickingAMoveGoesToIt();
    void nextAndPreviousGame();
    void autoPlayRunsToTheEnd();
    void optionsPersistAcrossARestart();
    void optionsDialogRefusesBadLetters_data();
    void optionsDialogRefusesBadLetters();
    void droppedFileOpens();
    void previousFileComesBackAtItsGameAndPly();
    void badInputDoesNotBreakTheWindow();
};

void MainWindowTest::opensARealFile() {
    Program program;
    QVERIFY(program.Open("annotated-matches.pgn"));
    QCOMPARE(program.window->FileStatusText(), QStringLiteral("File:  Annotated-Matches"));
    QCOMPARE(program.window->GameStatusText(), QStringLiteral("Game:  1 of %1").arg(GamesInFile));
    QCOMPARE(program.Ply(), 0);
    QCOMPARE(program.Placement(), std::string("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"));
    const QStringList& header = program.window->gameText()->View().header;
    QVERIFY(header.size() >= 4);
    QCOMPARE(header[0], QStringLiteral("White: Leonardo, Giovanni"));
    QCOMPARE(header[1], QStringLiteral("Black: Lopez, Ruy"));
    QVERIFY(program.ui.reports.empty());
}

void MainWindowTest::keysStepThroughTheGame_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("ply");
    // Game 1 has 17 half-moves.
    QTest::newRow("down") << QList<int>{Qt::Key_Down, Qt::Key_Down} << 2;
    QTest::newRow("down then up") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << 1;
    QTest::newRow("up at the start") << QList<int>{Qt::Key_Up} << 0;
    QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << 10;
    QTest::newRow("page down twice ends") << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown} << 17;
    QTest::newRow("page up to the start")
        << QList<int>{Qt::Key_PageDown, Qt::Key_Down, Qt::Key_PageUp} << 1;
    QTest::newRow("end") << QList<int>{Qt::Key_End} << 17;
    QTest::newRow("end then home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
    QTest::newRow("insert is the middle") << QList<int>{Qt::Key_Insert} << 7;
    QTest::newRow("delete is the middle") << QList<int>{Qt::Key_End, Qt::Key_Delete} << 7;
}

void MainWindowTest::keysStepThroughTheGame() {
    QFETCH(QList<int>, keys);
    QFETCH(int, ply);
    Program program;
    QVERIFY(program.Open("annotated-matches.pgn"));
    for (int key : keys) QTest::keyClick(program.window.get(), static_cast<Qt::Key>(key));
    QCOMPARE(program.Ply(), ply);
    if (ply > 0) {
        QCOMPARE(program.Placement(), ReferencePlacements().at({"annotated-matches.pgn", 1, ply}));
        QCOMPARE(MarkedMoveText(*program.window), MainLineMove(*program.window, ply));
    }
    // The result shows at the end of the game only.
    QCOMPARE(program.window->ResultLineText(), ply == 17 ? QStringLiteral("1-0") : QString());
}

void MainWindowTest::boardClicks_data() {
    QTest::addColumn<bool>("flipped");
    QTest::addColumn<int>("file");
    QTest::addColumn<int>("rank");
    QTest::addColumn<int>("ply");
    // Each click starts from ply 4 of the 17-ply game.
    QTest::newRow("rank 3 steps on") << false << 5 << 3 << 5;
    QTest::newRow("rank 6 steps back") << false << 2 << 6 << 3;
    QTest::newRow("rank 1 forward 5") << false << 4 << 1 << 14;
    QTest::newRow("rank 8 back 5") << false << 4 << 8 << 0;
    QTest::newRow("h1 end") << false << 8 << 1 << 17;
    QTest::newRow("a8 start") << false << 1 << 8 << 0;
    QTest::newRow("a1 middle") << false << 1 << 1 << 7;
    QTest::newRow("flipped rank 3 still steps on") << true << 5 << 3 << 5;
    QTest::newRow("flipped h1 still ends") << true << 8 << 1 << 17;
}

void MainWindowTest::boardClicks() {
    QFETCH(bool, flipped);
    QFETCH(int, file);
    QFETCH(int, rank);
    QFETCH(int, ply);
    Program program;
    QVERIFY(program.Open("annotated-matches.pgn"));
    for (int step = 0; step < 4; ++step) QTest::keyClick(program.window.get(), Qt::Key_Down);
    if (program.window->Action("FlipBoard")->isChecked() != flipped) {
        program.window->Action("FlipBoard")->trigger();
    }
    BoardWidget* board = program.window->board();
    QPoint centre = board->SquareRect(file, rank).center();
    QCOMPARE(board->SquareAt(centre), std::make_pair(file, rank));
    QTest::mouseClick(board, Qt::LeftButton, {}, centre);
    QCOMPARE(program.Ply(), ply);
}

void MainWindowTest::clickingAMoveGoesToIt() {
    Program program;
    QVERIFY(program.Open("annotated-matches.pgn"));
    QVERIFY(program.window->ShowGame(3));
    GameTextWidget* text = program.window->gameText();
    for (int target : {9, 4, 1, 10}) {
        // Marking the target first gives its rectangle; then leave it and click it.
        program.window->GoToPly(target);
        QRect rect = text->MoveRect(target);
        QVERIFY2(!rect.isEmpty(), qPrintable(QString::number(target)));
        program.window->GoToPly(0);
        QTest::mouseClick(text, Qt::LeftButton, {}, rect.center());
        QCOMPARE(program.Ply(), target);
        QCOMPARE(program.Placement(),
                 ReferencePlacements().at({"annotated-matches.pgn", 3, target}));
    }
}

void MainWindowTest::nextAndPreviousGame() {
    Program program;
    QVERIFY(program.Open("annotated-matches.pgn"));
    QTest::keyClick(program.window.get(), Qt::Key_End);
    QTest::keyClick(program.window.get(), Qt::Key_Right);
    QCOMPARE(program.window->session().GameNumber(), 2);
    QCOMPARE(program.Ply(), 0);
    QCOMPARE(program.window->GameStatusText(), QStringLiteral("Game:  2 of %1").arg(GamesInFile));
    QTest::keyClick(program.window.get(), Qt::Key_Left);
    QTest::keyClick(program.window.get(), Qt::Key_Left);
    QCOMPARE(program.window->session().GameNumber(), 1);
    QVERIFY(program.window->ShowGame(GamesInFile));
    QTest::keyClick(program.window.get(), Qt::Key_Right);
    QCOMPARE(program.window->session().GameNumber(), GamesInFile);
}

void MainWindowTest::autoPlayRunsToTheEnd() {
    Program program;
    app::OptionsRecord options = program.state.options;
    app::SetText(options.AutoPlayDelay, "0.01");
    program.window->optionsController().ApplyNewOptions(options);
    QVERIFY(program.Open("annotated-matches.pgn"));
    QTest::keyClick(program.window.get(), Qt::Key_Space);
    QVERIFY(program.window->game().AutoPlaying());
    QCOMPARE(program.window->Action("AutoPlay")->text(), QStringLiteral("Stop Auto Play"));
    QTRY_COMPARE(program.Ply(), 17);
    QTRY_VERIFY(!program.window->game().AutoPlaying());
    QCOMPARE(program.window->Action("AutoPlay")->text(), QStringLiteral("Auto Play"));
}

void MainWindowTest::optionsPersistAcrossARestart() {
    Program program;
    app::OptionsRecord options = program.state.options;
    options.BoardSize = 2;
    options.PieceStyle = 2;
    options.WoodBoard = 0;
    options.HighlightLastMove = 3;
    options.FigurineNotation = 0;
    app::SetAlphaPieceLetters(options, "DTLSC");
    // A screen tall enough for the Large board.
    program.window->FitBoardToScreen(1200);
    program.window->optionsController().ApplyNewOptions(options);
    QCOMPARE(program.window->board()->SquareSize(), SquareSizes[2]);
    QVERIFY(program.Open("annotated-matches.pgn"));

    program.Restart();
    QCOMPARE(program.state.options.BoardSize, 2);
    QCOMPARE(program.state.options.PieceStyle, 2);
    QCOMPARE(program.state.options.HighlightLastMove, 3);
    program.window->FitBoardToScreen(1200);
    QCOMPARE(program.window->board()->SquareSize(), SquareSizes[2]);
    // The last file comes back when the start-up command arrives, with the letters in use.
    program.window->RunCommand(Command::OpenFile);
    QCOMPARE(program.window->session().GameNumber(), 1);
    QTest::keyClick(program.window.get(), Qt::Key_Down);
    QTest::keyClick(program.window.get(), Qt::Key_Down);
    QTest::keyClick(program.window.get(), Qt::Key_Down);
    QCOMPARE(program.window->MoveLineText(), QStringLiteral("  2. Cf3"));
}

void MainWindowTest::optionsDialogRefusesBadLetters_data() {
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QString>("message");
    QTest::newRow("repeated") << "KQRBB"
                              << "Characters must be different.";
    QTest::newRow("digit") << "KQR1N"
                           << "Only valid characters are A to Z.";
    QTest::newRow("custom") << "DTLSC"
                            << "";
    QTest::newRow("english") << "KQRBN"
                             << "";
}

void MainWindowTest::optionsDialogRefusesBadLetters() {
    QFETCH(QString, letters);
    QFETCH(QString, message);
    test::TempDir folder;
    app::StartUpState state = app::StartUp({folder.path(), "", false});
    test::RecordingUi ui;
    Optionsbox box(state.options, ui, true);
    box.LettersEdit()->setText(letters);
    const bool taken = box.TakeEntries();
    QCOMPARE(taken, message.isEmpty());
    if (!taken) {
        QCOMPARE(ui.reports.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(ui.reports[0]), message);
        return;
    }
    QCOMPARE(QString::fromStdString(app::GetText(box.Result().AlphaPieceLetters)), letters);
    QCOMPARE(box.Result().CustomPieceLetters != 0, letters != QStringLiteral("KQRBN"));
}

void MainWindowTest::droppedFileOpens() {
    Program program;
    QVERIFY(program.window->acceptDrops());
    // A drag enters, then drops: the window sees the events as a desktop sends them.
    auto drag_and_drop = [&program](const QMimeData& data) {
        const QPoint point = program.window->rect().center();
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(program.window.get(), &enter);
        QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(program.window.get(), &drop);
        return std::make_pair(enter.isAccepted(), drop.isAccepted());
    };
    QMimeData text_only;
    text_only.setText(QStringLiteral("1. e4 e5"));
    QCOMPARE(drag_and_drop(text_only), std::make_pair(false, false));
    QCOMPARE(program.window->session().GameNumber(), 0);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(
        program.folder.CopyData("gui/annotated-matches.pgn", "annotated-matches.pgn")))});
    QCOMPARE(drag_and_drop(data), std::make_pair(true, true));
    QCOMPARE(program.window->session().GameNumber(), 1);
    QCOMPARE(program.window->session().GameCount(), GamesInFile);
    QVERIFY(QString::fromStdString(program.window->session().File().CurrentPath())
                .endsWith(QStringLiteral("annotated-matches.pgn")));
    QVERIFY(program.ui.reports.empty());
}

void MainWindowTest::previousFileComesBackAtItsGameAndPly() {
    Program program;
    QVERIFY(program.Open("annotated-matches.pgn"));
    QVERIFY(program.window->ShowGame(3));
    for (int step = 0; step < 5; ++step) QTest::keyClick(program.window.get(), Qt::Key_Down);
    QVERIFY(program.Open("study-chapters.pgn"));
    QVERIFY(program.window->ShowGame(2));
    QTest::keyClick(program.window.get(), Qt::Key_Down);

    QVERIFY(program.window->file().SwitchToPrevious());
    QVERIFY(QString::fromStdString(program.window->session().File().CurrentPath())
                .endsWith(QStringLiteral("annotated-matches.pgn")));
    QCOMPARE(program.window->session().GameNumber(), 3);
    QCOMPARE(program.Ply(), 5);
    QCOMPARE(program.Placement(), ReferencePlacements().at({"annotated-matches.pgn", 3, 5}));
    QCOMPARE(app::GetText(program.state.options.PreviousFileName),
             std::string("study-chapters.pgn"));

    // And back again, to the game and ply left there.
    QVERIFY(program.window->file().SwitchToPrevious());
    QVERIFY(QString::fromStdString(program.window->session().File().CurrentPath())
                .endsWith(QStringLiteral("study-chapters.pgn")));
    QCOMPARE(program.window->session().GameNumber(), 2);
    QCOMPARE(program.Ply(), 2);
    QVERIFY(program.ui.reports.empty());
}

void MainWindowTest::badInputDoesNotBreakTheWindow() {
    Program program;
    QVERIFY(!program.window->file().OpenPath(QStringLiteral("/nonexistent/folder/none.pgn")));
    QCOMPARE(program.ui.reports.back(), std::string("Error opening file."));
    // Keys and clicks without a file do nothing.
    for (int key : {Qt::Key_Down, Qt::Key_End, Qt::Key_Right, Qt::Key_Space}) {
        QTest::keyClick(program.window.get(), static_cast<Qt::Key>(key));
    }
    QCOMPARE(program.Ply(), 0);

    // German piece letters from move 2 on: the first moves still show, and stepping through
    // the rest neither stops the window nor leaves the game.
    QVERIFY(program.Open("german-letters.pgn"));
    QTest::keyClick(program.window.get(), Qt::Key_Down);
    QTest::keyClick(program.window.get(), Qt::Key_Down);
    QCOMPARE(program.Placement(), std::string("rnbqkbnr/pppp1ppp/8/4p3/8/1P6/P1PPPPPP/RNBQKBNR"));
    const int last = program.window->session().Navigation().lastPly;
    for (int step = 2; step < last + 3; ++step) QTest::keyClick(program.window.get(), Qt::Key_Down);
    QVERIFY(program.Ply() <= last);
    QTest::keyClick(program.window.get(), Qt::Key_Home);
    QCOMPARE(program.Ply(), 0);

    QVERIFY(program.Open("bad.pgn"));
    BoardWidget* board = program.window->board();
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            QTest::mouseClick(board, Qt::LeftButton, {}, board->SquareRect(file, rank).center());
        }
    }
    for (int key : {Qt::Key_End, Qt::Key_Home, Qt::Key_Insert, Qt::Key_PageDown, Qt::Key_Left}) {
        QTest::keyClick(program.window.get(), static_cast<Qt::Key>(key));
    }
    QVERIFY(program.Ply() >= 0);
    QVERIFY(program.Ply() <= program.window->session().Navigation().lastPly);
}

}  // namespace qorvale::gui

QTEST_MAIN(qorvale::gui::MainWindowTest)
#include "main_window_navigation_test.moc"
