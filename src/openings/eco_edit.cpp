#include "openings/eco_edit.h"

#include "openings/messages.h"
#include "openings/tree_source.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::openings {

namespace {

// The table's entries as file contents, with `change` deciding for each entry what is written
// (false leaves it out).
template <typename Change>
EcoTableContents Entries(const EcoTable& table, Change change) {
    EcoTableContents contents;
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        std::string code(table.Code(entry));
        std::string name(table.Name(entry));
        std::string moves(table.Moves(entry));
        if (!change(entry, code, name, moves)) continue;
        contents.codes += code + "\r\n";
        contents.names += name + "\r\n";
        contents.moves += moves + "\r\n";
    }
    return contents;
}

EcoTableContents Unchanged(const EcoTable& table) {
    return Entries(table,
                   [](std::int32_t, std::string&, std::string&, std::string&) { return true; });
}

}  // namespace

std::string CleanEcoName(std::string_view name) {
    std::size_t end = 0;
    while (end < name.size() && static_cast<unsigned char>(name[end]) >= 0x20) ++end;
    while (end > 0 && name[end - 1] == ' ') --end;
    return std::string(name.substr(0, end));
}

EcoEditor::EcoEditor(std::string folder, EcoTable& table, platform::FileSystem& files)
    : folder_(std::move(folder)), table_(table), files_(files) {}

bool EcoEditor::Enter(Ui& ui) {
    changed_ = false;
    if (!WriteEcoFileSet(folder_, EcoFileSet::WorkingCopy, ContentsOf(table_), files_)) {
        ui.report(messages::EcoTableCorruption);
        return false;
    }
    return true;
}

Classification EcoEditor::Match(const LinePosition& line) const {
    const OpeningGame game(line.Moves(), line.HalfMoves());
    return ClassifyPosition(table_, game, line.HalfMoves());
}

bool EcoEditor::CompareWithMatch(const LinePosition& line, Ui& ui) const {
    const Classification match = Match(line);
    const int half_moves = line.HalfMoves();
    // A position beyond every table line is not compared.
    if (match.entry < 0 || half_moves > match.longest) return true;
    const std::string moves = line.LineText();
    const std::string_view matched = table_.Moves(match.entry);
    const int matched_moves = table_.PlyCount(match.entry);
    if (half_moves == matched_moves) {
        if (moves == matched) {
            ui.report(messages::LineAlreadyInTable);
            return false;
        }
        return ui.ask(messages::TranspositionInTable);
    }
    if (half_moves < matched_moves) {
        const bool beginning = matched.starts_with(moves) && matched.size() > moves.size() &&
                               matched[moves.size()] == ' ';
        return ui.ask(beginning ? messages::LineIncluded : messages::TranspositionIncluded);
    }
    return true;
}

std::optional<std::string> EcoEditor::AskName(std::string_view preset,
                                              const EcoNameDialog& ask_name, Ui& ui) const {
    std::string shown(preset);
    while (true) {
        std::optional<std::string> entered = ask_name(shown);
        if (!entered) return std::nullopt;
        std::string name = CleanEcoName(*entered);
        if (!name.empty()) return name;
        // The dialog stays open.
        ui.report(messages::NullEcoName);
        shown = *entered;
    }
}

bool EcoEditor::Reload(Ui& ui) {
    return LoadEcoTable(EcoFileSetIn(folder_, EcoFileSet::Current), table_, ui).ok();
}

bool EcoEditor::Rewrite(const EcoTableContents& contents, Ui& ui) {
    if (!WriteEcoFileSet(folder_, EcoFileSet::Current, contents, files_)) {
        ui.report(messages::EcoTableCorruption);
        return false;
    }
    changed_ = true;
    return Reload(ui);
}

bool EcoEditor::AddLine(const LinePosition& line, const EcoNameDialog& ask_name, Ui& ui) {
    if (line.HalfMoves() == 0) {
        ui.report(messages::EnterLineFirst);
        return false;
    }
    if (!CompareWithMatch(line, ui)) return false;
    const std::int32_t matched = Match(line).entry;
    const std::string preset = matched >= 0 ? std::string(table_.Name(matched)) : std::string();
    std::optional<std::string> name = AskName(preset, ask_name, ui);
    if (!name) return false;
    // The new line takes the code of the line it was matched to.
    const std::int32_t coded = matched >= 0 ? matched : 0;
    EcoTableContents contents = Unchanged(table_);
    contents.codes +=
        (table_.empty() ? std::string("A00") : std::string(table_.Code(coded))) + "\r\n";
    contents.names += *name + "\r\n";
    contents.moves += line.LineText() + "\r\n";
    if (!Rewrite(contents, ui)) return false;
    ui.report(messages::LineAdded);
    return true;
}

bool EcoEditor::ModifyLine(const LinePosition& line, Ui& ui) {
    if (selected_ < 0 || selected_ >= table_.count()) {
        ui.report(messages::SelectLineFirst);
        return false;
    }
    if (line.HalfMoves() == 0) {
        ui.report(messages::EnterLineFirst);
        return false;
    }
    if (!ui.ask(messages::ConfirmModifyLine) || !CompareWithMatch(line, ui)) return false;
    const std::string moves_text = line.LineText();
    const std::int32_t selected = selected_;
    EcoTableContents contents =
        Entries(table_, [&](std::int32_t entry, std::string&, std::string&, std::string& moves) {
            if (entry == selected) moves = moves_text;
            return true;
        });
    if (!Rewrite(contents, ui)) return false;
    ui.report(messages::MovesModified);
    return true;
}

bool EcoEditor::RenameLine(const LinePosition& line, const EcoNameDialog& ask_name, Ui& ui) {
    if (selected_ < 0 || selected_ >= table_.count() || line.HalfMoves() == 0) {
        ui.report(messages::SelectLineFirst);
        return false;
    }
    const std::string old_name(table_.Name(selected_));
    std::optional<std::string> name = AskName(old_name, ask_name, ui);
    if (!name) return false;
    if (*name == old_name) {
        ui.report(messages::NameNotChanged);
        return false;
    }
    const std::int32_t selected = selected_;
    EcoTableContents contents = Entries(
        table_, [&](std::int32_t entry, std::string&, std::string& entry_name, std::string&) {
            if (entry == selected) entry_name = *name;
            return true;
        });
    if (!Rewrite(contents, ui)) return false;
    ui.report(messages::NameModified);
    return true;
}

bool EcoEditor::DeleteLine(Ui& ui) {
    if (selected_ < 0 || selected_ >= table_.count()) {
        ui.report(messages::SelectLineFirst);
        return false;
    }
    if (!ui.ask(messages::ConfirmDeleteLine)) return false;
    const std::int32_t selected = selected_;
    EcoTableContents contents = Entries(table_, [&](std::int32_t entry, std::string&, std::string&,
                                                    std::string&) { return entry != selected; });
    if (!Rewrite(contents, ui)) return false;
    selected_ = selected - 1;
    ui.report(messages::LineDeleted);
    return true;
}

bool EcoEditor::Check(Ui& ui) const {
    return CheckEcoTable(EcoFileSetIn(folder_, EcoFileSet::Current), table_, ui);
}

void EcoEditor::RefreshDerivedFiles(EcoDataOptions& options, Ui& ui) {
    DeleteEcoTrees(folder_, files_);
    ExportOpeningFiles(table_, folder_, options);
    ExportOpeningsGames(table_, folder_, options);
    (void)RebuildEcoCodesFastFile(folder_, ui);
    (void)files_.Delete(platform::JoinPath(folder_, EcoPositionFileName));
}

bool EcoEditor::LeaveSaving(EcoDataOptions& options, Ui& ui) {
    if (!MoveEcoFileSet(folder_, EcoFileSet::WorkingCopy, EcoFileSet::PreviousVersion, files_)) {
        ui.report(messages::EcoTableCorruption);
    }
    RefreshDerivedFiles(options, ui);
    changed_ = false;
    return true;
}

bool EcoEditor::LeaveWithoutSaving(Ui& ui) {
    if (changed_ && !ui.ask(messages::ConfirmExitUnsaved)) return false;
    if (!MoveEcoFileSet(folder_, EcoFileSet::WorkingCopy, EcoFileSet::Current, files_) ||
        !LoadEcoTable(EcoFileSetIn(folder_, EcoFileSet::Current), table_, ui).ok()) {
        ui.report(messages::TableMayBeCorrupted);
    }
    changed_ = false;
    selected_ = -1;
    return true;
}

bool EcoEditor::RestorePrevious(EcoDataOptions& options, Ui& ui) {
    if (!ui.ask(messages::ConfirmRestore)) return false;
    if (!MoveEcoFileSet(folder_, EcoFileSet::PreviousVersion, EcoFileSet::Current, files_) ||
        !Reload(ui)) {
        ui.report(messages::TableNotRestored);
        return false;
    }
    RefreshDerivedFiles(options, ui);
    changed_ = false;
    selected_ = -1;
    return true;
}

}  // namespace qorvale::openings
