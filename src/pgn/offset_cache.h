#pragma once

#include <cstdint>
#include <string>

#include "pgn/game_index.h"
#include "platform/file_system.h"

namespace qorvale::pgn {

// The offset cache beside a PGN file (games.pgn -> games.PGO) that lets an unchanged file be
// reopened without a scan. Layout, little-endian:
//   0   u32      size in bytes of the PGN file when the cache was written
//   4   u32      number of games N
//   8   u32 x N  the first N entries of the game index
// Only the size is compared: an edit that keeps the size leaves a stale cache in use.
std::string OffsetCachePath(const std::string& pgn_path);

struct OffsetCacheRead {
    enum class State {
        Missing,  // no cache, or it cannot be read
        Current,  // the stored size matches: the index was filled from it
        Stale,    // the stored size differs: a scan is needed
        Corrupt,  // short, too many games, or offsets that cannot belong to the file
    };
    State state = State::Missing;
    // The count the cache holds (0 when missing or unreadable); a scan whose count differs
    // drops the caches built on the old count.
    std::int32_t stored_count = 0;
};

// Reads the cache for a PGN file of `pgn_size` bytes; fills `index` only when it is current.
OffsetCacheRead ReadOffsetCache(const std::string& cache_path, std::int64_t pgn_size,
                                GameIndex& index);

// Writes the cache; false when it could not be written (the program goes on without it).
bool WriteOffsetCache(platform::FileSystem& file_system, const std::string& cache_path,
                      std::int64_t pgn_size, const GameIndex& index);

}  // namespace qorvale::pgn
