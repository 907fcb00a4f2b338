#include "search/eco_difference_search.h"

#include <gtest/gtest.h>

#include <vector>

#include "search/messages.h"
#include "search/variation_search.h"
#include "search_file_fixture.h"
#include "support/fast_file_copy.h"

namespace qorvale::search {
namespace {

class EcoDifferenceFile : public SearchFileTest {
  protected:
    void SetUp() override {
        Open("search/crafted.pgn");
        lines_path_ = test::CopyWithFastFile(dir_, "search/ecocodes.pgn", "ecocodes.pgn").move_file;
    }
    std::string lines_path_;
};

TEST(EcoCodeLines, ClassifiesByPositionAndByMoves) {
    test::TempDir dir;
    Result<EcoCodeLines> lines = EcoCodeLines::Load(
        test::CopyWithFastFile(dir, "search/ecocodes.pgn", "ecocodes.pgn").move_file);
    ASSERT_TRUE(lines.ok());
    ASSERT_EQ(lines->Count(), 4);
    EXPECT_EQ(lines->Code(1), "C88");
    EXPECT_EQ(lines->Length(1), 14);

    struct Row {
        const char* name;
        const char* game;
        const char* by_position;  // "" for none
        const char* by_moves;
    };
    const Row rows[] = {
        {"the line itself", "1.d4 Nf6 2.c4 e6 3.Nc3 Bb4", "E20", "E20"},
        {"transposed", "1.c4 e6 2.d4 Nf6 3.Nc3 d5", "D35", "D35"},
        // Only two half-moves played: the first longer line they begin.
        {"short", "1.d4 Nf6", "D35", "D35"},
        // Black castles a move late: the positions follow the long line to 7.Bb3, the moves
        // contain only the short one.
        {"left the long line",
         "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 d6 8.c3 O-O", "C88", "C60"},
        {"nothing", "1.Nf3 d5", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Result<VariationCriteria> parsed = ParseSearchLine(row.game);
        ASSERT_TRUE(parsed.ok());
        Result<SearchLine> line = BuildSearchLine(*parsed);
        ASSERT_TRUE(line.ok());
        std::vector<MoveCode> codes;
        for (int i = 0; i < line->white_count; ++i) {
            codes.push_back(line->SearchWhite[static_cast<std::size_t>(i)]);
            if (i < line->black_count)
                codes.push_back(line->SearchBlack[static_cast<std::size_t>(i)]);
        }
        std::vector<chess::Board64> positions;
        ReplayMoveCodes(codes, positions);
        int by_position =
            lines->ClassifyByPosition(std::span<const chess::Board64>(positions).subspan(1));
        int by_moves = lines->ClassifyByMoves(codes);
        EXPECT_EQ(by_position < 0 ? "" : lines->Code(by_position), row.by_position);
        EXPECT_EQ(by_moves < 0 ? "" : lines->Code(by_moves), row.by_moves);
    }
}

TEST_P(EcoDifferenceFile, FindsGamesWhoseTagNamesNeitherClassification) {
    SearchCriteria criteria;
    criteria.header.Set(HeaderCriterion::Eco, "*");
    SearchList list;
    std::vector<std::string> classified;
    const int found = SearchEcoDifference(source_, criteria, lines_path_, list, classified, ui_);
    if (!GetParam()) {
        EXPECT_EQ(found, -1);
        EXPECT_EQ(ui_.reports,
                  (std::vector<std::string>{std::string(messages::EcoDiffNeedsFastFile)}));
        return;
    }
    // 1, 2 and 5 carry their line's code, 3 and 8 no code.
    EXPECT_EQ(Numbers(list), (std::vector<std::int32_t>{4, 6, 7}));
    EXPECT_EQ(classified, (std::vector<std::string>{"C60", "D35", ""}));

    // The other criteria still apply.
    criteria.header.Set(HeaderCriterion::Site, "Leiden");
    SearchEcoDifference(source_, criteria, lines_path_, list, classified, ui_);
    EXPECT_EQ(Numbers(list), (std::vector<std::int32_t>{4, 7}));

    EXPECT_EQ(SearchEcoDifference(source_, criteria, dir_.File("none.TRF"), list, classified, ui_),
              -1);
    EXPECT_EQ(ui_.reports.back(), messages::MissingEcocodes);
}

INSTANTIATE_TEST_SUITE_P(TextAndFastFile, EcoDifferenceFile, ::testing::Bool(), PathName);

}  // namespace
}  // namespace qorvale::search
