#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "platform/file_system.h"
#include "search/search_criteria.h"

namespace qorvale::search {

// The results file of a directory search (`searchqq.xyz` in the install folder; a saved `.dir`
// file is a byte-for-byte copy). Integers are u32 little-endian.
//
//   folder        200 bytes  the searched folder, zero-terminated
//   kind          u32        1 variation, 2 position, any other value header (3 is written)
//   combination   u32        the search's combination code, 0..3
//   line word     u32        bits 0-27: half-moves of the search line as searched in the first
//                            file with matches; bits 28-31: format flags, all set when written
//   criteria                 variation kind: variation block, then the position block when the
//                            combination is not 0; position kind: position block; header kind:
//                            header block, variation block when the combination is 1 or 3,
//                            position block when it is not 0 (blocks as in a `.ser` file)
//   file records             one per PGN file with matches, in search order
//   end mark      8 bytes    zeros (a record whose name begins with a zero byte)
//
// File record:
//   name          56 bytes   the file's stem (its name before the first "."), zero-terminated
//   count         u32        games found
//   white wins    u32        [flag 31] class 1 games
//   black wins    u32        [flag 31] class 2 games
//   line length   u32        [flag 30] half-moves of the line searched after Force Match
//   class 3       u32        [flag 29] either-colour search: other results as White (a normal
//   class 4       u32        [flag 29]   search keeps 0xFFFFFFFF in class 3)
//   games         count u32  1-based numbers of the found games
//   half-moves    count u32  present for the position kind and combinations 2 and 3
//
// Format flags: bit 31 records hold the win counts (without it the whole third word is the line
// length and records hold name and count only); bit 30 the line length; bit 29 the class 3 and 4
// counts; bit 28 the header block holds all eleven fields (else the first nine, Event .. Number
// of Moves).
enum class DirectorySearchKind : std::uint32_t { Variation = 1, Position = 2, Header = 3 };

inline constexpr std::size_t ResultsFolderSize = 200;
inline constexpr std::size_t ResultsStemSize = 56;
inline constexpr std::size_t ResultsEndMarkSize = 8;
inline constexpr std::uint32_t FormatWinCounts = 0x80000000;
inline constexpr std::uint32_t FormatLineLength = 0x40000000;
inline constexpr std::uint32_t FormatClassCounts = 0x20000000;
inline constexpr std::uint32_t FormatElevenFields = 0x10000000;
inline constexpr std::uint32_t FormatFlags = 0xF0000000;
// The results dialog and the copy take at most this many files.
inline constexpr int MaxResultFiles = 1000;

// Whether the records of a search carry a half-move per game.
bool ResultsHaveHalfMoves(DirectorySearchKind kind, std::uint32_t combination);

// The searched folder, the search and its criteria.
struct DirectoryResultsHeader {
    std::string folder;
    DirectorySearchKind kind = DirectorySearchKind::Header;
    std::uint32_t combination = 0;
    std::uint32_t line_length = 0;
    SearchCriteria criteria;  // the blocks the kind and combination name; the rest stays empty
};

// One file's found games.
struct DirectoryFileResult {
    std::string stem;
    std::uint32_t white_wins = 0;
    std::uint32_t black_wins = 0;
    std::uint32_t line_length = 0;
    std::int32_t class3 = -1;  // -1: a normal search
    std::int32_t class4 = 0;
    std::vector<std::int32_t> games;
    std::vector<std::int32_t> half_moves;  // empty when the search kept none
};

// Appends the header and criteria, with every format flag set.
void AppendResultsHeader(std::vector<std::uint8_t>& out, const DirectoryResultsHeader& header);
// Appends one file record; its half-moves are written when the search keeps them.
void AppendFileRecord(std::vector<std::uint8_t>& out, const DirectoryResultsHeader& header,
                      const DirectoryFileResult& file);
void AppendResultsEndMark(std::vector<std::uint8_t>& out);

// A results file read back.
struct DirectoryResults {
    DirectoryResultsHeader header;
    std::uint32_t format = 0;  // the flags found in the third word
    std::vector<DirectoryFileResult> files;
    bool damaged = false;     // a record ran past the end, or the end mark was missing
    bool over_limit = false;  // more than MaxResultFiles records; the rest were not read
};

// Reads the header, criteria and up to `max_files` records from the bytes of a results file.
// "Invalid search file." when the header or criteria are cut short; records cut short end the
// list and set `damaged`.
Result<DirectoryResults> ParseDirectoryResults(std::span<const std::uint8_t> bytes,
                                               int max_files = MaxResultFiles);
// The same from a file: "Error opening file." when it cannot be read.
Result<DirectoryResults> ReadDirectoryResults(const std::string& path,
                                              int max_files = MaxResultFiles);

// SaveDirectoryResults: copies the results file to `target` (a `.dir` file). "Must perform a
// directory search." without a results file, "Error opening file." when the target cannot be
// written. The target is replaced only by a complete copy.
Error SaveDirectoryResults(const std::string& results_path, const std::string& target,
                           platform::FileSystem& file_system = platform::SystemFileSystem());
// LoadDirectoryResults: copies a `.dir` file to the results file. "Error opening file." when the
// source cannot be read, "Error creating search file." when the results file cannot be written.
Error LoadDirectoryResults(const std::string& source, const std::string& results_path,
                           platform::FileSystem& file_system = platform::SystemFileSystem());

// The PGN file of a results record: `folder`/`stem`.pgn, the extension matched without regard to
// case when the exact name does not exist.
std::string DirectoryGameFilePath(const std::string& folder, const std::string& stem);

// The line of the "Select File" list: the stem, ":" and the count.
std::string ResultFileLine(const DirectoryFileResult& file);

}  // namespace qorvale::search
