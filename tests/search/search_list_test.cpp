#include "search/search_list.h"

#include <gtest/gtest.h>

namespace qorvale::search {
namespace {

TEST(SearchList, FormatWinStatisticsForNormalAndEitherColourSearches) {
    struct Row {
        const char* name;
        bool either_colour;
        std::vector<int> classes;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"normal",
         false,
         {1, 1, 2, 0},
         {"Number of games found: 4", "White wins: 2  50.0%", "Black wins: 1  25.0%",
          "Draws: 1  25.0%", "Score: 2.5  62.5%", "Score: 1.5  37.5%"}},
        {"either colour",
         true,
         {1, 2, 3, 4, 4, 0, 0, 0},
         {"Number of games found: 8", "White wins: 1  12.5%", "Black wins: 1  12.5%",
          "Draws: 3  37.5%", "Score: 1.5  18.8%", "Score: 2.0  25.0%", "Performance: 3.5  43.8%"}},
        {"nothing found",
         false,
         {},
         {"Number of games found: 0", "White wins: 0  0.0%", "Black wins: 0  0.0%",
          "Draws: 0  0.0%", "Score: 0.0  0.0%", "Score: 0.0  0.0%"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SearchList list;
        list.SetEitherColour(row.either_colour);
        list.Clear();
        std::int32_t game = 1;
        for (int result_class : row.classes) list.Add(game++, result_class);
        EXPECT_EQ(list.FormatWinStatistics(), row.lines);
    }
}

// A damaged directory search results file may restore counts near the int limit; the lines
// are still the plain arithmetic of them.
TEST(SearchList, StatisticsOfCountsNearTheIntLimit) {
    SearchList list;
    list.RestoreCounts(2000000000, 2000000000, -1, 0);
    const std::vector<std::string> lines = list.FormatWinStatistics();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "Draws: -4000000000  0.0%");
    // 2000000000 + (0 - 4000000000) / 2 for each side.
    EXPECT_EQ(lines[4], "Score: 0.0  0.0%");
    EXPECT_EQ(lines[5], "Score: 0.0  0.0%");
}

TEST(SearchList, IntersectionKeepsOwnOrderAndClassesAndTakesHalfMoves) {
    SearchList header;
    header.SetEitherColour(true);
    header.Clear();
    header.Add(2, 3);
    header.Add(5, 1);
    header.Add(9, 4);
    header.Add(12, 2);
    SearchList positions;
    positions.Clear();
    positions.SetHasHalfMoves(true);
    positions.Add(1, 1, 7);
    positions.Add(5, 2, 16);
    positions.Add(12, 0, 30);
    positions.Add(20, 1, 3);
    header.IntersectWith(positions);
    ASSERT_EQ(header.Count(), 2);
    EXPECT_EQ(header.Games()[0].game_number, 5);
    EXPECT_EQ(header.Games()[0].half_move, 16);
    EXPECT_EQ(header.Games()[0].result_class, 1);
    EXPECT_EQ(header.Games()[1].game_number, 12);
    EXPECT_EQ(header.Games()[1].half_move, 30);
    EXPECT_TRUE(header.HasHalfMoves());
    // Counters follow the kept games.
    EXPECT_EQ(header.ClassCount(1), 1);
    EXPECT_EQ(header.ClassCount(2), 1);
    EXPECT_EQ(header.ClassCount(3), 0);
    EXPECT_EQ(header.ClassCount(4), 0);
}

TEST(SearchList, WalksTheFoundGamesInOrder) {
    SearchList list;
    for (std::int32_t game : {3, 7, 8, 20}) list.Add(game, 0);
    struct Row {
        std::int32_t from;
        std::int32_t next;
        std::int32_t previous;
        int index;
    };
    const Row rows[] = {
        {1, 3, 0, -1},  {3, 7, 0, 0},  {7, 8, 3, 1},    {8, 20, 7, 2},
        {9, 20, 8, -1}, {20, 0, 8, 3}, {25, 0, 20, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.from);
        EXPECT_EQ(list.NextGame(row.from), row.next);
        EXPECT_EQ(list.PreviousGame(row.from), row.previous);
        EXPECT_EQ(list.IndexOf(row.from), row.index);
    }
}

}  // namespace
}  // namespace qorvale::search
