#include <QAction>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QtTest>
#include <deque>
#include <functional>
#include <future>

#include "app/start_up.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_controller.h"
#include "gui/search/search_controller.h"
#include "gui/shell/main_window.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/progress_box.h"
#include "platform/file.h"
#include "support/program_home.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

using namespace qorvale;

namespace {

// A started program in a fresh install folder with a copy of a file of real games.
struct Program : test::ProgramHome {
    explicit Program(std::string_view data = "gui/annotated-matches.pgn")
        : ProgramHome(data, "matches.pgn") {
        Start();
    }
    std::string Trf() const { return home.File("matches.TRF"); }
    std::string Trh() const { return home.File("matches.TRH"); }
};

bool Exists(const std::string& path) { return platform::FileExists(path); }

}  // namespace

class MainWindowTreeTest : public QObject {
    Q_OBJECT

  private slots:
    void MakeCheckAndDeleteThroughTheTreeMenu() {
        Program program("app/steinitz-zukertort-1886.pgn");
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));
        window.Action("MakeFastFile")->trigger();
        // The progress window opens with the operation's title before the worker starts.
        QVERIFY(window.runner().progressBox() != nullptr);
        QCOMPARE(window.runner().progressBox()->windowTitle(), QStringLiteral("Make Fast File"));
        QTRY_VERIFY(!program.ui.reports.empty());
        QCOMPARE(program.ui.reports, std::vector<std::string>{"Fast file complete."});
        QTRY_VERIFY(window.runner().progressBox() == nullptr);
        QCOMPARE(window.runner().worker().State(), utilities::WorkerState::Idle);
        QVERIFY(Exists(program.Trf()) && Exists(program.Trh()));

        struct Step {
            const char* action;
            std::deque<bool> answers;
            std::string report;
            bool files_after;
        };
        const Step steps[] = {
            {"CheckFastFile", {}, "Fast file OK", true},
            {"DeleteFastFile", {false}, "", true},
            {"DeleteFastFile", {true}, "Fast file deleted.", false},
            {"CheckFastFile", {}, "Fast file does not exist.", false},
            {"DeleteFastFile", {}, "Fast file does not exist.", false},
        };
        for (const Step& step : steps) {
            program.ui.reports.clear();
            program.ui.questions.clear();
            program.ui.answers = step.answers;
            window.Action(step.action)->trigger();
            const std::string shown =
                program.ui.reports.empty() ? std::string() : program.ui.reports.back();
            QVERIFY2(shown == step.report, step.action);
            QVERIFY2(program.ui.questions.size() == step.answers.size(), step.action);
            if (!step.answers.empty()) {
                QCOMPARE(program.ui.questions.front(),
                         std::string("Delete the fast file. Confirm."));
            }
            QVERIFY2(Exists(program.Trf()) == step.files_after, step.action);
            QVERIFY2(Exists(program.Trh()) == step.files_after, step.action);
        }
    }

    // While an operation runs every command on the open file is refused with its message.
    void CommandsOnTheFileAreRefusedWhileTheWorkerRuns() {
        Program program;
        gui::MainWindow window(program.state);
        window.SetUi(program.ui);
        QVERIFY(window.file().OpenPath(QString::fromStdString(program.games)));

        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        utilities::WorkerJob job;
        job.operation = utilities::WorkerOperation::CheckFile;
        QVERIFY(window.runner()
                    .worker()
                    .StartWorker(job, 12,
                                 [released](utilities::WorkerTask&) {
                                     released.wait();
                                     return utilities::WorkerOutcome{};
                                 })
                    .ok());

        const std::function<void()> commands[] = {
            [&] { window.Action("MakeFastFile")->trigger(); },
            [&] { window.Action("CheckFastFile")->trigger(); },
            [&] { window.Action("DeleteFastFile")->trigger(); },
            [&] { window.Action("Reload")->trigger(); },
            [&] { window.Action("Open")->trigger(); },
            [&] { window.Action("PreviousFile")->trigger(); },
            [&] {
                QMimeData dropped;
                dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(program.games))});
                QVERIFY(!window.file().OpenDropped(dropped));
            },
        };
        int row = 0;
        for (const auto& command : commands) {
            const QByteArray trace = "command row " + QByteArray::number(row++);
            program.ui.reports.clear();
            command();
            QVERIFY2(
                program.ui.reports == std::vector<std::string>{"Must terminate file check first."},
                trace.constData());
            QVERIFY2(program.ui.questions.empty(), trace.constData());
        }
        QVERIFY(!Exists(program.Trf()));
        release.set_value();
        QTRY_VERIFY(!window.runner().worker().Busy());
        QTRY_VERIFY(window.runner().progressBox() == nullptr);
    }

    // Cancel closes the progress window at once only for operations that can stop; fast-file
    // generation keeps it open and runs to its end.
    void CancelClosesTheWindowOnlyWhenTheOperationCanStop() {
        struct Row {
            const char* name;
            utilities::WorkerOperation operation;
            bool closes;
            bool cancelled;  // what the routine saw
        };
        const Row rows[] = {
            {"check file", utilities::WorkerOperation::CheckFile, true, true},
            {"fast file", utilities::WorkerOperation::MakeFastFile, false, false},
        };
        for (const Row& row : rows) {
            Program program;
            gui::MainWindow window(program.state);
            window.SetUi(program.ui);
            std::promise<void> release;
            std::shared_future<void> released = release.get_future().share();
            std::promise<bool> seen;
            std::future<bool> saw_cancel = seen.get_future();
            utilities::WorkerJob job;
            job.operation = row.operation;
            // Like the generator, a routine that cannot stop answers a pending cancel and goes on.
            const bool refuses = !utilities::CancelAllowed(row.operation);
            QVERIFY(window.runner()
                        .worker()
                        .StartWorker(job, 1,
                                     [released, &seen, refuses](utilities::WorkerTask& task) {
                                         released.wait();
                                         if (refuses) {
                                             task.RefuseCancel(
                                                 "Sorry, cannot cancel fast file "
                                                 "generation.");
                                         }
                                         seen.set_value(task.CancelRequested());
                                         return utilities::WorkerOutcome{};
                                     })
                        .ok());
            QVERIFY(window.runner().progressBox() != nullptr);
            window.runner().progressBox()->findChild<QPushButton*>("cancel")->click();
            QVERIFY2((window.runner().progressBox() == nullptr) == row.closes, row.name);
            release.set_value();
            QVERIFY2(saw_cancel.get() == row.cancelled, row.name);
            QTRY_VERIFY(!window.runner().worker().Busy());
            QTRY_VERIFY(window.runner().progressBox() == nullptr);
            const bool refused =
                !program.ui.reports.empty() &&
                program.ui.reports.front() == "Sorry, cannot cancel fast file generation.";
            QVERIFY2(refused == !row.closes, row.name);
        }
    }
};

QTEST_MAIN(MainWindowTreeTest)
#include "main_window_tree_test.moc"
