#pragma once

#include "base/ui.h"

namespace qorvale::cli {

// The tool's Ui: messages go to stderr, questions are answered by --yes (Yes) or No otherwise,
// progress is one rewritten line on stderr for long jobs.
class CliUi final : public Ui {
public:
    explicit CliUi(bool answer_yes) : answer_yes_(answer_yes) {}

    void report(std::string_view message) override;
    bool ask(std::string_view question) override;
    void progress(const ProgressCounters& counters) override;
    void post(Command) override {}

private:
    bool answer_yes_;
    bool progress_shown_ = false;
};

}  // namespace qorvale::cli
