#pragma once

#include <string>

#include "output/player_table.h"
#include "pgn/pgn_file.h"

namespace qorvale::test {

// Opens and scans `path` in `file` and returns a request over all of its games (key matching,
// the fast header file when there is one).
output::PlayerTableRequest OpenPlayerRequest(pgn::PgnFile& file, const std::string& path);

}  // namespace qorvale::test
