#include "gui/shell/operation_runner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>
#include <utility>

#include "gui/shell/message_box_ui.h"
#include "gui/shell/progress_box.h"

namespace qorvale::gui {

void OperationRunner::RouteUi::report(std::string_view message) {
    if (!runner_.shutting_down_) runner_.window_ui_.report(message);
}

bool OperationRunner::RouteUi::ask(std::string_view question) {
    return !runner_.shutting_down_ && runner_.window_ui_.ask(question);
}

void OperationRunner::RouteUi::progress(const ProgressCounters& counters) {
    if (!runner_.shutting_down_) runner_.ShowProgress(counters);
}

void OperationRunner::RouteUi::post(Command command) {
    switch (command) {
        case Command::OperationEnded:
            runner_.OperationEnded();
            return;
        case Command::OpenFile:
            // Only start-up asks for a file; an operation never does.
            return;
    }
}

OperationRunner::OperationRunner(QWidget* window, Ui& window_ui)
    : QObject(window), window_(window), window_ui_(window_ui) {
    worker_ui_ = std::make_unique<GuiThreadUi>(
        window, route_ui_,
        [this](const ProgressCounters& counters) { route_ui_.progress(counters); },
        [this](Command command) { route_ui_.post(command); });
    worker_ = std::make_unique<utilities::Worker>(*worker_ui_);
}

OperationRunner::~OperationRunner() {
    // The worker's thread calls into this object until it ends.
    shutting_down_ = true;
    worker_->Wait();
}

Error OperationRunner::Start(const Starter& start, Done done) {
    if (worker_->Busy()) return worker_->RefuseWhileBusy();
    Error started = start(*worker_);
    if (started.ok()) done_ = std::move(done);
    return started;
}

void OperationRunner::OperationEnded() {
    CloseProgressBox();
    Done done = std::move(done_);
    done_ = nullptr;
    if (done && !shutting_down_) done(worker_->LastOutcome());
}

void OperationRunner::ShowProgress(const ProgressCounters& counters) {
    if (progress_box_ == nullptr) {
        progress_box_ = new ProgressBox(window_);
        connect(progress_box_, &ProgressBox::cancelRequested, this, [this] {
            if (worker_->CancelWorker()) CloseProgressBox();
        });
        progress_box_->show();
    }
    progress_box_->ShowProgress(counters);
}

void OperationRunner::CloseProgressBox() {
    if (progress_box_ == nullptr) return;
    progress_box_->hide();
    progress_box_->deleteLater();
    progress_box_ = nullptr;
}

void OperationRunner::WindowMinimised(bool minimised) {
    worker_->SetQuiet(minimised);
    if (minimised) return;
    const utilities::WorkerState state = worker_->State();
    if (state != utilities::WorkerState::QuietFindings &&
        state != utilities::WorkerState::QuietNothing) {
        return;
    }
    const std::string message = worker_->TakeQuietOutcome();
    if (!message.empty()) window_ui_.report(message);
}

void OperationRunner::Shutdown() {
    shutting_down_ = true;
    if (!worker_->Busy()) return;
    (void)worker_->CancelWorker();
    // The worker may be waiting for the window thread (a question, a message): keep handling
    // events until it has returned.
    while (worker_->Busy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    worker_->Wait();
    CloseProgressBox();
}

}  // namespace qorvale::gui
