#pragma once

#include <string>
#include <string_view>

#include "base/error.h"
#include "openings/eco_table.h"
#include "platform/file_system.h"

namespace qorvale::openings {

// The ECO table's file sets in the program folder: each the three table files with the first
// letter of the extension replaced.
//   current           qorvale.eco, qorvale.ecn, qorvale.ecm   the table in use
//   working copy      qorvale.bco, qorvale.bcn, qorvale.bcm   the table as the edit mode found it
//   previous version  qorvale.aco, qorvale.acn, qorvale.acm   the table before the last saved edit
enum class EcoFileSet { Current, WorkingCopy, PreviousVersion };
EcoTableFiles EcoFileSetIn(std::string_view folder, EcoFileSet set);

// The contents of the three files of a set.
struct EcoTableContents {
    std::string codes;
    std::string names;
    std::string moves;
};

// The loaded table's buffers as files again: each NUL line end turned back into CR.
EcoTableContents ContentsOf(const EcoTable& table);

// A change to a set of three files is made as one step. The new files are written beside their
// targets (name + ".new") and flushed; then a journal, "qorvale.ecj", is written the same way and
// renamed into place, which commits the change; then each file is renamed over its target and
// the journal removed. A crash before the journal's rename leaves the old set (the ".new" files
// are cleared away later); a crash after it is completed by RecoverEcoTableFiles. So a set is
// always wholly old or wholly new.
//
// The journal holds one line per rename, "FROM<TAB>TO" (names inside the folder), CR LF.
inline constexpr std::string_view EcoJournalName = "qorvale.ecj";

// Writes `contents` as set `set` of `folder`. False when a file cannot be written; the set is
// then as it was.
bool WriteEcoFileSet(std::string_view folder, EcoFileSet set, const EcoTableContents& contents,
                     platform::FileSystem& files = platform::SystemFileSystem());

// Moves the files of set `from` over those of set `to` (the source set is gone afterwards).
// False, with nothing changed, unless all three files of `from` exist.
bool MoveEcoFileSet(std::string_view folder, EcoFileSet from, EcoFileSet to,
                    platform::FileSystem& files = platform::SystemFileSystem());

// Finishes a change the journal committed and clears away the files of one that never was.
// LoadEcoTable runs it first, so that a table is never read half-changed.
void RecoverEcoTableFiles(std::string_view folder,
                          platform::FileSystem& files = platform::SystemFileSystem());

}  // namespace qorvale::openings
