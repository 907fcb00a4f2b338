#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

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

search::HeaderCriteria Criteria(
    std::initializer_list<std::pair<search::HeaderCriterion, const char*>> fields) {
    search::HeaderCriteria criteria;
    for (const auto& [field, text] : fields) criteria.Set(field, text);
    return criteria;
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
        QVERIFY(!search_dir_enabled);
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

    void HeaderCriteriaFindTheirGames() {
        using F = search::HeaderCriterion;
        struct Row {
            const char* name;
            search::HeaderCriteria criteria;
            std::vector<int> games;
        };
        const Row rows[] = {
            {"white and result",
             Criteria({{F::White, "De la Bourdonnais"}, {F::Result, "1-0"}}),
             {3, 6}},
            {"black and result", Criteria({{F::Black, "Staunton"}, {F::Result, "0-1"}}), {11}},
            {"date", Criteria({{F::Date, "1843"}}), {11, 12}},
            {"nobody", Criteria({{F::White, "Morphy"}}), {}},
        };
        for (const Row& row : rows) {
            Program program;
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
            const int found = window.search().RunHeaderSearch(row.criteria);
            QVERIFY2(found == static_cast<int>(row.games.size()), row.name);
            QVERIFY2(FoundNumbers(window) == row.games, row.name);
            QVERIFY2(window.session().Games().FromSearch() == !row.games.empty(), row.name);
            if (!row.games.empty()) {
                QVERIFY2(window.session().GameNumber() == row.games.front(), row.name);
            }
        }
    }

    void VariationSearchByText() {
        struct Row {
            const char* line;
            bool exact;
            std::vector<int> games;
            std::vector<std::string> reports;
        };
        const Row rows[] = {
            {"1.e4 e5 2.f4 exf4", false, {4, 9}, {}},
            {"1.e4 e5 2.f4 exf4", true, {4, 9}, {}},
            {"1.d4 d5 2.c4 dxc4", false, {3, 8}, {}},
            {"1.e4 e5 2.Ke3", false, {}, {"the line cannot be played"}},
        };
        for (const Row& row : rows) {
            Program program;
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
            if (window.Action("ExactVariation")->isChecked() != row.exact) {
                window.Action("ExactVariation")->trigger();
            }
            window.search().RunVariationSearch(QString::fromLatin1(row.line));
            QVERIFY2(FoundNumbers(window) == row.games, row.line);
            QVERIFY2(program.ui.reports == row.reports, row.line);
            if (!row.games.empty()) {
                // The board stands where the searched line ends.
                QVERIFY2(window.session().Navigation().currentPly == 4, row.line);
            }
        }
    }

    void PositionSearchByText() {
        struct Row {
            const char* white;
            const char* black;
            const char* move_number;
            std::vector<int> games;
            std::vector<std::string> reports;
        };
        const Row rows[] = {
            // After 2...exf4 at move 2: the King's Gambit games.
            {"e4", "f4", "2", {4, 9}, {}},
            {"e4", "f4, e5", "2", {}, {}},
            {"Kg1, Nf3toolong", "", "", {}, {"Invalid position entry."}},
            {"e4", "f4", ">", {}, {"A comparison needs a value."}},
        };
        for (const Row& row : rows) {
            Program program;
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
            window.search().RunPositionSearch(row.white, row.black, row.move_number);
            QVERIFY2(FoundNumbers(window) == row.games, row.black);
            QVERIFY2(program.ui.reports == row.reports, row.black);
            for (const search::FoundGame& game : window.session().Search().List().Games()) {
                QVERIFY2(game.half_move == 4, row.black);
            }
            if (!row.games.empty()) {
                QVERIFY2(window.session().Navigation().currentPly == 4, row.black);
            }
        }
    }

    // ECO "*" runs the ECO difference search in the background; what it needs is checked there.
    void EcoDifferenceSearchNeedsBothFastFiles() {
        struct Row {
            const char* name;
            bool make_fast_file;
            bool eco_lines;
            std::string report;  // "" when the search runs
        };
        const Row rows[] = {
            {"no fast file", false, true, "ECO diff requires a fast file."},
            {"no ECO lines", true, false, "Missing Ecocodes fast file."},
            {"both", true, true, ""},
        };
        for (const Row& row : rows) {
            Program program;
            if (row.eco_lines) {
                for (const char* name : {"qorvale.eco", "qorvale.ecn", "qorvale.ecm"}) {
                    platform::CopyFile(app::ProgramDataFolder() + "/" + name,
                                       program.home.File(name));
                }
            }
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            if (row.eco_lines) window.openings().InitialiseOpenings();
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
            if (row.make_fast_file) {
                window.Action("MakeFastFile")->trigger();
                QTRY_VERIFY(!window.runner().worker().Busy() &&
                            window.runner().progressBox() == nullptr);
                QTRY_VERIFY(!program.ui.reports.empty());
                program.ui.reports.clear();
            }
            QCOMPARE(
                window.search().RunHeaderSearch(Criteria({{search::HeaderCriterion::Eco, "*"}})),
                0);
            QTRY_VERIFY(!window.runner().worker().Busy() &&
                        window.runner().progressBox() == nullptr);
            if (row.report.empty()) {
                QTRY_VERIFY(window.findChild<QDialog*>("SearchStatistics") != nullptr);
                QVERIFY2(program.ui.reports.empty(), row.name);
                if (window.session().Search().List().Count() > 0) {
                    QCOMPARE(window.session().GameNumber(),
                             window.session().Search().List().Games().front().game_number);
                }
            } else {
                QTRY_VERIFY(!program.ui.reports.empty());
                QVERIFY2(program.ui.reports == std::vector<std::string>{row.report}, row.name);
                QVERIFY2(!window.session().Games().FromSearch(), row.name);
            }
        }
    }

    void SearchFilesKeepTheCriteria() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        using F = search::HeaderCriterion;
        window.search().RunHeaderSearch(Criteria({{F::White, "McDonnell"}, {F::Result, "1-0"}}));
        const std::string saved = program.home.File("mcdonnell.ser");
        QVERIFY(window.search().SaveSearchFile(saved).ok());

        window.search().RunHeaderSearch(Criteria({{F::Black, "Staunton"}}));
        QCOMPARE(window.session().Search().Criteria().header.Get(F::White), std::string());
        QVERIFY(window.search().LoadSearchFile(saved).ok());
        QCOMPARE(window.session().Search().Criteria().header.Get(F::White),
                 std::string("McDonnell"));
        QCOMPARE(window.session().Search().Criteria().header.Get(F::Result), std::string("1-0"));
        QCOMPARE(window.session().Search().Criteria().header.Get(F::Black), std::string());

        struct Row {
            std::string path;
            std::string report;
        };
        const Row bad[] = {
            {program.home.File("missing.ser"), "Error opening file."},
            {program.games, "Invalid search file."},
        };
        for (const Row& row : bad) {
            program.ui.reports.clear();
            QVERIFY(!window.search().LoadSearchFile(row.path).ok());
            QCOMPARE(program.ui.reports, std::vector<std::string>{row.report});
            // The criteria in use are kept.
            QCOMPARE(window.session().Search().Criteria().header.Get(F::White),
                     std::string("McDonnell"));
        }
    }

    void ClearEmptiesTheDialogAndOkThenSearchesNothing() {
        search::HeaderCriteria criteria;
        criteria.Set(search::HeaderCriterion::Event, "London");
        criteria.Set(search::HeaderCriterion::SpecificMove, "12.Nf3");
        gui::Searchbox box(criteria);
        QCOMPARE(box.Field(search::HeaderCriterion::Event)->text(), QStringLiteral("London"));
        box.findChild<QPushButton*>("Clear")->click();
        QVERIFY(!box.Criteria().Any());
        box.findChild<QPushButton*>("OK")->click();
        QCOMPARE(box.result(), static_cast<int>(QDialog::Rejected));
    }
};

QTEST_MAIN(MainWindowSearchTest)
#include "main_window_search_test.moc"
