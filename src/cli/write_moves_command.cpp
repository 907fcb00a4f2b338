#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.h"
#include "pgn/game_rewrite.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

// Prints game N of FILE as RewriteCurrentGame would write it back: its header lines, its moves
// with their annotations, the lines joined and broken as a rewrite does. The file is not changed.
int RunWriteMovesCommand(const CommandArgs& args) {
    if (args.words.size() != 2) return UsageError("write-moves");
    char* end = nullptr;
    const long game = std::strtol(args.words[1].c_str(), &end, 10);
    if (end == args.words[1].c_str() || *end != '\0' || game < 1) return UsageError("write-moves");
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    Result<pgn::GameRewrite> loaded = pgn::LoadGameRewrite(file, static_cast<std::int32_t>(game));
    if (!loaded.ok()) {
        args.ui->report(loaded.error().message());
        return 1;
    }
    const std::string text = pgn::RewriteGameText(*loaded);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace qorvale::cli
