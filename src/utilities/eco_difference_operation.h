#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

// What "Search ECO Diff" needs from the window, copied so that the worker touches nothing of the
// window's.
struct EcoDifferenceRequest {
    std::string pgn_path;
    std::vector<std::uint32_t> offsets;  // the game index of the open file
    search::SearchCriteria criteria;
    std::string eco_lines_path;  // the ECO codes fast file of the install folder
};

// Where the worker leaves the found games; the window reads it once the operation has ended.
struct EcoDifferenceResult {
    search::SearchList list;
    std::vector<std::string> classified;  // per found game, the code its moves classify as
    int found = 0;                        // -1 after a refusal
};

// Starts SearchEcoDifference on the worker: progress every 100 games, Cancel stops it with the
// games found so far. Refused with the running operation's message when the worker is busy.
Error StartSearchEcoDifference(Worker& worker, EcoDifferenceRequest request,
                               std::shared_ptr<EcoDifferenceResult> result);

}  // namespace qorvale::utilities
