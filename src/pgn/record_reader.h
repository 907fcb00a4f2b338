#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/file.h"

namespace qorvale::pgn {

// Size of one block read from the file.
inline constexpr std::size_t RecordBlockSize = 16384;
// Longest record the program writes; a longer line is a long record, which the scan offers to
// re-wrap.
inline constexpr std::size_t MaxRecordLength = 255;
// Longest line returned whole. A longer one is split at its last space before this length (or
// at a character boundary when it has none) and its rest returned as the next record.
inline constexpr std::size_t MaxLineLength = 65536;

// How leading spaces are handled and what ReadRecord returns as the length.
enum class ReadMode : int {
    ReadTrimmed = 0,   // leading spaces skipped; length = bytes stored, line end included
    ReadCounted = 1,   // leading spaces skipped; length = bytes consumed from the file
    ReadVerbatim = 2,  // leading spaces kept; length = bytes consumed
};

// Whether the reader is watching for over-long records (the scan watches, to re-wrap the file).
enum class LongRecordWatch : int {
    NotWatching = 0,
    Watching = 1,
    LongRecordMet = 2,  // a long record was cut while watching
};

// The one line reader of all PGN reading. It reads the file in 16384-byte blocks and returns it
// a record (line) at a time: CR LF and LF read alike, trailing control bytes removed, a UTF-8
// byte-order mark at the start of the file passed over. A line is returned whole however long it
// is, up to MaxLineLength; no byte of the file is ever dropped, so a tag value or a comment longer
// than a record stays what it is. A last line without a line end is returned too: files cut short
// or padded with NUL bytes still give their last moves.
//
// The reader does not own the file; it reads from wherever the file stands. After a seek the
// caller must Reset() it. One reader per file being read.
class RecordReader {
  public:
    RecordReader();

    // Empties the buffer: the next read starts at the file's current position.
    void Reset();

    void SetMode(ReadMode mode) { mode_ = mode; }
    ReadMode Mode() const { return mode_; }
    void SetLongRecordWatch(LongRecordWatch watch) { watch_ = watch; }
    LongRecordWatch Watch() const { return watch_; }

    // Reads the next record. `text` views its text, without the line end; the view stays valid
    // until the next call. Returns the length as the reading mode defines it; 0 means end of file
    // (or a read error). A text longer than MaxRecordLength sets a watching reader's watch to
    // LongRecordMet.
    int ReadRecord(platform::File& file, std::string_view& text);

  private:
    bool Refill(platform::File& file);
    int ReadSlow(platform::File& file, std::string_view& text, std::size_t skipped);
    int Deliver(std::string_view& text, const char* data, std::size_t kept, std::size_t stored,
                std::size_t consumed, std::size_t skipped);

    std::array<char, RecordBlockSize> block_{};
    std::size_t read_ = 0;  // next byte of block_
    std::size_t end_ = 0;   // one past the last valid byte
    bool at_end_ = false;   // a short block was read: no more data behind it
    std::size_t bom_ = 0;   // bytes of a byte-order mark passed over, counted with the next record
    // A line gathered across blocks. After a split at MaxLineLength its first `split_` bytes
    // were returned; the rest is the start of the next record.
    std::vector<char> line_;
    std::size_t split_ = 0;
    ReadMode mode_ = ReadMode::ReadTrimmed;
    LongRecordWatch watch_ = LongRecordWatch::NotWatching;
};

}  // namespace qorvale::pgn
