#include "utilities/eco_difference_operation.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fast_file_copy.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::utilities {
namespace {

using qorvale::test::RecordingUi;
using qorvale::test::TempDir;

TEST(EcoDifferenceOperation, RunsOnTheWorkerAndPostsTheSearchResults) {
    TempDir dir;
    EcoDifferenceRequest request;
    const auto games = qorvale::test::CopyWithFastFile(dir, "search/crafted.pgn", "games.pgn");
    request.offsets = games.offsets;
    request.pgn_path = games.path;
    request.eco_lines_path =
        qorvale::test::CopyWithFastFile(dir, "search/ecocodes.pgn", "ecocodes.pgn").move_file;
    request.criteria.header.Set(search::HeaderCriterion::Eco, "*");

    RecordingUi ui;
    Worker worker(ui);
    auto result = std::make_shared<EcoDifferenceResult>();
    ASSERT_TRUE(StartSearchEcoDifference(worker, request, result).ok());
    worker.Wait();
    EXPECT_EQ(result->found, 3);
    ASSERT_EQ(result->list.Count(), 3);
    EXPECT_EQ(result->list.Games()[0].game_number, 4);
    EXPECT_EQ(result->classified.size(), 3u);
    // Once the operation has ended the window shows the found games.
    EXPECT_EQ(ui.posted, (std::vector<Command>{Command::OperationEnded}));
    EXPECT_EQ(worker.LastOutcome().completion, Completion::ShowSearchResults);
    EXPECT_GE(ui.progress_calls, 1);

    // Without the ECO codes fast file the worker says so and finds nothing.
    request.eco_lines_path = dir.File("missing.TRF");
    ASSERT_TRUE(StartSearchEcoDifference(worker, request, result).ok());
    worker.Wait();
    EXPECT_EQ(result->found, -1);
    EXPECT_EQ(ui.reports.back(), "Missing Ecocodes fast file.");
}

}  // namespace
}  // namespace qorvale::utilities
