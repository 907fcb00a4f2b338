#include <cstdio>
#include <string>

#include "app/engine_session.h"
#include "cli/command.h"
#include "cli/engine_run.h"

namespace qorvale::cli {

// "UCI Options": starts the engine, and once it is ready prints the options it offers, one
// "name ... type ..." line each, as the window's "UCI Options" lists them.
int RunUciOptionsCommand(const CommandArgs& args) {
    if (!args.words.empty() || !args.HasFlag("--engine")) return UsageError("uci-options");
    app::EngineStart start;
    start.kind = engines::EngineKind::Uci;
    // A game in which the user moves first: the engine is asked for nothing after the handshake.
    start.mode = app::EngineMode::Play;
    start.path = args.FlagValue("--engine");
    app::EngineSession session(*args.ui);
    if (!session.Start(start, app::EngineSession::Clock::now()).ok()) return 1;
    const bool ready = DriveEngine(
        session, [](const app::EngineUpdate& update) { return update.started; }, false);
    if (ready && session.UciOptionList() != nullptr) {
        std::fputs(session.UciOptionList()->c_str(), stdout);
    }
    session.StopNow();
    return ready ? 0 : 1;
}

}  // namespace qorvale::cli
