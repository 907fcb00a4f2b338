#include "utilities/progress_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qorvale::utilities {
namespace {

WorkerJob Job(WorkerOperation operation, int check_mode = 0) {
    WorkerJob job;
    job.operation = operation;
    job.check_mode = check_mode;
    return job;
}

TEST(ProgressText, MatchesEachOperationAndCount) {
    struct Row {
        const char* name;
        WorkerJob job;
        std::int64_t current, total, found;
        const char* file_text;
        const char* expected;
    };
    const Row rows[] = {
        {"no games", Job(WorkerOperation::CheckFile), 0, 0, 0, "", "Game:  0 of 0    0% complete"},
        {"plain", Job(WorkerOperation::MakeFastFile), 250, 1000, 0, "",
         "Game:  250 of 1000    25% complete"},
        {"exact half rounds to even", Job(WorkerOperation::AdjustFile), 1, 8, 0, "",
         "Game:  1 of 8    12% complete"},
        {"one error", Job(WorkerOperation::CheckFile, 1), 3, 4, 1, "",
         "Game:  3 of 4  75%  1 error"},
        {"errors", Job(WorkerOperation::CheckFile, 0), 2, 4, 7, "", "Game:  2 of 4  50%  7 errors"},
        {"one FEN", Job(WorkerOperation::CheckFile, CheckModeDeleteFen), 1, 2, 1, "",
         "Game:  1 of 2  50%  1 FEN"},
        {"FENs", Job(WorkerOperation::CheckFile, CheckModeDeleteFen), 1, 2, 2, "",
         "Game:  1 of 2  50%  2 FEN's"},
        {"deleted is one word", Job(WorkerOperation::CheckFile, CheckModeDeleteSearchList), 1, 2, 5,
         "", "Game:  1 of 2  50%  5 deleted"},
        {"one duplicate", Job(WorkerOperation::DuplicateGames), 10, 100, 1, "",
         "Game:  10 of 100  10%  1 duplicate"},
        {"duplicates below a thousand", Job(WorkerOperation::DuplicateGames), 100000, 100000, 999,
         "", "Game:  100000 of 100000  100%  999 duplicates"},
        {"dups once all are wide", Job(WorkerOperation::DuplicateGames), 100000, 100001, 1000, "",
         "Game:  100000 of 100001  100%  1000 dups"},
        {"dups needs current past 99999", Job(WorkerOperation::DuplicateGames), 99999, 100001, 1000,
         "", "Game:  99999 of 100001  100%  1000 duplicates"},
        {"found ignored elsewhere", Job(WorkerOperation::MakeDatabase), 5, 10, 3, "",
         "Game:  5 of 10    50% complete"},
        {"directory before count", Job(WorkerOperation::DirectorySearch), 0, 0, 0, "",
         "Searching first file..."},
        {"directory", Job(WorkerOperation::DirectorySearch), 2, 3, 9, "b.pgn",
         "File:  2 of 3  67%  b.pgn"},
        {"split before count", Job(WorkerOperation::SplitFile), 0, 0, 0, "",
         "Calculating number of games..."},
        {"split counted", Job(WorkerOperation::SplitFile), 1, 4, 0, "",
         "Game:  1 of 4    25% complete"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ProgressCounters counters;
        counters.current = row.current;
        counters.total = row.total;
        counters.found = row.found;
        counters.file_text = row.file_text;
        EXPECT_EQ(ProgressText(row.job, counters), row.expected);
    }
}

TEST(ProgressText, BarStepShrinksWithLongFiles) {
    WorkerJob duplicates_slow = Job(WorkerOperation::DuplicateGames);
    duplicates_slow.without_fast_file = true;
    struct Row {
        const char* name;
        WorkerJob job;
        std::int64_t total;
        double step;
    };
    const Row rows[] = {
        {"short", Job(WorkerOperation::CheckFile), 19999, 0.05},
        {"20000", Job(WorkerOperation::CheckFile), 20000, 0.025},
        {"30000", Job(WorkerOperation::CheckFile), 30000, 0.02},
        {"39999", Job(WorkerOperation::CheckFile), 39999, 0.02},
        {"40000", Job(WorkerOperation::CheckFile), 40000, 0.01},
        {"duplicates with fast file", Job(WorkerOperation::DuplicateGames), 500, 0.05},
        {"duplicates from the text", duplicates_slow, 500, 0.01},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_DOUBLE_EQ(ProgressBarStep(row.job, row.total), row.step);
    }
}

TEST(ProgressText, RhythmThinsOutOnLongFiles) {
    struct Row {
        std::int64_t total;
        std::int64_t index;
        bool due;
    };
    const Row rows[] = {
        {99, 0, true},     {99, 57, true},          {100, 57, false},   {100, 50, true},
        {999, 990, true},  {999, 995, false},       {1000, 990, false}, {1000, 900, true},
        {200000, 0, true}, {200000, 199999, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.total) + "/" + std::to_string(row.index));
        EXPECT_EQ(ProgressDue(row.index, row.total), row.due);
    }
}

}  // namespace
}  // namespace qorvale::utilities
