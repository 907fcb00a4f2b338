#include <cstdlib>
#include <memory>

#include "app/file_utilities.h"
#include "cli/command.h"
#include "utilities/adjust_file.h"
#include "utilities/worker.h"

namespace qorvale::cli {

// adjust FILE [--trim N]: rewrites every game of FILE in the normal layout, or cut to N
// half-moves.
int RunAdjustCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("adjust");
    int trim = 0;
    if (args.HasFlag("--trim")) {
        trim = std::atoi(args.FlagValue("--trim").c_str());
        if (trim < 1) return UsageError("adjust");
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    if (trim > 0 && !app::AskTrim(*args.ui)) return 1;
    std::optional<utilities::AdjustRequest> request = app::ConfirmAdjust(file, trim, *args.ui);
    if (!request) return 1;
    auto result = std::make_shared<utilities::AdjustResult>();
    utilities::Worker worker(*args.ui);
    if (utilities::StartAdjustFile(worker, std::move(*request), result)) return 1;
    worker.Wait();
    return result->replaced ? 0 : 1;
}

}  // namespace qorvale::cli
