#pragma once

#include "base/ui.h"

namespace qorvale::cli {

// The tool's Ui: messages go to stderr, questions are answered by --yes (Yes) or No otherwise,
// progress is one rewritten line on stderr for long jobs, shown only on a terminal so that a
// log or a pipe gets the messages alone.
class CliUi final : public Ui {
  public:
    CliUi(bool answer_yes, bool show_progress)
        : answer_yes_(answer_yes), show_progress_(show_progress) {}

    void report(std::string_view message) override;
    void explain(const Error& error) override;
    bool ask(std::string_view question) override;
    void progress(const ProgressCounters& counters) override;
    void post(Command) override {}

  private:
    bool answer_yes_;
    bool show_progress_;
    bool progress_shown_ = false;
};

}  // namespace qorvale::cli
