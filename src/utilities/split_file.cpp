#include "utilities/split_file.h"

#include <utility>

#include "pgn/game_scanner.h"
#include "pgn/record_reader.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "utilities/game_spans.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

// The byte offset of every game's first tag line.
std::vector<std::uint64_t> GameStarts(platform::File& file, const OperationControl& control,
                                      bool& cancelled) {
    std::vector<std::uint64_t> starts;
    pgn::RecordReader reader;
    reader.SetMode(pgn::ReadMode::ReadCounted);
    std::uint64_t position = 0;
    bool after_tag = false;
    for (;;) {
        std::string_view record;
        int length = reader.ReadRecord(file, record);
        if (length == 0) break;
        bool tag = pgn::IsTagLine(record);
        if (tag && !after_tag) {
            starts.push_back(position);
            if (starts.size() % 1000 == 0) {
                control.Progress(static_cast<std::int64_t>(starts.size()), 0, 0);
                if (control.Cancelled()) {
                    cancelled = true;
                    return {};
                }
            }
        }
        after_tag = tag;
        position += static_cast<std::uint64_t>(length);
    }
    return starts;
}

std::string LetterSuffix(int index) {
    std::string suffix;
    for (int n = index + 1; n > 0; n = (n - 1) / 26) {
        suffix.insert(suffix.begin(), static_cast<char>('a' + (n - 1) % 26));
    }
    return suffix;
}

}  // namespace

std::string SplitFileName(const std::string& source, int index) {
    std::string stem = source;
    if (stem.size() >= 4) {
        std::string extension = stem.substr(stem.size() - 4);
        for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (extension == ".pgn") stem.resize(stem.size() - 4);
    }
    bool after_digit = !stem.empty() && stem.back() >= '0' && stem.back() <= '9';
    return stem + (after_digit ? LetterSuffix(index) : std::to_string(index + 1)) + ".pgn";
}

SplitResult SplitFile(const SplitRequest& request, const OperationControl& control,
                      const std::function<bool(std::string_view)>& refuse_cancel,
                      platform::FileSystem& file_system) {
    SplitResult result;
    platform::File source = platform::File::Open(request.source_path, platform::File::Mode::Read);
    if (!source.IsOpen()) {
        result.error = Error(std::string(messages::ErrorOpeningFile));
        return result;
    }
    bool cancelled = false;
    std::vector<std::uint64_t> starts = GameStarts(source, control, cancelled);
    if (cancelled) {
        result.declined = true;
        return result;
    }
    const auto count = static_cast<std::int64_t>(starts.size());
    result.games = count;
    bool maximum = request.maximum_sized ? *request.maximum_sized
                                         : control.Ask(messages::AskMaximumSizedFiles);
    const std::int64_t limit = maximum ? SplitLimitMaximum : SplitLimitOrdinary;
    std::int64_t files = 2;
    bool go_on = false;
    if (count >= limit) {
        files = count / limit + 1;
        go_on = control.Ask(Formatted(messages::ConfirmSplitInto, static_cast<int>(count),
                                      static_cast<int>(files)));
    } else {
        go_on = control.Ask(Formatted(messages::ConfirmSplitAnyway, static_cast<int>(count)));
    }
    if (!go_on) {
        result.declined = true;
        return result;
    }
    std::vector<std::string> names;
    for (int k = 0; k < files; ++k) {
        names.push_back(SplitFileName(request.source_path, k));
        if (platform::FileExists(names.back())) {
            result.error = Error(std::string(messages::ErrorCreatingSplitFile));
            return result;
        }
    }
    const std::int64_t share = count / files;
    const std::uint64_t size = static_cast<std::uint64_t>(std::max<std::int64_t>(0, source.Size()));
    auto start_of = [&](std::int64_t game) {
        return game < count ? starts[static_cast<std::size_t>(game)] : size;
    };
    const std::string temp_path =
        platform::JoinPath(platform::FolderOf(names.front()), "tempqqqq.xyz");
    for (std::int64_t k = 0; k < files; ++k) {
        control.Progress(k * share, 0, count);
        if (refuse_cancel) refuse_cancel(messages::CannotCancelSplit);
        const std::uint64_t begin = k == 0 ? 0 : start_of(k * share);
        const std::uint64_t end = k + 1 == files ? size : start_of((k + 1) * share);
        platform::File out = file_system.Create(temp_path);
        bool written =
            out.IsOpen() && CopyFileRange(source, begin, end, [&](std::string_view b) {
                return file_system.Write(out, b.data(), static_cast<std::int64_t>(b.size()));
            });
        written = written && file_system.Flush(out);
        out.Close();
        if (!written || !file_system.Rename(temp_path, names[static_cast<std::size_t>(k)])) {
            file_system.Delete(temp_path);
            result.error = Error(std::string(messages::ErrorCreatingSplitFile));
            return result;
        }
        result.files.push_back(names[static_cast<std::size_t>(k)]);
    }
    return result;
}

Error StartSplitFile(Worker& worker, SplitRequest request, std::shared_ptr<SplitResult> result,
                     platform::FileSystem& file_system) {
    WorkerJob job;
    job.operation = WorkerOperation::SplitFile;
    return worker.StartWorker(
        job, 0,
        [request = std::move(request), result = std::move(result), &file_system](WorkerTask& task) {
            OperationControl control;
            control.progress = [&task](std::int64_t index, std::int64_t found, std::int64_t total) {
                task.ReportProgress(index, found, total);
            };
            control.cancelled = [&task] { return task.CancelRequested(); };
            control.ask = [&task](std::string_view question) { return task.Ask(question); };
            *result = SplitFile(
                request, control,
                [&task](std::string_view message) { return task.RefuseCancel(message); },
                file_system);
            WorkerOutcome outcome;
            if (!result->error.ok()) {
                outcome.message = result->error.message();
            } else if (!result->declined) {
                outcome.message = messages::SplitComplete;
            }
            return outcome;
        });
}

}  // namespace qorvale::utilities
