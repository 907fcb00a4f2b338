#pragma once

#include <memory>

#include "base/error.h"
#include "search/directory_search.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

// Where the worker leaves the outcome; the window reads it once the operation has posted
// ShowSearchResults.
struct DirectorySearchResult {
    search::DirectorySearchSummary summary;
};

// Starts SearchDirectory on the worker ("Search Directory"): the progress line names each file
// in turn, Cancel ends the search after the file in work. The closing message is the summary's
// ("No matches were found." and the like); when games were found the operation shows nothing
// and the window asks "Directory search complete. View results now?" before opening the
// results. Refused with the
// running operation's message when the worker is busy.
Error StartSearchDirectory(Worker& worker, search::DirectorySearchRequest request,
                           std::shared_ptr<DirectorySearchResult> result);

}  // namespace qorvale::utilities
