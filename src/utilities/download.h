#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/result.h"
#include "base/ui.h"
#include "platform/file_system.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

inline constexpr std::int64_t DefaultDownloadLimitMb = 512;

// What "Open from Web Address" (and `qorvale-tool fetch`) needs, copied for the worker.
struct DownloadRequest {
    std::string url;
    std::string folder;  // where the PGN files go; made when missing
    // The name of the file a plain, gzip or bzip2 download is saved as; empty: the address's
    // last path segment (".gz"/".bz2" taken off, ".pgn" added when missing). A zip's entries
    // keep their own names.
    std::string file_name;
    std::int64_t limit_mb = DefaultDownloadLimitMb;  // of the download and of what it unpacks
};

// How the operation reaches its caller while it runs.
struct DownloadControl {
    std::function<bool()> cancelled;  // true stops the transfer and the unpacking
    std::function<void(std::int64_t received, std::int64_t total)> progress;
};

// Fetches the address, unpacks a zip, gzip or bzip2 file (told by its first bytes), checks that
// each file is PGN and puts the PGN files into the folder. Every file is written beside its
// final name and renamed into place only when all are complete, so a failure leaves nothing
// behind and nothing is ever written outside the folder. An existing file is replaced only
// after "File already exists. Do you want to overwrite?". Returns the paths written, in order.
Result<std::vector<std::string>> DownloadPgn(const DownloadRequest& request,
                                             const DownloadControl& control, Ui& ui,
                                             platform::FileSystem& file_system);

// The file name a download of `url` is saved under when the request names none.
std::string DownloadFileName(const std::string& url);

// Where the worker leaves the outcome; the window reads it once the operation has ended.
struct DownloadResult {
    std::vector<std::string> files;
    Error error;
};

// Starts DownloadPgn on the worker: progress in kilobytes, Cancel stops it with nothing
// written. Its message (the failure) is the operation's closing message.
Error StartDownload(Worker& worker, DownloadRequest request,
                    std::shared_ptr<DownloadResult> result);

}  // namespace qorvale::utilities
