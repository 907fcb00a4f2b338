#include "utilities/progress_text.h"

#include <string_view>

#include "base/message.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

double Percent(std::int64_t current, std::int64_t total) {
    return total == 0 ? 0.0 : static_cast<double>(current) / static_cast<double>(total) * 100.0;
}

// The word after the found count, or "" when the operation shows none.
std::string_view FoundWord(const WorkerJob& job, const ProgressCounters& counters) {
    bool several = counters.found >= 2;
    switch (job.operation) {
        case WorkerOperation::DuplicateGames:
            if (!several) return messages::Duplicate;
            // The long form would not fit the window once all three numbers are this wide.
            if (counters.total > 99999 && counters.current > 99999 && counters.found > 999) {
                return messages::Dups;
            }
            return messages::Duplicates;
        case WorkerOperation::CheckFile:
            if (job.check_mode == CheckModeDeleteSearchList) return messages::Deleted;
            if (job.check_mode == CheckModeDeleteFen)
                return several ? messages::Fens : messages::Fen;
            return several ? messages::Errors : messages::Error;
        case WorkerOperation::DirectorySearch:
        case WorkerOperation::MakeFastFile:
        case WorkerOperation::AdjustFile:
        case WorkerOperation::SplitFile:
        case WorkerOperation::MakeDatabase:
        case WorkerOperation::SearchEcoDiff:
        case WorkerOperation::Download:
            return {};
    }
    return {};
}

}  // namespace

std::string ProgressText(const WorkerJob& job, const ProgressCounters& counters) {
    int current = static_cast<int>(counters.current);
    int total = static_cast<int>(counters.total);
    double percent = Percent(counters.current, counters.total);
    if (job.operation == WorkerOperation::DirectorySearch) {
        if (counters.total == 0) return std::string(messages::SearchingFirstFile);
        return FillMessage(messages::FileProgress,
                           {current, total, percent, std::string_view(counters.file_text)});
    }
    if (job.operation == WorkerOperation::Download) {
        // A download counts kilobytes, not games.
        if (counters.total == 0) return FillMessage(messages::DownloadProgressUnknown, current);
        return FillMessage(messages::DownloadProgress, {current, total, percent});
    }
    if (job.operation == WorkerOperation::SplitFile && counters.total == 0) {
        return std::string(messages::CalculatingGames);
    }
    std::string_view word = counters.found == 0 ? std::string_view{} : FoundWord(job, counters);
    if (word.empty()) {
        return FillMessage(messages::GameComplete, {current, total, percent});
    }
    return FillMessage(messages::GameFound, {current, total, percent, counters.found, word});
}

double ProgressBarStep(const WorkerJob& job, std::int64_t total) {
    if ((job.operation == WorkerOperation::DuplicateGames && job.without_fast_file) ||
        total >= 40000) {
        return 0.01;
    }
    if (total >= 30000) return 0.02;
    if (total >= 20000) return 0.025;
    return 0.05;
}

bool ProgressDue(std::int64_t index, std::int64_t total) {
    if (total < 100) return true;
    if (total < 1000) return index % 10 == 0;
    return index % 100 == 0;
}

}  // namespace qorvale::utilities
