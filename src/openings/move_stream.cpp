#include "openings/move_stream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "base/bytes.h"
#include "search/fast_file_reader.h"
#include "search/messages.h"

namespace qorvale::openings {

namespace {

// The longest record: MaxRecordCodes codes and its result word.
constexpr std::size_t MaxRecordBytes = 2 * (search::MaxRecordCodes + 1);

// The high byte of each of four little-endian words, whatever the host's byte order.
std::uint64_t HighBitsMask() {
    const std::uint8_t bytes[8] = {0, 0x80, 0, 0x80, 0, 0x80, 0, 0x80};
    std::uint64_t mask;
    std::memcpy(&mask, bytes, sizeof mask);
    return mask;
}

// The index of the first of `words` words with bit 15 set (a result word), or `words`. Records
// carry no length, so every scan walks every word: eight at a time while none is a result word.
std::size_t FirstResultWord(const std::uint8_t* bytes, std::size_t words) {
    static const std::uint64_t mask = HighBitsMask();
    std::size_t i = 0;
    for (; i + 8 <= words; i += 8) {
        std::uint64_t first;
        std::uint64_t second;
        std::memcpy(&first, bytes + 2 * i, 8);
        std::memcpy(&second, bytes + 2 * i + 8, 8);
        if (((first | second) & mask) != 0) break;
    }
    for (; i < words; ++i) {
        if ((bytes[2 * i + 1] & 0x80) != 0) return i;
    }
    return words;
}

}  // namespace

search::MoveCode RecordView::Code(std::size_t index) const { return GetU16(bytes + 2 * index); }

Result<MoveStream> MoveStream::OpenFile(const std::string& path) {
    MoveStream stream;
    stream.file_ = platform::File::Open(path, platform::File::Mode::Read);
    std::int64_t size = stream.file_.IsOpen() ? stream.file_.Size() : -1;
    if (size < 0) return Error(std::string(search::messages::ErrorOpeningFile));
    if (size <= search::WholeFileLimit) {
        stream.capacity_ = static_cast<std::size_t>(size);
        stream.buffer_.reset(new (std::nothrow) std::uint8_t[stream.capacity_ + 1]);
        stream.whole_ = true;
    } else {
        for (std::size_t window : search::WindowSizes) {
            stream.capacity_ = window;
            stream.buffer_.reset(new (std::nothrow) std::uint8_t[window]);
            if (stream.buffer_) break;
        }
    }
    if (!stream.buffer_) return Error(std::string(search::messages::NotEnoughMemory));
    if (stream.whole_) {
        while (stream.filled_ < stream.capacity_) {
            std::int64_t got =
                stream.file_.Read(stream.buffer_.get() + stream.filled_,
                                  static_cast<std::int64_t>(stream.capacity_ - stream.filled_));
            if (got <= 0) break;
            stream.filled_ += static_cast<std::size_t>(got);
        }
        stream.exhausted_ = true;
        stream.file_.Close();
    }
    return stream;
}

MoveStream MoveStream::FromBytes(std::vector<std::uint8_t> bytes) {
    MoveStream stream;
    stream.capacity_ = bytes.size();
    stream.buffer_ = std::make_unique<std::uint8_t[]>(bytes.size() + 1);
    std::copy(bytes.begin(), bytes.end(), stream.buffer_.get());
    stream.filled_ = bytes.size();
    stream.whole_ = true;
    stream.exhausted_ = true;
    return stream;
}

bool MoveStream::Rewind() {
    cursor_ = 0;
    if (whole_) return true;
    filled_ = 0;
    exhausted_ = false;
    return file_.Seek(0);
}

bool MoveStream::Ensure(std::size_t bytes) {
    if (filled_ - cursor_ >= bytes) return true;
    if (exhausted_) return false;
    // Keep what is left of the window and fill the rest behind it. The cursor is always even,
    // so the words keep their alignment with the file.
    const std::size_t kept = filled_ - cursor_;
    std::memmove(buffer_.get(), buffer_.get() + cursor_, kept);
    cursor_ = 0;
    filled_ = kept;
    while (filled_ < capacity_) {
        std::int64_t got =
            file_.Read(buffer_.get() + filled_, static_cast<std::int64_t>(capacity_ - filled_));
        if (got <= 0) {
            exhausted_ = true;
            break;
        }
        filled_ += static_cast<std::size_t>(got);
    }
    return filled_ - cursor_ >= bytes;
}

MoveStream::Step MoveStream::Next(RecordView& record) {
    record = RecordView{};
    if (!Ensure(2)) return Step::Damaged;  // no end mark
    const std::uint8_t* at = buffer_.get() + cursor_;
    if (GetU16(at) == search::EndMark) {
        cursor_ += 2;
        return Step::End;
    }
    // Short only at the end of the data; the scan below is bounded by what is there.
    (void)Ensure(MaxRecordBytes);
    at = buffer_.get() + cursor_;
    const std::size_t words =
        std::min((filled_ - cursor_) / 2, static_cast<std::size_t>(search::MaxRecordCodes) + 1);
    const std::size_t end = FirstResultWord(at, words);
    if (end == words) return Step::Damaged;
    record.bytes = at;
    record.count = end;
    record.result = GetU16(at + 2 * end);
    cursor_ += 2 * (end + 1);
    return Step::Record;
}

}  // namespace qorvale::openings
