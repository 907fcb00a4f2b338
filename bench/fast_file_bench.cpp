// Games per second of MakeFastFile over a PGN file, and the peak memory it took.
//
//   fast_file_bench FILE [ROUNDS]
//
// The fast file is written beside FILE. Prints the figures and a signature (games written,
// move codes, a checksum of both files) that does not change between runs; a change in the
// signature is a change in behaviour.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/process_stats.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"

namespace {

// FNV-1a of a whole file, read in blocks.
std::uint64_t Checksum(const std::string& path, std::int64_t& size) {
    qorvale::platform::File file =
        qorvale::platform::File::Open(path, qorvale::platform::File::Mode::Read);
    std::uint64_t hash = 1469598103934665603ull;
    static unsigned char block[1 << 16];
    size = 0;
    std::int64_t got;
    while ((got = file.Read(block, sizeof block)) > 0) {
        for (std::int64_t i = 0; i < got; ++i) hash = (hash ^ block[i]) * 1099511628211ull;
        size += got;
    }
    return hash;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qorvale;
    if (argc < 2) {
        std::fprintf(stderr, "usage: fast_file_bench FILE [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    if (rounds < 1) rounds = 1;
    SilentUi ui;
    pgn::PgnFile file;
    if (Error error = file.Open(argv[1]); !error.ok()) {
        std::fprintf(stderr, "%s\n", error.message().c_str());
        return 1;
    }
    std::int32_t count = file.ScanGameFile(false, ui);
    std::string path = file.CurrentPath();
    std::span<const std::uint32_t> offsets = file.Index().Offsets();
    std::vector<std::uint32_t> index(offsets.begin(), offsets.end());
    file.Close();
    std::int64_t before = platform::PeakResidentBytes();

    double best = 0.0;
    search::MakeResult result;
    for (int round = 0; round < rounds; ++round) {
        search::PgnGameSource source(path, index);
        if (Error error = source.Open(); !error.ok()) return 1;
        auto start = std::chrono::steady_clock::now();
        std::clock_t cpu_start = std::clock();
        result = search::MakeFastFile(path, count, source, {});
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // On a shared machine the processor time says more than the clock on the wall.
        double cpu_seconds = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
        double rate = result.games_written / seconds;
        if (rate > best) best = rate;
        std::printf(
            "round %d: %d games in %.2f s (%.2f s of processor), %.0f games/s, %.0f "
            "games per processor second\n",
            round + 1, result.games_written, seconds, cpu_seconds, rate,
            result.games_written / cpu_seconds);
    }
    std::int64_t after = platform::PeakResidentBytes();
    search::FastFileNames names = search::FastFileNamesOf(path);
    std::int64_t trf_size = 0, trh_size = 0;
    std::uint64_t trf_sum = Checksum(names.trf, trf_size);
    std::uint64_t trh_sum = Checksum(names.trh, trh_size);
    std::printf("best: %.0f games/s\n", best);
    std::printf("peak memory: %.1f MB (%.1f MB before generation)\n", after / 1e6, before / 1e6);
    std::printf("signature: games %d, outcome %d, TRF %lld bytes %016llx, TRH %lld bytes %016llx\n",
                result.games_written, static_cast<int>(result.outcome),
                static_cast<long long>(trf_size), static_cast<unsigned long long>(trf_sum),
                static_cast<long long>(trh_size), static_cast<unsigned long long>(trh_sum));
    return 0;
}
