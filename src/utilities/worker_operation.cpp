#include "utilities/worker_operation.h"

#include <array>

#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

struct OperationRow {
    std::string_view title;
    std::string_view must_terminate;
    bool cancel_allowed;
};

// Indexed by WorkerOperation; the check-mode and merge variants are picked in the lookups.
constexpr std::array<OperationRow, 9> OperationTable = {{
    {messages::TitleDirectorySearch, messages::MustTerminateDirectorySearch, true},
    {messages::TitleCheckFile, messages::MustTerminateFileCheck, true},
    {messages::TitleDuplicates, messages::MustTerminateDuplicates, true},
    {messages::TitleMakeFastFile, messages::MustTerminateFastFile, false},
    {messages::TitleAdjust, messages::MustTerminateAdjust, true},
    {messages::TitleSplit, messages::MustTerminateSplit, false},
    {messages::TitleMakeDatabase, messages::MustTerminateCurrent, false},
    {messages::TitleEcoDiff, messages::MustTerminateEcoDiff, true},
    {messages::TitleDownload, messages::MustTerminateDownload, true},
}};

const OperationRow& RowOf(WorkerOperation operation) {
    return OperationTable[static_cast<std::size_t>(operation)];
}

}  // namespace

std::string_view OperationTitle(const WorkerJob& job) {
    if (job.operation == WorkerOperation::CheckFile) {
        if (job.check_mode == CheckModeDeleteFen) return messages::TitleDeleteFenGames;
        if (job.check_mode == CheckModeDeleteSearchList) {
            return messages::TitleDeleteSearchListGames;
        }
    }
    if (job.operation == WorkerOperation::MakeFastFile && job.merge) {
        return messages::TitleMakeMergeFile;
    }
    return RowOf(job.operation).title;
}

std::string_view MustTerminateMessage(const WorkerJob& job) {
    if (job.operation == WorkerOperation::MakeFastFile && job.merge) {
        return messages::MustTerminateMergeFile;
    }
    return RowOf(job.operation).must_terminate;
}

bool CancelAllowed(WorkerOperation operation) { return RowOf(operation).cancel_allowed; }

}  // namespace qorvale::utilities
