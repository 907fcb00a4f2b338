#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "base/ui.h"

namespace qorvale::openings {

// The name a merge file gets from what the user chose: kept when it ends in ".trm" (any case),
// otherwise its extension, if any, is cut and ".trm" appended.
std::string MergeFileName(std::string_view chosen);

// ChooseMergeFile, after the file dialog: the merge file's path by MergeFileName. When a PGN file
// or a database of the same base name exists, warns "Warning: There is a PGN file with the same
// name." or "Warning: There is a database with the same name." and goes on. When the merge file
// must exist (merging into it) and does not: "Merge file does not exist." and the failure.
Result<std::string> ChooseMergeFile(std::string_view chosen, bool must_exist, Ui& ui);

}  // namespace qorvale::openings
