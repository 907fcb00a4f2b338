#pragma once

#include <cstdint>

namespace qorvale::platform {

// The most memory the process has held in RAM so far, in bytes; -1 when it cannot be told.
std::int64_t PeakResidentBytes();

}  // namespace qorvale::platform
