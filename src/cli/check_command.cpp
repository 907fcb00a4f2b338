#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/error_list.h"
#include "app/file_utilities.h"
#include "cli/command.h"
#include "platform/file.h"
#include "utilities/check_file.h"
#include "utilities/worker.h"

namespace qorvale::cli {

namespace {

// LIST is a file of game numbers (the output of `search`, for one) or numbers with commas.
std::vector<std::int32_t> ReadGameList(const std::string& list) {
    std::string text = list;
    if (platform::FileExists(list)) {
        platform::File file = platform::File::Open(list, platform::File::Mode::Read);
        text.assign(static_cast<std::size_t>(std::max<std::int64_t>(0, file.Size())), '\0');
        if (file.Read(text.data(), static_cast<std::int64_t>(text.size())) < 0) text.clear();
    }
    std::vector<std::int32_t> games;
    const char* at = text.c_str();
    while (*at != '\0') {
        char* end = nullptr;
        long number = std::strtol(at, &end, 10);
        if (end == at) {
            ++at;
            continue;
        }
        if (number > 0) games.push_back(static_cast<std::int32_t>(number));
        at = end;
    }
    return games;
}

}  // namespace

// check FILE [--delete-bad | --delete-fen | --delete-listed LIST] [--all]: the check-file scan;
// prints the error list and its title.
int RunCheckCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("check");
    app::CheckFileCommand command = app::CheckFileCommand::CheckFile;
    std::vector<std::int32_t> listed;
    if (args.HasFlag("--delete-fen")) command = app::CheckFileCommand::DeleteFenGames;
    if (args.HasFlag("--delete-listed")) {
        command = app::CheckFileCommand::DeleteListedGames;
        listed = ReadGameList(args.FlagValue("--delete-listed"));
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;

    std::optional<utilities::CheckMode> mode =
        command == app::CheckFileCommand::CheckFile && !args.HasFlag("--delete-bad")
            ? utilities::CheckMode::ReportErrors
            : app::ChooseCheckMode(command, listed, *args.ui);
    if (!mode) return 1;
    utilities::CheckFileRequest request = app::CheckRequestFor(file, *mode, std::move(listed));
    request.list_all = args.HasFlag("--all");

    auto result = std::make_shared<utilities::CheckFileResult>();
    utilities::Worker worker(*args.ui);
    if (utilities::StartCheckFile(worker, std::move(request), result)) return 1;
    worker.Wait();
    app::ErrorList list(*result);
    for (const std::string& line : list.Lines()) std::printf("%s\n", line.c_str());
    if (result->error.ok() && (result->count > 0 || !list.Empty())) {
        std::printf("%s\n", list.Title().c_str());
    }
    return result->error.ok() ? 0 : 1;
}

}  // namespace qorvale::cli
