#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui.h"

namespace qorvale::test {

// A Ui that records every message and question, answers questions from a script (No once the
// script is used up) and keeps the last progress and posted commands.
class RecordingUi final : public Ui {
  public:
    std::vector<std::string> reports;
    std::vector<std::string> questions;
    std::deque<bool> answers;
    std::vector<Command> posted;
    ProgressCounters last_progress;
    int progress_calls = 0;

    void report(std::string_view message) override { reports.emplace_back(message); }
    bool ask(std::string_view question) override {
        questions.emplace_back(question);
        if (answers.empty()) return false;
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void progress(const ProgressCounters& counters) override {
        last_progress = counters;
        ++progress_calls;
    }
    void post(Command command) override { posted.push_back(command); }
};

}  // namespace qorvale::test
