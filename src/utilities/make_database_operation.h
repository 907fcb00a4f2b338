#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/error.h"
#include "search/database_build.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

// What "Make Database" needs from the window, copied so that the worker touches nothing of the
// window's: the build (after PlanDatabaseBuild said go) and, when the plan asks for it, the game
// index of the open file for making its fast file first.
struct MakeDatabaseRequest {
    search::DbBuildRequest build;
    bool make_fast_file = false;
    std::vector<std::uint32_t> offsets;
};

// Where the worker leaves the outcome for the window's completion.
struct MakeDatabaseResult {
    search::DbBuildOutcome outcome;
};

// Starts MakeDatabase on the worker ("Make Database"): the fast file first when asked (its own
// failure messages end the operation), progress every 1000 games, a cancel refused with "Sorry,
// cannot cancel database generation.", and the closing message ("Database complete.") with a
// refresh of the display. Refused with the running operation's message when the worker is busy.
Error StartMakeDatabase(Worker& worker, MakeDatabaseRequest request,
                        std::shared_ptr<MakeDatabaseResult> result);

}  // namespace qorvale::utilities
