#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/app_folder.h"
#include "app/start_up.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/game/game_list_box.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_controller.h"
#include "gui/search/search_controller.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "openings/opening_files.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "support/program_home.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

using namespace qorvale;

namespace {

// The twelve games of three historic matches; McDonnell has White in games 4, 7, 9 and 10.
struct Program : test::ProgramHome {
    explicit Program(bool eco_table = false)
        : ProgramHome("gui/annotated-matches.pgn", "matches.pgn") {
        Start();
        if (!eco_table) return;
        for (const char* name : {"qorvale.eco", "qorvale.ecn", "qorvale.ecm"}) {
            platform::CopyFile(app::ProgramDataFolder() + "/" + name, home.File(name));
        }
    }
};

struct ListSeen {
    bool shown = false;
    std::vector<int> games;  // the game number of each row
    QStringList lines;       // each row's text in the layout the box opened with
};

// Opens "Select Game", records its rows and picks `choose` (0: Cancel).
ListSeen OpenList(gui::MainWindow& window, int choose) {
    ListSeen seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<gui::GameListBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen.shown = true;
        gui::GameListModel* model = box->Model();
        for (int row = 0; row < model->rowCount(); ++row) {
            seen.games.push_back(model->data(model->index(row), Qt::UserRole).toInt());
            seen.lines << model->data(model->index(row), Qt::DisplayRole).toString();
        }
        if (choose > 0) {
            box->Choose(choose);
        } else {
            box->reject();
        }
    });
    window.Action("SelectGame")->trigger();
    return seen;
}

}  // namespace

class MainWindowGameListTest : public QObject {
    Q_OBJECT

  private slots:
    // A long search list: rows map to its entries through the segments, and only the first
    // 125000 listed games show their ECO difference code.
    void LongSearchListsKeepTheirNumbersAndCodes() {
        const int games = 200000;
        std::vector<app::GameListRecord> records(static_cast<std::size_t>(games));
        for (app::GameListRecord& record : records) record.ECO = {'B', '3', '3', 0};
        gui::GameListContent content;
        content.from_search = true;
        for (int game = 2; game <= games; game += 2) content.games.push_back(game);
        content.classified.assign(content.games.size(), "C20");
        gui::GameListModel model(records);
        model.SetContent(content);
        QCOMPARE(model.ListedCount(), 100000);
        struct Row {
            int segment;
            int row;
            int game;   // shown in that row
            bool code;  // with "/C20"
        };
        const Row rows[] = {
            {0, 0, 2, true},
            {0, 99999, 200000, true},
            {2, 0, 65002, true},
            {4, 2499, 200000, true},
        };
        for (const Row& row : rows) {
            model.SetSegment(row.segment);
            const QString line = model.data(model.index(row.row), Qt::DisplayRole).toString();
            QCOMPARE(model.GameNumberAt(row.row), row.game);
            QCOMPARE(model.RowOf(row.game), row.row);
            QVERIFY2(line.trimmed().startsWith(QString::number(row.game) + QLatin1Char(' ')),
                     qPrintable(line));
            QCOMPARE(line.endsWith(QStringLiteral("B33/C20")), row.code);
        }
        QCOMPARE(model.RowOf(3), -1);  // not in the search list

        // The codes stop after the first 125000 listed games.
        content.games.clear();
        for (int game = 1; game <= 130000; ++game) content.games.push_back(game);
        content.classified.assign(content.games.size(), "C20");
        model.SetContent(content);
        model.SetSegment(0);
        auto line = [&](int row) {
            return model.data(model.index(row), Qt::DisplayRole).toString();
        };
        QVERIFY(line(124999).endsWith(QStringLiteral("B33/C20")));
        QVERIFY(line(125000).endsWith(QStringLiteral("B33    ")));
        // Other layouts show the opening group.
        model.SetLayout(1);
        QVERIFY(line(0).endsWith(QStringLiteral("Sicilian         ")));
    }

    void SearchListIsWhatSelectGameLists() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        search::HeaderCriteria criteria;
        criteria.Set(search::HeaderCriterion::White, "McDonnell");
        QCOMPARE(window.search().RunHeaderSearch(criteria), 4);

        ListSeen seen = OpenList(window, 9);
        QVERIFY(seen.shown);
        QCOMPARE(seen.games, (std::vector<int>{4, 7, 9, 10}));
        // Each line is numbered with the game's number in the file and shows that game.
        const std::vector<app::GameListRecord>& records = window.session().GameList(window.ui());
        for (std::size_t row = 0; row < seen.games.size(); ++row) {
            const int game = seen.games[row];
            QCOMPARE(seen.lines[static_cast<int>(row)],
                     QString::fromStdString(
                         app::GameListLine(records[static_cast<std::size_t>(game - 1)], game, 0)));
            QVERIFY(seen.lines[static_cast<int>(row)].contains("McDonnell"));
        }
        // The game picked is loaded and the navigation list stays the search list.
        QCOMPARE(window.session().GameNumber(), 9);
        QVERIFY(window.session()
                    .Header()
                    .CurrentHeader()
                    .Get(pgn::HeaderField::White)
                    .starts_with("McDonnell"));
        QVERIFY(window.session().Games().FromSearch());
        window.Action("NextGame")->trigger();
        QCOMPARE(window.session().GameNumber(), 10);

        // Reset Navigation lists the whole file again, the game on display picked.
        window.Action("ResetNavigation")->trigger();
        seen = OpenList(window, 0);
        QVERIFY(seen.shown);
        QCOMPARE(seen.games.size(), std::size_t{12});
        QCOMPARE(seen.games.front(), 1);
        QCOMPARE(seen.games.back(), 12);
        QCOMPARE(window.session().GameNumber(), 10);
        QVERIFY(program.ui.reports.empty());
    }

    void EcoDifferenceSearchShowsTheFoundCodes() {
        Program program(true);
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        window.openings().InitialiseOpenings();
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        window.Action("MakeFastFile")->trigger();
        QTRY_VERIFY(!window.runner().worker().Busy() && window.runner().progressBox() == nullptr);
        QTRY_VERIFY(!program.ui.reports.empty());
        program.ui.reports.clear();
        search::HeaderCriteria criteria;
        criteria.Set(search::HeaderCriterion::Eco, "*");
        QCOMPARE(window.search().RunHeaderSearch(criteria), 0);
        QTRY_VERIFY(!window.runner().worker().Busy() && window.runner().progressBox() == nullptr);
        QTRY_VERIFY(window.session().Games().FromSearch());
        const std::vector<search::FoundGame>& found = window.session().Search().List().Games();
        QVERIFY(!found.empty());

        const ListSeen seen = OpenList(window, 0);
        QVERIFY(seen.shown);
        QCOMPARE(seen.games.size(), found.size());
        int named = 0;
        for (std::size_t row = 0; row < found.size(); ++row) {
            QCOMPARE(seen.games[row], found[row].game_number);
            // The ECO column holds the tag's code, "/" and a found code (or none).
            const QString eco = seen.lines[static_cast<int>(row)].mid(69).trimmed();
            QVERIFY2(eco.size() >= 4 && eco[3] == '/', qPrintable(eco));
            QVERIFY2(eco.size() == 4 || eco.size() == 7, qPrintable(eco));
            named += eco.size() == 7 ? 1 : 0;
        }
        QVERIFY(named > 0);
        // A later search of another kind lists plain codes again.
        search::HeaderCriteria players;
        players.Set(search::HeaderCriterion::White, "McDonnell");
        QCOMPARE(window.search().RunHeaderSearch(players), 4);
        const ListSeen after = OpenList(window, 0);
        for (const QString& line : after.lines) QVERIFY2(!line.contains('/'), qPrintable(line));
    }
};

QTEST_MAIN(MainWindowGameListTest)
#include "main_window_game_list_test.moc"
