#include "utilities/game_spans.h"

#include <algorithm>
#include <cstring>

#include "pgn/game_scanner.h"
#include "pgn/record_reader.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

constexpr std::size_t ReadBlock = 1 << 20;

// Where the game starting at `begin` ends by the scan's own rules: at the first tag line that
// opens another game, or at the end of the file.
std::uint64_t NextGameStart(platform::File& file, std::uint64_t begin, std::uint64_t file_size) {
    if (!file.Seek(static_cast<std::int64_t>(begin))) return file_size;
    pgn::RecordReader reader;
    reader.SetMode(pgn::ReadMode::ReadCounted);
    pgn::GameScanner scanner;
    std::uint64_t position = begin;
    bool first = true;
    for (;;) {
        std::string_view record;
        int length = reader.ReadRecord(file, record);
        if (length == 0) return file_size;
        pgn::GameScanner::Step step = scanner.Feed(record);
        if (step == pgn::GameScanner::Step::NewGame) {
            if (!first) return position;
            first = false;
        }
        position += static_cast<std::uint64_t>(length);
    }
}

}  // namespace

Result<GameSpans> MeasureGameSpans(const std::string& path, std::vector<std::uint32_t> offsets,
                                   bool index_full) {
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) return Error(std::string(messages::ErrorOpeningFile));
    GameSpans spans;
    spans.file_size = static_cast<std::uint64_t>(std::max<std::int64_t>(0, file.Size()));
    spans.offsets = std::move(offsets);
    spans.last_end = spans.file_size;
    if (index_full && !spans.offsets.empty()) {
        spans.last_end = NextGameStart(file, spans.offsets.back(), spans.file_size);
    }
    return spans;
}

bool GameSpanReader::Open(const std::string& path) {
    file_ = platform::File::Open(path, platform::File::Mode::Read);
    buffer_start_ = 0;
    filled_ = 0;
    at_end_ = false;
    return file_.IsOpen();
}

std::string_view GameSpanReader::Read(std::uint64_t begin, std::uint64_t end) {
    if (end > begin + MaxExaminedGameBytes) end = begin + MaxExaminedGameBytes;
    if (end <= begin) return {};
    if (begin < buffer_start_ || begin > buffer_start_ + filled_) {
        // Not in order, or far ahead: start the window at `begin`.
        if (!file_.Seek(static_cast<std::int64_t>(begin))) return {};
        buffer_start_ = begin;
        filled_ = 0;
        at_end_ = false;
    }
    std::size_t offset = static_cast<std::size_t>(begin - buffer_start_);
    const std::size_t need = static_cast<std::size_t>(end - begin);
    if (offset + need > filled_ && !at_end_ && offset > 0) {
        // The game runs past what was read: what lies before it goes, once per block.
        std::memmove(buffer_.data(), buffer_.data() + offset, filled_ - offset);
        filled_ -= offset;
        buffer_start_ = begin;
        offset = 0;
    }
    while (offset + need > filled_ && !at_end_) {
        std::size_t capacity = std::max(offset + need, filled_ + ReadBlock);
        if (buffer_.size() < capacity) buffer_.resize(capacity);
        std::int64_t got = file_.Read(buffer_.data() + filled_,
                                      static_cast<std::int64_t>(buffer_.size() - filled_));
        if (got <= 0) {
            at_end_ = true;
            break;
        }
        filled_ += static_cast<std::size_t>(got);
    }
    return std::string_view(buffer_.data() + offset, std::min(need, filled_ - offset));
}

}  // namespace qorvale::utilities
