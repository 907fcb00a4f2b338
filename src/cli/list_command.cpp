#include <cstdio>
#include <string>

#include "app/app_folder.h"
#include "app/game_list.h"
#include "cli/command.h"
#include "openings/eco_line_trie.h"
#include "openings/eco_table.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::cli {

namespace {

void WriteLines(std::string& out, bool flush) {
    if (flush || out.size() > (1 << 16)) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        out.clear();
    }
}

}  // namespace

// Opens FILE as the window does and prints one game-list line per game in the chosen layout,
// building the records (and `name.pgs` for large files) exactly as the list does: games without
// an ECO tag are named from the ECO table (listed without when no table can be loaded), and the
// openings files of the install folder list their opening names.
int RunListCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("list");
    const std::string layout_text = args.FlagValue("--layout", "0");
    if (layout_text.size() != 1 || layout_text[0] < '0' || layout_text[0] > '3') {
        return UsageError("list");
    }
    const int layout = layout_text[0] - '0';
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    const std::string app_folder = app::AppFolder();
    std::string out;
    if (app::UsesOpeningNames(file, app_folder, *args.ui)) {
        for (const std::string& line : app::BuildOpeningNamesLines(file, *args.ui)) {
            out += line;
            out += '\n';
            WriteLines(out, false);
        }
        WriteLines(out, true);
        return 0;
    }
    openings::EcoTable table;
    SilentUi quiet;  // a missing table only means listing without classification
    (void)openings::LoadEcoTable(openings::EcoTableFilesIn(EcoTableFolder(app_folder)), table,
                                 quiet);
    const openings::EcoLineTrie classifier(table);
    app::GameListBuild build =
        app::BuildGameListRecords(file, *args.ui, classifier.empty() ? nullptr : &classifier);
    for (std::size_t k = 0; k < build.records.size(); ++k) {
        out += app::GameListLine(build.records[k], static_cast<std::int32_t>(k + 1), layout);
        out += '\n';
        WriteLines(out, false);
    }
    WriteLines(out, true);
    return 0;
}

}  // namespace qorvale::cli
