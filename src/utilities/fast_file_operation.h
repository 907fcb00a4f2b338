#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/error.h"
#include "search/fast_file.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

// What "Make Fast File" (or "Make Merge File") needs from the window, copied so that the worker
// touches nothing of the window's.
struct MakeFastFileRequest {
    std::string pgn_path;
    std::vector<std::uint32_t> offsets;  // the game index of the open file
    bool merge = false;
    search::MergeTarget merge_target;  // merge mode only
};

// Starts the generation on the worker: progress at the usual rhythm, a cancel refused with
// "Sorry, cannot cancel fast file generation." (or the merge file's), and the outcome's message
// at the end with a refresh of the display. Refused with the running operation's message when
// the worker is busy.
Error StartMakeFastFile(Worker& worker, MakeFastFileRequest request);

}  // namespace qorvale::utilities
