#include "utilities/make_database_operation.h"

#include <utility>

#include "search/pgn_game_source.h"

namespace qorvale::utilities {

Error StartMakeDatabase(Worker& worker, MakeDatabaseRequest request,
                        std::shared_ptr<MakeDatabaseResult> result) {
    WorkerJob job;
    job.operation = WorkerOperation::MakeDatabase;
    const std::int64_t total = request.build.game_count;
    return worker.StartWorker(
        job, total,
        [request = std::move(request), result = std::move(result)](WorkerTask& task) mutable {
            search::GenerationControl control{
                [&task](std::int64_t index, std::int64_t all) {
                    task.ReportProgress(index, 0, all);
                },
                [&task](std::string_view message) { return task.RefuseCancel(message); }};
            if (request.make_fast_file) {
                search::PgnGameSource source(request.build.pgn_path, std::move(request.offsets));
                if (Error error = source.Open()) return WorkerOutcome{error.message()};
                const search::MakeResult made = search::MakeFastFile(
                    request.build.pgn_path, request.build.game_count, source, control);
                if (made.outcome != search::MakeOutcome::Complete &&
                    made.outcome != search::MakeOutcome::FenWarning) {
                    result->outcome.message = search::MakeOutcomeMessage(made.outcome);
                    result->outcome.error = Error(result->outcome.message);
                    return WorkerOutcome{result->outcome.message};
                }
            }
            result->outcome = search::MakeDatabase(request.build, control);
            return WorkerOutcome{result->outcome.message};
        });
}

}  // namespace qorvale::utilities
