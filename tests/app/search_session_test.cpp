#include "app/search_session.h"

#include <gtest/gtest.h>

#include "app/file_opener.h"
#include "base/bytes.h"
#include "search/variation_search.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

class SearchSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            OpenGameFile(file_, {dir_.CopyData("search/crafted.pgn", "games.pgn")}, ui_).ok());
        source_.pgn_path = file_.CurrentPath();
        source_.offsets = file_.Index().Offsets();
        source_.game_count = file_.GameCount();
        source_.use_fast_file = false;
        session_.Criteria().line = *search::ParseSearchLine("1.d4 Nf6 2.c4");
        search::PositionCriteria& position = session_.Criteria().position;
        ASSERT_TRUE(search::ParsePositionEntries("d4, c4", "Nf6", position).ok());
        ASSERT_TRUE(session_.Criteria().header.Set(search::HeaderCriterion::Event, "World Ch"));
    }

    test::TempDir dir_;
    test::RecordingUi ui_;
    pgn::PgnFile file_;
    search::SearchSource source_;
    SearchSession session_;
};

// A saved search is written as the kind of file its parts need, and loading it gives those parts
// back: a header file carries its combination in its parts word.
TEST_F(SearchSessionTest, SavedSearchKeepsTheKindAndPartsOfTheLastSearch) {
    struct Row {
        const char* name;
        SearchParts parts;
        std::uint32_t kind;
        std::uint32_t parts_word;
    };
    const Row rows[] = {
        {"header alone", {true, false, false}, 3, 0},
        {"header and line", {true, true, false}, 3, 1},
        {"header and position", {true, false, true}, 3, 2},
        {"all three", {true, true, true}, 3, 3},
        {"line alone", {false, true, false}, 1, 0},
        {"position alone", {false, false, true}, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_GE(session_.Run(source_, row.parts, ui_), 0);
        const std::string path = dir_.File("s.ser");
        ASSERT_TRUE(session_.Save(path).ok());
        const std::string bytes = test::ReadWholeFile(path);
        ASSERT_GE(bytes.size(), 8u);
        EXPECT_EQ(GetU32(reinterpret_cast<const std::uint8_t*>(bytes.data())), row.kind);
        EXPECT_EQ(GetU32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 4), row.parts_word);
        SearchSession loaded;
        ASSERT_TRUE(loaded.Load(path).ok());
        EXPECT_EQ(loaded.LastParts(), row.parts);
    }
}

TEST_F(SearchSessionTest, LandsOnTheFirstGameWhereTheLineEndsOrThePositionStands) {
    ASSERT_GT(session_.Run(source_, {false, true, false}, ui_), 0);
    std::optional<SearchLanding> landing = session_.Landing();
    ASSERT_TRUE(landing);
    EXPECT_EQ(landing->game_number, session_.FoundGames().front());
    EXPECT_EQ(landing->ply, 3);

    ASSERT_GT(session_.Run(source_, {false, false, true}, ui_), 0);
    landing = session_.Landing();
    ASSERT_TRUE(landing);
    EXPECT_EQ(landing->ply, session_.List().Games().front().half_move);
    EXPECT_GT(landing->ply, 0);

    // A refused search leaves the last list as it was.
    const std::vector<std::int32_t> before = session_.FoundGames();
    ASSERT_TRUE(session_.Criteria().header.Set(search::HeaderCriterion::Date, ">"));
    EXPECT_EQ(session_.Run(source_, {true, false, false}, ui_), -1);
    EXPECT_EQ(session_.FoundGames(), before);
}

}  // namespace
}  // namespace qorvale::app
