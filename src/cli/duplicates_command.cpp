#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/duplicate_check.h"
#include "cli/command.h"
#include "utilities/worker.h"

namespace qorvale::cli {

// duplicates FILE [--max-move-difference N] [--look-ahead N | --entire-file] [--check-names]
// [--text] [--delete]: the duplicate check of FILE, its lines and title; --delete then deletes
// the duplicates.
int RunDuplicatesCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("duplicates");
    utilities::DuplicateSettings settings = utilities::DuplicateSettings::Defaults();
    if (args.HasFlag("--max-move-difference")) {
        settings.max_move_difference =
            static_cast<std::int32_t>(std::atoi(args.FlagValue("--max-move-difference").c_str()));
    }
    if (args.HasFlag("--look-ahead")) {
        settings.look_ahead =
            static_cast<std::int32_t>(std::atoi(args.FlagValue("--look-ahead").c_str()));
    }
    settings.entire_file = args.HasFlag("--entire-file");
    settings.check_names = args.HasFlag("--check-names");
    if (settings.max_move_difference < 0 || settings.look_ahead < 0) {
        return UsageError("duplicates");
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;

    app::DuplicateCheck check;
    utilities::Worker worker(*args.ui);
    if (check.Start(worker, file, settings, *args.ui, args.HasFlag("--text")) !=
        app::DuplicateCheck::Begin::Started) {
        return 1;
    }
    worker.Wait();
    check.Finished();
    if (!check.Result().error.ok()) return 1;
    if (check.Result().duplicates.empty()) return 0;
    for (const std::string& line : check.Lines()) std::printf("%s\n", line.c_str());
    std::printf("%s\n", check.Title().c_str());
    std::fflush(stdout);
    if (args.HasFlag("--delete") && !check.Delete(file, *args.ui)) return 1;
    return 0;
}

}  // namespace qorvale::cli
