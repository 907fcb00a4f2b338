#include "app/navigation.h"

#include <algorithm>
#include <cmath>

namespace qorvale::app {

namespace {

// Forward and back 5 move ten half-moves.
constexpr std::int32_t FiveMoves = 10;
// The opening name follows single steps only up to this ply.
constexpr std::int32_t LastClassifiedStep = 62;
constexpr std::int32_t LastClassifiedBackStep = 61;

std::int32_t MiddlePly(std::int32_t last_ply) {
    std::int32_t middle = last_ply / 2;
    if (middle % 2 == 0) --middle;
    return std::clamp(middle, std::int32_t{1}, std::max(last_ply, std::int32_t{1}));
}

}  // namespace

void ResetNavigation(NavigationState& state, std::int32_t last_ply) {
    state.currentPly = 0;
    state.previousPly = 0;
    state.lastPly = std::max(last_ply, std::int32_t{0});
    state.startPly = 0;
    state.autoPlay = false;
    if (state.studyMode != 0) state.studyMode = 1;
}

std::optional<std::int32_t> NavigationTarget(const NavigationState& state,
                                             NavigationAction action) {
    const std::int32_t ply = state.currentPly;
    const std::int32_t last = state.lastPly;
    std::int32_t target = ply;
    switch (action) {
        case NavigationAction::NextMove:
            target = ply < last ? ply + 1 : ply;
            break;
        case NavigationAction::PreviousMove:
            target = ply > 0 ? ply - 1 : ply;
            break;
        case NavigationAction::Forward5:
            target = ply + FiveMoves >= last ? last : ply + FiveMoves;
            break;
        case NavigationAction::Back5:
            target = ply - FiveMoves < 1 ? 0 : ply - FiveMoves;
            break;
        case NavigationAction::StartOfGame:
            target = 0;
            break;
        case NavigationAction::EndOfGame:
            target = last;
            break;
        case NavigationAction::MiddleOfGame:
            // A game without moves has no middle.
            if (last == 0) return std::nullopt;
            target = MiddlePly(last);
            break;
        case NavigationAction::NewStartPosition:
            target = std::min(state.startPly, last);
            break;
    }
    if (target == ply) return std::nullopt;
    return target;
}

NavigationStep Navigate(NavigationState& state, NavigationAction action) {
    NavigationStep step;
    if (state.studyMode != 0) state.studyMode = 2;
    std::optional<std::int32_t> target = NavigationTarget(state, action);
    if (target) {
        const std::int32_t from = state.currentPly;
        step.moved = true;
        step.single_step =
            action == NavigationAction::NextMove || action == NavigationAction::PreviousMove;
        step.show_result = *target == state.lastPly;
        step.remove_result = from == state.lastPly;
        if (action == NavigationAction::NextMove) {
            step.classify = *target < LastClassifiedStep;
        } else if (action == NavigationAction::PreviousMove) {
            step.classify = *target < LastClassifiedBackStep;
        } else {
            step.classify = true;
        }
        state.previousPly = from;
        state.currentPly = *target;
    }
    if (state.studyMode != 0) state.studyMode = 1;
    return step;
}

std::optional<NavigationAction> ActionForBoardClick(int file, int rank) {
    if (file < 1 || file > 8 || rank < 1 || rank > 8) return std::nullopt;
    if (file == 1 && rank == 8) return NavigationAction::StartOfGame;
    if (file == 8 && rank == 1) return NavigationAction::EndOfGame;
    if ((file == 1 && rank == 1) || (file == 8 && rank == 8)) return NavigationAction::MiddleOfGame;
    if (rank == 1) return NavigationAction::Forward5;
    if (rank == 8) return NavigationAction::Back5;
    if (rank <= 4) return NavigationAction::NextMove;
    return NavigationAction::PreviousMove;
}

void SetNewStartPosition(NavigationState& state) { state.startPly = state.currentPly; }

int AutoPlayInterval(double delay_seconds) {
    if (!std::isfinite(delay_seconds) || delay_seconds <= 0.0) return 1;
    double milliseconds = delay_seconds * 1000.0;
    if (milliseconds > 3600.0 * 1000.0) milliseconds = 3600.0 * 1000.0;
    return std::max(1, static_cast<int>(milliseconds));
}

}  // namespace qorvale::app
