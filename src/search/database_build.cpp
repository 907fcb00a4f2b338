#include "search/database_build.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

#include "base/bytes.h"
#include "platform/file.h"
#include "platform/mapped_file.h"
#include "search/header_file.h"
#include "search/messages.h"
#include "search/move_code.h"

namespace qorvale::search {

namespace {

constexpr std::int64_t ProgressEvery = 1000;
constexpr std::uint64_t OffsetLimit = std::numeric_limits<std::uint32_t>::max();

// One game as the games file and the position file need it.
struct GameSpan {
    std::array<std::string_view, HeaderFieldCount> header;
    std::uint32_t header_offset = 0;
    std::uint16_t header_length = 0;
    std::uint32_t moves_offset = 0;
    std::span<const MoveCode> codes;
};

std::string_view Field(const GameSpan& game, HeaderField field) {
    return game.header[static_cast<std::size_t>(field)];
}

// Builds the games file in memory and links each record into the chains of its two keys.
class ChainBuilder {
  public:
    ChainBuilder(DbRootTable& root, std::vector<std::uint8_t>& games)
        : root_(root), games_(games) {}

    void Append(const GameSpan& game) {
        const DbNameKey white = MakeDbNameKey(Field(game, HeaderField::White), DbKeyMode::Build);
        const DbNameKey black = MakeDbNameKey(Field(game, HeaderField::Black), DbKeyMode::Build);
        DbGameRecord record;
        record.white_key = white.index;
        record.black_key = black.index;
        record.header_offset = game.header_offset;
        record.moves_offset = game.moves_offset;
        record.header_length = game.header_length;
        record.moves_length = static_cast<std::uint16_t>((game.codes.size() + 1) * 2);
        record.year = DbYear(Field(game, HeaderField::Date));
        record.result_eco =
            static_cast<std::uint16_t>((DbResultBits(Field(game, HeaderField::Result)) << 12) |
                                       DbEcoBits(Field(game, HeaderField::Eco)));
        record.white_text = white.text;
        record.black_text = black.text;
        const auto at = static_cast<std::uint32_t>(games_.size());
        Link(white.index, at);
        if (black.index != white.index) Link(black.index, at);
        games_.resize(games_.size() + DbRecordSize);
        record.Encode(games_.data() + at);
    }

    bool RootError() const { return root_error_; }

  private:
    void Link(std::uint32_t key, std::uint32_t at) {
        if (root_.first[key] == DbEmptyChain) {
            root_.first[key] = at;
        } else {
            const std::uint32_t last = root_.last[key];
            if (last % DbRecordSize != 0 || std::size_t{last} + DbRecordSize > games_.size()) {
                root_error_ = true;
            } else {
                std::uint8_t* previous = games_.data() + last;
                bool linked = false;
                if (GetU32(previous) == key) {
                    PutU32(previous + 8, at);
                    linked = true;
                }
                if (GetU32(previous + 4) == key) {
                    PutU32(previous + 12, at);
                    linked = true;
                }
                root_error_ = root_error_ || !linked;
            }
        }
        root_.last[key] = at;
    }

    DbRootTable& root_;
    std::vector<std::uint8_t>& games_;
    bool root_error_ = false;
};

// The position record of one game: u16 2n, then the sorted hashes of its n positions. The codes
// are played one at a time on one board, the hash taken after each.
void AppendPositionRecord(std::span<const MoveCode> codes, std::vector<std::uint16_t>& hashes,
                          std::vector<std::uint8_t>& out) {
    chess::Board64 board;
    chess::Board64 start;
    chess::SetStartBoard64(board, start);
    hashes.resize(codes.size());
    for (std::size_t n = 0; n < codes.size(); ++n) {
        PlayMoveCode(board, codes[n], n % 2 == 0);
        hashes[n] = PositionHash(board);
    }
    std::sort(hashes.begin(), hashes.end());
    const std::size_t at = out.size();
    out.resize(at + 2 * (codes.size() + 1));
    std::uint8_t* record = out.data() + at;
    PutU16(record, static_cast<std::uint16_t>(2 * codes.size()));
    for (std::size_t n = 0; n < hashes.size(); ++n) PutU16(record + 2 * (n + 1), hashes[n]);
}

// The games of a move file, mapped whole: each record's codes, by bit 15.
struct MoveRecords {
    platform::MappedFile file;
    std::span<const std::uint8_t> bytes;
    std::vector<MoveCode> codes;           // every game's codes, one after another
    std::vector<std::size_t> code_starts;  // per game, then one past the last
    std::vector<std::uint32_t> offsets;    // per game, its byte offset in the file
    std::size_t end_mark = 0;              // byte offset of the end mark
};

// Reads a move file; false when it cannot be read or has no end mark after whole records.
bool ReadMoveRecords(const std::string& path, MoveRecords& records) {
    if (!records.file.Open(path) || records.file.Size() < 2) return false;
    records.bytes = records.file.Bytes();
    records.codes.reserve(records.bytes.size() / 2);
    records.code_starts.push_back(0);
    std::size_t at = 0;
    std::uint32_t record_start = 0;
    while (at + 2 <= records.bytes.size()) {
        const std::uint16_t word = GetU16(records.bytes.data() + at);
        if (word == EndMark && records.codes.size() == records.code_starts.back()) {
            records.end_mark = at;
            return true;
        }
        at += 2;
        if (IsResultWord(word)) {
            records.offsets.push_back(record_start);
            records.code_starts.push_back(records.codes.size());
            record_start = static_cast<std::uint32_t>(at);
        } else {
            records.codes.push_back(word);
        }
    }
    return false;
}

// A header file (the fast file's or the database's), mapped whole, and where each record starts.
struct HeaderRecords {
    platform::MappedFile file;
    std::span<const std::uint8_t> bytes;
    std::uint32_t stored_count = 0;
    std::vector<std::size_t> offsets;

    // False when the file cannot be read or its records do not fill it as its count says.
    bool Read(const std::string& path) {
        if (!file.Open(path) || file.Size() < 4) return false;
        bytes = file.Bytes();
        stored_count = GetU32(bytes.data());
        std::size_t cursor = 4;
        while (cursor < bytes.size()) {
            offsets.push_back(cursor);
            for (int field = 0; field < HeaderFieldCount; ++field) {
                if (cursor >= bytes.size()) return false;
                cursor += 1 + bytes[cursor];
            }
            if (cursor > bytes.size()) return false;
        }
        return offsets.size() == stored_count;
    }

    // Record `game`'s ten values as views; its length.
    std::size_t View(std::size_t game,
                     std::array<std::string_view, HeaderFieldCount>& values) const {
        std::size_t cursor = offsets[game];
        for (std::string_view& value : values) {
            const std::size_t length = bytes[cursor];
            value =
                std::string_view(reinterpret_cast<const char*>(bytes.data()) + cursor + 1, length);
            cursor += 1 + length;
        }
        return cursor - offsets[game];
    }
};

bool WriteSpan(platform::StagedFile& target, std::span<const std::uint8_t> bytes) {
    return target.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

std::span<const MoveCode> CodesOf(const MoveRecords& records, std::size_t game) {
    return std::span<const MoveCode>(records.codes)
        .subspan(records.code_starts[game],
                 records.code_starts[game + 1] - records.code_starts[game]);
}

// Copies the first `length` bytes of `path` into `target`; false when they cannot all be read
// or written.
bool CopyPrefix(const std::string& path, std::int64_t length, platform::StagedFile& target) {
    platform::File source = platform::File::Open(path, platform::File::Mode::Read);
    if (!source.IsOpen()) return false;
    std::vector<std::uint8_t> block(std::size_t{1} << 20);
    while (length > 0) {
        const std::int64_t want =
            std::min<std::int64_t>(length, static_cast<std::int64_t>(block.size()));
        const std::int64_t got = source.Read(block.data(), want);
        if (got <= 0 || !target.Write(block.data(), got)) return false;
        length -= got;
    }
    return true;
}

bool WriteBytes(platform::StagedFile& target, const std::vector<std::uint8_t>& bytes) {
    return target.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

DbBuildOutcome Failed(Error error) {
    DbBuildOutcome outcome;
    outcome.message = error.message();
    outcome.error = std::move(error);
    return outcome;
}

void Progress(const GenerationControl& control, std::int64_t index, std::int64_t total) {
    if (index % ProgressEvery == 0 && control.progress) control.progress(index, total);
    if (control.refuse_cancel) control.refuse_cancel(messages::CannotCancelDatabase);
}

// Walks the header records from `offsets` and the move records in step, appending each game's
// record to `chains` (and its position record to `positions`, when given).
void BuildGames(const HeaderRecords& header, std::uint32_t header_base, const MoveRecords& moves,
                std::uint32_t moves_base, ChainBuilder& chains,
                std::vector<std::uint8_t>* positions, const GenerationControl& control) {
    std::vector<std::uint16_t> hashes;
    const std::int64_t total = static_cast<std::int64_t>(header.offsets.size());
    for (std::size_t game = 0; game < header.offsets.size(); ++game) {
        Progress(control, static_cast<std::int64_t>(game), total);
        GameSpan span;
        span.header_length = static_cast<std::uint16_t>(header.View(game, span.header));
        span.header_offset = header_base + static_cast<std::uint32_t>(header.offsets[game] - 4);
        span.moves_offset = moves_base + moves.offsets[game];
        span.codes = CodesOf(moves, game);
        chains.Append(span);
        if (positions != nullptr) AppendPositionRecord(span.codes, hashes, *positions);
    }
}

DbBuildOutcome Completed(const DbBuildRequest& request, std::int64_t games, bool root_error) {
    DbBuildOutcome outcome;
    outcome.games = games;
    outcome.root_error = root_error;
    outcome.message = root_error ? std::string(messages::RootError)
                      : request.mode == DbBuildMode::Remake
                          ? std::string(messages::DatabaseRemakeComplete)
                          : std::string(messages::DatabaseComplete);
    return outcome;
}

void DeleteTrees(const DatabaseNames& names, platform::FileSystem& file_system) {
    file_system.Delete(names.tre);
    file_system.Delete(names.trx);
}

// The database's own header and moves files, read for a remake or a deletion.
struct DatabaseContents {
    HeaderRecords header;
    MoveRecords moves;
};

Error ReadDatabaseContents(const DatabaseNames& names, DatabaseContents& contents) {
    if (!platform::FileExists(names.dbh) || !platform::FileExists(names.dbm)) {
        return DbFileError(1);
    }
    if (!contents.header.Read(names.dbh) || !ReadMoveRecords(names.dbm, contents.moves) ||
        contents.moves.offsets.size() != contents.header.offsets.size()) {
        return DbFileError(2);
    }
    return Error::Ok();
}

DbBuildOutcome Remake(const DbBuildRequest& request, const GenerationControl& control,
                      platform::FileSystem& file_system) {
    const DatabaseNames names = DatabaseNamesOf(request.db_path);
    DatabaseContents contents;
    if (Error error = ReadDatabaseContents(names, contents)) return Failed(error);
    DbRootTable root;
    std::vector<std::uint8_t> games;
    games.reserve(contents.header.offsets.size() * DbRecordSize);
    ChainBuilder chains(root, games);
    BuildGames(contents.header, 4, contents.moves, 0, chains, nullptr, control);
    std::vector<std::uint8_t> root_bytes;
    root.Encode(root_bytes);
    DatabaseStage stage(file_system, names);
    if (!WriteBytes(stage.Stage(DbFile::Games), games) ||
        !WriteBytes(stage.Stage(DbFile::Root), root_bytes)) {
        return Failed(DbFileError(3));
    }
    if (Error error = stage.Commit()) return Failed(error);
    file_system.Delete(names.dbs);
    DeleteTrees(names, file_system);
    return Completed(request, static_cast<std::int64_t>(contents.header.offsets.size()),
                     chains.RootError());
}

DbBuildOutcome BuildFromFastFile(const DbBuildRequest& request, const GenerationControl& control,
                                 platform::FileSystem& file_system) {
    const DatabaseNames names = DatabaseNamesOf(request.db_path);
    const FastFileNames fast = FastFileNamesOf(request.pgn_path);
    if (!platform::FileExists(fast.trh) || !platform::FileExists(fast.trf)) {
        return Failed(DbFileError(1));
    }
    HeaderRecords header;
    MoveRecords moves;
    if (!header.Read(fast.trh) || !ReadMoveRecords(fast.trf, moves) ||
        moves.offsets.size() != header.offsets.size()) {
        return Failed(DbFileError(2));
    }
    const bool add = request.mode == DbBuildMode::Add;

    DbRootTable root;
    std::vector<std::uint8_t> games;
    std::uint32_t old_count = 0;
    std::int64_t old_header_size = 4;
    std::int64_t old_moves_size = 2;
    std::int64_t old_positions_size = 0;
    if (add) {
        platform::File root_file = platform::File::Open(names.dbr, platform::File::Mode::Read);
        if (!root_file.IsOpen()) return Failed(DbFileError(1));
        std::vector<std::uint8_t> root_bytes(DbRootTableBytes);
        if (root_file.Read(root_bytes.data(), static_cast<std::int64_t>(root_bytes.size())) !=
                static_cast<std::int64_t>(root_bytes.size()) ||
            !root.Decode(root_bytes)) {
            return Failed(DbFileError(2));
        }
        platform::File games_file = platform::File::Open(names.dbg, platform::File::Mode::Read);
        platform::File header_file = platform::File::Open(names.dbh, platform::File::Mode::Read);
        if (!games_file.IsOpen() || !header_file.IsOpen()) return Failed(DbFileError(1));
        const std::int64_t games_size = games_file.Size();
        std::uint8_t count[4];
        if (games_size < 0 || games_size % DbRecordSize != 0 || header_file.Read(count, 4) != 4) {
            return Failed(DbFileError(2));
        }
        old_count = GetU32(count);
        games.resize(static_cast<std::size_t>(games_size));
        if (games_size > 0 && games_file.Read(games.data(), games_size) != games_size) {
            return Failed(DbFileError(2));
        }
        old_header_size = header_file.Size();
        old_moves_size = platform::FileSize(names.dbm);
        old_positions_size = platform::FileSize(names.dbp);
        // Adding to a database whose files disagree would link the new games to the wrong ones.
        if (old_count != games.size() / DbRecordSize || old_moves_size < 2 ||
            old_positions_size != old_moves_size - 2) {
            return Failed(DbFileError(2));
        }
    }
    const std::uint64_t new_count = std::uint64_t{old_count} + header.offsets.size();
    if (std::uint64_t(old_header_size) + header.bytes.size() > OffsetLimit ||
        std::uint64_t(old_moves_size) + moves.bytes.size() > OffsetLimit ||
        new_count * DbRecordSize > OffsetLimit) {
        return Failed(DbFileError(3));
    }

    games.reserve(static_cast<std::size_t>(new_count * DbRecordSize));
    std::vector<std::uint8_t> positions;
    positions.reserve(moves.bytes.size());
    ChainBuilder chains(root, games);
    BuildGames(header, static_cast<std::uint32_t>(old_header_size), moves,
               static_cast<std::uint32_t>(old_moves_size - 2), chains, &positions, control);
    std::vector<std::uint8_t> root_bytes;
    root.Encode(root_bytes);

    DatabaseStage stage(file_system, names);
    platform::StagedFile& header_stage = stage.Stage(DbFile::Header);
    platform::StagedFile& moves_stage = stage.Stage(DbFile::Moves);
    platform::StagedFile& positions_stage = stage.Stage(DbFile::Positions);
    bool written = true;
    if (add) {
        std::uint8_t count[4];
        PutU32(count, static_cast<std::uint32_t>(new_count));
        written = header_stage.Write(count, 4);
        // The old header records, without the old count.
        platform::File old = platform::File::Open(names.dbh, platform::File::Mode::Read);
        written = written && old.Seek(4);
        std::vector<std::uint8_t> block(std::size_t{1} << 20);
        for (std::int64_t left = old_header_size - 4; written && left > 0;) {
            const std::int64_t got =
                old.Read(block.data(),
                         std::min<std::int64_t>(left, static_cast<std::int64_t>(block.size())));
            written = got > 0 && header_stage.Write(block.data(), got);
            left -= got;
        }
        written = written && WriteSpan(header_stage, header.bytes.subspan(4)) &&
                  CopyPrefix(names.dbm, old_moves_size - 2, moves_stage) &&
                  CopyPrefix(names.dbp, old_positions_size, positions_stage);
    } else {
        written = WriteSpan(header_stage, header.bytes);
    }
    written = written && WriteSpan(moves_stage, moves.bytes) &&
              WriteBytes(positions_stage, positions) &&
              WriteBytes(stage.Stage(DbFile::Games), games) &&
              WriteBytes(stage.Stage(DbFile::Root), root_bytes);
    if (!written) return Failed(DbFileError(3));
    if (Error error = stage.Commit()) return Failed(error);
    // The saved results named games of the database that was replaced.
    if (!add) file_system.Delete(names.dbs);
    DeleteTrees(names, file_system);
    return Completed(request, static_cast<std::int64_t>(new_count), chains.RootError());
}

}  // namespace

DbBuildPlan PlanDatabaseBuild(const DbBuildRequest& request, Ui& ui) {
    DbBuildPlan plan;
    if (request.mode == DbBuildMode::Remake) {
        plan.go = true;
        return plan;
    }
    const FastFileNames fast = FastFileNamesOf(request.pgn_path);
    if (!platform::FileExists(fast.trf) || !platform::FileExists(fast.trh)) {
        if (!ui.ask(messages::MakeFastFileFirst)) return plan;
        plan.make_fast_file = true;
    } else {
        platform::File header = platform::File::Open(fast.trh, platform::File::Mode::Read);
        std::uint8_t count[4];
        const bool current = header.IsOpen() && header.Read(count, 4) == 4 &&
                             GetU32(count) == static_cast<std::uint32_t>(request.game_count);
        if (!current) {
            if (!ui.ask(messages::MakeFastFileAgainQuestion)) return plan;
            plan.make_fast_file = true;
        }
    }
    const bool exists = platform::FileExists(request.db_path);
    if (request.mode == DbBuildMode::StartNew) {
        if (!ui.ask(exists ? messages::DatabaseExists : messages::AreYouSure)) return plan;
    } else if (exists && !ui.ask(messages::AreYouSure)) {
        return plan;
    }
    plan.go = true;
    return plan;
}

DbBuildOutcome MakeDatabase(const DbBuildRequest& request, const GenerationControl& control,
                            platform::FileSystem& file_system) {
    try {
        RecoverDatabase(DatabaseNamesOf(request.db_path), file_system);
        if (request.mode == DbBuildMode::Remake) return Remake(request, control, file_system);
        return BuildFromFastFile(request, control, file_system);
    } catch (const std::bad_alloc&) {
        return Failed(Error(std::string(messages::MemoryAllocationError)));
    } catch (const std::length_error&) {
        return Failed(Error(std::string(messages::MemoryAllocationError)));
    }
}

DbBuildOutcome DeleteDatabaseGames(const std::string& db_path,
                                   std::span<const std::int32_t> game_numbers,
                                   platform::FileSystem& file_system) {
    try {
        const DatabaseNames names = DatabaseNamesOf(db_path);
        RecoverDatabase(names, file_system);
        DatabaseContents contents;
        if (Error error = ReadDatabaseContents(names, contents)) return Failed(error);
        platform::MappedFile positions_file;
        if (!positions_file.Open(names.dbp)) return Failed(DbFileError(1));
        const std::span<const std::uint8_t> old_positions = positions_file.Bytes();
        if (old_positions.size() + 2 != contents.moves.bytes.size()) return Failed(DbFileError(2));

        std::vector<bool> deleted(contents.header.offsets.size(), false);
        for (std::int32_t number : game_numbers) {
            if (number >= 1 && static_cast<std::size_t>(number) <= deleted.size()) {
                deleted[static_cast<std::size_t>(number - 1)] = true;
            }
        }
        // The kept records, copied into new header, moves and position files, and the games
        // file built from them as a remake would.
        std::vector<std::uint8_t> header_bytes(4, 0);
        std::vector<std::uint8_t> moves_bytes;
        std::vector<std::uint8_t> position_bytes;
        DbRootTable root;
        std::vector<std::uint8_t> games;
        ChainBuilder chains(root, games);
        const std::span<const std::uint8_t> old_header = contents.header.bytes;
        std::uint32_t kept = 0;
        for (std::size_t game = 0; game < deleted.size(); ++game) {
            if (deleted[game]) continue;
            ++kept;
            GameSpan span;
            const std::size_t length = contents.header.View(game, span.header);
            span.header_offset = static_cast<std::uint32_t>(header_bytes.size());
            span.header_length = static_cast<std::uint16_t>(length);
            const auto header_start =
                old_header.begin() + static_cast<std::ptrdiff_t>(contents.header.offsets[game]);
            header_bytes.insert(header_bytes.end(), header_start,
                                header_start + static_cast<std::ptrdiff_t>(length));
            const std::size_t from = contents.moves.offsets[game];
            const std::size_t to = game + 1 < contents.moves.offsets.size()
                                       ? contents.moves.offsets[game + 1]
                                       : contents.moves.end_mark;
            span.moves_offset = static_cast<std::uint32_t>(moves_bytes.size());
            span.codes = CodesOf(contents.moves, game);
            moves_bytes.insert(moves_bytes.end(),
                               contents.moves.bytes.begin() + static_cast<std::ptrdiff_t>(from),
                               contents.moves.bytes.begin() + static_cast<std::ptrdiff_t>(to));
            position_bytes.insert(position_bytes.end(),
                                  old_positions.begin() + static_cast<std::ptrdiff_t>(from),
                                  old_positions.begin() + static_cast<std::ptrdiff_t>(to));
            chains.Append(span);
        }
        PutU32(header_bytes.data(), kept);
        AppendU16(moves_bytes, EndMark);
        std::vector<std::uint8_t> root_bytes;
        root.Encode(root_bytes);

        DatabaseStage stage(file_system, names);
        if (!WriteBytes(stage.Stage(DbFile::Header), header_bytes) ||
            !WriteBytes(stage.Stage(DbFile::Moves), moves_bytes) ||
            !WriteBytes(stage.Stage(DbFile::Positions), position_bytes) ||
            !WriteBytes(stage.Stage(DbFile::Games), games) ||
            !WriteBytes(stage.Stage(DbFile::Root), root_bytes)) {
            return Failed(DbFileError(3));
        }
        if (Error error = stage.Commit()) return Failed(error);
        file_system.Delete(names.dbs);
        DeleteTrees(names, file_system);
        DbBuildRequest request;
        request.mode = DbBuildMode::Remake;
        return Completed(request, kept, chains.RootError());
    } catch (const std::bad_alloc&) {
        return Failed(Error(std::string(messages::MemoryAllocationError)));
    }
}

}  // namespace qorvale::search
