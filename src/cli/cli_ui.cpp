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

void CliUi::explain(const Error& error) {
    report(error.message());
    if (error.detail().empty()) return;
    // The detail's lines are indented under the message.
    std::string_view detail = error.detail();
    while (!detail.empty()) {
        const std::size_t end = detail.find('\n');
        const std::string_view line = detail.substr(0, end);
        std::fprintf(stderr, "  %.*s\n", static_cast<int>(line.size()), line.data());
        detail = end == std::string_view::npos ? std::string_view() : detail.substr(end + 1);
    }
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
