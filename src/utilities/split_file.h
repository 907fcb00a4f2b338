#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "platform/file_system.h"
#include "utilities/operation_control.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

// Games per output file: the most one file can index, or the ordinary size.
inline constexpr std::int64_t SplitLimitMaximum = 200000;
inline constexpr std::int64_t SplitLimitOrdinary = 32750;

// The name of output file `index` (0-based) of `source`: the source path without ".pgn" plus a
// suffix and ".pgn". After a digit the suffixes are letters (games2007a.pgn, then "aa" past
// "z"), otherwise numbers from 1 (games1.pgn).
std::string SplitFileName(const std::string& source, int index);

struct SplitRequest {
    std::string source_path;
    // The answer to "Do you want to split into maximum sized files?" when the caller already
    // has it (the tool's flag); otherwise the question is asked.
    std::optional<bool> maximum_sized;
};

struct SplitResult {
    std::int64_t games = 0;
    std::vector<std::string> files;  // written, in order
    bool declined = false;           // No to a question, or a cancel while counting
    Error error;                     // "Error opening file.", "Error creating split file."
};

// Counts the games of the source (a game begins at a tag line after a line that is none), asks
// the questions, and copies the source byte for byte into the output files, switching files at
// the first tag line of the first game beyond each file's share. Each output file is written
// beside and renamed into place when complete. A cancel is refused once counting has ended
// ("Sorry, cannot cancel file split."). An output name that is already taken stops the split
// before anything is written ("Error creating split file."): a file of the user's is never
// replaced. The source never changes.
SplitResult SplitFile(const SplitRequest& request, const OperationControl& control,
                      const std::function<bool(std::string_view)>& refuse_cancel,
                      platform::FileSystem& file_system = platform::SystemFileSystem());

// Starts SplitFile on the worker ("Split File"): "Calculating number of games..." while counting,
// "Split file complete." at the end.
Error StartSplitFile(Worker& worker, SplitRequest request, std::shared_ptr<SplitResult> result,
                     platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::utilities
