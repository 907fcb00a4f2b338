#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command.h"
#include "pgn/game_file_edit.h"

namespace qorvale::cli {

namespace {

// "3,7,10-12" as game numbers in list order; false when the list is malformed.
bool ReadGameList(const std::string& text, std::vector<std::int32_t>& games) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        char* end = nullptr;
        const long first = std::strtol(item.c_str(), &end, 10);
        long last = first;
        if (end != item.c_str() && *end == '-') {
            const char* second = end + 1;
            last = std::strtol(second, &end, 10);
            if (end == second) return false;
        }
        if (item.empty() || *end != '\0' || first < 1 || last < first ||
            last > pgn::MaxGamesPerFile) {
            return false;
        }
        for (long game = first; game <= last; ++game)
            games.push_back(static_cast<std::int32_t>(game));
        start = comma + 1;
    }
    return !games.empty();
}

}  // namespace

// Copies the listed games of FILE to TARGET as the navigation list's copy does: a new file (or
// one replaced) unless --append. "Do you want to continue?" is answered by --yes.
int RunCopyGamesCommand(const CommandArgs& args) {
    std::vector<std::int32_t> games;
    const std::string target = args.FlagValue("--to");
    if (args.words.size() != 1 || target.empty() ||
        !ReadGameList(args.FlagValue("--games"), games)) {
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
