#include <cstdio>
#include <cstdlib>
#include <string>

#include "chess/chess_state.h"
#include "chess/fen.h"
#include "cli/command.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

// Replays the main line of every game (or of game N) as the window loads it and prints one line
// per half-move played: game, ply, the move text after the replay and the placement after it.
// With --last one line per game: game, the half-moves played, the last move and the final
// placement (the start placement for a game without moves).
int RunPositionsCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("positions");
    long wanted = 0;
    if (args.HasFlag("--game")) {
        std::string value = args.FlagValue("--game");
        char* end = nullptr;
        wanted = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != 0 || wanted < 1) return UsageError("positions");
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    std::int32_t count = file.GameCount();

    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState state(args.ui);
    pgn::LoadOptions options;
    // A whole file is read quietly; a single game shows its warnings as the window would.
    options.quiet = wanted == 0;
    const bool last_only = args.HasFlag("--last");
    std::string out;
    long first = wanted != 0 ? wanted : 1;
    long last = wanted != 0 ? wanted : count;
    for (long game = first; game <= last; ++game) {
        Result<int> loaded = pgn::OpenGameForDisplay(file, static_cast<int>(game), header, lines,
                                                     state, *args.ui, options);
        if (!loaded.ok()) return 1;
        const chess::MainLineMoves& moves = lines.Moves();
        auto print = [&](int ply, int number, std::string_view text) {
            state.RestorePosition(ply);
            out.clear();
            out += std::to_string(game);
            out += '\t';
            out += std::to_string(number);
            out += '\t';
            out += text;
            out += '\t';
            chess::AppendPlacement(state.CurrentBoard(), out);
            out += '\n';
            std::fwrite(out.data(), 1, out.size(), stdout);
        };
        // The place of White's move in a game Black begins is no half-move played.
        const int placeholder = *loaded > 0 && moves.WhiteMoves[0][0] == '.' ? 1 : 0;
        if (last_only) {
            const int ply = *loaded;
            const auto index = static_cast<std::size_t>((ply - 1) / 2);
            std::string_view text;
            if (ply > placeholder) {
                text = (ply % 2 == 1 ? moves.WhiteMoves[index] : moves.BlackMoves[index]).view();
            }
            print(ply > placeholder ? ply : 0, ply - placeholder, text);
            continue;
        }
        for (int ply = 1 + placeholder; ply <= *loaded; ++ply) {
            const auto index = static_cast<std::size_t>((ply - 1) / 2);
            const chess::MoveText& text =
                ply % 2 == 1 ? moves.WhiteMoves[index] : moves.BlackMoves[index];
            print(ply, ply, text.view());
        }
    }
    return 0;
}

}  // namespace qorvale::cli
