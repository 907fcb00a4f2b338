#include "utilities/directory_search_operation.h"

#include <utility>

namespace qorvale::utilities {

Error StartSearchDirectory(Worker& worker, search::DirectorySearchRequest request,
                           std::shared_ptr<DirectorySearchResult> result) {
    WorkerJob job;
    job.operation = WorkerOperation::DirectorySearch;
    return worker.StartWorker(
        job, 0, [request = std::move(request), result = std::move(result)](WorkerTask& task) {
            search::DirectorySearchControl control;
            control.cancelled = [&task] { return task.CancelRequested(); };
            control.progress = [&task](int index, std::int64_t found, int total,
                                       std::string_view stem) {
                task.ReportProgress(index, found, total, stem);
            };
            WorkerTaskUi ui(task);
            result->summary = search::SearchDirectory(request, control, ui);
            WorkerOutcome outcome;
            outcome.message = result->summary.message;
            outcome.completion = Completion::ShowSearchResults;
            outcome.findings = result->summary.results_written;
            return outcome;
        });
}

}  // namespace qorvale::utilities
