#pragma once

#include <cstdint>
#include <string>

#include "base/error.h"
#include "base/ui.h"
#include "pgn/game_index.h"
#include "pgn/record_reader.h"
#include "platform/file.h"
#include "platform/file_system.h"

namespace qorvale::pgn {

// What the last ScanGameFile did, for the callers that keep caches of their own (the game list
// drops its in-memory cache after every scan that was not answered from the offset cache).
struct ScanOutcome {
    bool from_cache = false;     // the offset cache was current and used
    bool rewrapped = false;      // the file had long records and was re-wrapped (new path)
    bool count_changed = false;  // the count differs from the one the cache held before
    bool limit_reached = false;  // MaxGamesPerFile games were indexed and the scan stopped
};

// The texts that name the file and the game in the main window.
struct StatusTexts {
    std::string file;        // "File:  %s"
    std::string game;        // "Game:  %d"
    std::string game_short;  // "Game: %d"
};

// An open PGN file: its path, handle, record reader and game index. Everything that reads a PGN
// file game by game goes through one of these. Not thread-safe: a background operation opens a
// PgnFile of its own.
class PgnFile {
  public:
    // `file_system` carries the rewrites (the offset cache and the long-record re-wrap); it must
    // outlive the PgnFile.
    explicit PgnFile(platform::FileSystem& file_system = platform::SystemFileSystem());

    // Opens `path` with read/write access (read-only when the file allows no more), replacing
    // the file that was open. On failure ("Error opening file.") the old file stays open. A
    // change at the end of the file that a crash cut short is undone first (file_change.h).
    Error Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }

    const std::string& CurrentPath() const { return current_path_; }
    platform::File& GameFileHandle() { return file_; }
    RecordReader& Reader() { return reader_; }
    const GameIndex& Index() const { return index_; }
    std::int32_t GameCount() const { return index_.Count(); }
    std::int32_t CurrentGameNumber() const { return current_game_number_; }
    void SetCurrentGameNumber(std::int32_t game_number) { current_game_number_ = game_number; }
    const ScanOutcome& LastScan() const { return last_scan_; }
    const StatusTexts& Status() const { return status_; }
    // Whether the file is one of the ECO table's text files (ecocodes, ecomoves, econames).
    bool IsEcoFile() const { return is_eco_file_; }

    // Builds the game index: from the offset cache beside the file when its stored size matches
    // (unless `force`), else by a scan, which rewrites the cache and deletes the caches other
    // parts keep beside the file. At the first line longer than a record outside the tags the
    // scan asks "Trim the records that are too long to less than 255 characters. Confirm.": on
    // Yes the file is re-wrapped, may bear a new name (CurrentPath() follows it) and is scanned
    // again; on No it is read as it is, long lines whole. Warns through `ui` when the game limit
    // is reached. Returns GameCount().
    std::int32_t ScanGameFile(bool force, Ui& ui);
    // Whether a scan may re-wrap a file with over-long records (on by default). Off for readers
    // that only pass through a file, such as a folder search: the file stays as it is and its
    // long records are read cut.
    void SetRewrapAllowed(bool allowed) { rewrap_allowed_ = allowed; }

    // Positions the file at the first tag line of game `game_number`, resets the reader and sets
    // the status texts, so that the header reader finds the game's tag lines next. A number
    // beyond the index is found by counting. Returns false after "Error finding game.".
    bool LoadGame(std::int32_t game_number, Ui& ui);

    // Positions the file at game `game_number` by reading from the start and counting games.
    // Returns a non-zero length on success, or 0 after reporting "Error finding game.".
    int FindGameByCounting(std::int32_t game_number, Ui& ui);

    // The Reload command: rescans with the cache ignored and reports "File has been reloaded."
    // ("Must open a file." without a file). Returns false when no file is open.
    bool ReloadGameFile(Ui& ui);

    // The command that re-wraps the open file on request: asks "Trim the records that are too
    // long to less than 255 characters. Confirm." and on Yes re-wraps the file, follows it to
    // its new name and rescans with the cache ignored. Returns true when the file was re-wrapped
    // (the caller shows the game again); failures are reported through `ui`.
    bool TrimLongRecords(Ui& ui);

  private:
    std::int32_t RunScan(Ui& ui);

    platform::FileSystem& file_system_;
    platform::File file_;
    std::string current_path_;
    RecordReader reader_;
    GameIndex index_;
    std::int32_t current_game_number_ = 0;
    ScanOutcome last_scan_;
    StatusTexts status_;
    bool is_eco_file_ = false;
    bool rewrap_allowed_ = true;
};

}  // namespace qorvale::pgn
