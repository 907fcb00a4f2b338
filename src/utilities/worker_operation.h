#pragma once

#include <string_view>

namespace qorvale::utilities {

// The long operations that run on the worker thread; the values are the program's selector
// numbers.
enum class WorkerOperation : int {
    DirectorySearch = 0,
    CheckFile = 1,
    DuplicateGames = 2,
    MakeFastFile = 3,  // also the tree merge file (WorkerJob::merge)
    AdjustFile = 4,
    SplitFile = 5,
    MakeDatabase = 6,
    SearchEcoDiff = 7,
    Download = 8,
};

// The check-file modes that change the progress window's title and its found-count word.
inline constexpr int CheckModeDeleteFen = 2;
inline constexpr int CheckModeDeleteSearchList = 3;
// Check mode 5 does not know its game count up front.
inline constexpr int CheckModeUncounted = 5;

// One request for the worker: the operation and the variants that change its texts.
struct WorkerJob {
    WorkerOperation operation = WorkerOperation::CheckFile;
    int check_mode = 0;  // CheckFile only
    bool merge = false;  // MakeFastFile: the tree merge file instead of the fast file
    // DuplicateGames over a PGN file without its fast file: the progress bar moves in 1% steps.
    bool without_fast_file = false;
};

// The progress window's title.
std::string_view OperationTitle(const WorkerJob& job);
// The text every refused command shows while `job` runs.
std::string_view MustTerminateMessage(const WorkerJob& job);
// Whether Cancel stops the operation; the others refuse it with their own message and the
// progress window stays open.
bool CancelAllowed(WorkerOperation operation);

}  // namespace qorvale::utilities
