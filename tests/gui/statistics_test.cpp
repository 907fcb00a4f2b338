// Player scores, the cross table, the openings list, printing and the Yahoo importer as the window
// shows them: where the commands are, what the windows list and what choosing in them shows, and
// pages printed through Qt's own PDF output.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/app_folder.h"
#include "gui/file/file_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/output/player_card_box.h"
#include "gui/shell/main_window.h"
#include "gui/statistics/statistics_controller.h"
#include "gui/statistics/statistics_windows.h"
#include "gui/utilities/list_window.h"
#include "platform/file.h"
#include "support/program_home.h"

using namespace qorvale;

namespace {

// A started program on a copy of a real round robin (ten players, nine rounds), with the ECO
// table in its folder.
struct Program : test::ProgramHome {
    Program() : ProgramHome("stats/round-robin.pgn", "rr.pgn") {
        Start();
        for (const char* name : {"qorvale.eco", "qorvale.ecn", "qorvale.ecm"}) {
            platform::CopyFile(app::ProgramDataFolder() + "/" + name, home.File(name));
        }
    }
};

void OnModal(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step = std::move(step)] { step(QApplication::activeModalWidget()); });
}

}  // namespace

class StatisticsTest : public QObject {
    Q_OBJECT

  private slots:
    void ScoresSortAndAPlayersGamesBecomeTheList() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        window.Action(QStringLiteral("PlayerScores"))->trigger();
        gui::PlayerScoresWindow* scores = window.statistics().ScoresWindow();
        QVERIFY(scores->isVisible());
        QCOMPARE(scores->windowTitle(), QStringLiteral("Player Scores"));
        QTableWidget* table = scores->table();
        QCOMPARE(table->rowCount(), 10);
        // Sorted by score as built; the Rating header sorts by the numbers, not their text.
        QVERIFY(table->item(0, 2)->text().toDouble() >= table->item(9, 2)->text().toDouble());
        table->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
        for (int row = 1; row < 10; ++row) {
            QVERIFY(table->item(row - 1, 1)->text().toInt() <= table->item(row, 1)->text().toInt());
        }
        const QString player = table->item(3, 0)->text();
        emit table->itemActivated(table->item(3, 2));
        QVERIFY(window.session().Games().FromSearch());
        QCOMPARE(window.session().Games().Count(window.session().GameCount()), 9);
        const std::string& white =
            window.session().Header().CurrentHeader().Get(pgn::HeaderField::White);
        const std::string& black =
            window.session().Header().CurrentHeader().Get(pgn::HeaderField::Black);
        QVERIFY(QString::fromStdString(white) == player || QString::fromStdString(black) == player);

        // The context menu's Player Information opens that player's card.
        emit scores->playerCardAsked(table->item(3, 0)->data(Qt::UserRole).toInt());
        QVERIFY(window.playerCards().Box()->isVisible());

        // Over the list of one player's games the table holds the player and the nine opponents.
        window.Action(QStringLiteral("PlayerScores"))->trigger();
        QCOMPARE(table->rowCount(), 10);
        scores->exact()->setChecked(true);
        QCOMPARE(scores->windowTitle(), QStringLiteral("Player Scores/Exact Player Match"));

        window.Action(QStringLiteral("CrossTable"))->trigger();
        gui::CrossTableWindow* cross = window.statistics().TableWindow();
        QVERIFY(cross->isVisible());
        QCOMPARE(cross->windowTitle(), QStringLiteral("Cross Table/Exact Player Match"));
        QVERIFY(cross->exact()->isChecked());
        QVERIFY(cross->text()->toPlainText().contains(QStringLiteral("Rnd 9")));

        window.openings().InitialiseOpenings();
        window.Action(QStringLiteral("OpeningsList"))->trigger();
        gui::ListWindow* openings = window.statistics().OpeningsWindow();
        QVERIFY(openings->isVisible());
        QVERIFY(openings->list()->count() > 1);
        // Choosing a line lists that opening's games: as many as the line counts.
        const QString first = openings->list()->item(0)->text();
        const int games =
            first.section(QLatin1Char(':'), 1, 1).trimmed().section(QLatin1Char(' '), 0, 0).toInt();
        QVERIFY(games > 0);
        emit openings->rowChosen(0);
        QCOMPARE(window.session().Games().Count(window.session().GameCount()), games);
    }

    void PrintListToPdfAndYahooGamesIntoAFile() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        gui::StatisticsController& statistics = window.statistics();
        window.Action(QStringLiteral("AddMovesToPrintList"))->trigger();
        window.Action(QStringLiteral("AddTextToPrintList"))->trigger();
        QCOMPARE(program.ui.reports.back(), std::string("Game added to print list."));
        QVERIFY(statistics.List().IsOpen());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = QString::fromStdString(program.home.File("list.pdf"));
        printer.setOutputFileName(pdf);
        QVERIFY(statistics.PrintOn(printer));
        const std::string bytes = test::ReadWholeFile(pdf.toStdString());
        QVERIFY(bytes.starts_with("%PDF"));

        // Closing the window with the list still open asks before it is dropped.
        program.ui.answers = {false};
        QVERIFY(window.close());
        QCOMPARE(program.ui.questions.back(), std::string("Flush the print list?"));
        QVERIFY(!statistics.List().IsOpen());

        // The header of each converted game is shown for its result.
        const QString target = QString::fromStdString(program.home.File("yahoo"));
        OnModal([](QWidget* box) {
            QVERIFY(box != nullptr);
            QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection);
        });
        QVERIFY(statistics.ConvertYahoo(";White: one\n;Black: two\n1. e4 e5 2. Nf3\n\n",
                                        target + QStringLiteral(".pgn")));
        QVERIFY(test::ReadWholeFile(program.home.File("yahoo.pgn")).find("[White \"one\"]") !=
                std::string::npos);
    }
};

QTEST_MAIN(StatisticsTest)
#include "statistics_test.moc"
