#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace qorvale::app {

// The games that next and previous game walk through: every game of the file in order, or,
// after a search, only the games of the search list ("Reset Navigation" returns to the file).
class NavigationList {
  public:
    // Walks the search list `games` (1-based game numbers, ascending) from now on.
    void SetSearchList(std::vector<std::int32_t> games);
    // Back to every game of the file.
    void Reset() {
        games_.clear();
        from_search_ = false;
    }
    bool FromSearch() const { return from_search_; }

    // Games listed, for a file of `game_count` games.
    std::int32_t Count(std::int32_t game_count) const;
    // The 1-based game number of entry `index` (0-based).
    std::int32_t GameAt(std::size_t index) const;

    // The game after / before `current`; nothing at the end of the list.
    std::optional<std::int32_t> Next(std::int32_t current, std::int32_t game_count) const;
    std::optional<std::int32_t> Previous(std::int32_t current, std::int32_t game_count) const;

  private:
    std::vector<std::int32_t> games_;
    bool from_search_ = false;
};

}  // namespace qorvale::app
