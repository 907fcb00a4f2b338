#include "pgn/record_reader.h"

#include <cstring>

namespace qorvale::pgn {

namespace {

// Line ends are LF; a CR before it, and any other control byte at the end of the text, goes.
std::size_t TrimmedLength(const char* text, std::size_t length) {
    while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= 13) --length;
    return length;
}

}  // namespace

RecordReader::RecordReader() = default;

void RecordReader::Reset() {
    read_ = 0;
    end_ = 0;
    at_end_ = false;
}

bool RecordReader::Refill(platform::File& file) {
    read_ = 0;
    end_ = 0;
    if (at_end_) return false;
    std::int64_t got = file.Read(block_.data(), static_cast<std::int64_t>(block_.size()));
    if (got <= 0) {
        at_end_ = true;
        return false;
    }
    // A short block is the end of the data; reading again would only return 0.
    if (static_cast<std::size_t>(got) < block_.size()) at_end_ = true;
    end_ = static_cast<std::size_t>(got);
    return true;
}

int RecordReader::ReadRecord(platform::File& file, char* record) {
    std::string_view text;
    int length = ReadRecord(file, text);
    if (!text.empty()) std::memcpy(record, text.data(), text.size());
    record[text.size()] = '\0';
    return length;
}

int RecordReader::ReadRecord(platform::File& file, std::string_view& text) {
    text = {};
    std::size_t skipped = 0;
    for (;;) {
        if (read_ == end_ && !Refill(file)) return 0;
        if (mode_ == ReadMode::ReadVerbatim) break;
        // Only the space itself counts as a leading space; a tab is text.
        while (read_ < end_ && block_[read_] == ' ') {
            ++read_;
            ++skipped;
        }
        if (read_ < end_) break;
    }

    // Fast path: the line end lies within this block and within the record limit, so the text
    // can be handed out in place.
    const char* start = block_.data() + read_;
    std::size_t available = end_ - read_;
    std::size_t search = available < MaxRecordLength ? available : MaxRecordLength;
    const void* line_feed = std::memchr(start, '\n', search);
    if (line_feed == nullptr) return ReadSlow(file, text, skipped);

    std::size_t stored = static_cast<std::size_t>(static_cast<const char*>(line_feed) - start) + 1;
    read_ += stored;
    text = std::string_view(start, TrimmedLength(start, stored - 1));
    return static_cast<int>(mode_ == ReadMode::ReadTrimmed ? stored : stored + skipped);
}

// A line that crosses a block boundary or runs past the record limit: gathered byte by byte.
int RecordReader::ReadSlow(platform::File& file, std::string_view& text, std::size_t skipped) {
    std::size_t stored = 0;
    for (;;) {
        if (read_ == end_ && !Refill(file)) {
            // The file ended before a line feed: the unfinished line is not delivered.
            return 0;
        }
        char byte = block_[read_];
        if (stored == MaxRecordLength) {
            // This would be the 256th byte: the record is long. Cut back to the last space at or
            // before this position; the bytes between that space and here are dropped and the
            // rest of the line becomes the next record. Without a usable space, cut at 255.
            std::size_t cut = MaxRecordLength;
            std::size_t consumed = MaxRecordLength;
            if (byte == ' ') {
                ++read_;
                ++consumed;
            } else {
                const void* space = nullptr;
                for (std::size_t at = MaxRecordLength; at > 1; --at) {
                    if (record_[at - 1] == ' ') {
                        space = &record_[at - 1];
                        break;
                    }
                }
                // A space at the very start would leave an empty record, which reads as the
                // end of the file.
                if (space != nullptr) {
                    cut =
                        static_cast<std::size_t>(static_cast<const char*>(space) - record_.data());
                }
            }
            if (watch_ == LongRecordWatch::Watching) watch_ = LongRecordWatch::LongRecordMet;
            text = std::string_view(record_.data(), cut);
            if (mode_ == ReadMode::ReadTrimmed) return static_cast<int>(cut);
            return static_cast<int>(consumed + skipped);
        }
        ++read_;
        record_[stored++] = byte;
        if (byte == '\n') {
            text = std::string_view(record_.data(), TrimmedLength(record_.data(), stored - 1));
            return static_cast<int>(mode_ == ReadMode::ReadTrimmed ? stored : stored + skipped);
        }
    }
}

}  // namespace qorvale::pgn
