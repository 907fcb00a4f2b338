#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/ui.h"
#include "search/fast_file_reader.h"

namespace qorvale::openings {

// qorvale.ecd, the ECO position file: for every record of Ecocodes.pgn's move file, in file
// order (the table's code order), the Board64 after each of its half-moves, 64 bytes each, one
// entry after another. No header, count or separator: a reader walks it with each entry's
// half-move count.
//
// BuildEcoPositionFile: writes `ecd_path` from the records of the move file already loaded.
// "Initialization error." (reported and returned) when the file cannot be created or written.
Error BuildEcoPositionFile(std::span<const search::GameRecord> records, const std::string& ecd_path,
                           Ui& ui);

// The same, reading the records from the move file at `trf_path` first ("Error opening file."
// when it cannot be read).
Error BuildEcoPositionFile(const std::string& trf_path, const std::string& ecd_path, Ui& ui);

// Where the position file of the ECO codes fast file at `trf_path` lies: qorvale.ecd in the
// install folder, the folder above "openings"; beside the fast file when that is elsewhere.
std::string EcoPositionFilePathFor(std::string_view trf_path);

}  // namespace qorvale::openings
