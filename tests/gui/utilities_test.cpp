// The file utilities as the window shows them: the commands in the File menu, the "Errors" and
// "Duplicate Games" windows and what choosing in them shows, the dialogs that keep the user
// until their fields are right, and the open file shown again after every rewrite.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

#include "app/duplicate_check.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "gui/utilities/fix_tags_box.h"
#include "gui/utilities/list_window.h"
#include "gui/utilities/utilities_controller.h"
#include "support/program_home.h"

using namespace qorvale;

namespace {

constexpr int MatchGames = 12;

// A started program on a copy of the twelve annotated match games, its text given.
struct Program : test::ProgramHome {
    explicit Program(const std::string& text) : ProgramHome("gui/annotated-matches.pgn", "m.pgn") {
        (void)home.Write("m.pgn", text);
        Start();
    }
};

std::string MatchText() {
    return test::ReadWholeFile(test::TestDataPath("gui/annotated-matches.pgn"));
}

// The match games with game 4's sixth move made impossible (the queen through its own pawn).
std::string WithBadGameFour() {
    std::string text = MatchText();
    const std::string move = "6. Qd3 Nc6 7. Bxf7+";
    const std::size_t at = text.find(move);
    if (at == std::string::npos || text.find(move, at + 1) != std::string::npos) return {};
    text.replace(at, move.size(), "6. Qd5 Nc6 7. Bxf7+");
    return text;
}

// The match games with a copy of game 1 added as game 13.
std::string WithCopyOfGameOne() {
    const std::string text = MatchText();
    const std::size_t second = text.find("[Event \"", 1);
    return text + text.substr(0, second);
}

// Runs `step` on the next modal dialog, once its event loop runs.
void OnModal(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step = std::move(step)] { step(QApplication::activeModalWidget()); });
}

bool WindowShown(gui::ListWindow* list) { return list != nullptr && list->isVisible(); }

}  // namespace

class UtilitiesTest : public QObject {
    Q_OBJECT

  private slots:
    void CheckFileListsTheBadGameAndShowsItWhenChosen() {
        struct Row {
            const char* name;
            std::deque<bool> answers;  // delete the bad games? are you sure?
            QString title;
            int games_after;
            int shown_after_choosing;  // a deleted game cannot be shown: the first stays
        };
        const Row rows[] = {
            {"report", {false}, QStringLiteral("1 Error Found"), MatchGames, 4},
            {"delete", {true, true}, QStringLiteral("1 game was deleted."), MatchGames - 1, 1},
        };
        const std::string text = WithBadGameFour();
        QVERIFY(!text.empty());
        for (const Row& row : rows) {
            Program program(text);
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
            program.ui.answers = row.answers;
            window.Action(QStringLiteral("CheckFile"))->trigger();
            QTRY_VERIFY2(WindowShown(window.utilities().errorList()), row.name);
            gui::ListWindow* errors = window.utilities().errorList();
            QCOMPARE(errors->objectName(), QStringLiteral("Errors"));
            QCOMPARE(errors->windowTitle(), row.title);
            QCOMPARE(errors->list()->count(), 1);
            QCOMPARE(window.session().GameCount(), row.games_after);
            QCOMPARE(window.session().GameNumber(), 1);

            QListWidgetItem* entry = errors->list()->item(0);
            QTest::mouseClick(errors->list()->viewport(), Qt::LeftButton, {},
                              errors->list()->visualItemRect(entry).center());
            QCOMPARE(window.session().GameNumber(), row.shown_after_choosing);
        }
    }

    void DuplicateWindowViewsAndDeletesTheCopy() {
        Program program(WithCopyOfGameOne());
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QCOMPARE(window.session().GameCount(), MatchGames + 1);

        program.ui.answers = {true};  // "13 games. Do you want to continue?"
        window.Action(QStringLiteral("DuplicateGames"))->trigger();
        QTRY_VERIFY(WindowShown(window.utilities().duplicateGames()));
        gui::ListWindow* found = window.utilities().duplicateGames();
        QCOMPARE(found->windowTitle(), QStringLiteral("1 Duplicate Games"));
        QCOMPARE(found->list()->item(0)->text(),
                 QStringLiteral("Game 13 is a duplicate of game 1"));

        // View: the copy becomes the navigation list and is shown.
        found->findChild<QPushButton*>(QStringLiteral("View"))->click();
        QVERIFY(!found->isVisible());
        QVERIFY(window.session().Games().FromSearch());
        QCOMPARE(window.session().GameNumber(), MatchGames + 1);

        // The check is remembered for this file: taken again without the worker.
        program.ui.answers = {true};
        window.Action(QStringLiteral("DuplicateGames"))->trigger();
        QVERIFY(found->isVisible());
        QVERIFY(!window.runner().Busy());

        program.ui.answers = {true};  // "Delete duplicate games. Confirm."
        found->findChild<QPushButton*>(QStringLiteral("Delete"))->click();
        QVERIFY(!found->isVisible());
        QCOMPARE(window.session().GameCount(), MatchGames);
        QCOMPARE(window.session().GameNumber(), 1);
        QVERIFY(!window.session().Games().FromSearch());
        QCOMPARE(test::ReadWholeFile(program.games), MatchText());
    }

    void SettingsDialogStoresItsFieldsAndResets() {
        Program program(MatchText());
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        struct Row {
            const char* name;
            std::function<void(QWidget*)> edit;
            utilities::DuplicateSettings stored;
        };
        const Row rows[] = {
            {"edited",
             [](QWidget* box) {
                 box->findChild<QSpinBox*>(QStringLiteral("LookAhead"))->setValue(7);
                 box->findChild<QSpinBox*>(QStringLiteral("MaxMoveDifference"))->setValue(0);
                 box->findChild<QCheckBox*>(QStringLiteral("CheckNames"))->setChecked(true);
             },
             {7, 0, false, true}},
            {"reset",
             [](QWidget* box) { box->findChild<QPushButton*>(QStringLiteral("Reset"))->click(); },
             utilities::DuplicateSettings::Defaults()},
        };
        for (const Row& row : rows) {
            QString title;
            OnModal([&](QWidget* box) {
                title = box->windowTitle();
                row.edit(box);
                qobject_cast<QDialog*>(box)->accept();
            });
            window.Action(QStringLiteral("DuplicateSettings"))->trigger();
            QCOMPARE(title, QStringLiteral("Duplicate Games Settings"));
            QVERIFY2(app::DuplicateSettingsFrom(program.state.options) == row.stored, row.name);
        }
    }

    void FixDialogsStayOpenUntilTheirFieldsAreRight() {
        Program program(MatchText());
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QVERIFY(window.ShowGame(4));
        struct Row {
            const char* action;
            QString fix;
            QString to;
            std::string message;  // what keeps the dialog open; "" closes it
        };
        const Row rows[] = {
            {"FixDates", QString(), QStringLiteral("1834.01.01"), "Must enter the Fix Date."},
            {"FixDates", QStringLiteral("1834.01.01"), QStringLiteral("1834.1.1"),
             "Date must of the form yyyy.mm.dd."},
            {"FixNames", QString(), QStringLiteral("Doe, John"), "Must enter the Fix Name."},
            {"FixNames", QStringLiteral("McDonnell"), QStringLiteral("Mac Donnell, Alexander"), ""},
        };
        for (const Row& row : rows) {
            program.ui.reports.clear();
            program.ui.answers = {true};  // "Change %s to %s. Confirm."
            bool open_after_ok = false;
            OnModal([&](QWidget* shown) {
                auto* box = qobject_cast<gui::FixTagsBox*>(shown);
                if (box == nullptr) return;
                box->findChild<QLineEdit*>(QStringLiteral("Fix"))->setText(row.fix);
                box->findChild<QLineEdit*>(QStringLiteral("To"))->setText(row.to);
                box->accept();
                open_after_ok = box->isVisible();
                if (open_after_ok) box->reject();
            });
            window.Action(QString::fromLatin1(row.action))->trigger();
            QVERIFY2(open_after_ok == !row.message.empty(), row.action);
            if (!row.message.empty()) {
                QVERIFY2(program.ui.reports == std::vector<std::string>{row.message}, row.action);
                QCOMPARE(test::ReadWholeFile(program.games), MatchText());
            }
        }
        // The renamed file is open again at the game that was shown.
        QCOMPARE(window.session().GameNumber(), 4);
        QCOMPARE(window.session().Header().CurrentHeader().Get(pgn::HeaderField::White),
                 std::string("Mac Donnell, Alexander"));
    }

    void TrimTakesItsLimitFromTheDialogAndShowsTheGameAgain() {
        Program program(MatchText());
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QVERIFY(window.ShowGame(4));
        QVERIFY(window.session().Navigation().lastPly > 10);
        QString title;
        OnModal([&](QWidget* shown) {
            auto* box = qobject_cast<QInputDialog*>(shown);
            if (box == nullptr) return;
            title = box->windowTitle();
            box->setIntValue(10);
            box->accept();
        });
        // Trim? Trim to 10? and, from the worker, the comments will be stripped.
        program.ui.answers = {true, true, true};
        window.Action(QStringLiteral("TrimMoves"))->trigger();
        QCOMPARE(title, QStringLiteral("Set Max Moves"));
        QTRY_VERIFY(!window.runner().Busy() && window.session().HasGame());
        QTRY_COMPARE(program.ui.questions.size(), std::size_t{3});
        QCOMPARE(program.ui.questions.back(),
                 std::string("Warning: All comments and analysis will be stripped. Do you want to "
                             "continue?"));
        QTRY_COMPARE(window.session().Navigation().lastPly, 10);
        QCOMPARE(window.session().GameNumber(), 4);
        QCOMPARE(window.session().GameCount(), MatchGames);
    }
};

QTEST_MAIN(UtilitiesTest)
#include "utilities_test.moc"
