#include <cstdio>

#include "cli/command.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

// Opens FILE as the window does and prints the byte offset of each game's first tag line.
int RunOffsetsCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("offsets");
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    for (std::uint32_t offset : file.Index().Offsets()) std::printf("%u\n", offset);
    return 0;
}

}  // namespace qorvale::cli
