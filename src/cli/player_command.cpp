#include <cstdio>
#include <string>

#include "cli/command.h"
#include "output/player_card.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

// Prints the card of player NAME over the games of FILE.
int RunPlayerCommand(const CommandArgs& args) {
    if (args.words.size() != 2) return UsageError("player");
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    output::PlayerTableRequest request;
    request.pgn_path = file.CurrentPath();
    request.offsets = file.Index().Offsets();
    request.game_count = file.GameCount();
    request.match =
        args.HasFlag("--exact-players") ? output::PlayerMatch::Exact : output::PlayerMatch::Key;
    request.use_fast_file = !args.HasFlag("--no-fast-file");
    const output::PlayerCard card = output::BuildPlayerCard(request, args.words[1], *args.ui);
    if (card.games.empty()) {
        std::fprintf(stderr, "No games of %s.\n", args.words[1].c_str());
        return 1;
    }
    const std::string text = output::FormatPlayerCard(card);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace qorvale::cli
