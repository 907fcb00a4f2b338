// The folder search and the database as the window shows them: the Search Dir button runs the
// search over a folder and its results open one file with only its found games; a database made
// from the open file shows its name in the status bar, and its found games in the database mode
// of the main window.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "gui/database/database_controller.h"
#include "gui/database/database_game_list_box.h"
#include "gui/file/file_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/panels/game_text_widget.h"
#include "gui/search/directory_controller.h"
#include "gui/search/search_controller.h"
#include "gui/search/searchbox.h"
#include "gui/search/select_filebox.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "platform/file.h"
#include "search/messages.h"
#include "support/modal_answer.h"
#include "support/program_home.h"
#include "support/temp_dir.h"

using namespace qorvale;
using test::WhenModal;

namespace {

// Twelve games of three historic matches (McDonnell has White in games 4, 7, 9 and 10; games
// 4, 5, 7, 8, 10 and 11 end 0-1) as the open file.
struct Program : test::ProgramHome {
    Program() : ProgramHome("gui/annotated-matches.pgn", "matches.pgn") { Start(); }
};

std::vector<int> FoundNumbers(const gui::MainWindow& window) {
    std::vector<int> numbers;
    for (const search::FoundGame& game : window.session().Search().List().Games()) {
        numbers.push_back(game.game_number);
    }
    return numbers;
}

}  // namespace

class DatabaseTest : public QObject {
    Q_OBJECT

  private slots:
    void SelectAllGamesPutsTheWholeFileInTheSearchList() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        window.Action("SelectAllGames")->trigger();
        QCOMPARE(program.ui.reports.back(),
                 std::string("All 12 games have been selected into the file search list."));
        QCOMPARE(window.session().Games().Count(window.session().GameCount()), 12);
    }

    void SearchDirOpensTheChosenFileWithOnlyItsFoundGames() {
        Program program;
        test::TempDir folder;
        folder.CopyData("gui/annotated-matches.pgn", "matches.pgn");
        const std::string world = folder.CopyData("app/steinitz-zukertort-1886.pgn", "world.pgn");
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));

        bool header_seen = false, folder_seen = false, list_seen = false;
        QStringList lines;
        QString total;
        WhenModal<gui::Searchbox>(header_seen, [&](gui::Searchbox* box) {
            box->Field(search::HeaderCriterion::Result)->setText("0-1");
            WhenModal<QFileDialog>(folder_seen, [&](QFileDialog* dialog) {
                dialog->setDirectory(QString::fromStdString(folder.path()));
                static_cast<QDialog*>(dialog)->accept();
            });
            box->findChild<QPushButton*>("SearchDir")->click();
        });
        program.ui.answers = {true};  // View results now?
        WhenModal<gui::SelectFilebox>(list_seen, [&](gui::SelectFilebox* box) {
            for (int row = 0; row < box->List()->count(); ++row) {
                lines << box->List()->item(row)->text();
            }
            total = box->findChild<QLabel*>("TotalGames")->text();
            box->OkButton()->click();  // nothing chosen yet: the list stays
            box->List()->setCurrentRow(1);
            box->OkButton()->click();
        });
        window.Action("SearchHeader")->trigger();
        QVERIFY(header_seen);
        QTRY_VERIFY_WITH_TIMEOUT(list_seen, 20000);
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);

        QCOMPARE(program.ui.questions,
                 std::vector<std::string>{std::string(search::messages::ViewResultsNow)});
        QCOMPARE(lines, (QStringList{"matches:6", "world:2"}));
        QCOMPARE(total, QStringLiteral("Total games: 8"));
        QVERIFY(std::find(program.ui.reports.begin(), program.ui.reports.end(),
                          search::messages::SelectFileFirst) != program.ui.reports.end());

        // The chosen file is open, and its list walks only what the folder search found there:
        // the same games a search of that file alone finds.
        QCOMPARE(window.session().File().CurrentPath(), world);
        const std::vector<int> from_folder = FoundNumbers(window);
        QCOMPARE(window.session().Games().Count(window.session().GameCount()),
                 static_cast<int>(from_folder.size()));
        QCOMPARE(window.session().GameNumber(), from_folder.front());
        window.Action("NextGame")->trigger();
        QCOMPARE(window.session().GameNumber(), from_folder.back());
        search::HeaderCriteria criteria;
        criteria.Set(search::HeaderCriterion::Result, "0-1");
        window.search().RunHeaderSearch(criteria);
        QCOMPARE(FoundNumbers(window), from_folder);
    }

    void DatabaseFromTheOpenFileIsSearchedAndItsGamesShown() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        const std::string dbg = program.home.path() + "/games.dbg";
        // No fast file yet: make it first; then "Are you sure?".
        program.ui.answers = {true, true};
        QVERIFY(window.database().MakeDatabase(dbg, search::DbBuildMode::StartNew));
        QTRY_VERIFY_WITH_TIMEOUT(window.database().Database().IsOpen(), 20000);
        QCOMPARE(window.DatabaseStatusText(), QStringLiteral("DB:  games.dbg"));

        // McDonnell's White games, as a search of the file finds them.
        search::HeaderCriteria header;
        header.Set(search::HeaderCriterion::White, "McDonnell");
        window.search().RunHeaderSearch(header);
        const std::vector<int> from_file = FoundNumbers(window);

        bool list_seen = false;
        QString title;
        int rows = 0;
        WhenModal<gui::DatabaseGameListBox>(list_seen, [&](gui::DatabaseGameListBox* box) {
            title = box->windowTitle();
            rows = box->List()->topLevelItemCount();
            box->List()->setCurrentItem(box->List()->topLevelItem(1));
            box->accept();
        });
        search::DbSearchCriteria criteria;
        criteria.white = "McDonnell";
        QCOMPARE(window.database().SearchDatabase(criteria, false, false),
                 static_cast<int>(from_file.size()));
        QVERIFY(list_seen);
        QCOMPARE(title, QStringLiteral("Select Game from %1").arg(from_file.size()));
        QCOMPARE(rows, static_cast<int>(from_file.size()));

        // The second found game is on the window's board in the database mode. The database was
        // made from the open file, so record N is the file's game N + 1: the file's game, read from
        // its text, is the oracle for what the board and the header show, move by move.
        QCOMPARE(window.session().Modes().Current(), app::Mode::Database);
        QCOMPARE(window.findChild<QLabel*>("ModeStatus")->text(), QStringLiteral("Database"));
        QCOMPARE(window.GameStatusText(), QStringLiteral("Game:  2 of %1").arg(from_file.size()));
        const std::uint32_t record = window.database().Database().Row(1).record;
        QVERIFY(record + 1 != static_cast<std::uint32_t>(window.session().GameNumber()));
        for (const char* action : {"AutoPlay", "SearchHeader", "SaveDiagram", "ShowOpening", "Open",
                                   "AddGame", "GoToGame", "ReplayNext"}) {
            QVERIFY2(!window.Action(action)->isEnabled(), action);
        }
        QVERIFY(window.Action("NextGame")->isEnabled());

        gui::MainWindow oracle(program.state);
        oracle.SetUi(program.ui);
        QVERIFY(oracle.file().OpenPath(QString::fromStdString(program.games)));
        QVERIFY(oracle.ShowGame(static_cast<std::int32_t>(record) + 1));
        QCOMPARE(window.gameText()->View().header.front(),
                 oracle.gameText()->View().header.front());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const int last = oracle.session().Navigation().lastPly;
        QVERIFY(last > 10);
        for (int ply = 0; ply <= last; ++ply) {
            QVERIFY2(window.board()->Position() == oracle.session().CurrentBoard(),
                     qPrintable(QStringLiteral("ply %1").arg(ply)));
            QTest::keyClick(&window, Qt::Key_Down);
            oracle.Run(app::GameCommand::NextMove);
        }
        QCOMPARE(window.ResultLineText(), oracle.ResultLineText());
        QTest::keyClick(&window, Qt::Key_Home);
        QCOMPARE(window.MoveLineText(), QString());

        // Right is the next found game, Left the one before.
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(window.database().Database().ShownPosition(), std::size_t{2});
        QTest::keyClick(&window, Qt::Key_Left);
        QCOMPARE(window.database().Database().ShownPosition(), std::size_t{1});

        // Esc leaves the mode: the file's game is back as it was.
        const int file_game = window.session().GameNumber();
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.session().Modes().Current(), app::Mode::GameReplay);
        QCOMPARE(window.session().GameNumber(), file_game);
        QVERIFY(window.board()->Position() == window.session().CurrentBoard());
        QVERIFY(window.Action("AutoPlay")->isEnabled());

        // Close Database leaves the mode as well.
        QVERIFY(window.database().ShowGame(0));
        QCOMPARE(window.session().Modes().Current(), app::Mode::Database);
        program.ui.reports.clear();
        window.database().CheckDatabase(dbg);
        QCOMPARE(program.ui.reports, std::vector<std::string>{"Database OK. Number of games: 12"});
        window.Action("CloseDatabase")->trigger();
        QCOMPARE(window.DatabaseStatusText(), QString());
        QCOMPARE(window.session().Modes().Current(), app::Mode::GameReplay);
    }
};

QTEST_MAIN(DatabaseTest)
#include "database_test.moc"
