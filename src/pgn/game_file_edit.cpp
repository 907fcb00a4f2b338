#include "pgn/game_file_edit.h"

#include <limits>
#include <vector>

#include "pgn/display_stem.h"
#include "pgn/file_change.h"
#include "pgn/game_scanner.h"
#include "pgn/messages.h"
#include "pgn/offset_cache.h"
#include "platform/file.h"

namespace qorvale::pgn {

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::int64_t ToTheEnd = std::numeric_limits<std::int64_t>::max();

Error Fail(std::string_view message) { return Error(std::string(message)); }

EditDone Shown(std::int32_t game, bool navigation_reset = false) {
    EditDone done;
    done.game_to_show = game;
    done.navigation_reset = navigation_reset;
    return done;
}

EditDone Cancelled() {
    EditDone done;
    done.cancelled = true;
    return done;
}

// The files kept beside a PGN file that describe its old content: the offset cache (first),
// and the fast file and tree files, whose game count alone cannot tell a changed game (a replace
// keeps the count, a delete and an append together restore it).
std::vector<std::string> CachesOf(const std::string& path) {
    return {OffsetCachePath(path), DerivedFilePath(path, "TRF"), DerivedFilePath(path, "TRH"),
            DerivedFilePath(path, "TRE"), DerivedFilePath(path, "TRX")};
}

void DeleteAll(platform::FileSystem& file_system, std::span<const std::string> paths) {
    for (const std::string& path : paths) file_system.Delete(path);
}

// The records of the bytes `game` as the game buffer holds them.
void AppendGameRecords(std::string_view game, std::string& out) {
    bool in_header = true;
    bool seen_movetext = false;
    int held_back = 0;
    std::size_t start = 0;
    while (start < game.size()) {
        std::size_t end = game.find('\n', start);
        std::size_t next = end == std::string_view::npos ? game.size() : end + 1;
        std::string_view record =
            game.substr(start, (end == std::string_view::npos ? game.size() : end) - start);
        start = next;
        // As the reader gives them: leading spaces dropped, trailing control bytes too. The
        // last line of a file without a line end is kept, so that no move is lost.
        while (!record.empty() && record.front() == ' ') record.remove_prefix(1);
        while (!record.empty() && static_cast<unsigned char>(record.back()) <= 13) {
            record.remove_suffix(1);
        }
        if (in_header) {
            if (IsTagLine(record)) {
                out += record;
                out += LineEnd;
                continue;
            }
            in_header = false;
        }
        if (record.empty()) {
            ++held_back;
            continue;
        }
        if (seen_movetext && IsTagLine(record)) break;
        for (; held_back > 0; --held_back) out += LineEnd;
        out += record;
        out += LineEnd;
        seen_movetext = true;
    }
}

bool ReadBytes(platform::File& file, std::int64_t from, std::int64_t to, std::string& bytes) {
    bytes.resize(static_cast<std::size_t>(to > from ? to - from : 0));
    return file.Seek(from) && file.Read(bytes.data(), static_cast<std::int64_t>(bytes.size())) ==
                                  static_cast<std::int64_t>(bytes.size());
}

}  // namespace

std::string_view SaveModeLabel(SaveMode mode) {
    switch (mode) {
        case SaveMode::NewFile:
            return NewFileLabel;
        case SaveMode::OverwriteLast:
            return OverwriteLastLabel;
        case SaveMode::Append:
            return AppendGameLabel;
        case SaveMode::Insert:
            return InsertGameLabel;
    }
    return {};
}

bool CheckGameBuffer(const std::string& buffer_path, Ui& ui) {
    if (platform::FileExists(buffer_path)) return true;
    ui.report(GameBufferEmpty);
    return false;
}

GameFileEditor::GameFileEditor(PgnFile& file, Ui& ui, platform::FileSystem& file_system)
    : file_(file), ui_(ui), file_system_(file_system) {}

GameFileEditor::Extent GameFileEditor::GameExtent(std::int32_t game_number) {
    const std::int32_t count = file_.GameCount();
    Extent extent;
    if (game_number < 1 || game_number > count) return extent;
    extent.start = file_.Index().Offset(game_number);
    const std::int64_t size = platform::FileSize(file_.CurrentPath());
    extent.end = game_number < count ? file_.Index().Offset(game_number + 1) : size;
    if (game_number < count || !file_.Index().Full()) return extent;
    // The index stopped at its limit: the game ends where the scan would begin the next one.
    platform::File file = platform::File::Open(file_.CurrentPath(), platform::File::Mode::Read);
    if (!file.Seek(extent.start)) return extent;
    RecordReader reader;
    reader.SetMode(ReadMode::ReadCounted);
    GameScanner scanner;
    std::int64_t position = extent.start;
    bool first = true;
    for (;;) {
        std::string_view record;
        int length = reader.ReadRecord(file, record);
        if (length == 0) break;
        GameScanner::Step step = scanner.Feed(record);
        if (step == GameScanner::Step::NewGame) {
            if (!first) {
                extent.end = position;
                break;
            }
            first = false;
        }
        position += length;
    }
    return extent;
}

Result<std::string> GameFileEditor::GameRecords(std::int32_t game_number) {
    if (game_number < 1 || game_number > file_.GameCount()) return Fail(ErrorFindingGame);
    Extent extent = GameExtent(game_number);
    platform::File file = platform::File::Open(file_.CurrentPath(), platform::File::Mode::Read);
    std::string bytes;
    if (!ReadBytes(file, extent.start, extent.end, bytes)) return Fail(ErrorFindingGame);
    std::string records;
    AppendGameRecords(bytes, records);
    return records;
}

void GameFileEditor::Reopen(const std::string& path, bool from_cache) {
    if (Error error = file_.Open(path); !error.ok()) {
        // The change is made; only the index of the old handle is gone.
        file_.Close();
        return;
    }
    file_.ScanGameFile(!from_cache, ui_);
}

Result<EditDone> GameFileEditor::SaveGameToFile(const EnteredGame& game, SaveMode mode,
                                                const std::string& new_path) {
    if (Error error = CheckEnteredGame(game); !error.ok()) return error;
    return Save(EnteredGameText(game), mode, new_path, false);
}

Result<EditDone> GameFileEditor::SaveGameText(std::string_view text, SaveMode mode,
                                              const std::string& new_path) {
    return Save(text, mode, new_path, false);
}

Result<EditDone> GameFileEditor::Save(std::string_view text, SaveMode mode,
                                      const std::string& new_path, bool show_first_after_insert) {
    if (mode == SaveMode::NewFile) return SaveNewFile(text, new_path);
    if (!file_.IsOpen()) return Fail(MustOpenAFile);
    if (file_.Index().Full()) return Error(FillMessage(MaximumGamesExceeded, MaxGamesPerFile));
    if (mode == SaveMode::Insert) return SaveInsert(text, show_first_after_insert);
    return SaveAtEnd(text, mode);
}

Result<EditDone> GameFileEditor::SaveNewFile(std::string_view text, const std::string& path) {
    if (platform::FileExists(path)) return Fail(FileAlreadyExists);
    // A journal or caches left beside a file of that name belong to a file that is gone.
    DeleteAll(file_system_, CachesOf(path));
    file_system_.Delete(ChangeJournalPath(path));
    if (WriteNewFile(file_system_, path, text) != ChangeFailure::None) {
        return Fail(ErrorCreatingFile);
    }
    GameIndex index;
    index.Add(0);
    if (!WriteOffsetCache(file_system_, OffsetCachePath(path),
                          static_cast<std::int64_t>(text.size()), index)) {
        file_.Close();
        return EditDone{};
    }
    Reopen(path, true);
    return Shown(file_.IsOpen() ? 1 : 0);
}

Result<EditDone> GameFileEditor::SaveAtEnd(std::string_view text, SaveMode mode) {
    const std::string path = file_.CurrentPath();
    const std::int32_t count = file_.GameCount();
    const bool append = mode == SaveMode::Append;
    EndOfFileChange change(file_system_, path);
    const std::int64_t at = append ? ToTheEnd : count > 0 ? file_.Index().Offset(count) : 0;
    // An overwrite journals the whole old last game and cuts the file after the new one: a
    // shorter game must not leave the old game's tail behind it, where other readers (and a
    // rescan) would find moves, or a game, that the index does not hold.
    ChangeFailure failure = change.Begin(at, append ? 0 : -1);
    if (failure == ChangeFailure::Open) return Fail(ErrorOpeningFile);
    if (failure != ChangeFailure::None) return Fail(ErrorSavingGame);
    // An append begins with CR LF, so the new game starts two bytes after the old end.
    const std::int64_t game_start = append ? change.OldLength() + 2 : at;
    if (game_start > std::numeric_limits<std::uint32_t>::max()) return Fail(ErrorSavingGame);
    if ((append && !change.Write(LineEnd)) || !change.Write(text) ||
        change.Finish(!append) != ChangeFailure::None) {
        return Fail(ErrorSavingGame);
    }
    // The index is brought up to date from what it held, not by a rescan.
    GameIndex index;
    index.Assign(file_.Index().Offsets());
    if (append || count == 0) index.Add(static_cast<std::uint32_t>(game_start));
    const std::vector<std::string> caches = CachesOf(path);
    DeleteAll(file_system_, std::span(caches).subspan(1));
    const bool cached =
        WriteOffsetCache(file_system_, OffsetCachePath(path), change.NewLength(), index);
    change.Commit();
    if (!cached) {
        file_.Close();
        return EditDone{};
    }
    Reopen(path, true);
    return Shown(file_.GameCount());
}

Result<EditDone> GameFileEditor::SaveInsert(std::string_view text, bool show_first) {
    const std::int32_t game = file_.CurrentGameNumber();
    const bool on_display = game >= 1 && game <= file_.GameCount();
    const std::int64_t at = on_display ? file_.Index().Offset(game) : 0;
    std::string inserted(text);
    inserted += LineEnd;
    if (Error error = Change(at, at, inserted, true); !error.ok()) return error;
    Reopen(file_.CurrentPath(), false);
    return Shown(show_first || !on_display ? 1 : game);
}

Error GameFileEditor::Change(std::int64_t cut_from, std::int64_t cut_to, std::string_view text,
                             bool inserting) {
    const std::string path = file_.CurrentPath();
    const std::vector<std::string> caches = CachesOf(path);
    const std::int64_t size = platform::FileSize(path);
    ChangeFailure failure;
    if (cut_to >= size && cut_from < size) {
        // Only the end of the file changes: in place, under the journal.
        EndOfFileChange change(file_system_, path);
        failure = change.Begin(cut_from, -1);
        if (failure == ChangeFailure::None) {
            failure = change.Write(text) ? change.Finish(true) : ChangeFailure::Write;
        }
        if (failure == ChangeFailure::None) {
            DeleteAll(file_system_, caches);
            change.Commit();
        }
    } else {
        failure = SpliceFile(file_system_, path, cut_from, cut_to, text, caches);
    }
    switch (failure) {
        case ChangeFailure::None:
            return Error::Ok();
        case ChangeFailure::Open:
            return Fail(inserting ? ErrorOpeningFile : ErrorOpeningToChangeSize);
        case ChangeFailure::Create:
        case ChangeFailure::Write:
            return Fail(inserting ? ErrorInsertingGame : ErrorSavingGame);
        case ChangeFailure::Replace:
            return Fail(inserting ? ErrorInsertingGame : ErrorChangingFileSize);
    }
    return Fail(ErrorSavingGame);
}

Error GameFileEditor::MoveGameToBuffer(const std::string& buffer_path) {
    if (!file_.IsOpen()) return Fail(MustOpenAFile);
    Result<std::string> records = GameRecords(file_.CurrentGameNumber());
    if (!records.ok()) return records.error();
    if (WriteNewFile(file_system_, buffer_path, *records) != ChangeFailure::None) {
        return Fail(ErrorCreatingGameBuffer);
    }
    ui_.report(GameMovedToBuffer);
    return Error::Ok();
}

Result<EditDone> GameFileEditor::SaveGameBuffer(const std::string& buffer_path, SaveMode mode,
                                                const std::string& new_path) {
    const std::int64_t size = platform::FileSize(buffer_path);
    if (size < 0) return Fail(GameBufferEmpty);
    if (size > static_cast<std::int64_t>(GameTextBufferSize)) return Fail(GameTooBigToEdit);
    platform::File buffer = platform::File::Open(buffer_path, platform::File::Mode::Read);
    std::string text;
    if (!ReadBytes(buffer, 0, size, text)) return Fail(GameBufferEmpty);
    return Save(text, mode, new_path, true);
}

Result<EditDone> GameFileEditor::DeleteCurrentGame() {
    if (!file_.IsOpen()) return Fail(MustOpenAFile);
    const std::int32_t count = file_.GameCount();
    if (count == 0) return Fail(NoGamesInThisFile);
    if (!ui_.ask(DeleteGameQuestion) || !ui_.ask(AreYouSure)) return Cancelled();
    const std::int32_t game = file_.CurrentGameNumber();
    if (game < 1 || game > count) return Fail(ErrorFindingGame);
    const std::string path = file_.CurrentPath();
    const Extent extent = GameExtent(game);
    const std::int64_t size = platform::FileSize(path);
    const bool last = extent.end >= size;
    std::int64_t cut_from = extent.start;
    if (last) {
        // The line end before the last game goes with it: at most two bytes, and only line-end
        // bytes, so that the end of the game before is never cut.
        platform::File file = platform::File::Open(path, platform::File::Mode::Read);
        std::string before;
        const std::int64_t from = std::max<std::int64_t>(0, cut_from - 2);
        if (ReadBytes(file, from, cut_from, before)) {
            while (!before.empty() && (before.back() == '\n' || before.back() == '\r')) {
                before.pop_back();
                --cut_from;
            }
        }
    }
    if (Error error = Change(cut_from, last ? size : extent.end, {}, false); !error.ok()) {
        return error;
    }
    Reopen(path, false);
    const std::int32_t show = std::min(last ? game - 1 : game, file_.GameCount());
    return Shown(std::max(show, 0), true);
}

Result<EditDone> GameFileEditor::ReplaceCurrentGame(std::string_view new_text) {
    if (!file_.IsOpen()) return Fail(MustOpenAFile);
    if (file_.GameCount() == 0) return Fail(NoGamesInThisFile);
    const std::int32_t game = file_.CurrentGameNumber();
    if (game < 1 || game > file_.GameCount()) return Fail(ErrorFindingGame);
    const std::string text = NormaliseGameText(new_text, false);
    if (text.size() > GameTextBufferSize) return Fail(GameTooBigToEdit);
    const Extent extent = GameExtent(game);
    if (Error error = Change(extent.start, extent.end, text, false); !error.ok()) return error;
    Reopen(file_.CurrentPath(), false);
    return Shown(std::min(game, file_.GameCount()));
}

Result<EditDone> GameFileEditor::RewriteCurrentGame(const GameRewrite& game) {
    return ReplaceCurrentGame(RewriteGameText(game));
}

Result<EditDone> GameFileEditor::CopyNavigationGames(std::span<const std::int32_t> games,
                                                     const std::string& target, bool append) {
    if (games.empty()) return Fail(NoGamesToCopy);
    return Copy(games, target, append, true);
}

Result<EditDone> GameFileEditor::CopyCurrentGame(const std::string& target, bool append) {
    const std::int32_t game = file_.CurrentGameNumber();
    return Copy(std::span<const std::int32_t>(&game, 1), target, append, false);
}

Result<EditDone> GameFileEditor::Copy(std::span<const std::int32_t> games,
                                      const std::string& target, bool append,
                                      bool ask_to_continue) {
    if (!file_.IsOpen()) return Fail(MustOpenAFile);
    if (target == file_.CurrentPath() || platform::SameFile(target, file_.CurrentPath())) {
        return Fail(SameAsCurrentFile);
    }
    const bool exists = platform::FileExists(target);
    if (append) {
        if (ask_to_continue && !ui_.ask(ContinueQuestion)) return Cancelled();
        if (!exists) return Fail(FileDoesNotExist);
    } else if (exists) {
        if (!ui_.ask(OverwriteFileQuestion)) return Cancelled();
    } else if (ask_to_continue && !ui_.ask(ContinueQuestion)) {
        return Cancelled();
    }
    for (std::int32_t game : games) {
        if (game < 1 || game > file_.GameCount()) return Fail(ErrorFindingGame);
    }

    platform::File source = platform::File::Open(file_.CurrentPath(), platform::File::Mode::Read);
    std::string bytes;
    std::string records;
    // The records of the next game, with CR LF between games.
    auto next_game = [&](std::size_t index) -> bool {
        const Extent extent = GameExtent(games[index]);
        records.clear();
        if (index > 0) records += LineEnd;
        if (!ReadBytes(source, extent.start, extent.end, bytes)) return false;
        AppendGameRecords(bytes, records);
        return true;
    };

    if (append) {
        // A change of the target cut short earlier is undone before this one begins.
        RecoverInterruptedChange(file_system_, target);
        EndOfFileChange change(file_system_, target);
        ChangeFailure failure = change.Begin(ToTheEnd, 0);
        if (failure == ChangeFailure::Open) return Fail(ErrorOpeningFile);
        if (failure != ChangeFailure::None) return Fail(ErrorSavingGame);
        bool written = change.Write(LineEnd);
        for (std::size_t index = 0; written && index < games.size(); ++index) {
            if (!next_game(index)) return Fail(ErrorFindingGame);
            written = change.Write(records);
        }
        if (!written || change.Finish(false) != ChangeFailure::None) return Fail(ErrorSavingGame);
        // Rescanned when the target is opened.
        DeleteAll(file_system_, CachesOf(target));
        change.Commit();
    } else {
        ReplacementFile replacement(file_system_, target);
        if (replacement.Begin() != ChangeFailure::None) return Fail(ErrorCreatingNewFile);
        for (std::size_t index = 0; index < games.size(); ++index) {
            if (!next_game(index)) return Fail(ErrorFindingGame);
            if (!replacement.Write(records)) return Fail(ErrorCreatingNewFile);
        }
        std::vector<std::string> drop = CachesOf(target);
        drop.push_back(ChangeJournalPath(target));
        if (replacement.Commit(drop) != ChangeFailure::None) {
            return Fail(ErrorCreatingNewFile);
        }
    }
    if (ask_to_continue) ui_.report(CopyGamesComplete);
    return EditDone{};
}

}  // namespace qorvale::pgn
