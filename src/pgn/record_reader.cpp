#include "pgn/record_reader.h"

#include <algorithm>
#include <cstring>

namespace qorvale::pgn {

namespace {

// Line ends are LF; a CR before it, and any other control byte at the end of the text, goes.
std::size_t TrimmedLength(const char* text, std::size_t length) {
    while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= 13) --length;
    return length;
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

RecordReader::RecordReader() = default;

void RecordReader::Reset() {
    read_ = 0;
    end_ = 0;
    at_end_ = false;
    bom_ = 0;
    line_.clear();
    split_ = 0;
}

bool RecordReader::Refill(platform::File& file) {
    read_ = 0;
    end_ = 0;
    if (at_end_) return false;
    const std::int64_t position = file.Tell();
    std::int64_t got = file.Read(block_.data(), static_cast<std::int64_t>(block_.size()));
    if (got <= 0) {
        at_end_ = true;
        return false;
    }
    // A short block is the end of the data; reading again would only return 0.
    if (static_cast<std::size_t>(got) < block_.size()) at_end_ = true;
    end_ = static_cast<std::size_t>(got);
    // A byte-order mark is no part of the first line; its bytes still count for the offsets.
    if (position == 0 && std::string_view(block_.data(), end_).starts_with(ByteOrderMark)) {
        read_ = ByteOrderMark.size();
        bom_ = ByteOrderMark.size();
    }
    return true;
}

int RecordReader::Deliver(std::string_view& text, const char* data, std::size_t kept,
                          std::size_t stored, std::size_t consumed, std::size_t skipped) {
    text = std::string_view(data, kept);
    if (kept > MaxRecordLength && watch_ == LongRecordWatch::Watching) {
        watch_ = LongRecordWatch::LongRecordMet;
    }
    skipped += bom_;
    bom_ = 0;
    return static_cast<int>(mode_ == ReadMode::ReadTrimmed ? stored : consumed + skipped);
}

int RecordReader::ReadRecord(platform::File& file, std::string_view& text) {
    text = {};
    std::size_t skipped = 0;
    if (split_ > 0) {
        // The rest of a line split at MaxLineLength comes first.
        line_.erase(line_.begin(), line_.begin() + static_cast<std::ptrdiff_t>(split_));
        split_ = 0;
        std::size_t spaces = 0;
        if (mode_ != ReadMode::ReadVerbatim) {
            while (spaces < line_.size() && line_[spaces] == ' ') ++spaces;
        }
        line_.erase(line_.begin(), line_.begin() + static_cast<std::ptrdiff_t>(spaces));
        skipped = spaces;
        if (!line_.empty()) return ReadSlow(file, text, skipped);
    }
    line_.clear();
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

    // Fast path: the line end lies within this block, so the text is handed out in place.
    const char* start = block_.data() + read_;
    const void* line_feed = std::memchr(start, '\n', end_ - read_);
    if (line_feed == nullptr) return ReadSlow(file, text, skipped);
    std::size_t stored = static_cast<std::size_t>(static_cast<const char*>(line_feed) - start) + 1;
    read_ += stored;
    return Deliver(text, start, TrimmedLength(start, stored - 1), stored, stored, skipped);
}

// A line that crosses a block boundary, ends the file without a line end, or runs past
// MaxLineLength: gathered in line_.
int RecordReader::ReadSlow(platform::File& file, std::string_view& text, std::size_t skipped) {
    for (;;) {
        if (line_.size() >= MaxLineLength) break;
        if (read_ == end_ && !Refill(file)) {
            // The file ends without a line end: the unfinished line is a record of its own.
            if (line_.empty()) return 0;
            return Deliver(text, line_.data(), TrimmedLength(line_.data(), line_.size()),
                           line_.size(), line_.size(), skipped);
        }
        const char* start = block_.data() + read_;
        std::size_t room = std::min(end_ - read_, MaxLineLength - line_.size());
        const void* line_feed = std::memchr(start, '\n', room);
        std::size_t taken =
            line_feed == nullptr
                ? room
                : static_cast<std::size_t>(static_cast<const char*>(line_feed) - start) + 1;
        line_.insert(line_.end(), start, start + taken);
        read_ += taken;
        if (line_feed != nullptr) {
            return Deliver(text, line_.data(), TrimmedLength(line_.data(), line_.size() - 1),
                           line_.size(), line_.size(), skipped);
        }
    }
    // Too long to return whole: split at the last space, which goes with this part, or without
    // one where a character ends; nothing is dropped.
    std::size_t cut = MaxLineLength;
    std::size_t consumed = cut;
    bool at_space = false;
    for (std::size_t at = cut; at > 1 && !at_space; --at) {
        if (line_[at - 1] == ' ') {
            cut = at - 1;
            consumed = at;
            at_space = true;
        }
    }
    if (!at_space) {
        // Back to the start of a UTF-8 sequence that the cut would split.
        std::size_t lead = cut - 1;
        while (lead + 3 > cut && lead > 0 && IsContinuationByte(line_[lead])) --lead;
        const auto first = static_cast<unsigned char>(line_[lead]);
        const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
        if (lead + length > cut) cut = lead;
        consumed = cut;
    }
    split_ = consumed;
    return Deliver(text, line_.data(), cut, cut, consumed, skipped);
}

}  // namespace qorvale::pgn
