#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QtTest>

#include "app/start_up.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/search/search_controller.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "platform/file.h"
#include "support/program_home.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

using namespace qorvale;

namespace {

struct Entry {
    const char* code;
    const char* name;
    const char* moves;
};

// A small table in the program's three files, written into a fresh install folder. The games are
// the 1886 match's first three: 1.d4 d5 2.c4 c6 3.e3 Bf5 ... tagged D11, 1.e4 e5 2.Nf3 ...
// tagged C47 and 1.d4 d5 2.c4 c6 3.e3 Bf5 4.a3 ... tagged D10.
const Entry SmallTable[] = {
    {"D10", "Slav Defence", "1.d4 d5 2.c4 c6"},
    {"D11", "Slav Defence: Modern Line", "1.d4 d5 2.c4 c6 3.Nf3"},
    {"D11", "Slav Defence: Breyer Variation", "1.d4 d5 2.c4 c6 3.e3"},
    {"D06", "Queen's Gambit", "1.d4 d5 2.c4"},
    {"A40", "Queen's Pawn Game", "1.d4"},
    {"D00", "Queen's Pawn Game: Double", "1.d4 d5"},
    {"B20",
     "Sicilian Defence: a name far too long for the line under the board, so that it has "
     "to be cut back at a space and marked as shortened",
     "1.e4 c5"},
};

struct Program : test::ProgramHome {
    Program() : ProgramHome("app/steinitz-zukertort-1886.pgn", "world-1886.pgn") {
        std::string codes, names, moves;
        for (const Entry& entry : SmallTable) {
            codes += std::string(entry.code) + "\r\n";
            names += std::string(entry.name) + "\r\n";
            moves += std::string(entry.moves) + "\r\n";
        }
        home.Write("qorvale.eco", codes);
        home.Write("qorvale.ecn", names);
        home.Write("qorvale.ecm", moves);
        Start();
        state.options.DisplayOpening = 1;
    }
};

void StepTo(gui::MainWindow& window, int ply) {
    window.game().Navigate(app::NavigationAction::StartOfGame);
    for (int i = 0; i < ply; ++i) window.game().Navigate(app::NavigationAction::NextMove);
}

}  // namespace

class MainWindowOpeningTest : public QObject {
    Q_OBJECT

  private slots:
    void OpeningLineFollowsTheMoves() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        window.openings().InitialiseOpenings();
        QVERIFY(program.ui.reports.empty());
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));

        struct Row {
            int game;
            int ply;
            QString text;
        };
        const Row rows[] = {
            // At the start the game's own tag names it; of the two D11 lines the one the game
            // plays is taken.
            {1, 0, "D11 Slav Defence: Breyer Variation"},
            {1, 1, "A40 Queen's Pawn Game"},
            {1, 2, "D00 Queen's Pawn Game: Double"},
            {1, 3, "D06 Queen's Gambit"},
            {1, 4, "D10 Slav Defence"},
            {1, 5, "D11 Slav Defence: Breyer Variation"},
            // Past the end of every line the name stays, marked.
            {1, 6, "D11 Slav Defence: Breyer Variation *"},
            {1, 40, "D11 Slav Defence: Breyer Variation *"},
            // A tag the table does not hold is shown alone; a position no line names shows nothing.
            {2, 0, "C47"},
            {2, 2, ""},
            {3, 0, "D10 Slav Defence"},
            {3, 6, "D11 Slav Defence: Breyer Variation *"},
        };
        for (const Row& row : rows) {
            const QByteArray trace =
                QByteArray::number(row.game) + "/" + QByteArray::number(row.ply);
            QVERIFY(window.ShowGame(row.game));
            StepTo(window, row.ply);
            QVERIFY2(window.session().Navigation().currentPly == row.ply, trace.constData());
            QVERIFY2(window.OpeningLineText() == row.text,
                     (trace + ": " + window.OpeningLineText().toUtf8()).constData());
        }

        // A jump names the position it lands on.
        QVERIFY(window.ShowGame(1));
        window.game().Navigate(app::NavigationAction::EndOfGame);
        QCOMPARE(window.OpeningLineText(), QStringLiteral("D11 Slav Defence: Breyer Variation *"));
        window.GoToPly(3);
        QCOMPARE(window.OpeningLineText(), QStringLiteral("D06 Queen's Gambit"));

        // Switched off, the line is empty; on again, it names the position at once.
        window.Action("DisplayOpening")->trigger();
        QCOMPARE(window.OpeningLineText(), QString());
        QCOMPARE(program.state.options.DisplayOpening, 0);
        window.Action("DisplayOpening")->trigger();
        QCOMPARE(window.OpeningLineText(), QStringLiteral("D06 Queen's Gambit"));
    }

    void LongNamesAreCutToTheBoardWidth() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        window.openings().InitialiseOpenings();
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QVERIFY(window.ShowGame(2));
        // 1.e4 is on the way to the long-named line.
        StepTo(window, 1);
        const QString shown = window.OpeningLineText();
        QVERIFY2(shown.startsWith(QStringLiteral("B20 Sicilian Defence: a name")),
                 shown.toUtf8().constData());
        QVERIFY(shown.endsWith(QStringLiteral("...")));
        const QString kept = shown.chopped(3);
        // Cut back to a whole word: what is kept is a word-ending prefix of the full name.
        QVERIFY(QStringLiteral("B20 ")
                    .append(QString::fromUtf8(SmallTable[6].name))
                    .startsWith(kept + QLatin1Char(' ')));
        const int board = std::max(window.board()->width(), window.board()->sizeHint().width());
        QFontMetrics metrics(window.findChild<QLabel*>("OpeningLine")->font());
        QVERIFY(metrics.horizontalAdvance(shown) <= board + metrics.horizontalAdvance("..."));
    }

    void OpeningCommandsAndTheirMessages() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        window.openings().InitialiseOpenings();
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        struct Row {
            const char* action;
            int game;
            int ply;
            std::string report;
        };
        const Row rows[] = {
            {"ShowOpening", 1, 0, "There are no moves to check."},
            {"ShowOpening", 1, 3, "D06 Queen's Gambit"},
            {"ShowOpening", 1, 9, "D11 Slav Defence: Breyer Variation"},
            {"ShowOpening", 2, 4, "No opening match was found."},
        };
        for (const Row& row : rows) {
            QVERIFY(window.ShowGame(row.game));
            StepTo(window, row.ply);
            program.ui.reports.clear();
            window.Action(row.action)->trigger();
            QVERIFY2(program.ui.reports == std::vector<std::string>{row.report}, row.action);
        }
        // The Find Opening commands work in the line modes only: disabled here, and the tool tip
        // says where they work.
        for (const char* name : {"FindOpeningClosestMatch", "FindOpeningExactNumberOfMoves",
                                 "FindOpeningExactVariation"}) {
            QAction* action = window.Action(QString::fromLatin1(name));
            QVERIFY2(!action->isEnabled(), name);
            QVERIFY2(action->toolTip().contains(QStringLiteral("Variation Edit or Analyze")), name);
        }
    }

    void MissingTableIsReportedAndTheLineStaysEmpty() {
        Program program;
        platform::DeleteFile(program.home.File("qorvale.ecn"));
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        window.openings().InitialiseOpenings();
        QCOMPARE(program.ui.reports, std::vector<std::string>{"ECO table corruption."});
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QVERIFY(window.ShowGame(1));
        StepTo(window, 4);
        QCOMPARE(window.OpeningLineText(), QString());
    }
};

QTEST_MAIN(MainWindowOpeningTest)
#include "main_window_opening_test.moc"
