#include <cstdlib>
#include <string>

#include "app/extract_variations.h"
#include "cli/command.h"

namespace qorvale::cli {

// Writes every variation of game N (or of every game) of FILE as a game of its own to OUT, as
// Extract Variations does; an existing OUT is replaced or, with --append, added to (after
// --yes).
int RunExtractVariationsCommand(const CommandArgs& args) {
    const std::string out = args.FlagValue("-o");
    if (args.words.size() != 1 || out.empty()) return UsageError("extract-variations");
    long game = 0;
    if (args.HasFlag("--game")) {
        const std::string text = args.FlagValue("--game");
        char* end = nullptr;
        game = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || game < 1) return UsageError("extract-variations");
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    if (game > file.GameCount()) {
        args.ui->report("There is no game " + std::to_string(game) + " in " + args.words[0] + ".");
        return 1;
    }
    app::ExtractVariationsRequest request;
    request.pgn_path = args.words[0];
    request.offsets = file.Index().Offsets();
    request.game = static_cast<std::int32_t>(game);
    request.target = out;
    request.append = args.HasFlag("--append");
    Result<app::ExtractVariationsDone> done =
        app::ExtractVariations(request, *args.ui, platform::SystemFileSystem());
    if (!done.ok()) {
        args.ui->report(done.error().message());
        return 1;
    }
    return done->cancelled ? 1 : 0;
}

}  // namespace qorvale::cli
