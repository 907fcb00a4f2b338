#include "search/fast_file_reader.h"

#include <cstring>
#include <new>

#include "base/bytes.h"
#include "search/messages.h"

namespace qorvale::search {

Result<FastFileReader> FastFileReader::Open(const std::string& path, Mode mode) {
    FastFileReader reader;
    reader.file_ = platform::File::Open(path, platform::File::Mode::Read);
    if (!reader.file_.IsOpen()) return Error(std::string(messages::ErrorOpeningFile));
    reader.file_size_ = reader.file_.Size();
    if (reader.file_size_ < 0) return Error(std::string(messages::ErrorOpeningFile));
    if (mode == Mode::Stream) {
        reader.capacity_ = StreamBlockSize;
        reader.buffer_.reset(new (std::nothrow) std::uint8_t[reader.capacity_]);
    } else if (reader.file_size_ <= WholeFileLimit) {
        reader.capacity_ = static_cast<std::size_t>(reader.file_size_) + 4;
        reader.buffer_.reset(new (std::nothrow) std::uint8_t[reader.capacity_]);
        reader.whole_ = reader.buffer_ != nullptr;
    } else {
        for (std::size_t size : WindowSizes) {
            reader.capacity_ = size;
            reader.buffer_.reset(new (std::nothrow) std::uint8_t[size]);
            if (reader.buffer_) break;
        }
    }
    if (!reader.buffer_) return Error(std::string(messages::NotEnoughMemory));
    return reader;
}

bool FastFileReader::Rewind() {
    if (!file_.Seek(0)) return false;
    filled_ = 0;
    cursor_ = 0;
    buffer_offset_ = 0;
    return true;
}

bool FastFileReader::Ensure2() {
    if (filled_ - cursor_ >= 2) return true;
    // Keep the odd byte left over and fill the rest of the window behind it.
    std::size_t kept = filled_ - cursor_;
    if (kept > 0) std::memmove(buffer_.get(), buffer_.get() + cursor_, kept);
    buffer_offset_ += static_cast<std::int64_t>(cursor_);
    cursor_ = 0;
    filled_ = kept;
    while (filled_ < capacity_) {
        std::int64_t got =
            file_.Read(buffer_.get() + filled_, static_cast<std::int64_t>(capacity_ - filled_));
        if (got <= 0) break;
        filled_ += static_cast<std::size_t>(got);
    }
    return filled_ >= 2;
}

FastFileReader::Step FastFileReader::Next(GameRecord& record) {
    record.codes.clear();
    record.result = 0;
    if (!Ensure2()) return Step::Damaged;  // no end mark
    record.offset = buffer_offset_ + static_cast<std::int64_t>(cursor_);
    std::uint16_t word = GetU16(buffer_.get() + cursor_);
    if (word == EndMark) {
        cursor_ += 2;
        return Step::End;
    }
    while (true) {
        cursor_ += 2;
        if (IsResultWord(word)) {
            record.result = word;
            return Step::Record;
        }
        if (word == EndMark || static_cast<int>(record.codes.size()) >= MaxRecordCodes) {
            return Step::Damaged;
        }
        record.codes.push_back(word);
        if (!Ensure2()) return Step::Damaged;
        word = GetU16(buffer_.get() + cursor_);
    }
}

}  // namespace qorvale::search

namespace qorvale::search {

bool FastFileReader::EndMarkEndsTheFile() {
    GameRecord rest;
    return Next(rest) == Step::End &&
           buffer_offset_ + static_cast<std::int64_t>(cursor_) == file_size_;
}

}  // namespace qorvale::search
