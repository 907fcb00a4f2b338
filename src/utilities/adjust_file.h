#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "platform/file_system.h"
#include "utilities/operation_control.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

struct AdjustRequest {
    std::string pgn_path;
    std::vector<std::uint32_t> offsets;
    bool index_full = false;
    int trim_limit = 0;  // half-moves to keep, 0 = all
};

struct AdjustResult {
    bool declined = false;   // No to "Warning: All comments and analysis will be stripped. ..."
    bool cancelled = false;  // "Adjustment canceled."
    bool replaced = false;   // the file was rewritten: reopen it and rebuild the index
    // Games the movetext reader could not hold whole (more than 200 moves or 3000 lines): kept
    // as they were rather than cut.
    std::int32_t kept_as_they_were = 0;
    Error error;
};

// Rewrites every game in the normal layout: its tag lines (one space after the tag name), an
// empty line, the main line replayed from its start in lines of about 72 characters (castling
// with zeros written with the letter O), two spaces and the result; comments, NAGs and variations
// are dropped after the question, once per run. `trim_limit` cuts every game after that many
// half-moves. The file is replaced (and its fast file deleted) only once every game is written.
AdjustResult AdjustFile(const AdjustRequest& request, const OperationControl& control, Ui& ui,
                        platform::FileSystem& file_system = platform::SystemFileSystem());

// The message of the end: "Adjustment complete.", "Adjustment canceled." or the failure.
std::string AdjustEndMessage(const AdjustResult& result);

// Starts AdjustFile on the worker ("Adjust File").
Error StartAdjustFile(Worker& worker, AdjustRequest request, std::shared_ptr<AdjustResult> result,
                      platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::utilities
