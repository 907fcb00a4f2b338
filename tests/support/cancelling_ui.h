#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/ui.h"
#include "utilities/worker.h"

namespace qorvale::test {

// Presses Cancel on the first progress the worker shows, as an impatient user would.
class CancellingUi final : public Ui {
  public:
    utilities::Worker* worker = nullptr;
    std::vector<std::string> reports;
    std::vector<Command> posted;
    std::vector<std::string> titles;
    bool cancel_closed_window = true;

    void report(std::string_view message) override { reports.emplace_back(message); }
    bool ask(std::string_view) override { return false; }
    void progress(const ProgressCounters& counters) override {
        titles.push_back(counters.title);
        if (titles.size() == 1) cancel_closed_window = worker->CancelWorker();
    }
    void post(Command command) override { posted.push_back(command); }
};

}  // namespace qorvale::test
