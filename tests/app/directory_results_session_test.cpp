// The "Select File" session: the list of a results file, and a chosen file opened with its found
// games as the search list and navigation list.
#include "app/directory_results_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/directory_results.h"
#include "search/messages.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using test::TempDir;

// A results file of `files` records over fischer.pgn copies named f0, f1, ...
std::string WriteResults(const TempDir& dir, int files,
                         const std::vector<std::int32_t>& games = {34, 3, 99, 3, 1}) {
    search::DirectoryResultsHeader header;
    header.folder = dir.path();
    header.kind = search::DirectorySearchKind::Position;
    EXPECT_TRUE(ParsePositionText("W:Kg1 B:Kg8", header.criteria.position).ok());
    std::vector<std::uint8_t> bytes;
    search::AppendResultsHeader(bytes, header);
    for (int file = 0; file < files; ++file) {
        search::DirectoryFileResult record;
        record.stem = "f" + std::to_string(file);
        record.games = games;
        for (std::int32_t game : games) record.half_moves.push_back(game + 10);
        record.white_wins = 2;
        record.black_wins = 1;
        record.class3 = -1;
        search::AppendFileRecord(bytes, header, record);
    }
    search::AppendResultsEndMark(bytes);
    return dir.Write("searchqq.xyz", std::string(bytes.begin(), bytes.end()));
}

TEST(DirectoryResultsSession, ChosenFileOpensWithTheGamesItStillHolds) {
    TempDir dir;
    dir.CopyData("harden/fischer.pgn", "f0.pgn");
    dir.CopyData("harden/fischer.pgn", "F1.PGN");
    test::RecordingUi ui;
    DirectoryResultsSession session;
    ASSERT_TRUE(session.Load(WriteResults(dir, 2), ui));
    EXPECT_EQ(session.Lines(), (std::vector<std::string>{"f0:5", "f1:5"}));
    EXPECT_EQ(session.TotalLine(), "Total games: 10");
    EXPECT_EQ(session.Criteria().position.White[0].view(), "Kg1");

    pgn::PgnFile file;
    search::SearchList list;
    NavigationList navigation;
    EXPECT_FALSE(session.OpenChoice(-1, file, list, navigation, ui).ok());
    EXPECT_EQ(ui.reports.back(), search::messages::SelectFileFirst);
    ASSERT_TRUE(session.OpenChoice(1, file, list, navigation, ui).ok());
    EXPECT_EQ(file.CurrentPath(), dir.File("F1.PGN"));
    // 99 is beyond the file's 34 games and 3 is listed twice.
    std::vector<std::int32_t> games;
    std::vector<std::int32_t> plies;
    for (const search::FoundGame& game : list.Games()) {
        games.push_back(game.game_number);
        plies.push_back(game.half_move);
    }
    EXPECT_EQ(games, (std::vector<std::int32_t>{1, 3, 34}));
    EXPECT_EQ(plies, (std::vector<std::int32_t>{11, 13, 44}));
    EXPECT_EQ(list.ClassCount(1), 2);
    EXPECT_EQ(list.ClassCount(3), -1);
    EXPECT_TRUE(navigation.FromSearch());
    EXPECT_EQ(navigation.Next(1, file.GameCount()), 3);
}

TEST(DirectoryResultsSession, ListsAtMostAThousandFiles) {
    TempDir dir;
    test::RecordingUi ui;
    DirectoryResultsSession session;
    ASSERT_TRUE(session.Load(WriteResults(dir, 1001, {1}), ui));
    EXPECT_EQ(session.Lines().size(), 1000u);
    EXPECT_EQ(ui.reports, std::vector<std::string>{"Maximum number 1000 search files exceeded."});
}

TEST(DirectoryResultsSession, DamagedFilesListWhatIsWhole) {
    TempDir dir;
    const std::string path = WriteResults(dir, 3);
    const std::string whole = test::ReadWholeFile(path);
    struct Row {
        const char* name;
        std::size_t keep;
        std::size_t lines;
        bool loads;
    };
    // Header and criteria: 212 + 640 bytes; each record 56 + 24 + 2 x 5 x 4 = 120 bytes.
    const Row rows[] = {
        {"cut in the criteria", 500, 0, false},
        {"cut in the second record", 852 + 150, 1, true},
        {"end mark missing", whole.size() - 8, 3, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        dir.Write("searchqq.xyz", whole.substr(0, row.keep));
        test::RecordingUi ui;
        DirectoryResultsSession session;
        EXPECT_EQ(session.Load(path, ui), row.loads);
        EXPECT_EQ(session.Lines().size(), row.lines);
        EXPECT_EQ(ui.reports, std::vector<std::string>{"Invalid search file."});
    }
}

}  // namespace
}  // namespace qorvale::app
