#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qorvale::pgn {

// Most games one file can hold in its index; a scan stops at this count and warns.
inline constexpr std::int32_t MaxGamesPerFile = 200000;

// The byte offset of the first tag line of each game of the open PGN file; entry N-1 belongs to
// game N. Offsets are 32-bit, so only the first 4 GB of a file can be indexed. The storage for
// all MaxGamesPerFile entries is taken once, so a scan never allocates per game.
class GameIndex {
  public:
    GameIndex();

    void Clear() { count_ = 0; }
    // Appends an offset; false (and nothing stored) when the index is full.
    bool Add(std::uint32_t offset);
    // Replaces the contents (at most MaxGamesPerFile offsets are taken).
    void Assign(std::span<const std::uint32_t> offsets);

    std::int32_t Count() const { return count_; }
    bool Full() const { return count_ >= MaxGamesPerFile; }
    // The offset of 1-based game `game_number`; REQUIRES 1 <= game_number <= Count().
    std::uint32_t Offset(std::int32_t game_number) const { return offsets_[game_number - 1]; }
    std::span<const std::uint32_t> Offsets() const { return {offsets_.data(), Size()}; }

  private:
    std::size_t Size() const { return static_cast<std::size_t>(count_); }
    std::vector<std::uint32_t> offsets_;
    std::int32_t count_ = 0;
};

}  // namespace qorvale::pgn
