// Speed of changing a large PGN file: deleting and replacing a game near its start (the whole
// file written beside and renamed over, then rescanned) and appending a game (in place, the index
// from the offset cache), beside `cp` of the same file with and without a sync, and a read pass.
//   edit_bench FILE [RUNS]
// FILE is copied for every run into a work file beside it; FILE itself is never changed. Prints
// seconds (best of RUNS) and a signature: the game count after each change and a checksum of the
// offsets, which must not change unless the editing does.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/ui.h"
#include "pgn/game_file_edit.h"
#include "pgn/offset_cache.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace qorvale;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct YesUi final : Ui {
    void report(std::string_view) override {}
    bool ask(std::string_view) override { return true; }
    void progress(const ProgressCounters&) override {}
    void post(Command) override {}
};

std::string Quote(const std::string& path) { return "'" + path + "'"; }

double Shell(const std::string& command) {
    Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return Seconds(start);
}

std::uint64_t Checksum(const pgn::PgnFile& file) {
    std::uint64_t sum = 0;
    for (std::uint32_t offset : file.Index().Offsets()) sum = sum * 31 + offset;
    return sum;
}

enum class Change { Delete, Replace, Append };

struct Timing {
    double seconds = 0;
    std::int32_t games = 0;
    std::uint64_t checksum = 0;
};

// A fresh copy of the corpus, opened through its offset cache, then one timed change of game 2.
Timing Run(const std::string& corpus, const std::string& work, Change change,
           const std::string& game_text) {
    Shell("cp " + Quote(corpus) + " " + Quote(work));
    YesUi ui;
    pgn::PgnFile file;
    if (!file.Open(work).ok()) std::exit(1);
    file.ScanGameFile(false, ui);
    file.SetCurrentGameNumber(2);
    pgn::GameFileEditor editor(file, ui);
    Clock::time_point start = Clock::now();
    Result<pgn::EditDone> done = Error();
    switch (change) {
        case Change::Delete:
            done = editor.DeleteCurrentGame();
            break;
        case Change::Replace:
            done = editor.ReplaceCurrentGame(game_text);
            break;
        case Change::Append:
            done = editor.SaveGameText(game_text, pgn::SaveMode::Append);
            break;
    }
    Timing timing{Seconds(start), file.GameCount(), Checksum(file)};
    if (!done.ok()) {
        std::fprintf(stderr, "change failed: %s\n", done.error().message().c_str());
        std::exit(1);
    }
    return timing;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: edit_bench FILE [RUNS]\n");
        return 2;
    }
    const std::string corpus = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::int64_t size = platform::FileSize(corpus);
    if (size <= 0) {
        std::fprintf(stderr, "cannot read %s\n", corpus.c_str());
        return 1;
    }
    const std::string folder = platform::FolderOf(corpus);
    const std::string work = platform::JoinPath(folder, "edit-bench.pgn");
    const std::string copy = platform::JoinPath(folder, "edit-bench-cp.pgn");

    // The corpus's offset cache, so that every work copy opens without a scan; and the text of
    // its first game, which replaces the second.
    YesUi ui;
    std::string game_text;
    {
        pgn::PgnFile file;
        if (!file.Open(corpus).ok()) return 1;
        file.ScanGameFile(false, ui);
        pgn::GameFileEditor editor(file, ui);
        game_text = *editor.GameRecords(1);
    }
    const std::string cache = pgn::OffsetCachePath(corpus);
    const std::string work_cache = pgn::OffsetCachePath(work);

    std::vector<double> cat;
    std::vector<double> cp;
    std::vector<double> cp_sync;
    std::vector<double> scan;
    for (int run = 0; run < runs; ++run) {
        cat.push_back(Shell("cat " + Quote(corpus) + " > /dev/null"));
        cp.push_back(Shell("cp " + Quote(corpus) + " " + Quote(copy)));
        cp_sync.push_back(
            Shell("cp " + Quote(corpus) + " " + Quote(copy) + " && sync " + Quote(copy)));
        Clock::time_point start = Clock::now();
        pgn::PgnFile file;
        if (!file.Open(corpus).ok()) return 1;
        file.ScanGameFile(true, ui);
        scan.push_back(Seconds(start));
    }
    platform::DeleteFile(copy);

    const char* names[] = {"delete game 2", "replace game 2", "append a game"};
    const Change changes[] = {Change::Delete, Change::Replace, Change::Append};
    std::vector<Timing> best(3);
    for (int index = 0; index < 3; ++index) {
        for (int run = 0; run < runs; ++run) {
            Shell("cp " + Quote(cache) + " " + Quote(work_cache));
            Timing timing = Run(corpus, work, changes[index], game_text);
            if (run == 0 || timing.seconds < best[index].seconds) best[index] = timing;
        }
    }
    platform::DeleteFile(work);
    platform::DeleteFile(work_cache);

    auto fastest = [](const std::vector<double>& times) {
        return *std::min_element(times.begin(), times.end());
    };
    const double megabytes = static_cast<double>(size) / 1e6;
    std::printf("file: %s, %.1f MB, best of %d runs\n", corpus.c_str(), megabytes, runs);
    std::printf("%-22s %8.3f s\n", "cat > /dev/null", fastest(cat));
    std::printf("%-22s %8.3f s\n", "cp", fastest(cp));
    std::printf("%-22s %8.3f s\n", "cp and sync", fastest(cp_sync));
    std::printf("%-22s %8.3f s\n", "scan ignoring cache", fastest(scan));
    for (int index = 0; index < 3; ++index) {
        std::printf("%-22s %8.3f s  (%.2f x cp and sync)\n", names[index], best[index].seconds,
                    best[index].seconds / fastest(cp_sync));
    }
    std::printf("signature: %d %d %d games, checksums %016llx %016llx %016llx\n", best[0].games,
                best[1].games, best[2].games, static_cast<unsigned long long>(best[0].checksum),
                static_cast<unsigned long long>(best[1].checksum),
                static_cast<unsigned long long>(best[2].checksum));
    return 0;
}
