#include "gui/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include "app/app_folder.h"
#include "app/commands.h"
#include "app/options_file.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_controller.h"
#include "gui/search/search_controller.h"
#include "gui/shell/message_box_ui.h"
#include "gui/shell/operation_runner.h"
#include "platform/file.h"
#include "support/program_home.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

using namespace qorvale;

namespace {

// A started program in a fresh install folder, with a copy of three real games in it.
struct Program : test::ProgramHome {
    explicit Program(const std::string& command_line = "")
        : ProgramHome("app/steinitz-zukertort-1886.pgn", "world-1886.pgn") {
        Start(command_line);
    }
};

QStringList StatusTexts(QMainWindow& window) {
    QStringList texts;
    for (QLabel* label : window.statusBar()->findChildren<QLabel*>()) texts << label->text();
    return texts;
}

// Answers the next modal box by pressing `button`, keeping the text it showed.
void AnswerNextBox(QMessageBox::StandardButton button, QString& shown) {
    QTimer::singleShot(0, [button, &shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        shown = box->text();
        box->button(button)->click();
    });
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void OpensTheGivenFileAndNamesIt() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QCOMPARE(window.windowTitle(), QStringLiteral("Qorvale - world-1886.pgn"));
        QVERIFY(StatusTexts(window).contains(QStringLiteral("File:  World-1886")));
        QVERIFY(StatusTexts(window).contains(QStringLiteral("Game:  1 of 3")));
        QCOMPARE(app::GetText(program.state.options.CurrentFileName),
                 std::string("world-1886.pgn"));
        QVERIFY(program.ui.reports.empty());
    }

    void MissingFileIsReportedAndTheOldFileStays() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        QVERIFY(!window.file().OpenPath(QString::fromStdString(program.home.File("gone.pgn"))));
        QCOMPARE(program.ui.reports, std::vector<std::string>{"Error opening file."});
        QCOMPARE(window.windowTitle(), QStringLiteral("Qorvale - world-1886.pgn"));
        QCOMPARE(app::GetText(program.state.options.CurrentFileName),
                 std::string("world-1886.pgn"));
    }

    void StartOpensTheCommandLineFileOrElseTheLastOne() {
        struct Row {
            const char* name;
            bool command_line;
            bool remembered;
            QString title;
        };
        const Row rows[] = {
            {"command line", true, false, QStringLiteral("Qorvale - world-1886.pgn")},
            {"last file", false, true, QStringLiteral("Qorvale - world-1886.pgn")},
            {"nothing to open", false, false, QStringLiteral("Qorvale")},
        };
        for (const Row& row : rows) {
            Program program;
            if (row.command_line) program.state.command_line_path = program.games;
            if (row.remembered)
                app::SetText(program.state.options.CurrentFileName, "world-1886.pgn");
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            app::PostStartUpOpen(program.state, window.ui());
            QCOMPARE(program.ui.posted, std::vector<Command>{Command::OpenFile});
            window.RunCommand(Command::OpenFile);
            QVERIFY2(window.windowTitle() == row.title, row.name);
            QVERIFY2(program.ui.reports.empty(), row.name);
        }
    }

    void ClosingRemembersPlaceAndGame() {
        Program program;
        {
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            window.show();
            window.move(120, 80);
            window.resize(900, 640);
            QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
            window.ShowGame(3);
            window.close();
        }
        app::OptionsRecord saved =
            app::LoadOptions(program.state.options_path, program.home.path(), false).record;
        QCOMPARE(saved.PreviousGameNumber, 3);
        QCOMPARE(saved.SmallBoardWindowWidth, 900);
        QCOMPARE(saved.SmallBoardWindowHeight, 640);
        QCOMPARE(app::GetText(saved.CurrentFolder), program.home.path());

        // The next window opens where this one was closed.
        app::StartUpState next = app::StartUp({program.home.path(), "", false});
        gui::MainWindow again(next);
        QCOMPARE(again.size(), QSize(900, 640));
    }

    // Every command of the table is an action in its menu, and the window keeps each action's
    // enabled state to the rule for the file, game and mode it is in (the rule itself is tested
    // with the command table).
    void CommandsSitInTheirMenusAndFollowFileAndMode() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        const auto table = app::CommandTable();
        auto check = [&](const app::ShellState& state, const QByteArray& where) {
            const std::vector<bool> enabled = app::EnabledCommands(state);
            for (std::size_t k = 0; k < table.size(); ++k) {
                const QString name = QString::fromLatin1(
                    table[k].name.data(), static_cast<qsizetype>(table[k].name.size()));
                const QByteArray trace = where + " / " + name.toLatin1();
                QAction* action = window.Action(name);
                QVERIFY2(action != nullptr, trace.constData());
                QVERIFY2(window.Menu(table[k].menu)->actions().contains(action) ||
                             window.Menu(table[k].menu)->findChildren<QAction*>().contains(action),
                         trace.constData());
                QVERIFY2(action->isEnabled() == enabled[k], trace.constData());
            }
        };
        check({}, "no file");
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        const app::ShellState open{.file_open = true, .has_game = true};
        check(open, "file open");
        // Each mode entered from the menus enables its own commands.
        const std::pair<const char*, const char*> modes[] = {
            {"OpenTree", "CloseTree"},
            {"VariationEdit", "LeaveLineMode"},
            {"Analyze", "LeaveLineMode"},
            {"EditEcoTable", "EcoLeaveWithoutSaving"},
        };
        for (const auto& [enter, leave] : modes) {
            window.Action(QString::fromLatin1(enter))->trigger();
            app::ShellState in_mode = open;
            in_mode.mode = window.session().Modes().Current();
            QVERIFY2(in_mode.mode != app::Mode::GameReplay, enter);
            check(in_mode, enter);
            window.Action(QString::fromLatin1(leave))->trigger();
            QVERIFY2(window.session().Modes().Current() == app::Mode::GameReplay, leave);
        }
    }

    void MessageBoxesShowTheTextAndAnswerTheQuestion() {
        QWidget parent;
        std::vector<Command> run;
        gui::MessageBoxUi ui(&parent, [&run](Command command) { run.push_back(command); });
        QString shown;
        AnswerNextBox(QMessageBox::Ok, shown);
        ui.report("Error opening file.");
        QCOMPARE(shown, QStringLiteral("Error opening file."));

        AnswerNextBox(QMessageBox::Yes, shown);
        QVERIFY(ui.ask("Delete the fast file. Confirm."));
        QCOMPARE(shown, QStringLiteral("Delete the fast file. Confirm."));
        AnswerNextBox(QMessageBox::No, shown);
        QVERIFY(!ui.ask("Do you want to continue?"));

        // Posted commands wait for the event loop, like posted window messages.
        ui.post(Command::OpenFile);
        QVERIFY(run.empty());
        QTRY_COMPARE(run, std::vector<Command>{Command::OpenFile});
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
