#include "utilities/worker.h"

#include <algorithm>
#include <new>
#include <utility>

#include "utilities/progress_text.h"

namespace qorvale::utilities {

namespace {

constexpr std::string_view NotEnoughMemory = "Not enough memory.";

constexpr int StateValue(WorkerState state) { return static_cast<int>(state); }

}  // namespace

const WorkerJob& WorkerTask::Job() const { return worker_.job_; }

const ProgressCounters& WorkerTask::Counters() const { return worker_.counters_; }

void WorkerTask::ReportProgress(std::int64_t index, std::int64_t found, std::int64_t total) {
    ProgressCounters& counters = worker_.counters_;
    counters.current = index + 1;
    counters.total = total;
    counters.found = found;
    double fraction = 0.0;
    if (total > 0) {
        fraction =
            std::min(1.0, static_cast<double>(counters.current) / static_cast<double>(total));
    }
    // The bar is repainted only when it has grown by a visible step; the small allowance keeps
    // exact multiples of the step from being lost to rounding.
    if (fraction - counters.last_fraction >= ProgressBarStep(worker_.job_, total) - 1e-9) {
        counters.last_fraction = fraction;
    }
    counters.text = ProgressText(worker_.job_, counters);
    if (!worker_.Quiet()) worker_.ui_.progress(counters);
}

void WorkerTask::ReportProgress(std::int64_t index, std::int64_t found, std::int64_t total,
                                std::string_view file_text) {
    worker_.counters_.file_text.assign(file_text);
    ReportProgress(index, found, total);
}

bool WorkerTask::CancelRequested() const {
    return worker_.state_.load() == StateValue(WorkerState::CancelRequested);
}

bool WorkerTask::RefuseCancel(std::string_view message) {
    int expected = StateValue(WorkerState::CancelRequested);
    if (!worker_.state_.compare_exchange_strong(expected, StateValue(WorkerState::Running))) {
        return false;
    }
    Report(message);
    return true;
}

void WorkerTask::Report(std::string_view message) {
    if (!worker_.Quiet()) worker_.ui_.report(message);
}

bool WorkerTask::Ask(std::string_view question) { return worker_.ui_.ask(question); }

Worker::Worker(Ui& ui) : ui_(ui) {}

Worker::~Worker() { Wait(); }

Error Worker::StartWorker(const WorkerJob& job, std::int64_t total, WorkerRoutine routine) {
    if (Busy()) return RefuseWhileBusy();
    // The previous operation has already set the state word; let its thread finish posting.
    Wait();
    job_ = job;
    counters_ = ProgressCounters{};
    counters_.total = total;
    counters_.title = OperationTitle(job);
    counters_.text = ProgressText(job, counters_);
    quiet_message_.clear();
    outcome_ = WorkerOutcome{};
    // Set before the thread exists, so a command arriving at once is already refused.
    state_.store(StateValue(WorkerState::Running));
    if (!Quiet()) ui_.progress(counters_);
    thread_ =
        std::jthread([this, routine = std::move(routine)]() mutable { Run(std::move(routine)); });
    return Error::Ok();
}

void Worker::Run(WorkerRoutine routine) {
    WorkerTask task(*this);
    WorkerOutcome outcome;
    try {
        outcome = routine(task);
    } catch (const std::bad_alloc&) {
        outcome =
            WorkerOutcome{std::string(NotEnoughMemory), Completion::RefreshDisplay, false, false};
    }
    bool quiet = Quiet();
    if (quiet) {
        quiet_message_ = outcome.message;
        state_.store(StateValue(outcome.findings && !outcome.deleting ? WorkerState::QuietFindings
                                                                      : WorkerState::QuietNothing));
    } else {
        state_.store(StateValue(WorkerState::Idle));
    }
    if (!quiet && !outcome.message.empty()) ui_.report(outcome.message);
    outcome_ = std::move(outcome);
    ui_.post(Command::OperationEnded);
}

bool Worker::CancelWorker() {
    int expected = StateValue(WorkerState::Running);
    state_.compare_exchange_strong(expected, StateValue(WorkerState::CancelRequested));
    return CancelAllowed(job_.operation) || !Busy();
}

Error Worker::RefuseWhileBusy() {
    if (!Busy()) return Error::Ok();
    std::string_view message = MustTerminateMessage(job_);
    ui_.report(message);
    return Error(std::string(message));
}

bool Worker::Busy() const {
    int state = state_.load();
    return state == StateValue(WorkerState::Running) ||
           state == StateValue(WorkerState::CancelRequested);
}

WorkerState Worker::State() const { return static_cast<WorkerState>(state_.load()); }

void Worker::SetQuiet(bool quiet) { quiet_.store(quiet); }

bool Worker::Quiet() const { return quiet_.load(); }

std::string Worker::TakeQuietOutcome() {
    int state = state_.load();
    if (state != StateValue(WorkerState::QuietFindings) &&
        state != StateValue(WorkerState::QuietNothing)) {
        return {};
    }
    std::string message = std::move(quiet_message_);
    quiet_message_.clear();
    state_.store(StateValue(WorkerState::Idle));
    return message;
}

void Worker::Wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace qorvale::utilities
