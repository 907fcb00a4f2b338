#include "app/navigation_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace qorvale::app {
namespace {

TEST(NavigationListTest, NextAndPreviousGame) {
    struct Row {
        const char* name;
        std::vector<std::int32_t> search;  // empty: the whole file
        std::int32_t current;
        std::optional<std::int32_t> next;
        std::optional<std::int32_t> previous;
    };
    // The file has 20 games.
    const std::vector<Row> rows = {
        {"file middle", {}, 7, 8, 6},
        {"file first", {}, 1, 2, std::nullopt},
        {"file last", {}, 20, std::nullopt, 19},
        {"search inside", {3, 8, 15}, 8, 15, 3},
        {"search between", {3, 8, 15}, 10, 15, 8},
        {"search before the first", {3, 8, 15}, 1, 3, std::nullopt},
        {"search at the last", {3, 8, 15}, 15, std::nullopt, 8},
        {"search past the file", {3, 25}, 3, std::nullopt, std::nullopt},
        {"empty search", {}, 5, 6, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NavigationList list;
        if (!row.search.empty()) list.SetSearchList(row.search);
        EXPECT_EQ(list.Next(row.current, 20), row.next);
        EXPECT_EQ(list.Previous(row.current, 20), row.previous);
    }
}

TEST(NavigationListTest, ListedGamesAndReset) {
    NavigationList list;
    EXPECT_EQ(list.Count(12), 12);
    EXPECT_EQ(list.GameAt(4), 5);
    list.SetSearchList({2, 9, 11});
    EXPECT_TRUE(list.FromSearch());
    EXPECT_EQ(list.Count(12), 3);
    EXPECT_EQ(list.GameAt(1), 9);
    list.SetSearchList({});
    EXPECT_EQ(list.Count(12), 0);
    EXPECT_EQ(list.Next(1, 12), std::nullopt);
    list.Reset();
    EXPECT_FALSE(list.FromSearch());
    EXPECT_EQ(list.Next(1, 12), 2);
}

}  // namespace
}  // namespace qorvale::app
