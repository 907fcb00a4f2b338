#include "utilities/fast_file_operation.h"

#include <utility>

#include "search/pgn_game_source.h"
#include "utilities/progress_text.h"

namespace qorvale::utilities {

Error StartMakeFastFile(Worker& worker, MakeFastFileRequest request) {
    WorkerJob job;
    job.operation = WorkerOperation::MakeFastFile;
    job.merge = request.merge;
    std::int32_t game_count = static_cast<std::int32_t>(request.offsets.size());
    return worker.StartWorker(
        job, game_count, [request = std::move(request), game_count](WorkerTask& task) mutable {
            search::PgnGameSource source(request.pgn_path, std::move(request.offsets));
            if (Error error = source.Open()) return WorkerOutcome{error.message()};
            search::GenerationControl control{
                [&task](std::int64_t index, std::int64_t total) {
                    if (ProgressDue(index, total)) task.ReportProgress(index, 0, total);
                },
                [&task](std::string_view message) { return task.RefuseCancel(message); }};
            search::MakeResult result =
                request.merge ? search::MakeMergeFile(request.pgn_path, game_count, source,
                                                      request.merge_target, control)
                              : search::MakeFastFile(request.pgn_path, game_count, source, control);
            return WorkerOutcome{
                std::string(search::MakeOutcomeMessage(result.outcome, request.merge))};
        });
}

}  // namespace qorvale::utilities
