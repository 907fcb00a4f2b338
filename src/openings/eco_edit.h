#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/ui.h"
#include "openings/eco_table.h"
#include "openings/eco_table_store.h"
#include "openings/line_position.h"
#include "openings/opening_classification.h"
#include "openings/opening_files.h"

namespace qorvale::openings {

// The name dialog: shows `preset` and returns what the user entered, or nothing when cancelled.
using EcoNameDialog = std::function<std::optional<std::string>(std::string_view preset)>;

// A name as the table keeps it: cut at its first control character (a line end would split the
// entry) and without trailing blanks.
std::string CleanEcoName(std::string_view name);

// The ECO edit mode: lines entered on the board are compared with the table and added, given a
// new name, changed or deleted. Every change rewrites the three table files as one step (see
// WriteEcoFileSet) and reloads the table; the working copy keeps the table as the mode found it
// and the previous version the table before the last saved edit.
//
// The editor works on the caller's loaded table and the table files of `folder` (the program
// folder). A table file that cannot be written gives "ECO table corruption." and leaves the
// table as it was.
class EcoEditor {
  public:
    EcoEditor(std::string folder, EcoTable& table,
              platform::FileSystem& files = platform::SystemFileSystem());

    // Entering the mode: the loaded table is written to the working copy and EcoTableChanged
    // cleared.
    bool Enter(Ui& ui);
    bool Changed() const { return changed_; }  // EcoTableChanged

    // The line chosen in the ECO list, or -1.
    std::int32_t Selected() const { return selected_; }
    void Select(std::int32_t entry) { selected_ = entry; }

    // The matched line of `line`: the classification of its position.
    Classification Match(const LinePosition& line) const;

    // Add line: needs a line ("Enter a line first."); compares it with the matched line; asks for
    // the name (preset with the matched line's name; an empty one gives "Cannot have a null ECO
    // name." and asks again); appends it with the matched line's code (entry 0's when none
    // matched); "The line has been added.". Returns whether the table changed.
    bool AddLine(const LinePosition& line, const EcoNameDialog& ask_name, Ui& ui);
    // Modify line: needs a selected line ("Select a line first.") and a line on the board;
    // "Modify line. Confirm."; compares; puts the line's moves in the selected entry's place;
    // "The moves have been modified.".
    bool ModifyLine(const LinePosition& line, Ui& ui);
    // Rename line: needs a selected line and a line on the board ("Select a line first."); the
    // name dialog preset with the selected name; "The name was not changed." or "The name has
    // been modified.".
    bool RenameLine(const LinePosition& line, const EcoNameDialog& ask_name, Ui& ui);
    // Delete line: needs a selected line; "Delete line. Confirm."; the selection moves to the
    // entry before it (none after the first); "The line has been deleted.".
    bool DeleteLine(Ui& ui);
    // The consistency check of the table.
    bool Check(Ui& ui) const;

    // Leaving with saving: the working copy becomes the previous version, the ECO table's trees
    // are deleted, the exported opening files and Ecocodes.pgn's fast file are made again and
    // qorvale.ecd deleted.
    bool LeaveSaving(EcoDataOptions& options, Ui& ui);
    // Leaving without saving: after "Are you sure you want to exit? All changes will be lost!"
    // when the table changed (No stays in the mode: false), the working copy becomes the current
    // table again and is reloaded ("The ECO table may have been corrupted!" when that fails).
    bool LeaveWithoutSaving(Ui& ui);
    // Restore previous version: after "Are you sure you want to restore the previous version of
    // the ECO table?", the previous version becomes the current table, which is reloaded; the
    // trees and the derived files go as on saving, and the mode is left. "The ECO table was not
    // restored!" when the previous version is not whole, and nothing changes.
    bool RestorePrevious(EcoDataOptions& options, Ui& ui);

  private:
    // The comparison with the matched line; false when the operation is to stop.
    bool CompareWithMatch(const LinePosition& line, Ui& ui) const;
    std::optional<std::string> AskName(std::string_view preset, const EcoNameDialog& ask_name,
                                       Ui& ui) const;
    bool Rewrite(const EcoTableContents& contents, Ui& ui);
    bool Reload(Ui& ui);
    void RefreshDerivedFiles(EcoDataOptions& options, Ui& ui);

    std::string folder_;
    EcoTable& table_;
    platform::FileSystem& files_;
    std::int32_t selected_ = -1;
    bool changed_ = false;
};

}  // namespace qorvale::openings
