#include "pgn/pgn_file.h"

#include <cctype>
#include <limits>

#include "pgn/display_stem.h"
#include "pgn/file_change.h"
#include "pgn/game_scanner.h"
#include "pgn/messages.h"
#include "pgn/offset_cache.h"
#include "pgn/rewrap.h"
#include "platform/folder.h"

namespace qorvale::pgn {

namespace {

// The ECO table's own text files, which the openings code treats specially when shown.
bool IsEcoFileName(std::string_view file_name) {
    std::string stem(file_name.substr(0, file_name.find('.')));
    for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return stem == "ecocodes" || stem == "ecomoves" || stem == "econames";
}

// Sets a reader's mode and watch for the length of a scan, and puts back the reading mode
// every other reader expects afterwards.
class CountedReading {
  public:
    CountedReading(RecordReader& reader, LongRecordWatch watch) : reader_(reader) {
        reader_.SetMode(ReadMode::ReadCounted);
        reader_.SetLongRecordWatch(watch);
    }
    ~CountedReading() {
        reader_.SetMode(ReadMode::ReadTrimmed);
        reader_.SetLongRecordWatch(LongRecordWatch::NotWatching);
    }
    CountedReading(const CountedReading&) = delete;
    CountedReading& operator=(const CountedReading&) = delete;

  private:
    RecordReader& reader_;
};

}  // namespace

PgnFile::PgnFile(platform::FileSystem& file_system) : file_system_(file_system) {}

Error PgnFile::Open(const std::string& path) {
    // A change at the end of the file that was cut short by a crash is undone before anyone
    // reads the file.
    RecoverInterruptedChange(file_system_, path);
    platform::File file = platform::File::Open(path, platform::File::Mode::ReadWrite);
    // A file the user may only read can still be shown; only edits will fail.
    if (!file.IsOpen()) file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) {
        return Error(std::string(ErrorOpeningFile), path + "\n" + platform::LastSystemError());
    }
    file_ = std::move(file);
    current_path_ = path;
    reader_.Reset();
    index_.Clear();
    current_game_number_ = 0;
    last_scan_ = {};
    is_eco_file_ = false;
    return Error::Ok();
}

void PgnFile::Close() {
    file_.Close();
    current_path_.clear();
    reader_.Reset();
    index_.Clear();
    current_game_number_ = 0;
}

std::int32_t PgnFile::ScanGameFile(bool force, Ui& ui) {
    last_scan_ = {};
    if (!IsOpen()) return 0;
    std::string cache_path = OffsetCachePath(current_path_);
    // Even a forced scan reads the cache, for the count it held.
    OffsetCacheRead cache = ReadOffsetCache(cache_path, file_.Size(), index_);
    if (!force && cache.state == OffsetCacheRead::State::Current) {
        last_scan_.from_cache = true;
        if (index_.Full()) {
            last_scan_.limit_reached = true;
            ui.report(FillMessage(MaximumGamesExceeded, MaxGamesPerFile));
        }
        return GameCount();
    }

    std::int32_t count = RunScan(ui);
    if (!IsOpen()) return 0;
    // The re-wrap may have renamed the file: everything below follows the current name, and
    // the cache of the old name, which no longer has a file, goes.
    if (OffsetCachePath(current_path_) != cache_path) {
        file_system_.Delete(cache_path);
        cache_path = OffsetCachePath(current_path_);
    }
    // A cache that cannot be written costs only the next open its speed.
    (void)WriteOffsetCache(file_system_, cache_path, file_.Size(), index_);
    for (const char* suffix : {"s", "q", "x"}) {
        file_system_.Delete(DerivedFilePath(current_path_, suffix));
    }
    last_scan_.count_changed = count != cache.stored_count;
    if (last_scan_.count_changed) {
        file_system_.Delete(DerivedFilePath(current_path_, "TRE"));
        file_system_.Delete(DerivedFilePath(current_path_, "TRX"));
    }
    if (last_scan_.limit_reached) ui.report(FillMessage(MaximumGamesExceeded, MaxGamesPerFile));
    return count;
}

std::int32_t PgnFile::RunScan(Ui& ui) {
    bool may_rewrap = rewrap_allowed_;
    for (;;) {
        index_.Clear();
        reader_.Reset();
        if (!file_.Seek(0)) return 0;
        CountedReading reading(
            reader_, may_rewrap ? LongRecordWatch::Watching : LongRecordWatch::NotWatching);
        GameScanner scanner;
        std::uint64_t position = 0;
        bool restart = false;
        for (;;) {
            std::uint64_t start = position;
            std::string_view record;
            int length = reader_.ReadRecord(file_, record);
            position += static_cast<std::uint64_t>(length);
            if (reader_.Watch() == LongRecordWatch::LongRecordMet) {
                // A tag line stays whole in a re-wrap: there is nothing to trim in it.
                reader_.SetLongRecordWatch(IsTagLine(record) ? LongRecordWatch::Watching
                                                             : LongRecordWatch::NotWatching);
                if (reader_.Watch() == LongRecordWatch::NotWatching) {
                    may_rewrap = false;
                    // The reader reads long lines whole, so the file is read as it is unless
                    // the user wants it rewritten with shorter lines.
                    if (ui.ask(TrimLongRecordsQuestion)) {
                        Result<std::string> rewrapped =
                            RewrapLongRecords(current_path_, file_system_);
                        if (rewrapped.ok()) {
                            if (Error error = Open(*rewrapped); !error.ok()) {
                                ui.report(error.message());
                                Close();
                                return 0;
                            }
                            last_scan_.rewrapped = true;
                            restart = true;
                            break;
                        }
                        ui.report(rewrapped.error().message());
                    }
                }
            }
            if (length == 0) break;
            GameScanner::Step step = scanner.Feed(record);
            if (step == GameScanner::Step::NewGame) {
                // Offsets are 32-bit: games beyond 4 GB cannot be indexed.
                if (start > std::numeric_limits<std::uint32_t>::max()) break;
                index_.Add(static_cast<std::uint32_t>(start));
                if (index_.Full()) {
                    last_scan_.limit_reached = true;
                    break;
                }
            }
        }
        if (!restart) return GameCount();
    }
}

bool PgnFile::LoadGame(std::int32_t game_number, Ui& ui) {
    reader_.Reset();
    std::string name = platform::NameOf(current_path_);
    status_.file = FillMessage(FileStatus, DisplayStem(name));
    status_.game = FillMessage(GameStatus, game_number);
    status_.game_short = FillMessage(GameStatusShort, game_number);
    is_eco_file_ = IsEcoFileName(name);
    if (game_number >= 1 && game_number <= GameCount()) {
        if (!file_.Seek(index_.Offset(game_number))) {
            ui.report(ErrorFindingGame);
            return false;
        }
    } else if (FindGameByCounting(game_number, ui) == 0) {
        return false;
    }
    current_game_number_ = game_number;
    return true;
}

int PgnFile::FindGameByCounting(std::int32_t game_number, Ui& ui) {
    reader_.Reset();
    if (game_number >= 1 && file_.Seek(0)) {
        CountedReading reading(reader_, LongRecordWatch::NotWatching);
        GameScanner scanner;
        std::uint64_t position = 0;
        std::int32_t games = 0;
        for (;;) {
            std::uint64_t start = position;
            std::string_view record;
            int length = reader_.ReadRecord(file_, record);
            if (length == 0) break;
            position += static_cast<std::uint64_t>(length);
            GameScanner::Step step = scanner.Feed(record);
            if (step == GameScanner::Step::NewGame && ++games == game_number) {
                reader_.Reset();
                if (!file_.Seek(static_cast<std::int64_t>(start))) break;
                return length;
            }
        }
    }
    reader_.Reset();
    ui.report(ErrorFindingGame);
    return 0;
}

bool PgnFile::ReloadGameFile(Ui& ui) {
    if (!IsOpen()) {
        ui.report(MustOpenAFile);
        return false;
    }
    ScanGameFile(true, ui);
    ui.report(FileHasBeenReloaded);
    return true;
}

}  // namespace qorvale::pgn

namespace qorvale::pgn {

bool PgnFile::TrimLongRecords(Ui& ui) {
    if (!IsOpen()) {
        ui.report(MustOpenAFile);
        return false;
    }
    if (!ui.ask(TrimLongRecordsQuestion)) return false;
    Result<std::string> rewrapped = RewrapLongRecords(current_path_, file_system_);
    if (!rewrapped.ok()) {
        ui.report(rewrapped.error().message());
        return false;
    }
    if (Error error = Open(*rewrapped); !error.ok()) {
        ui.report(error.message());
        Close();
        return false;
    }
    ScanGameFile(true, ui);
    last_scan_.rewrapped = true;
    return true;
}

}  // namespace qorvale::pgn
