#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "platform/file.h"
#include "search/move_code.h"

namespace qorvale::search {

// A move file up to this size is read whole; a larger one through a window.
inline constexpr std::int64_t WholeFileLimit = 0xF80000;
// Windows tried in turn for a large file, while memory allows.
inline constexpr std::size_t WindowSizes[] = {8 << 20, 4 << 20, 3 << 20, 2 << 20, 1 << 20};
// The block of readers that stream the file once from start to end.
inline constexpr std::size_t StreamBlockSize = 500000;

// One game record of a move file.
struct GameRecord {
    std::vector<MoveCode> codes;  // half-moves, White's first; cleared, not shrunk, per record
    ResultWord result = 0;
    std::int64_t offset = 0;  // byte offset of the record in the file
};

// Reads a move file (`name.TRF` or a tree merge file) record by record. Records are told apart
// by bit 15 alone; a record may span two fills of the window. The reader never reads past its
// buffer, whatever the file holds: a record without its result word, an odd byte at the end, a
// missing end mark or a record longer than MaxRecordCodes all end the walk as Damaged.
class FastFileReader {
  public:
    enum class Mode {
        WholeOrWindow,  // whole up to WholeFileLimit, else the largest window memory gives
        Stream,         // a fixed StreamBlockSize block
    };
    enum class Step { Record, End, Damaged };

    // Opens the file. Fails with "Error opening file." or, when no window can be had, "Not
    // enough memory.".
    static Result<FastFileReader> Open(const std::string& path, Mode mode = Mode::WholeOrWindow);

    FastFileReader(FastFileReader&&) noexcept = default;
    FastFileReader& operator=(FastFileReader&&) noexcept = default;

    // The next record into `record`; End at the end mark.
    Step Next(GameRecord& record);
    // After the last record: whether the end mark follows and is the file's last two bytes, as
    // in a move file written whole. A reader that checks this and the record count knows that
    // every record it read was a game's.
    bool EndMarkEndsTheFile();
    // Back to the first record.
    bool Rewind();

    std::int64_t FileSize() const { return file_size_; }
    // The buffer's size: the file's size + 4 when read whole.
    std::size_t BufferSize() const { return capacity_; }
    bool Whole() const { return whole_; }

  private:
    FastFileReader() = default;
    // Makes at least two bytes available at cursor_, refilling the window; false at the end.
    bool Ensure2();

    platform::File file_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t filled_ = 0;
    std::size_t cursor_ = 0;
    std::int64_t buffer_offset_ = 0;  // file offset of buffer_[0]
    std::int64_t file_size_ = 0;
    bool whole_ = false;
};

}  // namespace qorvale::search
