#include "openings/tree_source.h"

#include <memory>
#include <new>

#include "base/bytes.h"
#include "chess/notation.h"
#include "openings/messages.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"

namespace qorvale::openings {

namespace {

// Stamp kinds: how the source was read.
enum StampKind : std::uint32_t {
    StampFastFile = 1,
    StampPgnText = 2,
    StampMergeFile = 3,
    StampDatabase = 4,
    StampEcoTable = 5,
};

std::uint64_t SizeOf(const std::string& path) {
    std::int64_t size = platform::FileSize(path);
    return size < 0 ? 0 : static_cast<std::uint64_t>(size);
}

// The game count a header file (fast file's or database's) begins with; all bits set when it
// cannot be read.
std::uint32_t StoredCount(const std::string& header_path) {
    std::string bytes;
    if (!platform::ReadFileContent(header_path, bytes, 4) || bytes.size() < 4) return 0xFFFFFFFF;
    return GetU32(reinterpret_cast<const std::uint8_t*>(bytes.data()));
}

Error Failure(std::string_view message) { return Error(std::string(message)); }

}  // namespace

std::string TreeFilePathOf(std::string_view source_path, bool exact) {
    return search::DerivedPath(source_path, exact ? "TRX" : "TRE");
}

void DeleteTreesOf(std::string_view source_path, platform::FileSystem& files) {
    DeleteTreeFiles(TreeFilePathOf(source_path, false), files);
    DeleteTreeFiles(TreeFilePathOf(source_path, true), files);
}

void DeleteEcoTrees(std::string_view program_folder, platform::FileSystem& files) {
    DeleteTreeFiles(platform::JoinPath(program_folder, EcoTreeFileName), files);
    DeleteTreeFiles(platform::JoinPath(program_folder, EcoExactTreeFileName), files);
}

std::vector<std::uint8_t> EcoTableRecords(const EcoTable& table) {
    std::vector<std::uint8_t> bytes;
    LinePosition line;
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        line.Reset();
        for (std::string_view move : chess::SplitLineMoves(table.Moves(entry))) {
            if (!line.PlayText(move)) break;
        }
        // A line whose first move cannot be played is still a game, with no moves: its result
        // word alone, as the fast file writes such a game.
        for (search::MoveCode code : line.Codes()) AppendU16(bytes, code);
        AppendU16(bytes, search::MakeResultWord(search::OtherResult));
    }
    AppendU16(bytes, search::EndMark);
    return bytes;
}

TreeSource::TreeSource(Key, TreeSourceRequest request) : request_(std::move(request)) {}

TreeSource::~TreeSource() = default;

Result<std::unique_ptr<TreeSource>> TreeSource::Open(TreeSourceRequest request) {
    auto source = std::make_unique<TreeSource>(Key{}, std::move(request));
    const TreeSourceRequest& r = source->request_;
    switch (r.kind) {
        case TreeSourceKind::PgnFile:
            source->reads_text_ =
                !r.use_fast_file || !platform::FileExists(search::FastFileNamesOf(r.path).trf);
            if (source->reads_text_ && !platform::FileExists(r.path)) {
                return Failure(messages::ErrorOpeningFile);
            }
            break;
        case TreeSourceKind::MergeFile:
            if (!platform::FileExists(r.path)) return Failure(messages::ErrorOpeningTreeMergeFile);
            break;
        case TreeSourceKind::Database:
            if (!platform::FileExists(source->StreamPath())) {
                return Failure(messages::ErrorOpeningDatabase);
            }
            break;
        case TreeSourceKind::EcoTable:
            if (r.eco_table == nullptr) return Failure(messages::EcoTableCorruption);
            break;
    }
    return source;
}

std::string TreeSource::StreamPath() const {
    switch (request_.kind) {
        case TreeSourceKind::PgnFile:
            return search::FastFileNamesOf(request_.path).trf;
        case TreeSourceKind::MergeFile:
            return request_.path;
        case TreeSourceKind::Database:
            return search::DerivedPath(request_.path, "DBM");
        case TreeSourceKind::EcoTable:
            break;
    }
    return {};
}

std::string TreeSource::TreeFilePath(bool exact) const {
    if (request_.kind == TreeSourceKind::EcoTable) {
        return platform::JoinPath(request_.path, exact ? EcoExactTreeFileName : EcoTreeFileName);
    }
    return TreeFilePathOf(request_.path, exact);
}

SourceStamp TreeSource::Stamp() const {
    SourceStamp stamp;
    // The file whose change makes the tree stale: its size, and its last change, which also
    // catches an edit that kept the size.
    std::string data;
    switch (request_.kind) {
        case TreeSourceKind::PgnFile:
            if (reads_text_) {
                stamp = {StampPgnText, 0, static_cast<std::uint32_t>(request_.game_count)};
                data = request_.path;
            } else {
                stamp = {StampFastFile, 0, StoredCount(search::FastFileNamesOf(request_.path).trh)};
                data = StreamPath();
            }
            break;
        case TreeSourceKind::MergeFile:
            stamp = {StampMergeFile, 0, 0};
            data = StreamPath();
            break;
        case TreeSourceKind::Database:
            stamp = {StampDatabase, 0, StoredCount(search::DerivedPath(request_.path, "DBH"))};
            data = StreamPath();
            break;
        case TreeSourceKind::EcoTable: {
            const EcoTableFiles files = EcoTableFilesIn(request_.path);
            stamp = {StampEcoTable, SizeOf(files.codes),
                     static_cast<std::uint32_t>(request_.eco_table->count())};
            data = files.moves;
            break;
        }
    }
    stamp.size += SizeOf(data);
    stamp.modified = platform::FileModifiedTime(data);
    return stamp;
}

std::int32_t TreeSource::GameCount() {
    switch (request_.kind) {
        case TreeSourceKind::PgnFile:
            return request_.game_count;
        case TreeSourceKind::Database:
            return static_cast<std::int32_t>(
                StoredCount(search::DerivedPath(request_.path, "DBH")));
        case TreeSourceKind::EcoTable:
            return request_.eco_table->count();
        case TreeSourceKind::MergeFile:
            break;
    }
    if (stream_games_ < 0) {
        if (LoadStream()) return 0;
        stream_games_ = 0;
        RecordView record;
        if (stream_->Rewind()) {
            while (stream_->Next(record) == MoveStream::Step::Record) ++stream_games_;
        }
    }
    return stream_games_;
}

Error TreeSource::LoadStream() {
    if (stream_ && stream_->Rewind()) return Error::Ok();
    stream_.reset();
    if (request_.kind == TreeSourceKind::EcoTable) {
        try {
            stream_.emplace(MoveStream::FromBytes(EcoTableRecords(*request_.eco_table)));
        } catch (const std::bad_alloc&) {
            return Failure(messages::NotEnoughMemory);
        }
        return Error::Ok();
    }
    Result<MoveStream> opened = MoveStream::OpenFile(StreamPath());
    if (!opened) {
        if (opened.error().message() == messages::NotEnoughMemory) return opened.error();
        switch (request_.kind) {
            case TreeSourceKind::MergeFile:
                return Failure(messages::ErrorOpeningTreeMergeFile);
            case TreeSourceKind::Database:
                return Failure(messages::ErrorOpeningDatabase);
            case TreeSourceKind::PgnFile:
            case TreeSourceKind::EcoTable:
                return opened.error();
        }
    }
    stream_.emplace(std::move(opened).value());
    return Error::Ok();
}

Error TreeSource::ScanStream(NextMoveScan& scan, Ui& ui) {
    if (Error error = LoadStream()) return error;
    RecordView record;
    std::int32_t game_number = 0;
    MoveStream::Step step;
    while ((step = stream_->Next(record)) == MoveStream::Step::Record) {
        ++game_number;
        // A game without moves has the single code of 1.d4 in the stream, which cannot tell it
        // from a game of that one move: both count as 1.d4.
        if (!scan.Offer(record.bytes, record.count, search::ResultOf(record.result), game_number)) {
            return Error::Ok();
        }
    }
    // Walked to the end (or to damage): now the stream's game count is known.
    const bool damaged = step == MoveStream::Step::Damaged;
    if (!damaged) stream_games_ = game_number;
    if (request_.kind == TreeSourceKind::PgnFile && !warned_ &&
        (damaged || game_number != request_.game_count)) {
        warned_ = true;
        ui.report(messages::MakeFastFileAgain);
    }
    return Error::Ok();
}

Error TreeSource::ScanText(NextMoveScan& scan, std::int32_t first_game) {
    search::PgnGameSource games(request_.path, request_.offsets);
    if (Error error = games.Open()) return Failure(messages::ErrorOpeningFile);
    search::FastFileGame game;
    std::vector<std::uint8_t> bytes;
    const std::int32_t count = std::min<std::int32_t>(
        request_.game_count, static_cast<std::int32_t>(request_.offsets.size()));
    for (std::int32_t index = std::max(first_game, 0); index < count; ++index) {
        if (cancelled_ && cancelled_()) break;
        if (!games.ReadGame(index, false, game)) break;
        // A game that starts from a set-up position cannot be placed in a tree from the start.
        if (game.has_fen) {
            fen_seen_ = true;
            continue;
        }
        bytes.clear();
        for (search::MoveCode code : game.codes) AppendU16(bytes, code);
        if (!scan.Offer(bytes.data(), game.codes.size(), game.result, index + 1)) break;
    }
    return Error::Ok();
}

Error TreeSource::Scan(NextMoveScan& scan, std::int32_t first_game, Ui& ui) {
    try {
        return reads_text_ ? ScanText(scan, first_game) : ScanStream(scan, ui);
    } catch (const std::bad_alloc&) {
        return Failure(messages::NotEnoughMemory);
    }
}

}  // namespace qorvale::openings
