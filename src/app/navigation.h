#pragma once

#include <cstdint>
#include <optional>

namespace qorvale::app {

// Where the user stands in the main line of the game on display.
struct NavigationState {
    std::int32_t currentPly = 0;   // half-moves played from the start position
    std::int32_t previousPly = 0;  // currentPly before the last action
    std::int32_t lastPly = 0;      // half-moves of the main line
    std::int32_t startPly = 0;     // "Set new start position"
    bool autoPlay = false;
    std::int32_t studyMode = 0;  // 0 off, 1 on, 2 on and inside an action
};

enum class NavigationAction {
    NextMove,
    PreviousMove,
    Forward5,
    Back5,
    StartOfGame,
    EndOfGame,
    MiddleOfGame,
    NewStartPosition,
};

// What the window must redraw after an action.
struct NavigationStep {
    bool moved = false;          // currentPly changed
    bool single_step = false;    // one move played or taken back (may be animated)
    bool show_result = false;    // the end of the game was reached
    bool remove_result = false;  // the end of the game was left
    bool classify = false;       // name the opening of the new position again
};

// A new game is loaded: back to its start, auto play and the stored start position forgotten.
void ResetNavigation(NavigationState& state, std::int32_t last_ply);

// The ply an action leads to, or nothing when the action does not move.
std::optional<std::int32_t> NavigationTarget(const NavigationState& state, NavigationAction action);

// Performs the action on `state` and says what changed.
NavigationStep Navigate(NavigationState& state, NavigationAction action);

// The action of a click on (file, rank) of the board, both 1..8 as seen from White. Corner
// squares come before their ranks: a8 start, h1 end, a1/h8 middle.
std::optional<NavigationAction> ActionForBoardClick(int file, int rank);

// Stores the current ply as the place the Start button returns to.
void SetNewStartPosition(NavigationState& state);

// Auto play: the timer period for a delay in seconds, at least 1 ms.
int AutoPlayInterval(double delay_seconds);

}  // namespace qorvale::app
