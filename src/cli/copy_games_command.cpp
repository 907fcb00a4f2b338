#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command.h"
#include "pgn/game_file_edit.h"

namespace qorvale::cli {

// Copies the listed games of FILE to TARGET as the navigation list's copy does: a new file (or
// one replaced) unless --append. "Do you want to continue?" is answered by --yes.
int RunCopyGamesCommand(const CommandArgs& args) {
    std::vector<std::int32_t> games;
    const std::string target = args.FlagValue("--to");
    if (args.words.size() != 1 || target.empty() ||
        !ParseGameNumbers(args.FlagValue("--games"), games)) {
        return UsageError("copy-games");
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    pgn::GameFileEditor editor(file, *args.ui);
    Result<pgn::EditDone> done =
        editor.CopyNavigationGames(games, target, args.HasFlag("--append"));
    if (!done.ok()) {
        args.ui->report(done.error().message());
        return 1;
    }
    return done->cancelled ? 1 : 0;
}

}  // namespace qorvale::cli
