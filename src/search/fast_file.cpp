#include "search/fast_file.h"

#include <algorithm>
#include <memory>
#include <new>

#include "base/bytes.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "search/block_writer.h"
#include "search/fast_file_reader.h"
#include "search/messages.h"

namespace qorvale::search {

namespace {

// The move file of a fix is rebuilt here, in the folder of the file it replaces.
constexpr std::string_view FixTempName = "tempqqqd.xyz";

// A game without moves is its result word alone: a code of its own would be read back as a
// move by every search.
void PutRecord(BlockWriter& writer, const FastFileGame& game) {
    if (!game.codes.empty()) {
        writer.PutU16s(game.codes.data(), std::min<std::size_t>(game.codes.size(), MaxRecordCodes));
    }
    writer.PutU16(MakeResultWord(game.result));
}

void PutRecord(BlockWriter& writer, const GameRecord& record) {
    for (MoveCode code : record.codes) writer.PutU16(code);
    writer.PutU16(record.result);
}

void ReportProgress(const GenerationControl& control, std::int64_t index, std::int64_t total) {
    if (control.progress) control.progress(index, total);
}

void RefuseCancel(const GenerationControl& control, std::string_view message) {
    if (control.refuse_cancel) control.refuse_cancel(message);
}

std::vector<std::int32_t> SortedUnique(std::span<const std::int32_t> games) {
    std::vector<std::int32_t> sorted(games.begin(), games.end());
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

bool IsDeleted(const std::vector<std::int32_t>& sorted, std::int32_t game_number) {
    return std::binary_search(sorted.begin(), sorted.end(), game_number);
}

Error Fail(Ui& ui, std::string_view message) {
    ui.report(message);
    return Error(std::string(message));
}

}  // namespace

std::string DerivedPath(std::string_view path, std::string_view extension) {
    std::string derived(path.substr(0, path.size() >= 3 ? path.size() - 3 : 0));
    derived += extension;
    return derived;
}

FastFileNames FastFileNamesOf(std::string_view pgn_path) {
    return {DerivedPath(pgn_path, "TRF"), DerivedPath(pgn_path, "TRH"),
            DerivedPath(pgn_path, "TRE"), DerivedPath(pgn_path, "TRX")};
}

std::int32_t CountMoveRecords(const std::string& move_file_path) {
    Result<FastFileReader> reader = FastFileReader::Open(move_file_path);
    if (!reader) return -1;
    GameRecord record;
    std::int32_t count = 0;
    while (count < MaxFastFileGames) {
        FastFileReader::Step step = reader->Next(record);
        if (step == FastFileReader::Step::End) break;
        if (step == FastFileReader::Step::Damaged) return -1;
        ++count;
    }
    return count;
}

FastFileState FastFileStateOf(const std::string& pgn_path, std::int32_t game_count) {
    FastFileNames names = FastFileNamesOf(pgn_path);
    if (!platform::FileExists(names.trf)) return FastFileState::Missing;
    Result<HeaderFile> header = HeaderFile::Load(names.trh);
    if (!header || !header->Consistent(static_cast<std::uint32_t>(game_count))) {
        return FastFileState::Stale;
    }
    return CountMoveRecords(names.trf) == game_count ? FastFileState::Current
                                                     : FastFileState::Stale;
}

FastFileState CheckFastFile(const std::string& pgn_path, std::int32_t game_count, Ui& ui) {
    FastFileNames names = FastFileNamesOf(pgn_path);
    std::uint32_t expected = static_cast<std::uint32_t>(game_count);
    if (platform::FileExists(names.trh)) {
        Result<HeaderFile> header = HeaderFile::Load(names.trh);
        bool stale = false;
        if (header) {
            stale = !header->Consistent(expected);
        } else if (header.error().message() == messages::NotEnoughMemory) {
            // Only the count can be compared without the whole file.
            platform::File file = platform::File::Open(names.trh, platform::File::Mode::Read);
            std::uint8_t count[4];
            stale = !file.IsOpen() || file.Read(count, 4) != 4 || GetU32(count) != expected;
            if (!stale) ui.report(messages::ErrorGettingMemory);
        } else {
            stale = true;
        }
        if (stale) {
            ui.report(messages::MakeFastFileAgain);
            return FastFileState::Stale;
        }
    }
    if (!platform::FileExists(names.trf)) {
        ui.report(messages::FastFileMissing);
        return FastFileState::Missing;
    }
    if (CountMoveRecords(names.trf) != game_count) {
        ui.report(messages::MakeFastFileAgain);
        return FastFileState::Stale;
    }
    ui.report(messages::FastFileOk);
    return FastFileState::Current;
}

bool DeleteFastFile(const std::string& pgn_path, Ui& ui) {
    FastFileNames names = FastFileNamesOf(pgn_path);
    if (!platform::FileExists(names.trf)) {
        ui.report(messages::FastFileMissing);
        return false;
    }
    if (!ui.ask(messages::ConfirmDelete)) return false;
    platform::DeleteFile(names.trf);
    platform::DeleteFile(names.trh);
    ui.report(messages::FastFileDeleted);
    return true;
}

Error FixMoveFile(const std::string& move_file_path, std::span<const std::int32_t> deleted_games,
                  Ui& ui, platform::FileSystem& file_system) {
    if (!platform::FileExists(move_file_path)) return Error::Ok();
    std::vector<std::int32_t> deleted = SortedUnique(deleted_games);
    Result<FastFileReader> reader =
        FastFileReader::Open(move_file_path, FastFileReader::Mode::WholeOrWindow);
    if (!reader) return Fail(ui, reader.error().message());
    std::string temp_path = platform::JoinPath(platform::FolderOf(move_file_path), FixTempName);
    platform::File temp = file_system.Create(temp_path);
    if (!temp.IsOpen()) return Fail(ui, messages::ErrorCreatingTempFile);
    bool written = false;
    {
        BlockWriter writer(file_system, temp);
        GameRecord record;
        std::int32_t game_number = 0;
        FastFileReader::Step step;
        while ((step = reader->Next(record)) == FastFileReader::Step::Record) {
            ++game_number;
            if (!IsDeleted(deleted, game_number)) PutRecord(writer, record);
            if (writer.Failed()) break;
        }
        if (step == FastFileReader::Step::Damaged) {
            temp.Close();
            file_system.Delete(temp_path);
            return Fail(ui, messages::MakeFastFileAgain);
        }
        writer.PutU16(EndMark);
        written = writer.Finish();
    }
    temp.Close();
    // The old move file is replaced only by a complete new one.
    if (!written || !file_system.Rename(temp_path, move_file_path)) {
        file_system.Delete(temp_path);
        return Fail(ui, messages::ErrorCreatingTempFile);
    }
    file_system.Delete(DerivedPath(move_file_path, "TRE"));
    file_system.Delete(DerivedPath(move_file_path, "TRX"));
    return Error::Ok();
}

Error FixFastFile(const std::string& pgn_path, std::span<const std::int32_t> deleted_games, Ui& ui,
                  platform::FileSystem& file_system) {
    FastFileNames names = FastFileNamesOf(pgn_path);
    if (!platform::FileExists(names.trf)) return Error::Ok();
    if (Error error = FixMoveFile(names.trf, deleted_games, ui, file_system)) return error;

    Result<HeaderFile> header = HeaderFile::Load(names.trh);
    if (!header) return Fail(ui, messages::ErrorFixingFastFile);
    std::vector<std::size_t> offsets = header->RecordOffsets();
    if (offsets.size() != header->StoredCount()) return Fail(ui, messages::ErrorFixingFastFile);
    std::vector<std::int32_t> deleted = SortedUnique(deleted_games);
    std::vector<std::uint8_t> kept;
    std::uint32_t kept_count = 0;
    try {
        kept.reserve(header->Bytes().size());
        AppendU32(kept, 0);
        for (std::size_t record = 0; record < offsets.size(); ++record) {
            if (IsDeleted(deleted, static_cast<std::int32_t>(record + 1))) continue;
            const std::uint8_t* start = header->Bytes().data() + offsets[record];
            kept.insert(kept.end(), start, start + header->RecordLength(offsets[record]));
            ++kept_count;
        }
    } catch (const std::bad_alloc&) {
        return Fail(ui, messages::ErrorFixingFastFile);
    }
    PutU32(kept.data(), kept_count);
    file_system.Delete(names.trh);
    platform::File file = file_system.Create(names.trh);
    if (!file.IsOpen() ||
        !file_system.Write(file, kept.data(), static_cast<std::int64_t>(kept.size())) ||
        !file_system.Flush(file)) {
        file.Close();
        file_system.Delete(names.trh);
        return Fail(ui, messages::ErrorFixingFastFile);
    }
    return Error::Ok();
}

std::string_view MakeOutcomeMessage(MakeOutcome outcome, bool merge) {
    switch (outcome) {
        case MakeOutcome::Complete:
            return merge ? messages::MergeFileComplete : messages::FastFileComplete;
        case MakeOutcome::FenWarning:
            return merge ? messages::MergeFileComplete : messages::FenWarning;
        case MakeOutcome::Incomplete:
            return merge ? messages::MergeFileComplete : messages::ErrorMakingFastFile;
        case MakeOutcome::CreateFailed:
            return messages::ErrorCreatingFastFile;
        case MakeOutcome::MergeOpenFailed:
            return messages::ErrorOpeningMergeFile;
        case MakeOutcome::CopyFailed:
            return messages::ErrorMakingMergeFile;
    }
    return {};
}

MakeResult MakeFastFile(const std::string& pgn_path, std::int32_t game_count,
                        FastFileGameSource& source, const GenerationControl& control,
                        platform::FileSystem& file_system) {
    FastFileNames names = FastFileNamesOf(pgn_path);
    // The tree files are built from the fast file: they go with it.
    file_system.Delete(names.tre);
    file_system.Delete(names.trx);
    file_system.Delete(names.trh);
    file_system.Delete(names.trf);

    MakeResult result;
    platform::File move_file = file_system.Create(names.trf);
    platform::File header_file = file_system.Create(names.trh);
    auto discard = [&] {
        move_file.Close();
        header_file.Close();
        file_system.Delete(names.trf);
        file_system.Delete(names.trh);
        result.outcome = MakeOutcome::CreateFailed;
        return result;
    };
    if (!move_file.IsOpen() || !header_file.IsOpen()) return discard();

    bool any_fen = false;
    bool finished = false;
    {
        BlockWriter moves(file_system, move_file);
        BlockWriter headers(file_system, header_file);
        headers.PutU32(static_cast<std::uint32_t>(game_count));
        FastFileGame game;
        std::int32_t limit = std::min(game_count, MaxFastFileGames);
        for (std::int32_t index = 0; index < limit; ++index) {
            ReportProgress(control, index, game_count);
            if (!source.ReadGame(index, false, game)) break;
            any_fen = any_fen || game.has_fen;
            headers.PutHeader(game.header);
            PutRecord(moves, game);
            ++result.games_written;
            RefuseCancel(control, messages::CannotCancelFastFile);
            if (moves.Failed() || headers.Failed()) break;
        }
        bool headers_done = headers.Finish();
        moves.PutU16(EndMark);
        finished = moves.Finish() && headers_done;
    }
    if (!finished) return discard();
    move_file.Close();
    header_file.Close();
    if (result.games_written < game_count) {
        result.outcome = MakeOutcome::Incomplete;
    } else if (any_fen) {
        result.outcome = MakeOutcome::FenWarning;
    }
    return result;
}

MakeResult MakeMergeFile(const std::string& pgn_path, std::int32_t game_count,
                         FastFileGameSource& source, const MergeTarget& target,
                         const GenerationControl& control, platform::FileSystem& file_system) {
    MakeResult result;
    // The merge file is rebuilt beside itself and renamed over it once complete: a failure or a
    // crash half-way leaves the merge file as it was.
    const std::string new_path = target.path + ".new";
    std::vector<std::uint8_t> kept;
    if (target.append) {
        std::string old;
        // Appending writes over the end mark.
        if (!platform::ReadFileContent(target.path, old) || old.size() < 2) {
            result.outcome = MakeOutcome::MergeOpenFailed;
            return result;
        }
        kept.assign(old.begin(), old.end() - 2);
    }
    platform::File merge_file = file_system.Create(new_path);
    if (!merge_file.IsOpen()) {
        result.outcome = MakeOutcome::MergeOpenFailed;
        return result;
    }
    auto finish = [&](bool written) {
        merge_file.Close();
        if (written && file_system.Rename(new_path, target.path)) {
            // The trees of the merge file were built from what it held before.
            file_system.Delete(DerivedPath(target.path, "TRE"));
            file_system.Delete(DerivedPath(target.path, "TRX"));
        } else {
            file_system.Delete(new_path);
            result.outcome = MakeOutcome::CopyFailed;
        }
        return result;
    };

    FastFileNames names = FastFileNamesOf(pgn_path);
    Result<HeaderFile> header = HeaderFile::Load(names.trh);
    bool fresh = header && !header->Truncated() &&
                 header->StoredCount() == static_cast<std::uint32_t>(game_count) &&
                 platform::FileExists(names.trf);
    BlockWriter moves(file_system, merge_file);
    moves.PutBytes(kept.data(), kept.size());
    if (fresh) {
        // A current fast file already holds these records, end mark included.
        platform::File move_file = platform::File::Open(names.trf, platform::File::Mode::Read);
        std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[StreamBlockSize]);
        if (!move_file.IsOpen() || !block) return finish(false);
        while (true) {
            std::int64_t got = move_file.Read(block.get(), StreamBlockSize);
            if (got == 0) break;
            if (got < 0) return finish(false);
            moves.PutBytes(block.get(), static_cast<std::size_t>(got));
            if (moves.Failed()) return finish(false);
        }
        result.games_written = game_count;
        return finish(moves.Finish());
    }

    FastFileGame game;
    std::int32_t limit = std::min(game_count, MaxFastFileGames);
    for (std::int32_t index = 0; index < limit; ++index) {
        ReportProgress(control, index, game_count);
        if (!source.ReadGame(index, true, game)) break;
        PutRecord(moves, game);
        ++result.games_written;
        RefuseCancel(control, messages::CannotCancelMergeFile);
        if (moves.Failed()) break;
    }
    moves.PutU16(EndMark);
    finish(moves.Finish());
    if (result.outcome == MakeOutcome::Complete && result.games_written < game_count) {
        result.outcome = MakeOutcome::Incomplete;
    }
    return result;
}

}  // namespace qorvale::search
