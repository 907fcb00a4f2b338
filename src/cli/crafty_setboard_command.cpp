#include <cstdio>

#include "cli/command.h"
#include "engines/crafty_commands.h"
#include "engines/engine_board.h"

namespace qorvale::cli {

// Prints the setboard command Crafty gets for a FEN position.
int RunCraftySetboardCommand(const CommandArgs& args) {
    if (!args.words.empty() || !args.HasFlag("--fen")) return UsageError("crafty-setboard");
    std::optional<engines::EngineFen> read = engines::ReadEngineFen(args.FlagValue("--fen"));
    if (!read) {
        std::fprintf(stderr, "qorvale-tool: not a FEN position\n");
        return 2;
    }
    std::printf("%s\n", engines::BuildSetboardText(read->position.start, read->info).c_str());
    return 0;
}

}  // namespace qorvale::cli
