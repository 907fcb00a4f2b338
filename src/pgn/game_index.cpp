#include "pgn/game_index.h"

#include <algorithm>

namespace qorvale::pgn {

GameIndex::GameIndex() : offsets_(static_cast<std::size_t>(MaxGamesPerFile)) {}

bool GameIndex::Add(std::uint32_t offset) {
    if (Full()) return false;
    offsets_[Size()] = offset;
    ++count_;
    return true;
}

void GameIndex::Assign(std::span<const std::uint32_t> offsets) {
    std::size_t taken = std::min(offsets.size(), offsets_.size());
    std::copy_n(offsets.begin(), taken, offsets_.begin());
    count_ = static_cast<std::int32_t>(taken);
}

}  // namespace qorvale::pgn
