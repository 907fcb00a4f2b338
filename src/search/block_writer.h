#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/bytes.h"
#include "platform/file_system.h"
#include "search/header_file.h"

namespace qorvale::search {

// Writes are gathered into blocks of this size.
inline constexpr std::size_t WriteBlockSize = 1 << 18;

// Appends little-endian words and bytes to a file through the file system seam, a block at a
// time; remembers a failed write so the caller can check once at the end.
class BlockWriter {
  public:
    BlockWriter(platform::FileSystem& file_system, platform::File& file)
        : file_system_(file_system), file_(file) {
        block_.reserve(WriteBlockSize + 1024);
    }

    void PutU16(std::uint16_t word) {
        AppendU16(block_, word);
        FlushWhenFull();
    }
    void PutU32(std::uint32_t word) {
        AppendU32(block_, word);
        FlushWhenFull();
    }
    // A run of words, grown in one step rather than word by word.
    void PutU16s(const std::uint16_t* words, std::size_t count) {
        std::size_t at = block_.size();
        block_.resize(at + 2 * count);
        std::uint8_t* out = block_.data() + at;
        for (std::size_t n = 0; n < count; ++n) qorvale::PutU16(out + 2 * n, words[n]);
        FlushWhenFull();
    }
    void PutHeader(const HeaderValues& values) {
        AppendHeaderRecord(block_, values);
        FlushWhenFull();
    }
    void PutBytes(const std::uint8_t* data, std::size_t size) {
        block_.insert(block_.end(), data, data + size);
        FlushWhenFull();
    }
    // Writes what is left and pushes it to the disk; false when any write failed.
    bool Finish() {
        WriteBlock();
        if (!failed_ && !file_system_.Flush(file_)) failed_ = true;
        return !failed_;
    }
    bool Failed() const { return failed_; }

  private:
    void FlushWhenFull() {
        if (block_.size() >= WriteBlockSize) WriteBlock();
    }
    void WriteBlock() {
        if (!block_.empty() && !failed_ &&
            !file_system_.Write(file_, block_.data(), static_cast<std::int64_t>(block_.size()))) {
            failed_ = true;
        }
        block_.clear();
    }

    platform::FileSystem& file_system_;
    platform::File& file_;
    std::vector<std::uint8_t> block_;
    bool failed_ = false;
};

}  // namespace qorvale::search
