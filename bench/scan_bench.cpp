// Speed of opening a PGN file: a cold scan (no offset cache) and a re-open through the cache,
// beside `cat FILE > /dev/null` on the same warm file.
//   scan_bench FILE [RUNS]
// Prints MB/s and games/s (best of RUNS) and a signature: the game count and a checksum of the
// offsets, which must not change unless the scan's behaviour does.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/ui.h"
#include "pgn/offset_cache.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Scan {
    double seconds = 0;
    std::int32_t games = 0;
    std::uint64_t checksum = 0;
    bool from_cache = false;
};

Scan OpenAndScan(const std::string& path) {
    qorvale::SilentUi ui;
    Clock::time_point start = Clock::now();
    qorvale::pgn::PgnFile file;
    if (!file.Open(path).ok()) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        std::exit(1);
    }
    Scan scan;
    scan.games = file.ScanGameFile(false, ui);
    scan.seconds = Seconds(start);
    scan.from_cache = file.LastScan().from_cache;
    for (std::uint32_t offset : file.Index().Offsets()) scan.checksum = scan.checksum * 31 + offset;
    return scan;
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: scan_bench FILE [RUNS]\n");
        return 2;
    }
    const std::string path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::int64_t size = qorvale::platform::FileSize(path);
    if (size <= 0) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const double megabytes = static_cast<double>(size) / 1e6;
    const std::string cache = qorvale::pgn::OffsetCachePath(path);
    // Warm the page cache, so every figure below is for a file in memory.
    std::system(("cat " + Quote(path) + " > /dev/null").c_str());

    std::vector<double> cat_times;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        if (std::system(("cat " + Quote(path) + " > /dev/null").c_str()) != 0) return 1;
        cat_times.push_back(Seconds(start));
    }
    std::vector<double> cold_times;
    Scan cold;
    for (int run = 0; run < runs; ++run) {
        qorvale::platform::DeleteFile(cache);
        cold = OpenAndScan(path);
        if (cold.from_cache) return 1;
        cold_times.push_back(cold.seconds);
    }
    std::vector<double> warm_times;
    Scan warm;
    for (int run = 0; run < runs; ++run) {
        warm = OpenAndScan(path);
        if (!warm.from_cache) return 1;
        warm_times.push_back(warm.seconds);
    }
    double cat_best = *std::min_element(cat_times.begin(), cat_times.end());
    double cold_best = *std::min_element(cold_times.begin(), cold_times.end());
    double warm_best = *std::min_element(warm_times.begin(), warm_times.end());

    std::printf("file            %s (%.1f MB, %d games)\n", path.c_str(), megabytes, cold.games);
    std::printf("cat             %8.1f ms  %8.0f MB/s\n", cat_best * 1e3, megabytes / cat_best);
    std::printf("cold scan       %8.1f ms  %8.0f MB/s  %10.0f games/s  (%.2f of cat)\n",
                cold_best * 1e3, megabytes / cold_best, cold.games / cold_best,
                cat_best / cold_best);
    std::printf("re-open (.PGO)  %8.2f ms  %8.0f MB/s  %10.0f games/s\n", warm_best * 1e3,
                megabytes / warm_best, warm.games / warm_best);
    std::printf(
        "signature       %d games, offsets checksum %016llx%s\n", cold.games,
        static_cast<unsigned long long>(cold.checksum),
        warm.checksum == cold.checksum && warm.games == cold.games ? "" : " (CACHE DIFFERS)");
    return warm.checksum == cold.checksum ? 0 : 1;
}
