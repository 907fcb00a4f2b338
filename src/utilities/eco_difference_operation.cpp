#include "utilities/eco_difference_operation.h"

#include <utility>

#include "search/eco_difference_search.h"

namespace qorvale::utilities {

Error StartSearchEcoDifference(Worker& worker, EcoDifferenceRequest request,
                               std::shared_ptr<EcoDifferenceResult> result) {
    WorkerJob job;
    job.operation = WorkerOperation::SearchEcoDiff;
    const auto total = static_cast<std::int64_t>(request.offsets.size());
    return worker.StartWorker(
        job, total, [request = std::move(request), result = std::move(result)](WorkerTask& task) {
            search::SearchSource source;
            source.pgn_path = request.pgn_path;
            source.offsets = request.offsets;
            source.game_count = static_cast<std::int32_t>(request.offsets.size());
            source.background = true;
            source.cancelled = [&task] { return task.CancelRequested(); };
            source.progress = [&task](std::int64_t index, std::int64_t found, std::int64_t all) {
                task.ReportProgress(index, found, all);
            };
            WorkerTaskUi ui(task);
            result->found =
                search::SearchEcoDifference(source, request.criteria, request.eco_lines_path,
                                            result->list, result->classified, ui);
            WorkerOutcome outcome;
            outcome.completion = Completion::ShowSearchResults;
            outcome.findings = result->found > 0;
            return outcome;
        });
}

}  // namespace qorvale::utilities
