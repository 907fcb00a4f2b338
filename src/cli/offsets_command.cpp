#include <cstdio>

#include "cli/command.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

// Opens FILE as the window does and prints the byte offset of each game's first tag line.
int RunOffsetsCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("offsets");
    pgn::PgnFile file;
    if (Error error = file.Open(args.words[0]); !error.ok()) {
        args.ui->report(error.message());
        return 1;
    }
    file.ScanGameFile(false, *args.ui);
    if (!file.IsOpen()) return 1;
    for (std::uint32_t offset : file.Index().Offsets()) std::printf("%u\n", offset);
    return 0;
}

}  // namespace qorvale::cli
