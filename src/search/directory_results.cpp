#include "search/directory_results.h"

#include <algorithm>
#include <memory>

#include "base/bytes.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "platform/staged_file.h"
#include "search/messages.h"
#include "search/ser_file.h"

namespace qorvale::search {

namespace {

// The first nine header fields, Event .. Number of Moves: a file without the format flags keeps
// only these.
constexpr int ShortHeaderFields = 9;

enum class Block { Header, Variation, Position };

std::vector<Block> BlocksOf(DirectorySearchKind kind, std::uint32_t combination) {
    switch (kind) {
        case DirectorySearchKind::Variation:
            if (combination != 0) return {Block::Variation, Block::Position};
            return {Block::Variation};
        case DirectorySearchKind::Position:
            return {Block::Position};
        case DirectorySearchKind::Header:
            break;
    }
    std::vector<Block> blocks = {Block::Header};
    if (combination == 1 || combination == 3) blocks.push_back(Block::Variation);
    if (combination != 0) blocks.push_back(Block::Position);
    return blocks;
}

DirectorySearchKind KindOf(std::uint32_t word) {
    if (word == static_cast<std::uint32_t>(DirectorySearchKind::Variation)) {
        return DirectorySearchKind::Variation;
    }
    if (word == static_cast<std::uint32_t>(DirectorySearchKind::Position)) {
        return DirectorySearchKind::Position;
    }
    return DirectorySearchKind::Header;
}

// Bounds-checked reading of the file's bytes.
class Cursor {
  public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Has(std::size_t size) const { return bytes_.size() - at_ >= size; }
    std::size_t Left() const { return bytes_.size() - at_; }
    const std::uint8_t* Take(std::size_t size) {
        const std::uint8_t* start = bytes_.data() + at_;
        at_ += size;
        return start;
    }
    std::uint32_t U32() { return GetU32(Take(4)); }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

Error InvalidFile() { return Error(std::string(messages::InvalidSearchFile)); }

// Reads the record at the cursor into `file`; false when it runs past the end.
bool ReadFileRecord(Cursor& cursor, std::uint32_t format, bool half_moves,
                    DirectoryFileResult& file) {
    file.stem = ReadFixedText(cursor.Take(ResultsStemSize), ResultsStemSize);
    std::size_t fixed = 4;
    if (format & FormatWinCounts) {
        fixed += 8;
        if (format & FormatLineLength) fixed += 4;
        if (format & FormatClassCounts) fixed += 8;
    }
    if (!cursor.Has(fixed)) return false;
    const std::uint32_t count = cursor.U32();
    if (format & FormatWinCounts) {
        file.white_wins = cursor.U32();
        file.black_wins = cursor.U32();
        if (format & FormatLineLength) file.line_length = cursor.U32();
        if (format & FormatClassCounts) {
            file.class3 = static_cast<std::int32_t>(cursor.U32());
            file.class4 = static_cast<std::int32_t>(cursor.U32());
        }
    }
    // Checked before anything is allocated, so a flipped count cannot ask for gigabytes.
    const std::size_t lists = half_moves ? 2 : 1;
    if (cursor.Left() / 4 / lists < count) return false;
    file.games.resize(count);
    for (std::int32_t& game : file.games) game = static_cast<std::int32_t>(cursor.U32());
    if (half_moves) {
        file.half_moves.resize(count);
        for (std::int32_t& ply : file.half_moves) ply = static_cast<std::int32_t>(cursor.U32());
    }
    return true;
}

// Copies `from` to `to` through a staged file: false for `from` when it cannot be read (the
// target untouched), true for `from` and false for `to` when the copy cannot be written.
struct CopyOutcome {
    bool source_read = false;
    bool target_written = false;
};

CopyOutcome CopyThroughStage(const std::string& from, const std::string& to,
                             platform::FileSystem& file_system) {
    CopyOutcome outcome;
    platform::File source = platform::File::Open(from, platform::File::Mode::Read);
    if (!source.IsOpen()) return outcome;
    outcome.source_read = true;
    platform::StagedFile target(file_system, to);
    if (!target.IsOpen()) return outcome;
    // The program copies in blocks of 256 bytes; a larger block gives the same file.
    constexpr std::int64_t BlockSize = 1 << 16;
    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[BlockSize]);
    while (true) {
        const std::int64_t got = source.Read(block.get(), BlockSize);
        if (got < 0) {
            outcome.source_read = false;
            return outcome;
        }
        if (got == 0) break;
        if (!target.Write(block.get(), got)) return outcome;
    }
    outcome.target_written = target.Commit();
    return outcome;
}

}  // namespace

bool ResultsHaveHalfMoves(DirectorySearchKind kind, std::uint32_t combination) {
    return kind == DirectorySearchKind::Position || combination == 2 || combination == 3;
}

void AppendResultsHeader(std::vector<std::uint8_t>& out, const DirectoryResultsHeader& header) {
    AppendFixedText(out, header.folder, ResultsFolderSize);
    AppendU32(out, static_cast<std::uint32_t>(header.kind));
    AppendU32(out, header.combination);
    AppendU32(out, (header.line_length & ~FormatFlags) | FormatFlags);
    for (Block block : BlocksOf(header.kind, header.combination)) {
        if (block == Block::Header) AppendHeaderBlock(out, header.criteria.header);
        if (block == Block::Variation) AppendVariationBlock(out, header.criteria.line);
        if (block == Block::Position) AppendPositionBlock(out, header.criteria.position);
    }
}

void AppendFileRecord(std::vector<std::uint8_t>& out, const DirectoryResultsHeader& header,
                      const DirectoryFileResult& file) {
    AppendFixedText(out, file.stem, ResultsStemSize);
    AppendU32(out, static_cast<std::uint32_t>(file.games.size()));
    AppendU32(out, file.white_wins);
    AppendU32(out, file.black_wins);
    AppendU32(out, file.line_length);
    AppendU32(out, static_cast<std::uint32_t>(file.class3));
    AppendU32(out, static_cast<std::uint32_t>(file.class4));
    for (std::int32_t game : file.games) AppendU32(out, static_cast<std::uint32_t>(game));
    if (ResultsHaveHalfMoves(header.kind, header.combination)) {
        for (std::size_t n = 0; n < file.games.size(); ++n) {
            const std::int32_t ply = n < file.half_moves.size() ? file.half_moves[n] : 0;
            AppendU32(out, static_cast<std::uint32_t>(ply));
        }
    }
}

void AppendResultsEndMark(std::vector<std::uint8_t>& out) {
    out.insert(out.end(), ResultsEndMarkSize, 0);
}

Result<DirectoryResults> ParseDirectoryResults(std::span<const std::uint8_t> bytes, int max_files) {
    Cursor cursor(bytes);
    DirectoryResults results;
    DirectoryResultsHeader& header = results.header;
    if (!cursor.Has(ResultsFolderSize + 12)) return InvalidFile();
    header.folder = ReadFixedText(cursor.Take(ResultsFolderSize), ResultsFolderSize);
    header.kind = KindOf(cursor.U32());
    header.combination = cursor.U32();
    const std::uint32_t word = cursor.U32();
    results.format = (word & FormatWinCounts) ? (word & FormatFlags) : 0;
    header.line_length = results.format != 0 ? (word & ~FormatFlags) : word;

    const int header_fields =
        (results.format & FormatElevenFields) ? SavedHeaderCriteria : ShortHeaderFields;
    for (Block block : BlocksOf(header.kind, header.combination)) {
        if (block == Block::Header) {
            const std::size_t size = static_cast<std::size_t>(header_fields) * CriteriaFieldSize;
            if (!cursor.Has(size)) return InvalidFile();
            ReadHeaderBlock(cursor.Take(size), header.criteria.header, header_fields);
        } else if (block == Block::Variation) {
            if (!cursor.Has(SerVariationBlockSize)) return InvalidFile();
            ReadVariationBlock(cursor.Take(SerVariationBlockSize), header.criteria.line);
        } else {
            if (!cursor.Has(SerPositionBlockSize)) return InvalidFile();
            ReadPositionBlock(cursor.Take(SerPositionBlockSize), header.criteria.position);
        }
    }

    const bool half_moves = ResultsHaveHalfMoves(header.kind, header.combination);
    while (true) {
        // The end mark is read as a record whose name begins with a zero byte.
        if (!cursor.Has(1)) {
            results.damaged = true;
            break;
        }
        if (*cursor.Take(0) == 0) break;
        if (static_cast<int>(results.files.size()) >= max_files) {
            results.over_limit = true;
            break;
        }
        if (!cursor.Has(ResultsStemSize)) {
            results.damaged = true;
            break;
        }
        DirectoryFileResult file;
        if (!ReadFileRecord(cursor, results.format, half_moves, file)) {
            results.damaged = true;
            break;
        }
        results.files.push_back(std::move(file));
    }
    return results;
}

Result<DirectoryResults> ReadDirectoryResults(const std::string& path, int max_files) {
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    const std::int64_t size = file.IsOpen() ? file.Size() : -1;
    if (size < 0) return Error(std::string(messages::ErrorOpeningFile));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && file.Read(bytes.data(), size) != size) {
        return Error(std::string(messages::ErrorOpeningFile));
    }
    return ParseDirectoryResults(bytes, max_files);
}

Error SaveDirectoryResults(const std::string& results_path, const std::string& target,
                           platform::FileSystem& file_system) {
    if (!platform::FileExists(results_path)) {
        return Error(std::string(messages::MustPerformDirectorySearch));
    }
    const CopyOutcome copied = CopyThroughStage(results_path, target, file_system);
    if (!copied.source_read) return Error(std::string(messages::MustPerformDirectorySearch));
    if (!copied.target_written) return Error(std::string(messages::ErrorOpeningFile));
    return Error::Ok();
}

Error LoadDirectoryResults(const std::string& source, const std::string& results_path,
                           platform::FileSystem& file_system) {
    const CopyOutcome copied = CopyThroughStage(source, results_path, file_system);
    if (!copied.source_read) return Error(std::string(messages::ErrorOpeningFile));
    if (!copied.target_written) return Error(std::string(messages::ErrorCreatingSearchFile));
    return Error::Ok();
}

std::string DirectoryGameFilePath(const std::string& folder, const std::string& stem) {
    const std::string exact = platform::JoinPath(folder, stem + ".pgn");
    if (platform::FileExists(exact)) return exact;
    for (const std::string& name : platform::ListFolder(folder, stem + ".pgn")) {
        return platform::JoinPath(folder, name);
    }
    return exact;
}

std::string ResultFileLine(const DirectoryFileResult& file) {
    return file.stem + ":" + std::to_string(file.games.size());
}

}  // namespace qorvale::search
