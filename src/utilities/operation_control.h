#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "utilities/progress_text.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

// How a utility's routine talks to whoever runs it: the worker (through its task) or a test that
// wants to cancel at a chosen game. Unset members do nothing.
struct OperationControl {
    // 0-based item, found so far, total items.
    std::function<void(std::int64_t index, std::int64_t found, std::int64_t total)> progress;
    std::function<bool()> cancelled;
    // A question on the way (the worker thread asks through the window).
    std::function<bool(std::string_view question)> ask;

    void Progress(std::int64_t index, std::int64_t found, std::int64_t total) const {
        if (progress) progress(index, found, total);
    }
    bool Cancelled() const { return cancelled && cancelled(); }
    bool Ask(std::string_view question) const { return ask && ask(question); }
};

// The control of a routine running on the worker: progress at the usual rhythm.
inline OperationControl ControlOf(WorkerTask& task) {
    OperationControl control;
    control.progress = [&task](std::int64_t index, std::int64_t found, std::int64_t total) {
        if (ProgressDue(index, total)) task.ReportProgress(index, found, total);
    };
    control.cancelled = [&task] { return task.CancelRequested(); };
    control.ask = [&task](std::string_view question) { return task.Ask(question); };
    return control;
}

// The Ui of a routine on the worker: its messages go through the task, so a quiet window drops
// them; it draws no progress of its own.
class TaskUi final : public Ui {
  public:
    explicit TaskUi(WorkerTask& task) : task_(task) {}
    void report(std::string_view message) override { task_.Report(message); }
    bool ask(std::string_view question) override { return task_.Ask(question); }
    void progress(const ProgressCounters&) override {}
    void post(Command) override {}

  private:
    WorkerTask& task_;
};

// A message pattern of the program's texts filled in, printf-style.
inline std::string Formatted(const char* pattern, ...) {
    char text[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

}  // namespace qorvale::utilities
