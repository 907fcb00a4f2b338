#include <cstdio>
#include <string>

#include "app/game_list.h"
#include "cli/command.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

// Opens FILE as the window does and prints one game-list line per game in the chosen layout,
// building the records (and `name.pgs` for large files) exactly as the list does.
int RunListCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("list");
    const std::string layout_text = args.FlagValue("--layout", "0");
    if (layout_text.size() != 1 || layout_text[0] < '0' || layout_text[0] > '3') {
        return UsageError("list");
    }
    const int layout = layout_text[0] - '0';
    pgn::PgnFile file;
    if (Error error = file.Open(args.words[0]); !error.ok()) {
        args.ui->report(error.message());
        return 1;
    }
    file.ScanGameFile(false, *args.ui);
    if (!file.IsOpen()) return 1;
    if (!file.LastScan().from_cache) app::DeleteGameListCache(file.CurrentPath());
    app::GameListBuild build = app::BuildGameListRecords(file, *args.ui);
    std::string out;
    for (std::size_t k = 0; k < build.records.size(); ++k) {
        out += app::GameListLine(build.records[k], static_cast<std::int32_t>(k + 1), layout);
        out += '\n';
        if (out.size() > (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace qorvale::cli
