#include "app/navigation.h"

#include <gtest/gtest.h>

#include <vector>

namespace qorvale::app {
namespace {

NavigationState At(int ply, int last_ply, int start_ply = 0) {
    NavigationState state;
    state.currentPly = ply;
    state.lastPly = last_ply;
    state.startPly = start_ply;
    return state;
}

TEST(NavigationTest, ActionsMoveThePly) {
    struct Row {
        const char* name;
        NavigationAction action;
        int ply;
        int last_ply;
        int expected;  // -1: nothing happens
        bool show_result;
    };
    const std::vector<Row> rows = {
        {"next", NavigationAction::NextMove, 4, 40, 5, false},
        {"next reaches the end", NavigationAction::NextMove, 39, 40, 40, true},
        {"next at the end", NavigationAction::NextMove, 40, 40, -1, false},
        {"previous", NavigationAction::PreviousMove, 4, 40, 3, false},
        {"previous at the start", NavigationAction::PreviousMove, 0, 40, -1, false},
        {"forward 5", NavigationAction::Forward5, 3, 40, 13, false},
        {"forward 5 near the end", NavigationAction::Forward5, 35, 40, 40, true},
        {"forward 5 lands on the end", NavigationAction::Forward5, 30, 40, 40, true},
        {"back 5", NavigationAction::Back5, 21, 40, 11, false},
        {"back 5 to ply 1", NavigationAction::Back5, 11, 40, 1, false},
        {"back 5 below ply 1 goes to the start", NavigationAction::Back5, 10, 40, 0, false},
        {"back 5 at ply 9", NavigationAction::Back5, 9, 40, 0, false},
        {"start", NavigationAction::StartOfGame, 7, 40, 0, false},
        {"start at the start", NavigationAction::StartOfGame, 0, 40, -1, false},
        {"end", NavigationAction::EndOfGame, 7, 40, 40, true},
        {"end at the end", NavigationAction::EndOfGame, 40, 40, -1, false},
        {"middle of 9", NavigationAction::MiddleOfGame, 0, 9, 3, false},
        {"middle of 10", NavigationAction::MiddleOfGame, 0, 10, 5, false},
        {"middle of 1", NavigationAction::MiddleOfGame, 0, 1, 1, true},
        {"middle of 2", NavigationAction::MiddleOfGame, 0, 2, 1, false},
        {"middle of 0", NavigationAction::MiddleOfGame, 0, 0, -1, false},
        {"end of 0", NavigationAction::EndOfGame, 0, 0, -1, false},
        {"next of 0", NavigationAction::NextMove, 0, 0, -1, false},
        {"forward 5 of 0", NavigationAction::Forward5, 0, 0, -1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NavigationState state = At(row.ply, row.last_ply);
        NavigationStep step = Navigate(state, row.action);
        if (row.expected < 0) {
            EXPECT_FALSE(step.moved);
            EXPECT_EQ(state.currentPly, row.ply);
            continue;
        }
        EXPECT_TRUE(step.moved);
        EXPECT_EQ(state.currentPly, row.expected);
        EXPECT_EQ(state.previousPly, row.ply);
        EXPECT_EQ(step.show_result, row.show_result);
        EXPECT_EQ(step.remove_result, row.ply == row.last_ply);
        EXPECT_GE(state.currentPly, 0);
        EXPECT_LE(state.currentPly, state.lastPly);
    }
}

TEST(NavigationTest, OpeningIsNamedOnlyEarlyWhenStepping) {
    struct Row {
        const char* name;
        NavigationAction action;
        int ply;
        bool classify;
    };
    const std::vector<Row> rows = {
        {"step to 61", NavigationAction::NextMove, 60, true},
        {"step to 62", NavigationAction::NextMove, 61, false},
        {"step back to 60", NavigationAction::PreviousMove, 61, true},
        {"step back to 61", NavigationAction::PreviousMove, 62, false},
        {"jump beyond 62", NavigationAction::Forward5, 70, true},
        {"end", NavigationAction::EndOfGame, 70, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NavigationState state = At(row.ply, 120);
        EXPECT_EQ(Navigate(state, row.action).classify, row.classify);
    }
}

TEST(NavigationTest, BoardClicks) {
    struct Row {
        int file;
        int rank;
        std::optional<NavigationAction> action;
    };
    const std::vector<Row> rows = {
        {1, 8, NavigationAction::StartOfGame},
        {8, 1, NavigationAction::EndOfGame},
        {1, 1, NavigationAction::MiddleOfGame},
        {8, 8, NavigationAction::MiddleOfGame},
        {4, 1, NavigationAction::Forward5},
        {2, 8, NavigationAction::Back5},
        {5, 2, NavigationAction::NextMove},
        {5, 4, NavigationAction::NextMove},
        {5, 5, NavigationAction::PreviousMove},
        {1, 7, NavigationAction::PreviousMove},
        {0, 4, std::nullopt},
        {3, 9, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.file << "," << row.rank);
        EXPECT_EQ(ActionForBoardClick(row.file, row.rank), row.action);
    }
}

TEST(NavigationTest, NewStartPositionIsKeptWithinTheGame) {
    NavigationState state = At(12, 30);
    SetNewStartPosition(state);
    Navigate(state, NavigationAction::EndOfGame);
    EXPECT_TRUE(Navigate(state, NavigationAction::NewStartPosition).moved);
    EXPECT_EQ(state.currentPly, 12);
    state.startPly = 50;
    EXPECT_EQ(NavigationTarget(state, NavigationAction::NewStartPosition), 30);
    ResetNavigation(state, 20);
    EXPECT_EQ(state.startPly, 0);
    EXPECT_EQ(state.currentPly, 0);
}

TEST(NavigationTest, AutoPlayInterval) {
    struct Row {
        double seconds;
        int milliseconds;
    };
    for (const Row& row :
         std::vector<Row>{{1.0, 1000}, {0.5, 500}, {2.25, 2250}, {0.0, 1}, {-3.0, 1}}) {
        SCOPED_TRACE(row.seconds);
        EXPECT_EQ(AutoPlayInterval(row.seconds), row.milliseconds);
    }
}

}  // namespace
}  // namespace qorvale::app
