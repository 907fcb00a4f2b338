#include "search/header_file.h"

#include <new>
#include <stdexcept>

#include "base/bytes.h"
#include "platform/file.h"
#include "search/messages.h"

namespace qorvale::search {

std::string StoredRound(std::string_view round) {
    if (round.empty()) return {};
    unsigned char first = static_cast<unsigned char>(round[0]);
    if (first < ':' || first == '?') return std::string(round);
    std::size_t digit = round.find_first_of("0123456789");
    return digit == std::string_view::npos ? std::string() : std::string(round.substr(digit));
}

void AppendHeaderRecord(std::vector<std::uint8_t>& out, const HeaderValues& values) {
    for (int field = 0; field < HeaderFieldCount; ++field) {
        if (field == static_cast<int>(HeaderField::Round)) {
            AppendShortString(out, StoredRound(values[field]));
        } else {
            AppendShortString(out, values[field]);
        }
    }
}

Result<HeaderFile> HeaderFile::Load(const std::string& path) {
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) return Error(std::string(messages::ErrorOpeningFile));
    std::int64_t size = file.Size();
    if (size < 0) return Error(std::string(messages::ErrorOpeningFile));
    HeaderFile header;
    try {
        header.bytes_.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return Error(std::string(messages::NotEnoughMemory));
    } catch (const std::length_error&) {
        return Error(std::string(messages::NotEnoughMemory));
    }
    std::int64_t done = 0;
    while (done < size) {
        std::int64_t got = file.Read(header.bytes_.data() + done, size - done);
        if (got <= 0) return Error(std::string(messages::ErrorOpeningFile));
        done += got;
    }
    if (header.bytes_.size() >= 4) header.count_ = GetU32(header.bytes_.data());
    return header;
}

std::size_t HeaderFile::RecordLength(std::size_t offset) const {
    std::size_t cursor = offset;
    for (int field = 0; field < HeaderFieldCount; ++field) {
        if (cursor >= bytes_.size()) return 0;
        cursor += 1 + bytes_[cursor];
        if (cursor > bytes_.size()) return 0;
    }
    return cursor - offset;
}

std::vector<std::size_t> HeaderFile::RecordOffsets() const {
    std::vector<std::size_t> offsets;
    if (Truncated()) return offsets;
    offsets.reserve(count_ < 200000 ? count_ : 200000);
    std::size_t cursor = 4;
    for (std::uint32_t record = 0; record < count_; ++record) {
        std::size_t length = RecordLength(cursor);
        if (length == 0) return {};
        offsets.push_back(cursor);
        cursor += length;
    }
    return offsets;
}

bool HeaderFile::Consistent(std::uint32_t game_count) const {
    if (Truncated() || count_ != game_count) return false;
    std::size_t cursor = 4;
    for (std::uint32_t record = 0; record < count_; ++record) {
        std::size_t length = RecordLength(cursor);
        if (length == 0) return false;
        cursor += length;
    }
    return cursor == bytes_.size();
}

bool HeaderFile::ReadRecord(std::size_t offset, HeaderValues& values) const {
    std::size_t cursor = offset;
    for (int field = 0; field < HeaderFieldCount; ++field) {
        if (!ReadShortString(bytes_.data(), bytes_.size(), cursor, values[field])) return false;
    }
    return true;
}

}  // namespace qorvale::search
