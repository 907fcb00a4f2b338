#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/engine_session.h"
#include "cli/command.h"

namespace qorvale::cli {

// Drives `session` the way the window's timer and output notifier do, but waiting in between,
// until `done` is true for an update or the engine has stopped; with `print_rows` the engine
// window's rows go to stdout as they are added. Returns false when the engine stopped first.
bool DriveEngine(app::EngineSession& session,
                 const std::function<bool(const app::EngineUpdate&)>& done, bool print_rows = true);

// The UCI search command of --depth D or --movetime MS (not both), else `fallback`; nothing
// when the flags are malformed.
std::optional<std::string> SearchCommand(const CommandArgs& args, std::string_view fallback);

// The value of a flag holding a whole number of at least `minimum`; `fallback` when it is
// absent, nothing when it is malformed.
std::optional<long> NumberFlag(const CommandArgs& args, std::string_view name, long fallback,
                               long minimum);

}  // namespace qorvale::cli
