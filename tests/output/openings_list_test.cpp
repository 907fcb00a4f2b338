#include "output/openings_list.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "pgn/pgn_file.h"
#include "support/pgn_extract.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::output {
namespace {

// Each game of a real event is counted once, under the longest family line its moves begin with
// as another PGN reader reads them, and with its result.
TEST(OpeningsList, GamesGoToTheLongestFamilyTheyPlay) {
    if (!test::HavePgnExtract()) GTEST_SKIP() << "pgn-extract is missing";
    openings::EcoTable table;
    test::RecordingUi ui;
    ASSERT_TRUE(LoadEcoTable(openings::EcoTableFilesIn(QORVALE_DATA_DIR), table, ui).ok());
    const std::vector<OpeningFamily> families = OpeningFamilies(table);
    ASSERT_GE(families.size(), 50U);

    test::TempDir dir;
    const std::string path = dir.CopyData("stats/round-robin.pgn", "games.pgn");
    const std::vector<std::string> mains = test::PgnExtractMainLines(path);
    const std::string text = test::ReadWholeFile(path);
    std::vector<std::string> results;
    for (std::size_t at = 0; (at = text.find("[Result \"", at)) != std::string::npos; ++at) {
        results.push_back(text.substr(at + 9, text.find('"', at + 9) - at - 9));
    }
    ASSERT_EQ(results.size(), mains.size());
    std::map<std::string, OpeningRow> expected;
    for (std::size_t k = 0; k < mains.size(); ++k) {
        std::vector<std::string> moves;
        std::istringstream in(mains[k]);
        for (std::string move; in >> move;) {
            while (!move.empty() && (move.back() == '+' || move.back() == '#')) move.pop_back();
            moves.push_back(move);
        }
        std::string name(OtherOpenings);
        std::size_t longest = 0;
        for (const OpeningFamily& family : families) {
            if (family.moves.size() > longest && family.moves.size() <= moves.size() &&
                std::equal(family.moves.begin(), family.moves.end(), moves.begin())) {
                name = family.name;
                longest = family.moves.size();
            }
        }
        OpeningRow& row = expected[name];
        row.name = name;
        ++(results[k] == "1-0" ? row.white_wins : results[k] == "0-1" ? row.black_wins : row.draws);
    }

    pgn::PgnFile file;
    ASSERT_TRUE(file.Open(path).ok());
    OpeningsListRequest request;
    request.pgn_path = path;
    request.game_count = file.ScanGameFile(false, ui);
    request.offsets = file.Index().Offsets();
    std::vector<OpeningRow> rows = BuildOpeningsList(request, table, ui);
    SortOpenings(rows, false);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].name);
        const OpeningRow& want = expected[rows[k].name];
        EXPECT_EQ(rows[k].white_wins, want.white_wins);
        EXPECT_EQ(rows[k].black_wins, want.black_wins);
        EXPECT_EQ(rows[k].draws, want.draws);
        if (k > 0 && rows[k].name != OtherOpenings) {
            EXPECT_LE(rows[k].Total(), rows[k - 1].Total());
        }
    }
    EXPECT_EQ(rows.back().name, OtherOpenings);
}

}  // namespace
}  // namespace qorvale::output
