#include "cli/cli_ui.h"

#include <cstdio>

namespace qorvale::cli {

void CliUi::report(std::string_view message) {
    if (progress_shown_) {
        std::fputc('\n', stderr);
        progress_shown_ = false;
    }
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
}

bool CliUi::ask(std::string_view question) {
    std::fprintf(stderr, "%.*s %s\n", static_cast<int>(question.size()), question.data(),
                 answer_yes_ ? "[yes]" : "[no: pass --yes to answer yes]");
    return answer_yes_;
}

void CliUi::progress(const ProgressCounters& counters) {
    if (!show_progress_) return;
    if (counters.total > 0) {
        std::fprintf(stderr, "\r%lld of %lld", static_cast<long long>(counters.current),
                     static_cast<long long>(counters.total));
    } else {
        std::fprintf(stderr, "\r%lld", static_cast<long long>(counters.current));
    }
    progress_shown_ = true;
}

}  // namespace qorvale::cli
