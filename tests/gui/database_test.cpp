// The folder search and the database as the window shows them: the Search Dir button runs the
// search over a folder and its results open one file with only its found games; a database made
// from the open file shows its name in the status bar and its found games on a board.
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
#include "gui/database/database_gamebox.h"
#include "gui/file/file_controller.h"
#include "gui/search/directory_controller.h"
#include "gui/search/search_controller.h"
#include "gui/search/searchbox.h"
#include "gui/search/select_filebox.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "platform/file.h"
#include "search/messages.h"
#include "support/program_home.h"
#include "support/temp_dir.h"

using namespace qorvale;

namespace {

// Twelve games of three historic matches (McDonnell has White in games 4, 7, 9 and 10; games
// 4, 5, 7, 8, 10 and 11 end 0-1) as the open file.
struct Program : test::ProgramHome {
    Program() : ProgramHome("gui/annotated-matches.pgn", "matches.pgn") { Start(); }
};

// Runs `act` on the first modal dialog of type T that comes up, however deep the calls that open
// it; `seen` says it came.
template <class T>
void WhenModal(bool& seen, std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        timer->stop();
        timer->deleteLater();
        seen = true;
        act(dialog);
    });
    timer->start();
}

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
    void FolderCommandsAreThereWithoutAFileAndBuildingNeedsOne() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        struct Row {
            const char* action;
            bool without_file;
            bool with_file;
        };
        const Row rows[] = {
            {"SearchDirectoryHeader", true, true}, {"DirectoryResults", true, true},
            {"SelectAllGames", false, true},       {"OpenDatabase", true, true},
            {"StartNewDatabase", false, true},     {"AddToDatabase", false, true},
        };
        for (const Row& row : rows)
            QVERIFY2(window.Action(row.action)->isEnabled() == row.without_file, row.action);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        for (const Row& row : rows)
            QVERIFY2(window.Action(row.action)->isEnabled() == row.with_file, row.action);

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

        // The second found game on its own board, walked with the game keys.
        gui::DatabaseGamebox* box = window.database().gamebox();
        QVERIFY(box != nullptr && box->isVisible());
        QCOMPARE(box->MoveLine(), QString());
        QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(box->MoveLine().startsWith(QStringLiteral("  1.")));
        QTest::keyClick(box, Qt::Key_Right);
        QCOMPARE(window.database().Database().ShownPosition(), std::size_t{2});
        QCOMPARE(box->MoveLine(), QString());

        program.ui.reports.clear();
        window.database().CheckDatabase(dbg);
        QCOMPARE(program.ui.reports, std::vector<std::string>{"Database OK. Number of games: 12"});
        window.Action("CloseDatabase")->trigger();
        QCOMPARE(window.DatabaseStatusText(), QString());
        QVERIFY(!box->isVisible());
    }
};

QTEST_MAIN(DatabaseTest)
#include "database_test.moc"
