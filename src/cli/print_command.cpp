#include <cstdlib>
#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "cli/command.h"
#include "output/messages.h"
#include "output/pdf_text.h"
#include "output/print_list.h"
#include "pgn/display_stem.h"
#include "pgn/game_bytes.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "platform/whole_file.h"

namespace qorvale::cli {

// Adds the listed games of FILE to a print list, as their moves or (--text) their text, and
// prints the list into a PDF file laid out as the window prints it.
int RunPrintCommand(const CommandArgs& args) {
    if (args.words.size() != 1 || !args.HasFlag("-o")) return UsageError("print");
    std::vector<std::int32_t> games;
    if (!ParseGameNumbers(args.FlagValue("--games", "1"), games)) return UsageError("print");
    Ui& ui = *args.ui;
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], ui)) return 1;
    const std::string stem = pgn::DisplayStem(platform::NameOf(file.CurrentPath()));
    // The entries the window's print list would hold, kept here in memory.
    std::vector<output::PrintEntry> entries;
    for (std::int32_t number : games) {
        if (number > file.GameCount()) {
            ui.report("There is no game " + std::to_string(number) + ".");
            return 1;
        }
        if (args.HasFlag("--text")) {
            entries.emplace_back(output::TextEntryOf(
                pgn::ReadGameBytes(file, number, platform::FileSize(file.CurrentPath()))));
            continue;
        }
        pgn::HeaderTags header;
        pgn::GameLines lines;
        chess::ChessState chess(&ui);
        if (!pgn::OpenGameForDisplay(file, number, header, lines, chess, ui).ok()) return 1;
        if (auto entry = output::MovesEntryOf(stem, number, header, lines, ui))
            entries.emplace_back(std::move(*entry));
    }
    if (entries.empty()) {
        ui.report(output::NoGamesForPrinting);
        return 1;
    }
    const int lines_per_page = std::atoi(args.FlagValue("--lines", "70").c_str());
    const output::PrintPage page = output::PdfPrintPage({}, lines_per_page);
    const std::string pdf = output::WritePdf(output::LayOutPrintList(entries, page), page);
    if (!platform::WriteWholeFile(platform::SystemFileSystem(), args.FlagValue("-o"), pdf)) {
        ui.report("Error creating file.");
        return 1;
    }
    return 0;
}

}  // namespace qorvale::cli
