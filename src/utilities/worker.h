#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "base/error.h"
#include "base/ui.h"
#include "utilities/worker_operation.h"

namespace qorvale::utilities {

// Values of the state word shared by the window and the worker.
enum class WorkerState : int {
    CancelRequested = -1,  // the user pressed Cancel; the worker stops at its next check
    Idle = 0,              // no operation, or it ended and reported
    Running = 1,
    QuietFindings = 2,  // ended while the window was minimised, with something to report
    QuietNothing = 3,   // ended while minimised with nothing found, or a deleting mode ended
};

// What the window does once an operation has ended, after its message.
enum class Completion {
    RefreshDisplay,
    ShowSearchResults,
    ShowErrorList,
    ResetNavigationAndReload,
};

// What an operation's routine hands back when it returns: the message to show and what the
// window does next.
struct WorkerOutcome {
    std::string message;  // empty: nothing to show
    Completion completion = Completion::RefreshDisplay;
    bool findings = false;  // quiet mode ends in QuietFindings
    bool deleting = false;  // a deleting mode always ends in QuietNothing
};

class Worker;

// The worker's side of a running operation, handed to its routine. Only the worker thread
// uses it.
class WorkerTask {
  public:
    const WorkerJob& Job() const;

    // Stores `index` + 1, `total` and `found`, recomputes the progress line and, when the
    // fraction has grown by the bar's step, the bar; then shows them unless the window is quiet.
    // `index` is 0-based.
    void ReportProgress(std::int64_t index, std::int64_t found, std::int64_t total);
    // The same for a directory search, with the file in work.
    void ReportProgress(std::int64_t index, std::int64_t found, std::int64_t total,
                        std::string_view file_text);

    // True once the user asked to cancel; the routine stops and returns what it has.
    bool CancelRequested() const;
    // For operations that cannot stop: a pending cancel is answered with `message` and the
    // operation goes on running. Returns whether a cancel was pending.
    bool RefuseCancel(std::string_view message);
    // A message on the way (not the closing one); dropped in quiet mode.
    void Report(std::string_view message);
    bool Ask(std::string_view question);

    const ProgressCounters& Counters() const;

  private:
    friend class Worker;
    explicit WorkerTask(Worker& worker) : worker_(worker) {}
    Worker& worker_;
};

// The Ui of core code running inside an operation: its messages and questions go through the
// task, so a quiet window drops them; progress and posts are the operation's own business.
class WorkerTaskUi final : public Ui {
  public:
    explicit WorkerTaskUi(WorkerTask& task) : task_(task) {}
    void report(std::string_view message) override { task_.Report(message); }
    bool ask(std::string_view question) override { return task_.Ask(question); }
    void progress(const ProgressCounters&) override {}
    void post(Command) override {}

  private:
    WorkerTask& task_;
};

// Runs an operation's routine.
using WorkerRoutine = std::function<WorkerOutcome(WorkerTask& task)>;

// The single background worker: one operation at a time on its own thread. The routine owns
// every input it needs (its own file handle, chess state and game lines); the only things the
// window and the worker share are the state word, the quiet flag and the progress the worker
// passes to Ui::progress by value. The Ui is called from the worker thread, so the window's Ui
// must queue what it receives onto its own thread.
class Worker {
  public:
    explicit Worker(Ui& ui);
    // Waits for a running operation to end.
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts `routine` on the worker thread for `job` over `total` items (0 when unknown).
    // Refuses, with the running operation's message (also reported), when one is running.
    Error StartWorker(const WorkerJob& job, std::int64_t total, WorkerRoutine routine);

    // The progress window's Cancel button. Returns true when the window should close at once;
    // operations that cannot be cancelled keep it open and refuse from their own thread.
    bool CancelWorker();

    // For every command that would touch the open file: while an operation runs, reports its
    // message and returns it as the failure; otherwise returns success.
    Error RefuseWhileBusy();

    bool Busy() const;
    WorkerState State() const;
    // The running (or last) job.
    const WorkerJob& Job() const { return job_; }

    // The window raises this while it is minimised: no progress, no messages.
    void SetQuiet(bool quiet);
    bool Quiet() const;
    // After a quiet end (state 2 or 3): the message the operation would have shown. Sets the
    // state back to idle.
    std::string TakeQuietOutcome();

    // The outcome of the operation that ended last. The window reads it once the worker has
    // posted Command::OperationEnded; until the next start nothing writes it.
    const WorkerOutcome& LastOutcome() const { return outcome_; }

    // Waits for the worker thread to end; for the tool and tests, which have no message loop.
    void Wait();

  private:
    friend class WorkerTask;
    void Run(WorkerRoutine routine);

    Ui& ui_;
    WorkerJob job_;
    std::atomic<int> state_{static_cast<int>(WorkerState::Idle)};
    std::atomic<bool> quiet_{false};
    // Written only by the worker thread while it runs (and by StartWorker before it starts).
    ProgressCounters counters_;
    std::string quiet_message_;
    WorkerOutcome outcome_;
    std::jthread thread_;
};

}  // namespace qorvale::utilities
