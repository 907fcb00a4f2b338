#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "chess/board.h"
#include "platform/file_system.h"
#include "platform/staged_file.h"

namespace qorvale::search {

// A game database is named by its games file `name.DBG`; its other files share the path with the
// last three characters replaced:
//   name.DBH  header file: exactly the fast header file's layout (u32 count, then ten
//             length-prefixed strings per game: White, Black, Result, Date, ECO, WhiteElo,
//             BlackElo, Round, Event, Site)
//   name.DBM  moves file: exactly the fast move file's layout (per game its move codes and
//             result word, then the end mark 0x0000)
//   name.DBP  position file: per game, at the offset and with the length of its moves record,
//             u16 2n (n = its codes) and the n u16 PositionHash values of the positions after
//             each half-move, sorted ascending; no end mark, so it is 2 bytes shorter than DBM
//   name.DBG  games file: one 64-byte DbGameRecord per game, in database order
//   name.DBR  root table: 456,976 entries (one per name key) of u32 first, u32 last record
//             offset in DBG of the key's chain; first = 0xFFFFFFFF when no game has the key
//   name.DBS  the last search's results: one u32 record index (DBG offset / 64) per game
enum class DbFile : int { Header, Moves, Positions, Games, Root, Results };
inline constexpr int DbFileCount = 6;

struct DatabaseNames {
    std::string dbg, dbh, dbm, dbp, dbr, dbs;
    std::string tre, trx;  // the tree built from the database
    const std::string& Of(DbFile file) const;
};
DatabaseNames DatabaseNamesOf(std::string_view dbg_path);

inline constexpr std::uint32_t DbKeyCount = 26 * 26 * 26 * 26;   // 456,976
inline constexpr std::size_t DbRootTableBytes = DbKeyCount * 8;  // 3,655,808
inline constexpr std::uint32_t DbEmptyChain = 0xFFFFFFFF;
inline constexpr std::size_t DbRecordSize = 64;
inline constexpr std::size_t DbKeyTextLength = 15;

// One game of the games file, 64 bytes little-endian:
//   0  u32  White's DbNameKey index (0..456,975)
//   4  u32  Black's DbNameKey index
//   8  u32  next record (DBG byte offset) on the chain of White's key; 0 = end
//  12  u32  next record on the chain of Black's key; 0 = end
//  16  u32  offset of the game's header record in DBH
//  20  u32  offset of its moves record in DBM (and of its position record in DBP)
//  24  u16  length of the header record
//  26  u16  length of the moves record (codes and result word)
//  28  u16  year: the first four characters of Date as a number; 0 for an empty Date or "?..."
//  30  u16  bits 12-13 result (3 "1-0", 1 "0-1", 2 draw, 0 other); bits 8-11 ECO letter A..E as
//           1..5, bits 4-7 its first digit, bits 0-3 its second (all 0 without an A..E code)
//  32  u8   length of White's key text, then 15 bytes of it (lower-case letters, zero-padded)
//  48  u8   length of Black's key text, then 15 bytes of it
struct DbGameRecord {
    std::uint32_t white_key = 0;
    std::uint32_t black_key = 0;
    std::uint32_t next_white = 0;
    std::uint32_t next_black = 0;
    std::uint32_t header_offset = 0;
    std::uint32_t moves_offset = 0;
    std::uint16_t header_length = 0;
    std::uint16_t moves_length = 0;
    std::uint16_t year = 0;
    std::uint16_t result_eco = 0;
    std::string white_text;
    std::string black_text;

    void Encode(std::uint8_t* out) const;
    // Any 64 bytes decode; a key text longer than 15 is cut to 15.
    static DbGameRecord Decode(const std::uint8_t* in);

    int ResultBits() const { return (result_eco >> 12) & 3; }
    int EcoLetter() const { return (result_eco >> 8) & 0xF; }
    int EcoDigit1() const { return (result_eco >> 4) & 0xF; }
    int EcoDigit2() const { return result_eco & 0xF; }
};

// The result bits of a Result value: 3 "1-0", 1 "0-1", 2 a draw (second character "/"), 0 other.
int DbResultBits(std::string_view result);
// The ECO bits: letter A..E as 1..5 in bits 8-11, then the two digits (a non-digit counts 0);
// 0 when the code does not begin with A..E.
std::uint16_t DbEcoBits(std::string_view eco);
// The year of a Date value: its first four characters read as a number; 0 when empty or "?...".
std::uint16_t DbYear(std::string_view date);

// DbNameKey: a player's name as the key text the database files and finds it by.
//   1. The first "(" cuts the name. Without a comma the name is taken as words and a last word
//      after others is cut to its first letter (a trailing given name keeps its initial). With
//      a comma: nothing after it is form 2; otherwise spaces after it are skipped and the name
//      is cut after the next character (form 1 when that was all, form 3 when more followed).
//   2. Letters only, in lower case, at most 15.
//   3. Build mode: fewer than 4 letters are padded with "q" ("qqqq" without letters). Search
//      mode: a name beginning with "?" is "qqqq"; padding only for a name without letters, or
//      in forms 1..3.
//   4. Index = the first four letters as a base-26 number (26^4 keys); a shorter search text
//      takes its first index, padded with "a".
enum class DbKeyMode { Build, Search };
struct DbNameKey {
    std::string text;
    std::uint32_t index = 0;
    int form = 0;  // 0 no comma, 1 surname and one initial, 2 surname and comma, 3 longer name
};
DbNameKey MakeDbNameKey(std::string_view name, DbKeyMode mode);
std::uint32_t DbKeyIndex(std::string_view text);

// PositionHash of a 64-byte board: s = the sum of its sixteen little-endian u32 words (mod
// 2^32); the hash is (s >> 16) XOR (s AND 0xFFFF).
std::uint16_t PositionHash(const chess::Board64& board);

// The root table: per key the first and last record offset of its chain.
struct DbRootTable {
    std::vector<std::uint32_t> first;
    std::vector<std::uint32_t> last;
    DbRootTable() : first(DbKeyCount, DbEmptyChain), last(DbKeyCount, 0) {}
    void Encode(std::vector<std::uint8_t>& out) const;
    // Exactly DbRootTableBytes bytes, else false.
    bool Decode(std::span<const std::uint8_t> bytes);
};

// DbFileError: 1 "File open error.", 2 "File read error.", anything else "File write error.".
Error DbFileError(int kind);

// The new content of some of a database's files, put in place together. Each file is staged
// beside its own name; Commit flushes them all, writes a commit mark (`name.DBG.commit`, the
// files it covers), renames each into place and removes the mark. A crash before the mark
// leaves the old database whole; after it, RecoverDatabase finishes the renames, so a reader
// never sees half of a change.
class DatabaseStage {
  public:
    DatabaseStage(platform::FileSystem& file_system, const DatabaseNames& names);
    // The staged file for `file`, created on first use.
    platform::StagedFile& Stage(DbFile file);
    // "File write error." when any staged file could not be written or put in place.
    Error Commit();

  private:
    platform::FileSystem& file_system_;
    const DatabaseNames& names_;
    std::array<std::unique_ptr<platform::StagedFile>, DbFileCount> staged_;
};

std::string DatabaseCommitMarkPath(const DatabaseNames& names);

// Finishes a commit a crash interrupted, or removes staged files no commit covered. Every
// reader and writer of a database calls it first.
void RecoverDatabase(const DatabaseNames& names,
                     platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::search
