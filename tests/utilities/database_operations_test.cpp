// The directory search and the database build as worker operations: the first stops after the
// file in work when cancelled, the second refuses the cancel and runs to its end.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pgn/pgn_file.h"
#include "search/database_search.h"
#include "search/directory_results.h"
#include "search/fast_file.h"
#include "support/cancelling_ui.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "utilities/directory_search_operation.h"
#include "utilities/make_database_operation.h"

namespace qorvale::utilities {
namespace {

using qorvale::test::CancellingUi;
using qorvale::test::TempDir;

TEST(DatabaseOperations, DirectorySearchCancelledStopsAfterTheFileInWork) {
    TempDir dir;
    for (const char* name : {"a.pgn", "b.pgn", "c.pgn"}) dir.CopyData("harden/fischer.pgn", name);
    search::DirectorySearchRequest request;
    request.folder = dir.path();
    request.results_path = dir.File("searchqq.xyz");
    request.criteria.header.Set(search::HeaderCriterion::White, "Fischer");
    CancellingUi ui;
    Worker worker(ui);
    ui.worker = &worker;
    auto result = std::make_shared<DirectorySearchResult>();
    ASSERT_TRUE(StartSearchDirectory(worker, request, result).ok());
    worker.Wait();
    EXPECT_TRUE(ui.cancel_closed_window);
    EXPECT_EQ(ui.titles.front(), "Search Directory");
    EXPECT_TRUE(result->summary.cancelled);
    EXPECT_EQ(result->summary.files_with_matches, 1);
    EXPECT_EQ(ui.posted.back(), Command::OperationEnded);
    EXPECT_EQ(worker.LastOutcome().completion, Completion::ShowSearchResults);
    Result<search::DirectoryResults> results = search::ReadDirectoryResults(request.results_path);
    ASSERT_TRUE(results);
    ASSERT_EQ(results->files.size(), 1u);
    EXPECT_EQ(results->files[0].stem, "a");
}

TEST(DatabaseOperations, MakeDatabaseMakesTheFastFileFirstAndRefusesCancel) {
    TempDir dir;
    const std::string pgn = dir.CopyData("harden/fischer.pgn", "fischer.pgn");
    pgn::PgnFile file;
    qorvale::test::RecordingUi scan_ui;
    ASSERT_TRUE(file.Open(pgn).ok());
    const std::int32_t count = file.ScanGameFile(false, scan_ui);

    MakeDatabaseRequest request;
    request.build.db_path = dir.File("fischer.dbg");
    request.build.pgn_path = pgn;
    request.build.game_count = count;
    qorvale::test::RecordingUi questions;
    questions.answers = {true, true};
    const search::DbBuildPlan plan = search::PlanDatabaseBuild(request.build, questions);
    EXPECT_EQ(questions.questions,
              (std::vector<std::string>{"You must make a 'fast' file first. Do it now?",
                                        "Are you sure?"}));
    ASSERT_TRUE(plan.go);
    request.make_fast_file = plan.make_fast_file;
    request.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());

    CancellingUi ui;
    Worker worker(ui);
    ui.worker = &worker;
    auto result = std::make_shared<MakeDatabaseResult>();
    ASSERT_TRUE(StartMakeDatabase(worker, std::move(request), result).ok());
    worker.Wait();
    EXPECT_FALSE(ui.cancel_closed_window);
    EXPECT_EQ(ui.titles.front(), "Make Database");
    EXPECT_EQ(ui.reports, (std::vector<std::string>{"Sorry, cannot cancel fast file generation.",
                                                    "Database complete."}));
    EXPECT_EQ(search::FastFileStateOf(pgn, count), search::FastFileState::Current);
    EXPECT_TRUE(search::CheckDatabase(dir.File("fischer.dbg")).ok);
    EXPECT_EQ(result->outcome.games, count);
}

}  // namespace
}  // namespace qorvale::utilities
