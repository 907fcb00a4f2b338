#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"

namespace qorvale {

// What a long operation has done so far. The worker writes it and the progress window reads it;
// the text is only written before the counters that announce it.
struct ProgressCounters {
    std::int64_t current = 0;  // 1-based item in work
    std::int64_t total = 0;    // 0 when not known yet
    std::int64_t found = 0;    // errors, duplicates, deleted games
    std::string file_text;     // the file in work, for a directory search
    double last_fraction = 0.0;
    std::string title;  // the progress window's title
    std::string text;   // the progress line drawn from the counters above
};

// Requests the core posts to the window: "do more when you can". What the window does after a
// background operation is the operation's own completion, not a command of its own.
enum class Command : int {
    OpenFile = 100,        // start-up: reopen the last file or the one named on the command line
    OperationEnded = 107,  // the background operation has returned; its outcome is ready
};

// How the core talks to the user. The window shows message boxes, qorvale-tool writes to stderr
// and answers questions from --yes, tests record everything.
struct Ui {
    virtual ~Ui() = default;
    // A message box with the program's fixed text.
    virtual void report(std::string_view message) = 0;
    // A failure: its fixed text, and its detail where the front end has room for it.
    virtual void explain(const Error& error) { report(error.message()); }
    // A Yes/No question; false means No.
    virtual bool ask(std::string_view question) = 0;
    virtual void progress(const ProgressCounters& counters) = 0;
    virtual void post(Command command) = 0;
};

// A Ui that says nothing and answers No: for quiet runs where no one is there to ask.
struct SilentUi final : Ui {
    void report(std::string_view) override {}
    bool ask(std::string_view) override { return false; }
    void progress(const ProgressCounters&) override {}
    void post(Command) override {}
};

}  // namespace qorvale
