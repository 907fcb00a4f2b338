#include <cstdio>
#include <string>

#include "app/engine_session.h"
#include "cli/command.h"
#include "cli/engine_run.h"

namespace qorvale::cli {

// Plays the given moves from the start position as the game so far and prints the engine's
// reply: its coordinate text and its SAN.
int RunPlayCommand(const CommandArgs& args) {
    if (!args.words.empty() || !args.HasFlag("--engine") || !args.HasFlag("--moves")) {
        return UsageError("play");
    }
    std::optional<std::string> go = SearchCommand(args, "go movetime 1000");
    if (!go) return UsageError("play");
    engines::EngineBoard board;
    const std::string moves = args.FlagValue("--moves");
    std::size_t at = 0;
    while (at < moves.size()) {
        std::size_t end = moves.find(' ', at);
        if (end == std::string::npos) end = moves.size();
        std::string word = moves.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        std::optional<engines::CoordinateSquares> move = engines::ParseCoordinateMove(word);
        if (!move || !board.Play(*move)) {
            std::fprintf(stderr, "qorvale-tool: %s is not a legal move here\n", word.c_str());
            return 1;
        }
    }

    app::EngineStart start;
    start.kind = engines::EngineKind::Uci;
    start.mode = app::EngineMode::Play;
    start.path = args.FlagValue("--engine");
    start.position = board.Position();
    start.engine_moves_first = true;  // the engine plays the side to move
    start.play_go = *go;
    app::EngineSession session(*args.ui);
    if (!session.Start(start, app::EngineSession::Clock::now()).ok()) return 1;
    bool moved = DriveEngine(
        session, [](const app::EngineUpdate& update) { return update.board; }, false);
    if (moved) {
        const engines::EngineBoard& played = session.PlayBoard();
        std::printf("%s %s\n", std::string(played.Position().moves.back().view()).c_str(),
                    played.SanMoves().back().c_str());
    }
    session.StopNow();
    return moved ? 0 : 1;
}

}  // namespace qorvale::cli
