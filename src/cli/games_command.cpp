#include <cstdio>

#include "cli/command.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

// Opens FILE as the window does (offset cache read and written, re-wrap of long records) and
// prints the number of games.
int RunGamesCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("games");
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    std::int32_t count = file.GameCount();
    std::printf("%d\n", count);
    return 0;
}

}  // namespace qorvale::cli
