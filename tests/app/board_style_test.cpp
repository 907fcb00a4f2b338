#include "app/board_style.h"

#include <gtest/gtest.h>

#include <vector>

namespace qorvale::app {
namespace {

TEST(BoardStyleTest, PieceStyleAndWoodenBoard) {
    struct Row {
        const char* name;
        BoardStyleChoice choice;
        BoardStyleOutcome expected;
    };
    const std::vector<Row> rows = {
        {"mod wood on wood", {8, true, 8, true}, {8, true, "", true}},
        {"wood switched off under mod wood", {8, true, 8, false}, {4, false, ModWoodChanged, true}},
        {"mod wood chosen without wood", {2, false, 8, false}, {8, false, ModWoodNeedsWood, false}},
        {"mod blue chosen clears wood", {8, true, 7, true}, {7, false, "", true}},
        {"wood switched on under mod blue", {7, false, 7, true}, {7, true, ModBlueNoWood, false}},
        {"other styles keep wood", {2, true, 5, true}, {5, true, "", true}},
        {"other styles without wood", {2, true, 0, false}, {0, false, "", true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BoardStyleOutcome outcome = CheckBoardStyle(row.choice);
        EXPECT_EQ(outcome.style, row.expected.style);
        EXPECT_EQ(outcome.wood, row.expected.wood);
        EXPECT_EQ(outcome.message, row.expected.message);
        EXPECT_EQ(outcome.accepted, row.expected.accepted);
    }
}

TEST(BoardStyleTest, ScreenHeightLimitsTheBoard) {
    struct Row {
        int size;
        int height;
        int expected;
    };
    const std::vector<Row> rows = {
        {2, 1200, 2}, {2, 1024, 2}, {2, 1000, 1}, {2, 700, 0},  {1, 768, 1},
        {1, 767, 0},  {0, 600, 0},  {-1, 900, 0}, {3, 1200, 0}, {2, 767, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.size << " at " << row.height);
        EXPECT_EQ(EffectiveBoardSize(row.size, row.height), row.expected);
    }
}

}  // namespace
}  // namespace qorvale::app
