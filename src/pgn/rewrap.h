#pragma once

#include <cstddef>
#include <string>

#include "base/result.h"
#include "platform/file_system.h"

namespace qorvale::pgn {

// Buffer size of the re-wrap copy.
inline constexpr std::size_t RewrapBufferSize = 500000;
// Column from which a space becomes a line break.
inline constexpr int RewrapBreakColumn = 230;
// The temporary file of whole-file rewrites, in the PGN file's folder.
inline constexpr const char* RewriteTempName = "tempqqqq.xyz";

// Rewrites the PGN file at `pgn_path` with shorter lines: runs of spaces collapse to one, lines
// lose their leading spaces, a space from column 230 on becomes a CR LF, and text glued to a "}"
// gets a space. Tag lines (a tag's value is kept whole, however long), "%" escape lines and ";"
// comments are never broken, and no break starts a line with "[" or "%". The new content goes to
// "tempqqqq.xyz" beside the file, is flushed, and then takes the file's place under the name
// DisplayStem + ".pgn" in the same folder when that changes only the letter case of a ".pgn"
// name; any other name ("my.games.pgn", "games.txt") is kept. The old name is removed when it
// differs. When another file already bears the new name, the file keeps its own name. Returns
// the new path. On any failure the user's file is left
// as it was, the temporary file is removed, and the error is "Error creating temp file.".
// The caller must not hold data read from the file past this call (reopen the new path).
Result<std::string> RewrapLongRecords(const std::string& pgn_path,
                                      platform::FileSystem& file_system);

}  // namespace qorvale::pgn
