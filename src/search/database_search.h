#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "base/ui.h"
#include "chess/board.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "search/database_files.h"
#include "search/header_file.h"
#include "search/move_code.h"
#include "search/search_criteria.h"

namespace qorvale::search {

// The "Database Search Options" dialog's criteria.
struct DbSearchCriteria {
    std::string white;   // a name; a trailing "#" wants the exact key, "?" other spellings
    std::string black;   // "*" + a name: the two names may match either colour
    std::string year;    // ParseComparison forms
    std::string eco;     // a letter A..E and up to two digits, or "?" for games without one
    std::string result;  // "1-0", "0-1", or a draw ("1/2...": second character "/")
    std::string moves;   // ParseComparison forms on the full moves
    std::string site;    // the game's Site begins with it
    std::string event;   // the game's Event begins with it; a trailing "#" wants it whole
    bool either_colour = false;
    // The searched position (edit board or game on display), 64 piece codes in Board64 order.
    std::optional<chess::Board64> position;
    bool exact_match = true;  // false: "Partial Position", only its occupied squares count
    bool sort_by_year = false;
    bool descending = false;

    void Clear() { *this = DbSearchCriteria(); }
};

// A board from piece-list entries ("Kg1", "e4"); count entries ("=8", "Q<2") describe no
// square and are refused. False for an entry that names no square.
bool BoardFromPositionCriteria(const PositionCriteria& criteria, chess::Board64& board);

// The answers of a search: the record index (DBG offset / 64) of each found game, in the order
// they were found, or by year when asked.
struct DbSearchResult {
    std::vector<std::uint32_t> records;
    Error error;  // a refusal or a damage met on the way; records hold what was found before it
};

// One database game read back.
struct DbGame {
    DbGameRecord record;
    HeaderValues header;          // White, Black, Result, Date, ECO, WhiteElo, BlackElo, Round,
                                  // Event, Site
    std::vector<MoveCode> codes;  // as the fast file holds them: none for a game without moves
    ResultWord result = 0;
};

// An open database: its files open for reading. Records are read where they lie (a player
// search touches only its chains); whole-file scans stream. Opening first finishes or discards
// an interrupted change (RecoverDatabase). A search writes nothing but `name.DBS`, and only
// through SaveDbResults.
class Database {
  public:
    // "File open error." when a file is missing, "File read error." when the root table or the
    // games file has the wrong size.
    static Result<Database> Open(const std::string& dbg_path);

    const DatabaseNames& Names() const { return names_; }
    std::uint32_t RecordCount() const { return record_count_; }
    // Record `index` (< RecordCount()); zeros when it cannot be read.
    DbGameRecord Record(std::uint32_t index) const;

    // SearchDatabase: "Nothing to search." without criteria, "You must specify additional
    // search criteria." with Site or Event alone, "ECO must be ..." for an ECO criterion that is
    // no code. Player criteria follow the chains of their keys; other criteria test every
    // record. A chain that leaves its key gives "Root error.", one that points outside the file
    // or runs in a circle the "Problem" messages; the search ends there with what it found.
    DbSearchResult Search(const DbSearchCriteria& criteria) const;

    // The game of record `index`; "File read error." when its records run outside the files.
    Result<DbGame> ReadGame(std::uint32_t index) const;
    // Its header values alone; false when the record runs outside the header file.
    bool Header(std::uint32_t index, HeaderValues& values) const;
    // The same for a record already read.
    bool Header(const DbGameRecord& record, HeaderValues& values) const {
        return ReadHeader(record, values);
    }

  private:
    Database() = default;
    bool ReadHeader(const DbGameRecord& record, HeaderValues& values) const;
    // `size` bytes of `file` at `offset` into `out`; false when they are not all there.
    static bool ReadAt(const platform::File& file, std::uint64_t offset, void* out,
                       std::size_t size);

    DatabaseNames names_;
    std::uint32_t record_count_ = 0;
    platform::File root_;
    platform::File games_;
    platform::File header_;
    platform::File moves_;
    platform::File positions_;
};

// `name.DBS`: one u32 record index per found game, replaced whole. "File write error." when it
// cannot be written.
Error SaveDbResults(const DatabaseNames& names, std::span<const std::uint32_t> records,
                    platform::FileSystem& file_system = platform::SystemFileSystem());
// The saved results; "File open error." without the file. A trailing partial word is dropped.
Result<std::vector<std::uint32_t>> LoadDbResults(const DatabaseNames& names);

// CheckDatabase: that the files agree. Each problem gives its message ("Header file is out of
// sync: %d vs %d" with the records counted and the count stored, "Position file is out of
// sync.", "Moves file is out of sync: %d vs %d", "Games file is out of sync: %d vs %d"); none
// gives "Database OK. Number of games: %d". File failures give DbFileError's messages.
struct DbCheckResult {
    bool ok = false;
    std::vector<std::string> messages;
};
DbCheckResult CheckDatabase(const std::string& dbg_path);

}  // namespace qorvale::search
