#include "utilities/worker.h"

#include <gtest/gtest.h>

#include <mutex>
#include <semaphore>
#include <string>
#include <vector>

#include "utilities/progress_text.h"

namespace qorvale::utilities {
namespace {

// Records what the worker shows, from whichever thread it calls.
class TraceUi final : public Ui {
  public:
    void report(std::string_view message) override {
        std::lock_guard lock(mutex_);
        reports.emplace_back(message);
    }
    bool ask(std::string_view) override { return false; }
    void progress(const ProgressCounters& counters) override {
        std::lock_guard lock(mutex_);
        shown.push_back(counters);
    }
    void post(Command command) override {
        std::lock_guard lock(mutex_);
        posted.push_back(command);
    }

    std::vector<std::string> reports;
    std::vector<ProgressCounters> shown;
    std::vector<Command> posted;

  private:
    std::mutex mutex_;
};

WorkerJob Job(WorkerOperation operation, bool merge = false) {
    WorkerJob job;
    job.operation = operation;
    job.merge = merge;
    return job;
}

constexpr std::string_view SorryFastFile = "Sorry, cannot cancel fast file generation.";

TEST(Worker, ReportsAtTheRhythmAndStepsTheBar) {
    struct Row {
        const char* name;
        std::int64_t total;
        int expected_reports;    // besides the one at start
        int expected_bar_draws;  // distinct fractions drawn
        std::int64_t last_current;
    };
    const Row rows[] = {
        // 2.5% a game and a 5% step: the bar moves every second game, up to full.
        {"every game", 40, 40, 20, 40},
        // Reports 2% apart: the bar moves on every third, at 6.2%, 12.2% ... 96.2%.
        {"every 10th", 500, 50, 16, 491},
        // Reports 0.22% apart and a 1% step: every fifth report.
        {"every 100th", 45000, 450, 89, 44901},
        {"no games", 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TraceUi ui;
        Worker worker(ui);
        ASSERT_TRUE(worker
                        .StartWorker(Job(WorkerOperation::CheckFile), row.total,
                                     [](WorkerTask& task) {
                                         std::int64_t total = task.Counters().total;
                                         for (std::int64_t i = 0; i < total; ++i) {
                                             if (ProgressDue(i, total))
                                                 task.ReportProgress(i, 0, total);
                                         }
                                         return WorkerOutcome{};
                                     })
                        .ok());
        worker.Wait();
        ASSERT_EQ(static_cast<int>(ui.shown.size()), row.expected_reports + 1);
        EXPECT_EQ(ui.shown.front().title, "Check File");
        EXPECT_EQ(ui.shown.front().current, 0);
        int bar_draws = 0;
        double drawn = 0.0;
        for (const ProgressCounters& counters : ui.shown) {
            EXPECT_GE(counters.last_fraction, drawn);
            EXPECT_LE(counters.last_fraction, 1.0);
            if (counters.last_fraction > drawn) ++bar_draws;
            drawn = counters.last_fraction;
        }
        EXPECT_EQ(ui.shown.back().current, row.last_current);
        if (row.total == 0) {
            EXPECT_EQ(ui.shown.back().text, "Game:  0 of 0    0% complete");
        }
        EXPECT_EQ(bar_draws, row.expected_bar_draws);
    }
}

TEST(Worker, CancelStopsCheckingButIsRefusedForFastFiles) {
    struct Row {
        const char* name;
        WorkerJob job;
        bool window_closes;
        std::vector<std::string> reports;
        int games_done;
    };
    const Row rows[] = {
        {"check file stops", Job(WorkerOperation::CheckFile), true, {"stopped"}, 1},
        {"fast file goes on",
         Job(WorkerOperation::MakeFastFile),
         false,
         {std::string(SorryFastFile), "stopped"},
         3},
        {"split goes on",
         Job(WorkerOperation::SplitFile),
         false,
         {std::string(SorryFastFile), "stopped"},
         3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TraceUi ui;
        Worker worker(ui);
        std::binary_semaphore first_game_done(0), cancel_pressed(0);
        int games_done = 0;
        ASSERT_TRUE(worker
                        .StartWorker(row.job, 3,
                                     [&](WorkerTask& task) {
                                         for (int game = 0; game < 3; ++game) {
                                             ++games_done;
                                             if (game == 0) {
                                                 first_game_done.release();
                                                 cancel_pressed.acquire();
                                             }
                                             if (!CancelAllowed(task.Job().operation)) {
                                                 task.RefuseCancel(SorryFastFile);
                                             } else if (task.CancelRequested()) {
                                                 break;
                                             }
                                         }
                                         return WorkerOutcome{"stopped"};
                                     })
                        .ok());
        first_game_done.acquire();
        EXPECT_EQ(worker.CancelWorker(), row.window_closes);
        cancel_pressed.release();
        worker.Wait();
        EXPECT_EQ(games_done, row.games_done);
        EXPECT_EQ(ui.reports, row.reports);
        EXPECT_EQ(worker.State(), WorkerState::Idle);
        EXPECT_EQ(ui.posted, (std::vector<Command>{Command::OperationEnded}));
        EXPECT_EQ(worker.LastOutcome().message, "stopped");
    }
}

TEST(Worker, RefusesASecondOperationWithTheRunningOnesMessage) {
    struct Row {
        const char* name;
        WorkerJob running;
        std::string message;
    };
    const Row rows[] = {
        {"directory search", Job(WorkerOperation::DirectorySearch),
         "Must terminate directory search first."},
        {"fast file", Job(WorkerOperation::MakeFastFile),
         "Must terminate fast file generation first."},
        {"merge file", Job(WorkerOperation::MakeFastFile, true),
         "Must terminate merge file generation first."},
        {"database", Job(WorkerOperation::MakeDatabase), "Must terminate current operation first."},
        {"eco diff", Job(WorkerOperation::SearchEcoDiff), "Must terminate ECO diff search first."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TraceUi ui;
        Worker worker(ui);
        std::binary_semaphore release(0);
        bool second_ran = false;
        ASSERT_TRUE(worker
                        .StartWorker(row.running, 1,
                                     [&](WorkerTask&) {
                                         release.acquire();
                                         return WorkerOutcome{};
                                     })
                        .ok());
        Error second = worker.StartWorker(Job(WorkerOperation::CheckFile), 1, [&](WorkerTask&) {
            second_ran = true;
            return WorkerOutcome{};
        });
        Error command = worker.RefuseWhileBusy();
        release.release();
        worker.Wait();
        EXPECT_EQ(second.message(), row.message);
        EXPECT_EQ(command.message(), row.message);
        EXPECT_EQ(ui.reports, (std::vector<std::string>{row.message, row.message}));
        EXPECT_FALSE(second_ran);
        EXPECT_TRUE(worker.RefuseWhileBusy().ok());
        // Once idle, the next operation starts.
        EXPECT_TRUE(worker
                        .StartWorker(Job(WorkerOperation::CheckFile), 0,
                                     [](WorkerTask&) { return WorkerOutcome{}; })
                        .ok());
        worker.Wait();
    }
}

TEST(Worker, QuietModeKeepsTheOutcomeForLater) {
    struct Row {
        const char* name;
        WorkerOutcome outcome;
        WorkerState state;
    };
    const Row rows[] = {
        {"findings",
         {"3 errors", Completion::ShowErrorList, true, false},
         WorkerState::QuietFindings},
        {"nothing",
         {"No errors", Completion::RefreshDisplay, false, false},
         WorkerState::QuietNothing},
        {"deleting",
         {"2 deleted", Completion::ResetNavigationAndReload, true, true},
         WorkerState::QuietNothing},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TraceUi ui;
        Worker worker(ui);
        worker.SetQuiet(true);
        ASSERT_TRUE(worker
                        .StartWorker(Job(WorkerOperation::CheckFile), 10,
                                     [&](WorkerTask& task) {
                                         task.ReportProgress(0, 0, 10);
                                         task.Report("on the way");
                                         return row.outcome;
                                     })
                        .ok());
        worker.Wait();
        EXPECT_TRUE(ui.shown.empty());
        EXPECT_TRUE(ui.reports.empty());
        EXPECT_EQ(worker.State(), row.state);
        EXPECT_FALSE(worker.Busy());
        EXPECT_EQ(ui.posted.back(), Command::OperationEnded);
        EXPECT_EQ(worker.LastOutcome().completion, row.outcome.completion);
        EXPECT_EQ(worker.TakeQuietOutcome(), row.outcome.message);
        EXPECT_EQ(worker.State(), WorkerState::Idle);
    }
}

}  // namespace
}  // namespace qorvale::utilities
