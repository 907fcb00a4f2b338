// Time of the opening tree over a PGN file with a current fast file, each step taken as
// `qorvale-tool tree` takes it: the file opened and its game index read from the offset cache,
// the tree opened, a line entered.
//
//   tree_bench FILE [ROUNDS]
//
// The fast file must be current (qorvale-tool fastfile make FILE); the tree files beside FILE are
// deleted and made again. Prints, per step, the best wall clock and processor time of the rounds,
// the peak memory, and a signature (games and points of the rows the step ends on) that does not
// change between runs.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

#include "app/tree_session.h"
#include "base/ui.h"
#include "openings/tree_source.h"
#include "pgn/pgn_file.h"
#include "platform/process_stats.h"
#include "search/fast_file.h"

namespace {

using namespace qorvale;

constexpr const char* DeepLine = "1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 a6";
constexpr int DeepNodes = 10;

struct Step {
    const char* name;
    std::function<void()> prepare;  // untimed
    const char* line;
    bool use_fast_file = true;
    int nodes = 1;  // the time is also given per node
};

// Opens the file and its tree and enters `line`, as the tool does; returns the signature.
std::int64_t Run(const std::string& path, const char* line, bool use_fast_file, Ui& ui) {
    pgn::PgnFile file;
    if (file.Open(path)) std::exit(1);
    openings::TreeSourceRequest request;
    request.path = file.CurrentPath();
    request.game_count = file.ScanGameFile(false, ui);
    request.offsets.assign(file.Index().Offsets().begin(), file.Index().Offsets().end());
    request.use_fast_file = use_fast_file;
    app::TreeSession session;
    if (session.Open(request, {}, ui)) std::exit(1);
    if (session.EnterLine(line, ui).stop != app::TreeSession::LineWalk::Stop::Done) std::exit(1);
    std::int64_t signature = 0;
    for (const app::TreeRow& row : session.Rows()) {
        signature = signature * 31 + row.move.games * 7 + row.move.points;
    }
    return signature;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tree_bench FILE [ROUNDS]\n");
        return 2;
    }
    const std::string path = argv[1];
    const int rounds = argc > 2 && std::atoi(argv[2]) > 0 ? std::atoi(argv[2]) : 5;
    SilentUi ui;
    {
        pgn::PgnFile file;
        if (file.Open(path)) return 1;
        const std::int32_t count = file.ScanGameFile(false, ui);
        if (search::FastFileStateOf(file.CurrentPath(), count) != search::FastFileState::Current) {
            std::fprintf(stderr, "the fast file of %s is not current\n", path.c_str());
            return 1;
        }
        std::printf("%s: %d games\n", file.CurrentPath().c_str(), count);
    }
    auto fresh = [&] { openings::DeleteTreesOf(path); };
    auto root_only = [&] {
        fresh();
        (void)Run(path, "", true, ui);
    };
    const Step steps[] = {
        {"root of a new tree", fresh, ""},
        {"new node 1.e4", root_only, "1.e4"},
        {"expanded node 1.e4, from the tree file", [] {}, "1.e4"},
        {"10 new nodes down 1.e4 c5 ... 5.Nc3 a6", root_only, DeepLine, true, DeepNodes},
        {"the same 10 nodes, from the tree file", [] {}, DeepLine, true, DeepNodes},
        {"root of a new tree from the PGN text", fresh, "", false},
    };
    for (const Step& step : steps) {
        double best_wall = 1e9;
        double best_cpu = 1e9;
        std::int64_t signature = 0;
        // Reading the whole text is slow: one round is enough to see it.
        const int runs = step.use_fast_file ? rounds : 1;
        for (int round = 0; round < runs; ++round) {
            step.prepare();
            auto start = std::chrono::steady_clock::now();
            std::clock_t cpu_start = std::clock();
            signature = Run(path, step.line, step.use_fast_file, ui);
            double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            double cpu = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
            best_wall = std::min(best_wall, wall);
            best_cpu = std::min(best_cpu, cpu);
        }
        std::printf("%-44s %7.3f s wall %7.3f s processor (%6.3f s a node)  signature %lld\n",
                    step.name, best_wall, best_cpu, best_wall / step.nodes,
                    static_cast<long long>(signature));
    }
    fresh();
    std::printf("peak memory %.1f MB\n",
                static_cast<double>(platform::PeakResidentBytes()) / (1024.0 * 1024.0));
    return 0;
}
