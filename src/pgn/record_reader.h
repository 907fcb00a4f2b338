#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/file.h"

namespace qorvale::pgn {

// Size of one block read from the file.
inline constexpr std::size_t RecordBlockSize = 16384;
// Longest record text; a record buffer holds this plus the terminating NUL.
inline constexpr std::size_t MaxRecordLength = 255;
inline constexpr std::size_t RecordBufferSize = MaxRecordLength + 1;

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
// a record (line) at a time: at most 255 bytes of text, CR LF and LF read alike, trailing control
// bytes removed, over-long lines cut at a space with the rest returned as the next record, and a
// last line without a line end not delivered.
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

    // Reads the next record into `record` (RecordBufferSize bytes or more), NUL-terminated.
    // Returns the length as the reading mode defines it; 0 means end of file (or a read error).
    int ReadRecord(platform::File& file, char* record);

    // The same, but hands out the text as a view instead of copying it. The view stays valid
    // until the next call. This is the fast path of the scan.
    int ReadRecord(platform::File& file, std::string_view& text);

  private:
    bool Refill(platform::File& file);
    int ReadSlow(platform::File& file, std::string_view& text, std::size_t skipped);

    std::array<char, RecordBlockSize> block_{};
    std::size_t read_ = 0;  // next byte of block_
    std::size_t end_ = 0;   // one past the last valid byte
    bool at_end_ = false;   // a short block was read: no more data behind it
    std::array<char, RecordBufferSize> record_{};
    ReadMode mode_ = ReadMode::ReadTrimmed;
    LongRecordWatch watch_ = LongRecordWatch::NotWatching;
};

}  // namespace qorvale::pgn
