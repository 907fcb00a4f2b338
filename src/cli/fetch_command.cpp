#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.h"
#include "platform/folder.h"
#include "utilities/download.h"

namespace qorvale::cli {

// Downloads a PGN file (unpacking zip, gzip and bzip2) as "Open from Web Address" does. A plain,
// gzip or bzip2 file is saved as OUT; a zip's PGN files go beside OUT under their own names.
// Prints the path of every file written.
int RunFetchCommand(const CommandArgs& args) {
    const std::string out = args.FlagValue("-o");
    if (args.words.size() != 1 || out.empty()) return UsageError("fetch");
    utilities::DownloadRequest request;
    request.url = args.words[0];
    request.folder = platform::FolderOf(out);
    if (request.folder.empty()) request.folder = ".";
    request.file_name = platform::NameOf(out);
    const std::string limit = args.FlagValue("--limit-mb");
    if (!limit.empty()) {
        char* end = nullptr;
        request.limit_mb = std::strtoll(limit.c_str(), &end, 10);
        if (*end != '\0' || request.limit_mb < 1) return UsageError("fetch");
    }
    Result<std::vector<std::string>> files =
        utilities::DownloadPgn(request, {}, *args.ui, platform::SystemFileSystem());
    if (!files.ok()) {
        const Error error = files.error();
        args.ui->report(error.detail().empty() ? error.message()
                                               : error.message() + " (" + error.detail() + ")");
        return 1;
    }
    for (const std::string& file : *files) std::printf("%s\n", file.c_str());
    return 0;
}

}  // namespace qorvale::cli
