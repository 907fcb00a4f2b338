#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace qorvale::test {

struct FastFileCopy {
    std::string path;  // the copied PGN file
    std::vector<std::uint32_t> offsets;
    std::string move_file;  // its fast file's move records
};

// Copies the tests/data PGN file `data_name` to dir/name, scans it and makes its fast file.
FastFileCopy CopyWithFastFile(const TempDir& dir, std::string_view data_name,
                              std::string_view name);

}  // namespace qorvale::test
