#include <cstdint>
#include <cstdio>

#include "chess/chess_state.h"
#include "cli/command.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

// Loads every game of FILE as the window would, quietly, and prints one summary line: games
// loaded, half-moves replayed, games with annotations, games cut at 200 moves, and games with a
// move the chess core could not make.
int RunCheckLoadCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("check-load");
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    std::int32_t count = file.GameCount();

    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    SilentUi quiet_ui;
    pgn::LoadOptions options;
    options.quiet = true;
    std::int64_t half_moves = 0;
    int loaded = 0;
    int annotated = 0;
    int cut = 0;
    int unplayable = 0;
    for (std::int32_t game = 1; game <= count; ++game) {
        Result<int> result =
            pgn::OpenGameForDisplay(file, game, header, lines, chess, quiet_ui, options);
        if (!result.ok()) continue;
        ++loaded;
        half_moves += *result;
        if (lines.AnnotationCount() > 0) ++annotated;
        if (lines.HitMoveLimit()) ++cut;
        if (chess.ValidateGameMoves(lines.Moves(), lines.FullMoves()) != 0) ++unplayable;
    }
    std::printf("games %d  half-moves %lld  annotated %d  cut-at-200 %d  unplayable %d\n", loaded,
                static_cast<long long>(half_moves), annotated, cut, unplayable);
    return 0;
}

}  // namespace qorvale::cli
