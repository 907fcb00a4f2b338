#include "cli/engine_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace qorvale::cli {

bool DriveEngine(app::EngineSession& session,
                 const std::function<bool(const app::EngineUpdate&)>& done, bool print_rows) {
    using Clock = app::EngineSession::Clock;
    std::uint64_t printed = 0;
    auto print_new_rows = [&]() {
        const engines::EngineList* list = session.List();
        if (list == nullptr) return;
        const std::uint64_t total = list->TotalAdded();
        const std::uint64_t kept = list->Rows().size();
        std::uint64_t first = std::max(printed, total - kept);
        for (std::uint64_t row = first; row < total; ++row) {
            const std::string& text = list->Rows()[static_cast<std::size_t>(row - (total - kept))];
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fputc('\n', stdout);
        }
        printed = total;
        std::fflush(stdout);
    };
    while (true) {
        std::chrono::milliseconds wait(1000);
        if (std::optional<Clock::time_point> deadline = session.NextDeadline()) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
            wait =
                std::clamp(left + std::chrono::milliseconds(1), std::chrono::milliseconds(0), wait);
        }
        session.WaitForOutput(wait);
        app::EngineUpdate update = session.Poll(Clock::now());
        if (print_rows) print_new_rows();
        if (done(update)) return true;
        if (update.stopped || !session.Running()) return false;
    }
}

std::optional<long> NumberFlag(const CommandArgs& args, std::string_view name, long fallback,
                               long minimum) {
    if (!args.HasFlag(name)) return fallback;
    std::string value = args.FlagValue(name);
    char* end = nullptr;
    long number = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || number < minimum) return std::nullopt;
    return number;
}

std::optional<std::string> SearchCommand(const CommandArgs& args, std::string_view fallback) {
    if (args.HasFlag("--depth") && args.HasFlag("--movetime")) return std::nullopt;
    std::optional<long> depth = NumberFlag(args, "--depth", 0, 1);
    std::optional<long> movetime = NumberFlag(args, "--movetime", 0, 1);
    if (!depth || !movetime) return std::nullopt;
    if (*depth > 0) return "go depth " + std::to_string(*depth);
    if (*movetime > 0) return "go movetime " + std::to_string(*movetime);
    return std::string(fallback);
}

}  // namespace qorvale::cli
