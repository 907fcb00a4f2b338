#include <cstdio>

#include "app/engine_session.h"
#include "chess/chess_state.h"
#include "chess/setup_validation.h"
#include "cli/command.h"
#include "cli/engine_run.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

namespace {

// "Analyse the game": every position of the game in turn, then the evaluation profile, one
// point per half-move as its tool tip reads.
int AnalyseWholeGame(app::EngineSession& session, const engines::EnginePosition& game,
                     const std::string& go) {
    (void)session.AnalyseGame(game, go);
    // One best move per position, from the start to the end of the game.
    int positions = game.HalfMoves() + 1 - (game.black_first ? 1 : 0);
    const bool answered = DriveEngine(
        session,
        [&positions](const app::EngineUpdate& update) {
            return update.best_move && --positions == 0;
        },
        false);
    for (const engines::ProfilePoint& point : session.Profile()) {
        std::printf("%s\n", app::ProfileToolTip(point).c_str());
    }
    session.StopNow();
    return answered ? 0 : 1;
}

}  // namespace

// Analyses one position with a UCI engine and prints the engine window's rows as they come,
// then the best move.
int RunAnalyseCommand(const CommandArgs& args) {
    const bool from_fen = args.HasFlag("--fen");
    const bool whole_game = args.HasFlag("--whole-game");
    if (!args.words.empty() || !args.HasFlag("--engine") || from_fen == args.HasFlag("--file") ||
        (whole_game && from_fen)) {
        return UsageError("analyse");
    }
    std::optional<std::string> go = SearchCommand(args, "go depth 12");
    std::optional<long> multipv = NumberFlag(args, "--multipv", 1, 1);
    std::optional<long> game = NumberFlag(args, "--game", 1, 1);
    std::optional<long> ply = NumberFlag(args, "--ply", 0, 0);
    if (!go || !multipv || !game || !ply) return UsageError("analyse");

    app::EngineStart start;
    start.kind = engines::EngineKind::Uci;
    start.mode = app::EngineMode::Analyse;
    start.path = args.FlagValue("--engine");
    start.analysis_go = *go;
    start.multipv = static_cast<int>(*multipv);
    if (from_fen) {
        std::optional<engines::EngineFen> read = engines::ReadEngineFen(args.FlagValue("--fen"));
        if (!read) {
            std::fprintf(stderr, "qorvale-tool: not a FEN position\n");
            return 2;
        }
        if (chess::ValidateSetupPosition(read->position.start, *args.ui) == 0) return 1;
        start.position = read->position;
    } else {
        pgn::PgnFile file;
        if (!OpenForCommand(file, args.FlagValue("--file"), *args.ui)) return 1;
        pgn::HeaderTags header;
        pgn::GameLines lines;
        chess::ChessState chess(args.ui);
        Result<int> loaded =
            pgn::OpenGameForDisplay(file, static_cast<int>(*game), header, lines, chess, *args.ui);
        if (!loaded.ok()) return 1;
        const int half_moves = *ply < *loaded ? static_cast<int>(*ply) : *loaded;
        start.position = engines::EnginePositionFromGame(chess, lines.Moves(), half_moves);
        if (whole_game) {
            start.position = engines::EnginePositionFromGame(chess, lines.Moves(), *loaded);
            start.profile = true;
        }
    }

    app::EngineSession session(*args.ui);
    if (!session.Start(start, app::EngineSession::Clock::now()).ok()) return 1;
    if (whole_game) return AnalyseWholeGame(session, start.position, *go);
    const bool answered =
        DriveEngine(session, [](const app::EngineUpdate& update) { return update.best_move; });
    if (answered) {
        const engines::EngineList* list = session.List();
        if (list->Rows().empty() || list->Rows().back() != session.BestMoveText()) {
            std::printf("%s\n", session.BestMoveText().c_str());
        }
    }
    session.StopNow();
    return answered ? 0 : 1;
}

}  // namespace qorvale::cli
