#include "platform/process_stats.h"

#include <sys/resource.h>

namespace qorvale::platform {

std::int64_t PeakResidentBytes() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return -1;
    return static_cast<std::int64_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}

}  // namespace qorvale::platform
