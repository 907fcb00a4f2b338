#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace qorvale::search {

// The file a search works on: the PGN file's path and game index, whether its fast file may be
// used, and how the caller asks it to stop. A directory search hands each file's own in turn.
struct SearchSource {
    std::string pgn_path;
    std::span<const std::uint32_t> offsets;  // GameIndex: first tag line of each game
    std::int32_t game_count = 0;
    bool use_fast_file = true;  // false forces the PGN text
    // The user's display letters, read in moves besides the English and German ones (the text
    // road; the fast file was made with those of its own run).
    std::string display_letters;
    bool background = false;  // on the worker thread: no fast-file warning is shown
    std::function<bool()> cancelled;
    // Long searches report every 100 games: 0-based game, games found, total.
    std::function<void(std::int64_t index, std::int64_t found, std::int64_t total)> progress;

    bool Cancelled() const { return cancelled && cancelled(); }
};

}  // namespace qorvale::search
