#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "openings/tree_source.h"
#include "support/temp_dir.h"

namespace qorvale::test {

// A PGN file of real games in a temporary folder, indexed, with or without its fast file.
struct TreeGames {
    std::string path;
    std::vector<std::uint32_t> offsets;
    std::int32_t count = 0;

    // The tree source request the window would make for this file.
    openings::TreeSourceRequest Request(bool use_fast_file = true) const;
};

// The games of tests/data/chess/games.pgn, written to dir/`name`. Without `keep_fen_games` the
// games that start from a FEN position are left out (a game being the text from one "[Event "
// line to the next), as tests/data/tree/make_reference.py leaves them out.
std::string TreeGamesText(bool keep_fen_games = false);

// Writes `text` to dir/`name`, scans it and, with `fast_file`, makes its fast file.
TreeGames WriteTreeGames(const TempDir& dir, std::string_view name, std::string_view text,
                         bool fast_file);

}  // namespace qorvale::test
