#include "utilities/adjust_file.h"

#include <utility>

#include "utilities/file_rewrite.h"
#include "utilities/game_adjuster.h"
#include "utilities/game_spans.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

constexpr std::string_view LineEnd = "\r\n";

}  // namespace

AdjustResult AdjustFile(const AdjustRequest& request, const OperationControl& control, Ui& ui,
                        platform::FileSystem& file_system) {
    AdjustResult result;
    Result<GameSpans> spans =
        MeasureGameSpans(request.pgn_path, request.offsets, request.index_full);
    GameSpanReader reader;
    platform::File source = platform::File::Open(request.pgn_path, platform::File::Mode::Read);
    if (!spans || !reader.Open(request.pgn_path) || !source.IsOpen()) {
        result.error = Error(std::string(messages::ErrorOpeningFile));
        return result;
    }
    RewriteFile temp(file_system, request.pgn_path);
    if (!temp.Create()) {
        result.error = Error(std::string(messages::ErrorCreatingTempFile));
        return result;
    }
    auto write = [&temp](std::string_view block) { return temp.Write(block); };
    auto fail = [&]() {
        temp.Abandon();
        result.error = Error(std::string(messages::ErrorCreatingTempFile));
        return result;
    };
    auto adjuster = std::make_unique<GameAdjuster>();
    bool strip = false;
    std::string out;
    const auto total = static_cast<std::int64_t>(spans->Count());
    for (std::size_t index = 0; index < spans->Count(); ++index) {
        control.Progress(static_cast<std::int64_t>(index), 0, total);
        // The first game takes in whatever stands before it.
        const std::uint64_t begin = index == 0 ? 0 : spans->Begin(index);
        const std::uint64_t end = spans->End(index);
        std::string_view text = reader.Read(begin, end);
        out.clear();
        if (index > 0) out += LineEnd;
        GameAdjuster::Outcome outcome = GameAdjuster::Outcome::TooLong;
        if (text.size() == end - begin) {
            outcome = adjuster->Adjust(text, strip, request.trim_limit, out);
            if (outcome == GameAdjuster::Outcome::Annotated) {
                if (!control.Ask(messages::StripWarning)) {
                    temp.Abandon();
                    result.declined = true;
                    return result;
                }
                strip = true;
                outcome = adjuster->Adjust(text, strip, request.trim_limit, out);
            }
        }
        if (!temp.Write(out)) return fail();
        if (outcome == GameAdjuster::Outcome::TooLong) {
            ++result.kept_as_they_were;
            if (!CopyFileRange(source, begin, end, write)) return fail();
        }
        if (control.Cancelled()) {
            temp.Abandon();
            result.cancelled = true;
            return result;
        }
    }
    if (spans->Count() == 0 ? !CopyFileRange(source, 0, spans->file_size, write)
                            : !CopyFileRange(source, spans->last_end, spans->file_size, write)) {
        return fail();
    }
    result.error = ReplacePgnFile(temp, {}, ui);
    result.replaced = result.error.ok();
    return result;
}

std::string AdjustEndMessage(const AdjustResult& result) {
    if (!result.error.ok()) return result.error.message();
    if (result.cancelled) return std::string(messages::AdjustmentCanceled);
    if (result.declined) return {};
    return std::string(messages::AdjustmentComplete);
}

Error StartAdjustFile(Worker& worker, AdjustRequest request, std::shared_ptr<AdjustResult> result,
                      platform::FileSystem& file_system) {
    WorkerJob job;
    job.operation = WorkerOperation::AdjustFile;
    const auto total = static_cast<std::int64_t>(request.offsets.size());
    return worker.StartWorker(
        job, total,
        [request = std::move(request), result = std::move(result), &file_system](WorkerTask& task) {
            TaskUi ui(task);
            *result = AdjustFile(request, ControlOf(task), ui, file_system);
            return WorkerOutcome{AdjustEndMessage(*result)};
        });
}

}  // namespace qorvale::utilities
