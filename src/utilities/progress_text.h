#pragma once

#include <cstdint>
#include <string>

#include "base/ui.h"
#include "utilities/worker_operation.h"

namespace qorvale::utilities {

// The progress window's line for `job` at `counters` (current is already 1-based), for example
// "Game:  250 of 1000    25% complete" or "Game:  500 of 900  56%  3 duplicates".
std::string ProgressText(const WorkerJob& job, const ProgressCounters& counters);

// How much the bar's fraction must grow before it is drawn again: fewer repaints on long files.
double ProgressBarStep(const WorkerJob& job, std::int64_t total);

// Whether a worker reports progress at 0-based item `index` of `total`: every item below 100
// items, every 10th below 1000, every 100th beyond.
bool ProgressDue(std::int64_t index, std::int64_t total);

}  // namespace qorvale::utilities
