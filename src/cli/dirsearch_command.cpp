#include <cstdio>
#include <memory>
#include <string>

#include "app/app_folder.h"
#include "cli/command.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/directory_results.h"
#include "search/messages.h"
#include "search/ser_file.h"
#include "utilities/directory_search_operation.h"
#include "utilities/worker.h"

namespace qorvale::cli {

namespace {

std::string ResultsPath(const CommandArgs& args) {
    if (args.HasFlag("--results")) return args.FlagValue("--results");
    const std::string folder = app::AppFolder();
    platform::CreateFolder(folder);
    return app::AppPath(folder, app::SearchListFileName);
}

}  // namespace

// Searches every PGN file of FOLDER as the "Search Dir" buttons do and prints the found games
// from the results file it wrote.
int RunDirsearchCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("dirsearch");
    Ui& ui = *args.ui;
    SearchCriteriaArgs read;
    if (int code = ReadSearchCriteria(args, read); code != 0) return code;
    if (!read.parts.header && !read.parts.variation && !read.parts.position)
        return UsageError("dirsearch");

    search::DirectorySearchRequest request;
    request.folder = args.words[0];
    request.results_path = ResultsPath(args);
    request.criteria = read.session.Criteria();
    const std::uint32_t parts = (read.parts.variation ? 1u : 0u) | (read.parts.position ? 2u : 0u);
    if (read.parts.header) {
        request.kind = search::DirectorySearchKind::Header;
        request.combination = parts;
    } else if (read.parts.variation) {
        request.kind = search::DirectorySearchKind::Variation;
        request.combination = read.parts.position ? 3 : 1;
    } else {
        request.kind = search::DirectorySearchKind::Position;
    }

    utilities::Worker worker(ui);
    auto result = std::make_shared<utilities::DirectorySearchResult>();
    if (Error error = utilities::StartSearchDirectory(worker, request, result); !error.ok()) {
        return 1;
    }
    worker.Wait();
    const search::DirectorySearchSummary& summary = result->summary;
    if (!summary.results_written) {
        const bool nothing = summary.message == search::messages::NoMatchesFound ||
                             summary.message == search::messages::NoFilesFound;
        return nothing ? 0 : 1;
    }

    Result<search::DirectoryResults> results =
        search::ReadDirectoryResults(request.results_path, search::MaxDirectoryFiles);
    if (!results) {
        ui.report(results.error().message());
        return 1;
    }
    std::string out;
    for (const search::DirectoryFileResult& file : results->files) {
        for (std::size_t n = 0; n < file.games.size(); ++n) {
            out += file.stem;
            out += '\t';
            out += std::to_string(file.games[n]);
            if (!file.half_moves.empty()) {
                out += '\t';
                out += std::to_string(file.half_moves[n]);
            }
            out += '\n';
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (args.HasFlag("--save")) {
        const std::string target = search::WithExtension(args.FlagValue("--save"), ".dir");
        if (Error error = search::SaveDirectoryResults(request.results_path, target); !error.ok()) {
            ui.report(error.message());
            return 1;
        }
    }
    return 0;
}

}  // namespace qorvale::cli
