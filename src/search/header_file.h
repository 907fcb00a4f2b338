#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace qorvale::search {

// The ten tag values of a header record, in the order they are stored.
enum class HeaderField : int {
    White = 0,
    Black,
    Result,
    Date,
    Eco,
    WhiteElo,
    BlackElo,
    Round,
    Event,
    Site,
};
inline constexpr int HeaderFieldCount = 10;
using HeaderValues = std::array<std::string, HeaderFieldCount>;

// Round as the header file keeps it: a round that starts with a letter (any byte from ':' up,
// but not "?") loses everything before its first digit, so "R3" is kept as "3".
std::string StoredRound(std::string_view round);

// Appends one header record: ten strings with an 8-bit length each (cut at 255 bytes), Round
// stored by StoredRound.
void AppendHeaderRecord(std::vector<std::uint8_t>& out, const HeaderValues& values);

// The header file (`name.TRH`) read whole: a u32 game count, then one record per game.
//   u32   game count (GameCount of the PGN file when it was made)
//   N x   ten length-prefixed strings: White, Black, Result, Date, ECO, WhiteElo, BlackElo,
//         Round, Event, Site
class HeaderFile {
  public:
    // Reads the file whole. "Error opening file." when it cannot be read, "Not enough memory."
    // when it does not fit. A file shorter than its count field is Truncated() and never
    // Consistent().
    static Result<HeaderFile> Load(const std::string& path);
    // Builds one in memory (for writing).
    HeaderFile() = default;

    std::uint32_t StoredCount() const { return count_; }
    bool Truncated() const { return bytes_.size() < 4; }
    // True when the stored count is `game_count` and exactly that many records fill the rest.
    bool Consistent(std::uint32_t game_count) const;
    // Offsets of each record's first byte; empty when the records run past the end.
    std::vector<std::size_t> RecordOffsets() const;
    // Record at `offset` (from RecordOffsets) into `values`; false when it runs past the end.
    bool ReadRecord(std::size_t offset, HeaderValues& values) const;
    // Length of the record at `offset`, 0 when it runs past the end.
    std::size_t RecordLength(std::size_t offset) const;
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  private:
    std::uint32_t count_ = 0;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace qorvale::search
