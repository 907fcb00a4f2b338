#include <cstdio>

#include "cli/command.h"
#include "engines/crafty_files.h"

namespace qorvale::cli {

// Converts a Crafty game log to PGN beside it and prints the new file's path.
int RunCan2pgnCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("can2pgn");
    const std::string path = engines::CanFileName(args.words[0]);
    if (Error error = engines::ConvertCanFile(path); !error.ok()) {
        args.ui->report(error.message());
        return 1;
    }
    std::printf("%s\n", engines::ConvertedCanPath(path).c_str());
    return 0;
}

}  // namespace qorvale::cli
