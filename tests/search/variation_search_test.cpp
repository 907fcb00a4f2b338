#include "search/variation_search.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "search/messages.h"
#include "search_file_fixture.h"

namespace qorvale::search {
namespace {

VariationCriteria Line(std::string_view text) {
    Result<VariationCriteria> line = ParseSearchLine(text);
    EXPECT_TRUE(line.ok()) << text;
    return line.ok() ? *line : VariationCriteria();
}

TEST(SearchLine, ParsesMoveNumbersWildcardsAndRefusesIllegalLines) {
    VariationCriteria parsed = Line("1.d4 Nf6 2. c4 * 3.Nc3");
    EXPECT_EQ(parsed.WhiteCount(), 3);
    EXPECT_EQ(parsed.BlackCount(), 2);
    EXPECT_EQ(parsed.BlackMoves[1].view(), "*");
    EXPECT_EQ(parsed.WhiteMoves[2].view(), "Nc3");
    EXPECT_FALSE(ParseSearchLine("1.e4 e5 2.Nf3 Nc6 3.Bb5xc6+!").ok());  // longer than a move

    struct Row {
        const char* line;
        bool playable;
    };
    const Row rows[] = {
        {"1.e4 e5 2.Nf3 Nc6 3.Bb5", true},
        {"1.e4 * 2.Nf3", true},
        {"1.e5", false},
        {"1.e4 e5 2.Ke3", false},
        {"1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", true},
        {"1.e4 e5 2.Bc4 Nc6 3.Qh5 Nf6 4.Qxf7", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        Result<SearchLine> built = BuildSearchLine(Line(row.line));
        EXPECT_EQ(built.ok(), row.playable);
        if (!row.playable) {
            EXPECT_EQ(built.error().message(), messages::LineCannotBePlayed);
        }
    }
    // Codes of a played line: e2-e4 is from e2 (Board64 33) to e4 (35).
    Result<SearchLine> built = BuildSearchLine(Line("1.e4 e5 2.Nf3"));
    ASSERT_TRUE(built.ok());
    EXPECT_EQ(built->SearchWhite[0], MoveCode(35 << 8 | 33));
    EXPECT_EQ(built->white_count, 2);
    EXPECT_EQ(built->black_count, 1);
}

TEST(SearchLine, ComparableMoveDropsDisambiguationAndMarks) {
    struct Row {
        const char* move;
        const char* comparable;
    };
    const Row rows[] = {
        {"Nbd7", "Nd7"},  {"Ngxf6+", "Nf6"}, {"R1e2", "Re2"},    {"Qh4xe1#", "Qe1"},
        {"exd5", "exd5"}, {"e8=Q+", "e8=Q"}, {"O-O-O", "O-O-O"}, {"e4!?", "e4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.move);
        EXPECT_EQ(ComparableMove(row.move).view(), row.comparable);
    }
}

TEST(VariationMatcher, RepeatCountsNeedTheSameLaterRecurrences) {
    Result<SearchLine> line = BuildSearchLine(Line("1.Nf3 d5 2.Ng1 Nf6 3.Nf3 e6 4.Ng1"));
    ASSERT_TRUE(line.ok());
    VariationMatcher matcher(*line, 4, 3, false);
    EXPECT_EQ(matcher.RepeatWhite(0), 1);  // Nf3 again at move 3
    EXPECT_EQ(matcher.RepeatWhite(1), 1);  // Ng1 again at move 4
    EXPECT_EQ(matcher.RepeatWhite(2), 0);
    EXPECT_EQ(matcher.RepeatBlack(0), 0);
    VariationMatcher exact(*line, 4, 3, true);
    EXPECT_EQ(exact.RepeatWhite(0), 0);
    VariationMatcher short_line(*line, 2, 2, false);
    EXPECT_EQ(short_line.RepeatWhite(0), 0);
}

TEST(ForceMatch, EndsNextToTheLongestFollowedPart) {
    // Games follow the first `followed` half-moves of a line of `length`.
    for (int length = 2; length <= 40; ++length) {
        for (int followed = 0; followed < length; ++followed) {
            SCOPED_TRACE(std::to_string(length) + " followed to " + std::to_string(followed));
            int last_found_length = 0;
            auto pass = [&](int white_count, int black_count) {
                EXPECT_GE(white_count, 1);
                EXPECT_TRUE(black_count == white_count || black_count == white_count - 1);
                int found = white_count + black_count <= followed ? 1 : 0;
                if (found > 0) last_found_length = white_count + black_count;
                return found;
            };
            int matched = ForceMatch((length + 1) / 2, length / 2, pass);
            if (followed == 0) {
                EXPECT_EQ(matched, 0);
                continue;
            }
            // The walk stops on the longest part or steps one past it; the list kept is that
            // of the last pass with games, never longer than the followed part.
            EXPECT_LE(std::abs(matched - followed), 1);
            EXPECT_LE(last_found_length, followed);
            EXPECT_GE(last_found_length, followed - 1);
        }
    }
}

class VariationSearchFile : public SearchFileTest {
  protected:
    void SetUp() override { Open("search/crafted.pgn"); }
};

TEST_P(VariationSearchFile, FindsLinesInOrderOrTransposed) {
    struct Row {
        const char* line;
        bool exact;
        std::vector<std::int32_t> expected;
    };
    const Row rows[] = {
        {"1.d4 Nf6 2.c4 e6", false, {1, 2}},
        {"1.d4 Nf6 2.c4 e6", true, {1}},
        {"1.c4 e6 2.d4 Nf6", true, {2}},
        {"1.d4 * 2.c4 e6", true, {1}},
        {"1.* * 2.c4", false, {1, 2}},
        {"1.* * 2.*", true, {1, 2, 3, 4, 5, 7}},
        // A game shorter than the line in White moves never matches.
        {"1.d4 Nf6 2.c4", false, {1}},
        {"1.d4", false, {1, 6}},
        // The knight's second trip to f3 must recur in the game as in the line.
        {"1.Nf3 d5 2.Ng1 Nf6 3.Nf3 e6", false, {3}},
        {"1.Nf3 d5 2.Ng1 Nf6 3.e3 e6 4.Nf3", false, {7}},
        {"1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3", true, {4, 5}},
        {"1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 d6", true, {4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.line) + (row.exact ? " exact" : ""));
        SearchCriteria criteria;
        criteria.line = Line(row.line);
        criteria.exact = row.exact;
        SearchList list;
        EXPECT_EQ(SearchVariation(source_, criteria, Combination::WithVariation, list, ui_),
                  static_cast<int>(row.expected.size()));
        EXPECT_EQ(Numbers(list), row.expected);
        EXPECT_FALSE(list.HasHalfMoves());
    }
    EXPECT_TRUE(ui_.reports.empty());
}

TEST_P(VariationSearchFile, ForceMatchKeepsTheGamesOfTheFollowedPart) {
    SearchCriteria criteria;
    // Both Ruy Lopez games follow the first ten half-moves; none plays 6.d3.
    criteria.line =
        Line("1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.d3 b5 7.Bb3 d6 8.c3 O-O");
    SearchList list;
    EXPECT_EQ(SearchVariation(source_, criteria, Combination::WithVariation, list, ui_), 0);
    criteria.force_match = true;
    EXPECT_EQ(SearchVariation(source_, criteria, Combination::WithVariation, list, ui_), 2);
    EXPECT_EQ(Numbers(list), (std::vector<std::int32_t>{4, 5}));
    EXPECT_EQ(list.MatchedLineLength(), 10);
    EXPECT_EQ(list.ClassCount(1), 1);  // game 4 won by White
}

TEST_P(VariationSearchFile, ReportsAnUnplayableLineAndSearchesNothing) {
    SearchCriteria criteria;
    criteria.line = Line("1.e4 e5 2.Ke3");
    SearchList list;
    list.Add(1, 0);
    EXPECT_EQ(SearchVariation(source_, criteria, Combination::WithVariation, list, ui_), -1);
    EXPECT_EQ(ui_.reports, (std::vector<std::string>{std::string(messages::LineCannotBePlayed)}));
}

TEST_P(VariationSearchFile, CombinesWithThePosition) {
    SearchCriteria criteria;
    criteria.line = Line("1.e4 e5");
    criteria.position.White[0].Assign("Kg1");
    criteria.position.Black[0].Assign("Kg8");
    SearchList list;
    EXPECT_EQ(SearchVariation(source_, criteria, Combination::WithVariationAndPosition, list, ui_),
              2);
    ASSERT_EQ(Numbers(list), (std::vector<std::int32_t>{4, 5}));
    EXPECT_EQ(list.Games()[0].half_move, 16);
    EXPECT_EQ(list.Games()[1].half_move, 14);
}

INSTANTIATE_TEST_SUITE_P(TextAndFastFile, VariationSearchFile, ::testing::Bool(), PathName);

}  // namespace
}  // namespace qorvale::search
