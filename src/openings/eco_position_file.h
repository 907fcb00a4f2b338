#pragma once

#include <span>
#include <string>

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

}  // namespace qorvale::openings
