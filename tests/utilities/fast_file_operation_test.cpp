#include "utilities/fast_file_operation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "search/fast_file.h"
#include "support/cancelling_ui.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::utilities {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::TempDir;
using qorvale::test::TestDataPath;

using qorvale::test::CancellingUi;

TEST(FastFileOperation, RunsToItsEndWhateverCancelSays) {
    struct Row {
        const char* name;
        bool merge;
        std::string title;
        std::string refusal;
        std::string outcome;
    };
    const Row rows[] = {
        {"fast file", false, "Make Fast File", "Sorry, cannot cancel fast file generation.",
         "Warning: File contained some FEN positions. Fast file may not be correct."},
        {"merge file", true, "Make Merge File", "Sorry, cannot cancel merge file generation.",
         "Merge file complete."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string pgn = dir.Write("games.pgn", ReadWholeFile(TestDataPath("fast/limits.pgn")));
        qorvale::test::RecordingUi scan_ui;
        pgn::PgnFile file;
        ASSERT_TRUE(file.Open(pgn).ok());
        std::int32_t count = file.ScanGameFile(false, scan_ui);
        std::span<const std::uint32_t> offsets = file.Index().Offsets();

        CancellingUi ui;
        Worker worker(ui);
        ui.worker = &worker;
        MakeFastFileRequest request{
            pgn, {offsets.begin(), offsets.end()}, row.merge, {dir.File("tree.TRF"), false}};
        ASSERT_TRUE(StartMakeFastFile(worker, request).ok());
        worker.Wait();
        EXPECT_FALSE(ui.cancel_closed_window);
        EXPECT_EQ(ui.reports, (std::vector<std::string>{row.refusal, row.outcome}));
        EXPECT_EQ(ui.titles.front(), row.title);
        EXPECT_EQ(ui.posted, (std::vector<Command>{Command::OperationEnded}));
        EXPECT_EQ(worker.LastOutcome().completion, Completion::RefreshDisplay);
        EXPECT_EQ(worker.State(), WorkerState::Idle);
        if (row.merge) {
            EXPECT_EQ(search::CountMoveRecords(dir.File("tree.TRF")), count);
        } else {
            EXPECT_EQ(search::FastFileStateOf(pgn, count), search::FastFileState::Current);
        }
    }
}

TEST(FastFileOperation, MissingFileEndsWithItsMessage) {
    TempDir dir;
    qorvale::test::RecordingUi ui;
    Worker worker(ui);
    ASSERT_TRUE(StartMakeFastFile(worker, {dir.File("gone.pgn"), {0}, false, {}}).ok());
    worker.Wait();
    EXPECT_EQ(ui.reports, std::vector<std::string>{"Error opening file."});
    EXPECT_FALSE(platform::FileExists(dir.File("gone.TRF")));
}

}  // namespace
}  // namespace qorvale::utilities
