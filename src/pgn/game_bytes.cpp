#include "pgn/game_bytes.h"

#include <algorithm>

namespace qorvale::pgn {

std::string ReadGameBytes(PgnFile& file, std::int32_t number, std::int64_t most_bytes) {
    if (!file.IsOpen() || number < 1 || number > file.GameCount()) return {};
    platform::File& handle = file.GameFileHandle();
    const std::int64_t start = file.Index().Offset(number);
    std::int64_t end = number < file.GameCount() ? file.Index().Offset(number + 1) : handle.Size();
    end = std::min(end, start + most_bytes);
    std::string text;
    if (end <= start || !handle.Seek(start)) return text;
    text.resize(static_cast<std::size_t>(end - start));
    const std::int64_t read = handle.Read(text.data(), end - start);
    text.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    // The record reader reads through the same handle; its buffer no longer matches.
    file.Reader().Reset();
    return text;
}

}  // namespace qorvale::pgn
