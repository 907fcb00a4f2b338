#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qorvale::platform {
class File;
}

namespace qorvale::pgn {

class RecordReader;

// Where the header and movetext readers get their records: the open file's record reader, or a
// game's text held in memory (the game text buffer, tests).
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // The next record's text, without its line end, into `record`. Returns the record's length as
    // the reader counts it (the bytes it took, line end included); 0 means end of file.
    virtual int ReadRecord(std::string& record) = 0;
};

// Records from text in memory, cut the way the file reader cuts them: leading spaces skipped,
// trailing bytes of value 13 or less removed, lines longer than 255 bytes cut at a space. Unlike
// a file, a last line without a line end is delivered. The text must outlive the source.
class MemoryRecordSource final : public RecordSource {
public:
    explicit MemoryRecordSource(std::string_view text) : text_(text) {}
    int ReadRecord(std::string& record) override;
    std::size_t Position() const { return position_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// Records of a file through a record reader, from wherever the file stands; for readers that
// keep their own handle beside the window's (searches, the fast-file build).
class HandleRecordSource final : public RecordSource {
public:
    HandleRecordSource(platform::File& file, RecordReader& reader) : file_(file), reader_(reader) {}
    int ReadRecord(std::string& record) override;

private:
    platform::File& file_;
    RecordReader& reader_;
};

}  // namespace qorvale::pgn
