#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "platform/file.h"

namespace qorvale::utilities {

// Most bytes of one game a utility looks at: far more than the movetext parser can hold (3000
// lines), so only a broken file's giant "game" is cut; copying a game never cuts it.
inline constexpr std::size_t MaxExaminedGameBytes = 4 << 20;

// The byte range of every indexed game: a game runs from its offset to the next game's offset.
// The last game runs to the end of the file, unless the index stopped at its limit: then it ends
// where the scan's rules see the next game begin, and what follows is no game of the index (a
// rewrite keeps it untouched).
struct GameSpans {
    std::vector<std::uint32_t> offsets;
    std::uint64_t last_end = 0;  // end of the last indexed game
    std::uint64_t file_size = 0;

    std::size_t Count() const { return offsets.size(); }
    std::uint64_t Begin(std::size_t index) const { return offsets[index]; }
    std::uint64_t End(std::size_t index) const {
        return index + 1 < offsets.size() ? offsets[index + 1] : last_end;
    }
};

// Measures the spans of `offsets` (a copy of the file's game index) in the file at `path`.
// `index_full`: the index holds as many games as it can, so more may follow the last one.
// "Error opening file." when the file cannot be read.
Result<GameSpans> MeasureGameSpans(const std::string& path, std::vector<std::uint32_t> offsets,
                                   bool index_full);

// Hands out the games of a file in index order, each as one piece of text (at most
// MaxExaminedGameBytes of it), reading the file once from start to end in large blocks.
class GameSpanReader {
  public:
    // Opens its own handle on the file; false when it cannot be read.
    bool Open(const std::string& path);
    // The text from `begin` to `end` (cut to MaxExaminedGameBytes); empty when it cannot be
    // read. Spans must be asked for in ascending order.
    std::string_view Read(std::uint64_t begin, std::uint64_t end);

  private:
    platform::File file_;
    std::vector<char> buffer_;
    std::uint64_t buffer_start_ = 0;  // file offset of buffer_[0]
    std::size_t filled_ = 0;          // bytes of buffer_ read from the file
    bool at_end_ = false;
};

// Copies the bytes from `begin` to `end` of `from` (which it seeks) through `write`, in blocks.
// False when a read falls short.
template <typename Write>
bool CopyFileRange(platform::File& from, std::uint64_t begin, std::uint64_t end, Write&& write) {
    constexpr std::int64_t Block = 1 << 20;
    std::vector<char> block(static_cast<std::size_t>(Block));
    if (!from.Seek(static_cast<std::int64_t>(begin))) return false;
    std::uint64_t left = end - begin;
    while (left > 0) {
        std::int64_t want =
            left < static_cast<std::uint64_t>(Block) ? static_cast<std::int64_t>(left) : Block;
        std::int64_t got = from.Read(block.data(), want);
        if (got <= 0) return false;
        if (!write(std::string_view(block.data(), static_cast<std::size_t>(got)))) return false;
        left -= static_cast<std::uint64_t>(got);
    }
    return true;
}

}  // namespace qorvale::utilities
