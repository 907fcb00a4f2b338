#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/app_folder.h"
#include "app/line_mode.h"
#include "chess/notation.h"
#include "cli/command.h"
#include "openings/eco_edit.h"
#include "openings/eco_table.h"
#include "openings/line_position.h"

namespace qorvale::cli {

namespace {

// The 1-based entry number of `text` as a selection, or -1.
std::int32_t EntryOf(const std::string& text, const openings::EcoTable& table) {
    char* end = nullptr;
    const long entry = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || entry < 1 || entry > table.count()) return -1;
    return static_cast<std::int32_t>(entry - 1);
}

}  // namespace

// eco-edit add|modify|rename|delete|restore: one operation of the ECO edit mode on the table of
// --table (default: the install folder), then the mode is left with saving, as the window's
// commands do. Questions are answered by --yes.
//   add --line L --name NAME
//   modify ENTRY --line L
//   rename ENTRY --name NAME [--line L]
//   delete ENTRY
//   restore
//   check
// ENTRY is the entry's 1-based number in table order.
int RunEcoEditCommand(const CommandArgs& args) {
    if (args.words.empty()) return UsageError("eco-edit");
    const std::string& action = args.words[0];
    const bool with_entry = action == "modify" || action == "rename" || action == "delete";
    if (args.words.size() != (with_entry ? 2u : 1u)) return UsageError("eco-edit");
    if (action != "add" && !with_entry && action != "restore" && action != "check") {
        return UsageError("eco-edit");
    }

    std::string folder = args.FlagValue("--table");
    if (folder.empty()) folder = app::AppFolder();
    Ui& ui = *args.ui;
    openings::EcoTable table;
    if (!openings::LoadEcoTable(openings::EcoTableFilesIn(folder), table, ui).ok()) return 1;
    openings::EcoEditor editor(folder, table);
    openings::EcoDataOptions options;
    if (action == "restore") return editor.RestorePrevious(options, ui) ? 0 : 1;
    // The table check reports what it finds; the table is not changed.
    if (action == "check") return editor.Check(ui) ? 0 : 1;

    std::int32_t entry = -1;
    if (with_entry) {
        entry = EntryOf(args.words[1], table);
        if (entry < 0) {
            std::fprintf(stderr, "qorvale-tool: the table has %d entries\n", table.count());
            return 1;
        }
    }
    app::BoardLine line(app::LineMode::EcoEdit);
    const std::string moves = args.HasFlag("--line") || entry < 0 ? args.FlagValue("--line")
                                                                  : std::string(table.Moves(entry));
    if (!PlayLine(moves, line, ui)) return 1;
    // The name dialog answers once with --name; asked again (an empty name), it is cancelled.
    bool named = false;
    const openings::EcoNameDialog ask_name = [&](std::string_view) -> std::optional<std::string> {
        if (named || !args.HasFlag("--name")) return std::nullopt;
        named = true;
        return args.FlagValue("--name");
    };

    if (!editor.Enter(ui)) return 1;
    editor.Select(entry);
    bool changed = false;
    if (action == "add") {
        changed = editor.AddLine(line.Position(), ask_name, ui);
    } else if (action == "modify") {
        changed = editor.ModifyLine(line.Position(), ui);
    } else if (action == "rename") {
        changed = editor.RenameLine(line.Position(), ask_name, ui);
    } else {
        changed = editor.DeleteLine(ui);
    }
    if (!changed) {
        (void)editor.LeaveWithoutSaving(ui);
        return 1;
    }
    (void)editor.LeaveSaving(options, ui);
    std::printf("%d entries\n", table.count());
    return 0;
}

}  // namespace qorvale::cli
