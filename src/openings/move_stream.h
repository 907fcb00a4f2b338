#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "platform/file.h"
#include "search/move_code.h"

namespace qorvale::openings {

// One game record of a move stream, seen in place: its codes as little-endian bytes inside the
// stream's buffer, valid until the next step.
struct RecordView {
    const std::uint8_t* bytes = nullptr;
    std::size_t count = 0;  // codes before the result word
    search::ResultWord result = 0;

    search::MoveCode Code(std::size_t index) const;
};

// The move data a tree scans: game records of 16-bit move codes, each closed by a result word,
// ended by 0x0000 (a fast file's move file, a tree merge file, a database's moves file, or the
// ECO table's lines made into records). A file smaller than 16,252,929 bytes is held whole;
// a larger one is read through a window of 8 MiB, or 4, 3, 2 or 1 MiB when memory is short, so
// memory stays bounded whatever the file's size. Every record is contiguous in the buffer when
// it is handed out; the walk never reads past the buffer, whatever the bytes are.
class MoveStream {
  public:
    enum class Step { Record, End, Damaged };

    // "Error opening file." when the file cannot be read, "Not enough memory." when not even
    // the smallest window can be had.
    static Result<MoveStream> OpenFile(const std::string& path);
    // Records already in memory, end mark included.
    static MoveStream FromBytes(std::vector<std::uint8_t> bytes);

    MoveStream(MoveStream&&) noexcept = default;
    MoveStream& operator=(MoveStream&&) noexcept = default;

    // Back to the first record; false when the file cannot be read again.
    bool Rewind();
    // The next record; End at the end mark. A record without its result word, one longer than
    // MaxRecordCodes, or bytes that end without the end mark give Damaged.
    Step Next(RecordView& record);

    bool Whole() const { return whole_; }
    std::size_t BufferSize() const { return capacity_; }

  private:
    MoveStream() = default;
    // Makes `bytes` bytes available from cursor_ where the data allows; false at the end of it.
    bool Ensure(std::size_t bytes);

    platform::File file_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t filled_ = 0;
    std::size_t cursor_ = 0;
    bool whole_ = false;
    bool exhausted_ = false;  // the file has no more bytes to give
};

}  // namespace qorvale::openings
