#include "pgn/offset_cache.h"

#include <vector>

#include "base/bytes.h"
#include "pgn/display_stem.h"
#include "platform/file.h"

namespace qorvale::pgn {

namespace {

constexpr std::size_t CacheHeaderSize = 8;

}  // namespace

std::string OffsetCachePath(const std::string& pgn_path) {
    return DerivedFilePath(pgn_path, "PGO");
}

OffsetCacheRead ReadOffsetCache(const std::string& cache_path, std::int64_t pgn_size,
                                GameIndex& index) {
    using State = OffsetCacheRead::State;
    OffsetCacheRead result;
    platform::File file = platform::File::Open(cache_path, platform::File::Mode::Read);
    if (!file.IsOpen()) return result;
    std::uint8_t header[CacheHeaderSize];
    if (file.Read(header, CacheHeaderSize) != static_cast<std::int64_t>(CacheHeaderSize)) {
        result.state = State::Corrupt;
        return result;
    }
    std::uint32_t stored_size = GetU32(header);
    std::uint32_t stored_count = GetU32(header + 4);
    if (stored_count > static_cast<std::uint32_t>(MaxGamesPerFile)) {
        result.state = State::Corrupt;
        return result;
    }
    result.stored_count = static_cast<std::int32_t>(stored_count);
    if (stored_size != static_cast<std::uint32_t>(pgn_size)) {
        result.state = State::Stale;
        return result;
    }
    std::vector<std::uint8_t> bytes(std::size_t{4} * stored_count);
    std::vector<std::uint32_t> offsets(stored_count);
    if (file.Read(bytes.data(), static_cast<std::int64_t>(bytes.size())) !=
        static_cast<std::int64_t>(bytes.size())) {
        result.state = State::Corrupt;
        return result;
    }
    // Game starts rise strictly and lie inside the file; anything else is damage, and a damaged
    // cache must not send a reader to a wrong place.
    for (std::size_t game = 0; game < stored_count; ++game) {
        offsets[game] = GetU32(bytes.data() + 4 * game);
        if (offsets[game] >= static_cast<std::uint64_t>(pgn_size) ||
            (game > 0 && offsets[game] <= offsets[game - 1])) {
            result.state = State::Corrupt;
            return result;
        }
    }
    index.Assign(offsets);
    result.state = State::Current;
    return result;
}

bool WriteOffsetCache(platform::FileSystem& file_system, const std::string& cache_path,
                      std::int64_t pgn_size, const GameIndex& index) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(CacheHeaderSize + std::size_t{4} * static_cast<std::size_t>(index.Count()));
    AppendU32(bytes, static_cast<std::uint32_t>(pgn_size));
    AppendU32(bytes, static_cast<std::uint32_t>(index.Count()));
    for (std::uint32_t offset : index.Offsets()) AppendU32(bytes, offset);
    platform::File file = file_system.Create(cache_path);
    if (!file.IsOpen()) return false;
    if (!file_system.Write(file, bytes.data(), static_cast<std::int64_t>(bytes.size()))) {
        // A half-written cache would read as damaged anyway; leave none.
        file.Close();
        file_system.Delete(cache_path);
        return false;
    }
    return true;
}

}  // namespace qorvale::pgn
