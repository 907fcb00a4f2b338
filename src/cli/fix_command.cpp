#include "app/file_utilities.h"
#include "cli/command.h"
#include "utilities/fix_tags.h"

namespace qorvale::cli {

// fix-dates FILE OLD NEW: the Date tags that read OLD read NEW.
int RunFixDatesCommand(const CommandArgs& args) {
    if (args.words.size() != 3) return UsageError("fix-dates");
    if (Error error = utilities::ValidateFixDates(args.words[1], args.words[2])) {
        args.ui->report(error.message());
        return 2;
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    utilities::FixOutcome outcome =
        utilities::FixGameDates(app::FixTargetFor(file), args.words[1], args.words[2], *args.ui);
    return outcome.confirmed && outcome.error.ok() ? 0 : 1;
}

// fix-names FILE OLD NEW: the player named OLD (by the name key) is named NEW.
int RunFixNamesCommand(const CommandArgs& args) {
    if (args.words.size() != 3) return UsageError("fix-names");
    std::optional<utilities::FixNames> names =
        utilities::PrepareFixNames(args.words[1], args.words[2], *args.ui);
    if (!names) return 2;
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    utilities::FixOutcome outcome =
        utilities::FixPlayerNames(app::FixTargetFor(file), *names, *args.ui);
    return outcome.confirmed && outcome.error.ok() ? 0 : 1;
}

}  // namespace qorvale::cli
