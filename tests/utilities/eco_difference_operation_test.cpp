#include "utilities/eco_difference_operation.h"

#include <gtest/gtest.h>

#include <vector>

#include "pgn/pgn_file.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::utilities {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::RecordingUi;
using qorvale::test::TempDir;
using qorvale::test::TestDataPath;

// Copies a PGN file of tests/data into `dir` and makes its fast file; returns its game index.
std::vector<std::uint32_t> WithFastFile(const TempDir& dir, const char* data, const char* name) {
    std::string path = dir.Write(name, ReadWholeFile(TestDataPath(data)));
    pgn::PgnFile file;
    RecordingUi ui;
    EXPECT_TRUE(file.Open(path).ok());
    std::int32_t count = file.ScanGameFile(false, ui);
    std::vector<std::uint32_t> offsets(file.Index().Offsets().begin(),
                                       file.Index().Offsets().end());
    search::PgnGameSource games(path, offsets);
    EXPECT_TRUE(games.Open().ok());
    search::MakeFastFile(path, count, games, {});
    return offsets;
}

TEST(EcoDifferenceOperation, RunsOnTheWorkerAndPostsTheSearchResults) {
    TempDir dir;
    EcoDifferenceRequest request;
    request.offsets = WithFastFile(dir, "search/crafted.pgn", "games.pgn");
    WithFastFile(dir, "search/ecocodes.pgn", "ecocodes.pgn");
    request.pgn_path = dir.File("games.pgn");
    request.eco_lines_path = dir.File("ecocodes.TRF");
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
    // The progress window closes, then the window shows the found games.
    EXPECT_EQ(ui.posted,
              (std::vector<Command>{Command::CloseProgressBox, Command::ShowSearchResults}));
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
