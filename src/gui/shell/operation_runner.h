#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "base/error.h"
#include "base/ui.h"
#include "utilities/worker.h"

class QWidget;

namespace qorvale::gui {

class GuiThreadUi;
class ProgressBox;

// Runs the window's long operations on the single background worker: it owns the worker, the
// thread-safe Ui the worker talks through, the progress window and what happens when the
// operation ends. A controller starts an operation with its request (copied into the routine)
// and one completion callback, which runs on the window thread after the operation's message.
class OperationRunner : public QObject {
    Q_OBJECT

  public:
    using Starter = std::function<Error(utilities::Worker& worker)>;
    using Done = std::function<void(const utilities::WorkerOutcome& outcome)>;

    // `window` parents the progress window and receives the worker's calls; `window_ui` shows the
    // operation's messages and questions. Both must outlive the runner.
    OperationRunner(QWidget* window, Ui& window_ui);
    ~OperationRunner() override;

    // Starts an operation: `start` hands the worker to the operation's starter in the core
    // (StartMakeFastFile, ...); `done` runs once it has ended. While one runs, the start is
    // refused with the running operation's message, which is shown.
    Error Start(const Starter& start, Done done);

    bool Busy() const { return worker_->Busy(); }
    // For the commands that would touch the open file: shows and returns the running
    // operation's refusal, or success when none runs.
    Error RefuseWhileBusy() { return worker_->RefuseWhileBusy(); }
    utilities::Worker& worker() { return *worker_; }
    ProgressBox* progressBox() const { return progress_box_; }

    // While the window is minimised the operation neither draws nor speaks; on restore its
    // outcome is shown.
    void WindowMinimised(bool minimised);

    // The window is closing: asks the operation to stop, answers its questions with No and
    // keeps the event loop running until the worker has ended, so that a question the worker
    // is waiting on cannot hang the exit. Operations that cannot be cancelled run to their end.
    void Shutdown();

  private:
    // Hands the worker's calls to the window's Ui, or, while shutting down, drops messages and
    // answers No.
    class RouteUi final : public Ui {
      public:
        explicit RouteUi(OperationRunner& runner) : runner_(runner) {}
        void report(std::string_view message) override;
        bool ask(std::string_view question) override;
        void progress(const ProgressCounters& counters) override;
        void post(Command command) override;

      private:
        OperationRunner& runner_;
    };

    void OperationEnded();
    void ShowProgress(const ProgressCounters& counters);
    void CloseProgressBox();

    QWidget* window_;
    Ui& window_ui_;
    bool shutting_down_ = false;
    Done done_;
    ProgressBox* progress_box_ = nullptr;
    RouteUi route_ui_{*this};
    // Declared before the worker, which calls it until its thread has ended.
    std::unique_ptr<GuiThreadUi> worker_ui_;
    std::unique_ptr<utilities::Worker> worker_;
};

}  // namespace qorvale::gui
