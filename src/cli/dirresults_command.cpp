#include <cstdio>
#include <string>

#include "app/directory_results_session.h"
#include "cli/command.h"
#include "search/directory_results.h"

namespace qorvale::cli {

namespace {

const char* KindName(search::DirectorySearchKind kind) {
    switch (kind) {
        case search::DirectorySearchKind::Variation:
            return "variation";
        case search::DirectorySearchKind::Position:
            return "position";
        case search::DirectorySearchKind::Header:
            return "header";
    }
    return "header";
}

}  // namespace

// Lists a saved results file as the "Select File" dialog shows it, after the folder and the
// search that produced it.
int RunDirresultsCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("dirresults");
    app::DirectoryResultsSession session;
    if (!session.Load(args.words[0], *args.ui)) return 1;
    const search::DirectoryResultsHeader& header = session.Results().header;
    std::printf("Folder: %s\n", header.folder.c_str());
    std::printf("Search: %s, combination %u, line %u half-moves\n", KindName(header.kind),
                header.combination, header.line_length);
    for (const std::string& line : session.Lines()) std::printf("%s\n", line.c_str());
    if (std::optional<std::string> total = session.TotalLine()) {
        std::printf("%s\n", total->c_str());
    }
    return session.Results().damaged ? 1 : 0;
}

}  // namespace qorvale::cli
