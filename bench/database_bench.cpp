// The game database and the directory search over large inputs.
//
//   database_bench build FILE DB [ROUNDS]   make FILE's fast file, then the database from it
//   database_bench add FILE DB TIMES        add FILE's games TIMES more times (a large database)
//   database_bench search DB [ROUNDS]       the three searches of the aims, in process
//   database_bench dirsearch FOLDER FILE [ROUNDS]
//                                           a header search over every file of FOLDER against
//                                           the same search of FILE alone
//
// Prints the best wall clock and processor time of the rounds and a signature (games written or
// found, and the sum of their record indexes or game numbers) that does not change between runs.
// The exact position of the search is the one after half-move 40 of record 12345; its piece
// list is printed too, for timing the whole `qorvale-tool db search` command.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/process_stats.h"
#include "search/database_build.h"
#include "search/database_search.h"
#include "search/directory_search.h"
#include "search/fast_file.h"
#include "search/header_search.h"
#include "search/pgn_game_source.h"

namespace {

using namespace qorvale;

struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
};

// Runs `body` `rounds` times and keeps the best wall clock and processor time.
Timing Measure(int rounds, const std::function<void()>& body) {
    Timing best;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpu_start = std::clock();
        body();
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double cpu = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
        if (wall < best.wall) best.wall = wall;
        if (cpu < best.cpu) best.cpu = cpu;
    }
    return best;
}

void Print(const char* name, const Timing& timing, long long count, long long signature) {
    std::printf("%-44s %9.4f s wall %9.4f s processor  %lld  signature %lld\n", name, timing.wall,
                timing.cpu, count, signature);
}

int Build(const std::string& pgn, const std::string& db, int rounds) {
    SilentUi ui;
    pgn::PgnFile file;
    if (!file.Open(pgn).ok()) return 1;
    const std::int32_t count = file.ScanGameFile(false, ui);
    const auto offsets = file.Index().Offsets();
    const Timing fast = Measure(rounds, [&] {
        search::PgnGameSource games(pgn, {offsets.begin(), offsets.end()});
        if (!games.Open().ok()) std::exit(1);
        (void)search::MakeFastFile(pgn, count, games, {});
    });
    Print("make fast file", fast, count, 0);
    search::DbBuildOutcome outcome;
    const Timing build = Measure(rounds, [&] {
        outcome = search::MakeDatabase({db, search::DbBuildMode::StartNew, pgn, count}, {});
    });
    Print("make database from it", build, outcome.games, 0);
    if (!outcome.error.ok()) std::fprintf(stderr, "%s\n", outcome.message.c_str());
    return outcome.error.ok() ? 0 : 1;
}

int Add(const std::string& pgn, const std::string& db, int times) {
    SilentUi ui;
    pgn::PgnFile file;
    if (!file.Open(pgn).ok()) return 1;
    const std::int32_t count = file.ScanGameFile(false, ui);
    for (int time = 0; time < times; ++time) {
        search::DbBuildOutcome outcome;
        const Timing add = Measure(1, [&] {
            outcome = search::MakeDatabase({db, search::DbBuildMode::Add, pgn, count}, {});
        });
        Print("add to database", add, outcome.games, 0);
        if (!outcome.error.ok()) return 1;
    }
    return 0;
}

int Search(const std::string& db, int rounds) {
    Result<search::Database> opened = search::Database::Open(db);
    if (!opened) {
        std::fprintf(stderr, "%s\n", opened.error().message().c_str());
        return 1;
    }
    // The position after half-move 40 of a real game of the database.
    Result<search::DbGame> game = opened->ReadGame(12345 % opened->RecordCount());
    if (!game) return 1;
    std::vector<chess::Board64> boards;
    search::ReplayMoveCodes(game->codes, boards);
    const chess::Board64 middlegame = boards[std::min<std::size_t>(40, boards.size() - 1)];
    std::string pieces[2];
    for (int square = 0; square < 64; ++square) {
        const int code = middlegame[static_cast<std::size_t>(square)];
        if (code == 0) continue;
        const int kind = code % 10;
        std::string& list = pieces[code > 10 ? 1 : 0];
        if (!list.empty()) list += ',';
        if (kind != 1) list += "?PNBRQK"[kind];
        list += static_cast<char>('a' + square / 8);
        list += static_cast<char>('1' + square % 8);
    }
    std::printf("position: W:%s B:%s\n", pieces[0].c_str(), pieces[1].c_str());

    struct Case {
        const char* name;
        search::DbSearchCriteria criteria;
    };
    std::vector<Case> cases;
    search::DbSearchCriteria player;
    player.white = "Carlsen";
    player.either_colour = true;
    cases.push_back({"player: Carlsen, either colour", player});
    search::DbSearchCriteria year;
    year.year = "2010";
    year.result = "1-0";
    cases.push_back({"year 2010 and result 1-0", year});
    search::DbSearchCriteria position;
    position.position = middlegame;
    cases.push_back({"exact middlegame position", position});
    for (const Case& test : cases) {
        search::DbSearchResult result;
        const Timing timing = Measure(rounds, [&] {
            // Opened each round, as the command does.
            Result<search::Database> database = search::Database::Open(db);
            result = database->Search(test.criteria);
        });
        long long signature = 0;
        for (std::uint32_t record : result.records) signature += record;
        Print(test.name, timing, static_cast<long long>(result.records.size()), signature);
    }
    return 0;
}

int DirectorySearch(const std::string& folder, const std::string& pgn, int rounds) {
    search::SearchCriteria criteria;
    criteria.header.Set(search::HeaderCriterion::White, "Carlsen");
    criteria.header.Set(search::HeaderCriterion::Black, "*");
    SilentUi ui;
    std::int64_t found = 0;
    const Timing one = Measure(rounds, [&] {
        pgn::PgnFile file;
        if (!file.Open(pgn).ok()) std::exit(1);
        search::SearchSource source;
        source.game_count = file.ScanGameFile(false, ui);
        source.pgn_path = file.CurrentPath();
        source.offsets = file.Index().Offsets();
        search::SearchList list;
        found = search::SearchHeader(source, criteria, search::Combination::Alone, list, ui);
    });
    Print("header search of the one file", one, found, 0);
    search::DirectorySearchSummary summary;
    const Timing all = Measure(rounds, [&] {
        search::DirectorySearchRequest request;
        request.folder = folder;
        request.results_path = folder + "/searchqq.xyz";
        request.criteria = criteria;
        summary = search::SearchDirectory(request, {}, ui);
    });
    Print("the same over every file of the folder", all, summary.games_found, summary.files_listed);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto number = [&](std::size_t at, int fallback) {
        return args.size() > at && std::atoi(args[at].c_str()) > 0 ? std::atoi(args[at].c_str())
                                                                   : fallback;
    };
    int code = 2;
    if (args.size() >= 3 && args[0] == "build") code = Build(args[1], args[2], number(3, 3));
    if (args.size() >= 4 && args[0] == "add") code = Add(args[1], args[2], number(3, 1));
    if (args.size() >= 2 && args[0] == "search") code = Search(args[1], number(2, 5));
    if (args.size() >= 3 && args[0] == "dirsearch") {
        code = DirectorySearch(args[1], args[2], number(3, 3));
    }
    if (code == 2) {
        std::fprintf(stderr,
                     "usage: database_bench build FILE DB [ROUNDS] | add FILE DB TIMES | "
                     "search DB [ROUNDS] | dirsearch FOLDER FILE [ROUNDS]\n");
        return 2;
    }
    std::printf("peak memory %.1f MB\n",
                static_cast<double>(platform::PeakResidentBytes()) / (1024.0 * 1024.0));
    return code;
}
