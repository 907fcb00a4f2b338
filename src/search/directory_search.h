#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "search/copy_target.h"
#include "search/directory_results.h"
#include "search/search_criteria.h"

namespace qorvale::search {

// At most this many PGN files of a folder are searched; their stems share a buffer of
// DirectoryNameBuffer bytes, one "." after each.
inline constexpr int MaxDirectoryFiles = 4096;
inline constexpr std::size_t DirectoryNameBuffer = 32768;
// A stem must fit the results record's 56-byte name with room to spare: stems of this many
// bytes or more are skipped.
inline constexpr std::size_t MaxStemBytes = 52;

// The PGN files of `folder` a directory search takes, as the stems (names before the first
// ".") of the files named stem + ".pgn" (extension in any letter case), sorted without regard to
// case, at most MaxDirectoryFiles and as many as fit the name buffer. Each entry keeps the name
// it was listed under.
struct DirectoryFile {
    std::string stem;
    std::string name;
};
std::vector<DirectoryFile> ListDirectoryFiles(const std::string& folder);

// What a directory search needs, copied so that it can run on the worker thread.
struct DirectorySearchRequest {
    std::string folder;
    std::string results_path;  // searchqq.xyz in the install folder
    DirectorySearchKind kind = DirectorySearchKind::Header;
    // The combination code: the header search's 0..3, the variation search's 1..3 (a 0 is
    // taken as 1); the position search has none.
    std::uint32_t combination = 0;
    SearchCriteria criteria;
};

struct DirectorySearchControl {
    // Asked between files: a cancel ends the search after the file in work.
    std::function<bool()> cancelled;
    // Before each file: 0-based file index, games found so far, files in all, the file's stem.
    std::function<void(int index, std::int64_t found, int total, std::string_view stem)> progress;
};

struct DirectorySearchSummary {
    int files_listed = 0;
    int files_with_matches = 0;
    std::int64_t games_found = 0;
    bool cancelled = false;
    bool results_written = false;
    // The closing message, empty when games were found: "No files were found.", "No matches
    // were found.", "Error opening file." (the results file could not be written), or a refusal
    // of the criteria.
    std::string message;
};

// SearchDirectory: runs the search on every PGN file of the folder in turn, each through its
// own fast file when that is current (its header file's count equals the file's game count)
// and through the PGN text otherwise, and writes the results file when some file had matches.
// A search that finds nothing leaves the previous results file in place. On the way, through
// `ui`: "Filename %s is too long." for a stem of MaxStemBytes bytes or more and "Warning: Too
// many games." for a file of 200,000 games or more, both skipped; files that cannot be opened
// are skipped silently. The PGN files are only read (a file with over-long records is not
// re-wrapped).
DirectorySearchSummary SearchDirectory(
    const DirectorySearchRequest& request, const DirectorySearchControl& control, Ui& ui,
    platform::FileSystem& file_system = platform::SystemFileSystem());

// Where the found games of the results file are copied.
struct DirectoryCopyRequest {
    std::string results_path;
    std::string target;
    bool append = false;
    std::string current_file;  // the open PGN file, which may not be the target
};

// CopyDirectoryGames: writes the found games of every listed file (at most MaxResultFiles), in
// ascending order per file, to one PGN file with CR LF line ends, each game exactly as its file
// holds it. Asks "File already exists. Do you want to overwrite?" (appending: "Do you want to
// continue?"); refuses with "You must perform a directory search first.", "The file specified
// is the same as the current file.", "File does not exist." (appending to a missing file) or
// "Error creating new file.". The target is replaced only by a complete file.
//
// The second form of the copy, into a tree merge file, belongs with the opening tree: it takes
// the same records, through DirectoryGameFilePath, and each file's move records.
CopyOutcome CopyDirectoryGames(const DirectoryCopyRequest& request, Ui& ui,
                               platform::FileSystem& file_system = platform::SystemFileSystem());

// Appends game `game_number` (1-based) of a scanned file to `out`: its bytes from its first tag
// line up to the next game's, with every line ended by CR LF. False when it cannot be read.
bool AppendGameText(platform::File& file, std::span<const std::uint32_t> offsets,
                    std::int32_t game_number, std::string& out);

}  // namespace qorvale::search
