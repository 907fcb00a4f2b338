#pragma once

#include <string>

#include "base/error.h"
#include "base/ui.h"
#include "pgn/pgn_file.h"

namespace qorvale::app {

// Messages of opening a file that the program adds to its own fixed texts.
inline constexpr std::string_view NoGamesInFile = "There are no games in this file.";

// How a front end wants a file opened.
struct OpenRequest {
    std::string path;
    bool force_scan = false;  // ignore the offset cache (Reload)
    bool warn_empty = true;   // say so when the file holds no games
};

// Opens and scans a PGN file the one way every front end does: the warnings about a tree merge
// file or a database of the same name, the open itself ("Error opening file.", the file that
// was open stays open), the scan with its questions and warnings through `ui`, and "There are
// no games in this file." for a file without games. A scan that had to close the file (its
// re-wrap failed half-way) is a failure too. On success `file` is open and indexed; its
// CurrentPath() follows a re-wrap to the file's new name.
Error OpenGameFile(pgn::PgnFile& file, const OpenRequest& request, Ui& ui);

}  // namespace qorvale::app
