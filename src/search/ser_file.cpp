#include "search/ser_file.h"

#include <vector>

#include "base/bytes.h"
#include "base/result.h"
#include "platform/file.h"
#include "search/messages.h"

namespace qorvale::search {

namespace {

enum class Block { Header, Variation, Position };

template <std::size_t N>
void AppendEntries(std::vector<std::uint8_t>& out, const std::array<chess::MoveText, N>& entries) {
    for (const chess::MoveText& entry : entries) AppendFixedText(out, entry.view(), 8);
}

template <std::size_t N>
void ReadEntries(const std::uint8_t* in, std::array<chess::MoveText, N>& entries) {
    for (std::size_t i = 0; i < N; ++i) entries[i].Assign(ReadFixedText(in + 8 * i, 8));
}

Error Write(const std::string& path, SerKind kind, std::uint32_t parts,
            const SearchCriteria& criteria, std::initializer_list<Block> blocks) {
    std::vector<std::uint8_t> bytes;
    AppendU32(bytes, static_cast<std::uint32_t>(kind));
    AppendU32(bytes, parts);
    for (Block block : blocks) {
        if (block == Block::Header) AppendHeaderBlock(bytes, criteria.header);
        if (block == Block::Variation) AppendVariationBlock(bytes, criteria.line);
        if (block == Block::Position) AppendPositionBlock(bytes, criteria.position);
    }
    platform::File file = platform::File::Create(path);
    if (!file.IsOpen() || !file.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()))) {
        return Error(std::string(messages::ErrorOpeningFile));
    }
    return Error::Ok();
}

struct SerContents {
    SerKind kind = SerKind::Header;
    std::uint32_t parts = 0;
    std::vector<std::uint8_t> bytes;
};

Result<SerContents> ReadWhole(const std::string& path) {
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) return Error(std::string(messages::ErrorOpeningFile));
    SerContents contents;
    std::int64_t size = file.Size();
    // No valid file is larger than a header search with all three blocks.
    constexpr std::int64_t Largest =
        8 + SerHeaderBlockSize + SerVariationBlockSize + SerPositionBlockSize;
    if (size < 8 || size > Largest) return Error(std::string(messages::InvalidSearchFile));
    contents.bytes.resize(static_cast<std::size_t>(size));
    if (file.Read(contents.bytes.data(), size) != size) {
        return Error(std::string(messages::InvalidSearchFile));
    }
    contents.kind = static_cast<SerKind>(GetU32(contents.bytes.data()));
    contents.parts = GetU32(contents.bytes.data() + 4);
    return contents;
}

// The blocks a file of `kind` and `parts` holds, in order.
std::vector<Block> BlocksOf(SerKind kind, std::uint32_t parts) {
    switch (kind) {
        case SerKind::Variation:
            return {Block::Variation};
        case SerKind::Position:
            return {Block::Position};
        case SerKind::Header:
            if (parts == 1 || parts == 3) return {Block::Header, Block::Variation, Block::Position};
            if (parts == 2) return {Block::Header, Block::Position};
            return {Block::Header};
    }
    return {};
}

std::size_t BlockSize(Block block) {
    return block == Block::Header      ? SerHeaderBlockSize
           : block == Block::Variation ? SerVariationBlockSize
                                       : SerPositionBlockSize;
}

// Reads the blocks into a copy and hands it over only when the file held all of them.
Error ReadBlocks(const SerContents& contents, SearchCriteria& criteria) {
    std::vector<Block> blocks = BlocksOf(contents.kind, contents.parts);
    std::size_t needed = 8;
    for (Block block : blocks) needed += BlockSize(block);
    if (contents.bytes.size() != needed) return Error(std::string(messages::InvalidSearchFile));
    SearchCriteria loaded = criteria;
    const std::uint8_t* at = contents.bytes.data() + 8;
    for (Block block : blocks) {
        if (block == Block::Header) {
            std::string specific = loaded.header.Get(HeaderCriterion::SpecificMove);
            ReadHeaderBlock(at, loaded.header);
            loaded.header.Set(HeaderCriterion::SpecificMove, specific);
        }
        if (block == Block::Variation) ReadVariationBlock(at, loaded.line);
        if (block == Block::Position) ReadPositionBlock(at, loaded.position);
        at += BlockSize(block);
    }
    criteria = loaded;
    return Error::Ok();
}

}  // namespace

std::string WithExtension(std::string_view name, std::string_view extension) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (name.size() >= extension.size()) {
        std::string_view tail = name.substr(name.size() - extension.size());
        bool same = true;
        for (std::size_t i = 0; i < tail.size() && same; ++i) {
            same = lower(tail[i]) == lower(extension[i]);
        }
        if (same) return std::string(name);
    }
    std::string_view stem = name;
    if (stem.ends_with('.')) {
        stem.remove_suffix(1);
    } else {
        for (std::size_t from_end : {4, 3, 2}) {
            if (stem.size() >= from_end && stem[stem.size() - from_end] == '.') {
                stem.remove_suffix(from_end);
                break;
            }
        }
    }
    return std::string(stem) + std::string(extension);
}

void AppendHeaderBlock(std::vector<std::uint8_t>& out, const HeaderCriteria& header) {
    for (int field = 0; field < SavedHeaderCriteria; ++field) {
        AppendFixedText(out, header.fields[static_cast<std::size_t>(field)], CriteriaFieldSize);
    }
}

void AppendVariationBlock(std::vector<std::uint8_t>& out, const VariationCriteria& line) {
    AppendEntries(out, line.WhiteMoves);
    AppendEntries(out, line.BlackMoves);
}

void AppendPositionBlock(std::vector<std::uint8_t>& out, const PositionCriteria& position) {
    AppendEntries(out, position.White);
    AppendEntries(out, position.Black);
}

void ReadHeaderBlock(const std::uint8_t* in, HeaderCriteria& header, int fields) {
    for (int field = 0; field < fields; ++field) {
        header.fields[static_cast<std::size_t>(field)] = ReadFixedText(
            in + static_cast<std::size_t>(field) * CriteriaFieldSize, CriteriaFieldSize);
    }
}

void ReadVariationBlock(const std::uint8_t* in, VariationCriteria& line) {
    ReadEntries(in, line.WhiteMoves);
    ReadEntries(in + MaxLineMoves * 8, line.BlackMoves);
}

void ReadPositionBlock(const std::uint8_t* in, PositionCriteria& position) {
    ReadEntries(in, position.White);
    ReadEntries(in + MaxPositionEntries * 8, position.Black);
}

Error SaveVariation(const std::string& path, const SearchCriteria& criteria) {
    return Write(path, SerKind::Variation, 0, criteria, {Block::Variation});
}

Error SavePosition(const std::string& path, const SearchCriteria& criteria) {
    return Write(path, SerKind::Position, 0, criteria, {Block::Position});
}

Error SaveHeader(const std::string& path, const SearchCriteria& criteria, Combination combination) {
    const auto parts = static_cast<std::uint32_t>(combination);
    if (HasVariation(combination)) {
        return Write(path, SerKind::Header, parts, criteria,
                     {Block::Header, Block::Variation, Block::Position});
    }
    if (combination == Combination::WithPosition) {
        return Write(path, SerKind::Header, parts, criteria, {Block::Header, Block::Position});
    }
    return Write(path, SerKind::Header, 0, criteria, {Block::Header});
}

Error LoadVariation(const std::string& path, SearchCriteria& criteria) {
    Result<SerContents> contents = ReadWhole(path);
    if (!contents) return contents.error();
    bool accepted = (contents->kind == SerKind::Variation && contents->parts == 0) ||
                    (contents->kind == SerKind::Header && contents->parts == 3);
    if (!accepted) return Error(std::string(messages::InvalidSearchFile));
    return ReadBlocks(*contents, criteria);
}

Error LoadPosition(const std::string& path, SearchCriteria& criteria) {
    Result<SerContents> contents = ReadWhole(path);
    if (!contents) return contents.error();
    bool accepted = contents->kind == SerKind::Position ||
                    (contents->kind == SerKind::Header && contents->parts == 3);
    if (!accepted) return Error(std::string(messages::InvalidSearchFile));
    return ReadBlocks(*contents, criteria);
}

Error LoadHeader(const std::string& path, SearchCriteria& criteria) {
    Result<SerContents> contents = ReadWhole(path);
    if (!contents) return contents.error();
    if (contents->kind != SerKind::Header || contents->parts > 3) {
        return Error(std::string(messages::InvalidSearchFile));
    }
    return ReadBlocks(*contents, criteria);
}

Error LoadAny(const std::string& path, SearchCriteria& criteria, SerKind& kind,
              Combination& combination) {
    Result<SerContents> contents = ReadWhole(path);
    if (!contents) return contents.error();
    SerKind found = contents->kind;
    bool known = found == SerKind::Variation || found == SerKind::Position ||
                 (found == SerKind::Header && contents->parts <= 3);
    if (!known) return Error(std::string(messages::InvalidSearchFile));
    if (Error error = ReadBlocks(*contents, criteria); !error.ok()) return error;
    kind = found;
    combination =
        found == SerKind::Header ? static_cast<Combination>(contents->parts) : Combination::Alone;
    return Error::Ok();
}

}  // namespace qorvale::search
