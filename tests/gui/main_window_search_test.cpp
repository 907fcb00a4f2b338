#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/app_folder.h"
#include "app/start_up.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_controller.h"
#include "gui/search/search_controller.h"
#include "gui/search/searchbox.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "platform/file.h"
#include "support/program_home.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

using namespace qorvale;

namespace {

// Twelve games of three historic matches:
//   1 Leonardo-Lopez 1-0, 2 Lewis-Deschapelles 1-0, 3..10 De la Bourdonnais and McDonnell
//   (McDonnell has White in 4, 7, 9, 10; results 3 1-0, 4 0-1, 5 0-1, 6 1-0, 7 0-1, 8 0-1,
//   9 1-0, 10 0-1), 11 and 12 De Saint-Amant-Staunton 0-1 and 1-0 (1843).
// Games 4 and 9 open 1.e4 e5 2.f4 exf4.
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

QString StatisticsText(gui::MainWindow& window) {
    auto* label = window.findChild<QLabel*>("StatisticsText");
    return label == nullptr ? QString() : label->text();
}

}  // namespace

class MainWindowSearchTest : public QObject {
    Q_OBJECT

  private slots:
    void HeaderSearchThroughTheDialogThenTheListIsWalked() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));

        bool search_dir_enabled = true;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<gui::Searchbox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            search_dir_enabled = box->findChild<QPushButton*>("SearchDir")->isEnabled();
            box->Field(search::HeaderCriterion::White)->setText("McDonnell");
            box->findChild<QPushButton*>("OK")->click();
        });
        window.Action("SearchHeader")->trigger();
        QVERIFY(search_dir_enabled);
        QCOMPARE(FoundNumbers(window), (std::vector<int>{4, 7, 9, 10}));
        QCOMPARE(window.session().GameNumber(), 4);
        QCOMPARE(StatisticsText(window).split('\n').mid(0, 3),
                 (QStringList{"Number of games found: 4", "White wins: 1  25.0%",
                              "Black wins: 3  75.0%"}));

        // Next and previous game walk the found games only, and stop at either end.
        struct Step {
            const char* action;
            int game;
        };
        const Step walk[] = {{"NextGame", 7},     {"NextGame", 9},     {"NextGame", 10},
                             {"NextGame", 10},    {"PreviousGame", 9}, {"PreviousGame", 7},
                             {"PreviousGame", 4}, {"PreviousGame", 4}};
        for (const Step& step : walk) {
            window.Action(step.action)->trigger();
            QVERIFY2(window.session().GameNumber() == step.game, step.action);
        }
        // Reset Navigation gives the whole file back.
        window.Action("ResetNavigation")->trigger();
        window.Action("NextGame")->trigger();
        QCOMPARE(window.session().GameNumber(), 5);
        QVERIFY(program.ui.reports.empty());
    }

    // The searches typed as text reach the session; found games leave the board where the
    // searched line ends, a refused entry is reported and searches nothing.
    void TextSearchesLeaveTheBoardWhereTheLineEnds() {
        struct Row {
            const char* name;
            std::function<void(gui::SearchController&)> run;
            std::vector<int> games;
            std::vector<std::string> reports;
        };
        const Row rows[] = {
            {"variation",
             [](gui::SearchController& s) { s.RunVariationSearch("1.e4 e5 2.f4 exf4"); },
             {4, 9},
             {}},
            {"position",
             [](gui::SearchController& s) { s.RunPositionSearch("e4", "f4", "2"); },
             {4, 9},
             {}},
            {"bad line",
             [](gui::SearchController& s) { s.RunVariationSearch("1.e4 e5 2.Ke3"); },
             {},
             {"the line cannot be played"}},
            {"bad position",
             [](gui::SearchController& s) { s.RunPositionSearch("Kg1, Nf3toolong", "", ""); },
             {},
             {"Invalid position entry."}},
        };
        for (const Row& row : rows) {
            Program program;
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
            row.run(window.search());
            QVERIFY2(FoundNumbers(window) == row.games, row.name);
            QVERIFY2(program.ui.reports == row.reports, row.name);
            if (!row.games.empty()) {
                QVERIFY2(window.session().Navigation().currentPly == 4, row.name);
            }
        }
    }

    void ClearEmptiesTheDialogAndOkThenSearchesNothing() {
        search::HeaderCriteria criteria;
        criteria.Set(search::HeaderCriterion::Event, "London");
        criteria.Set(search::HeaderCriterion::SpecificMove, "12.Nf3");
        gui::Searchbox box(criteria, true);
        QCOMPARE(box.Field(search::HeaderCriterion::Event)->text(), QStringLiteral("London"));
        box.findChild<QPushButton*>("Clear")->click();
        QVERIFY(!box.Criteria().Any());
        box.findChild<QPushButton*>("OK")->click();
        QCOMPARE(box.result(), static_cast<int>(QDialog::Rejected));
    }
};

QTEST_MAIN(MainWindowSearchTest)
#include "main_window_search_test.moc"
