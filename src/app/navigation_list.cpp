#include "app/navigation_list.h"

#include <algorithm>

namespace qorvale::app {

void NavigationList::SetSearchList(std::vector<std::int32_t> games) {
    games_ = std::move(games);
    from_search_ = true;
}

std::int32_t NavigationList::Count(std::int32_t game_count) const {
    return from_search_ ? static_cast<std::int32_t>(games_.size()) : std::max(game_count, 0);
}

std::int32_t NavigationList::GameAt(std::size_t index) const {
    return from_search_ ? games_.at(index) : static_cast<std::int32_t>(index) + 1;
}

std::optional<std::int32_t> NavigationList::Next(std::int32_t current,
                                                 std::int32_t game_count) const {
    if (!from_search_) {
        if (current < game_count) return std::max(current + 1, std::int32_t{1});
        return std::nullopt;
    }
    // The first listed game after the current one, wherever the current one stands.
    auto after = std::upper_bound(games_.begin(), games_.end(), current);
    if (after == games_.end() || *after > game_count) return std::nullopt;
    return *after;
}

std::optional<std::int32_t> NavigationList::Previous(std::int32_t current,
                                                     std::int32_t game_count) const {
    if (!from_search_) {
        if (current > 1) return std::min(current - 1, game_count);
        return std::nullopt;
    }
    auto at = std::lower_bound(games_.begin(), games_.end(), current);
    if (at == games_.begin()) return std::nullopt;
    const std::int32_t game = *std::prev(at);
    if (game > game_count) return std::nullopt;
    return game;
}

}  // namespace qorvale::app
