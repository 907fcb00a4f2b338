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
    int ReadRecord(std::string& record) {
        if (pushed_length_ == 0) return ReadNext(record);
        record.swap(pushed_);
        int length = pushed_length_;
        pushed_length_ = 0;
        return length;
    }
    // Gives a record back to be read again next, as a reader that looked one record ahead must
    // (the header reader after a blank line). One record at most.
    void PushBack(std::string_view record, int length) {
        pushed_.assign(record);
        pushed_length_ = length;
    }
    // Forgets a record given back: the file was positioned elsewhere since.
    void DropPushedBack() { pushed_length_ = 0; }

  protected:
    virtual int ReadNext(std::string& record) = 0;

  private:
    std::string pushed_;
    int pushed_length_ = 0;
};

// Records from text in memory, read the way the file reader reads them: a byte-order mark at the
// start passed over, leading spaces skipped, trailing bytes of value 13 or less removed, lines
// longer than MaxLineLength split at a space, a last line without a line end delivered. The text
// must outlive the source.
class MemoryRecordSource final : public RecordSource {
  public:
    explicit MemoryRecordSource(std::string_view text) : text_(text) {}
    std::size_t Position() const { return position_; }

  protected:
    int ReadNext(std::string& record) override;

  private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// Records of a file through a record reader, from wherever the file stands; for readers that
// keep their own handle beside the window's (searches, the fast-file build).
class HandleRecordSource final : public RecordSource {
  public:
    HandleRecordSource(platform::File& file, RecordReader& reader) : file_(file), reader_(reader) {}

  protected:
    int ReadNext(std::string& record) override;

  private:
    platform::File& file_;
    RecordReader& reader_;
};

}  // namespace qorvale::pgn
