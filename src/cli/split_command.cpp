#include <cstdio>
#include <memory>

#include "cli/command.h"
#include "utilities/split_file.h"
#include "utilities/worker.h"

namespace qorvale::cli {

// split FILE [--maximum-size]: cuts FILE into files of 32750 games (200000 with --maximum-size)
// and prints their names.
int RunSplitCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("split");
    utilities::SplitRequest request;
    request.source_path = args.words[0];
    request.maximum_sized = args.HasFlag("--maximum-size");
    auto result = std::make_shared<utilities::SplitResult>();
    utilities::Worker worker(*args.ui);
    if (utilities::StartSplitFile(worker, std::move(request), result)) return 1;
    worker.Wait();
    for (const std::string& name : result->files) std::printf("%s\n", name.c_str());
    return result->error.ok() && !result->declined ? 0 : 1;
}

}  // namespace qorvale::cli
