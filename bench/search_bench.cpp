// Time of the searches over a PGN file with a current fast file, each run as the search command
// runs it: the file opened and its game index read from the offset cache, then one search.
//
//   search_bench FILE [ROUNDS] [ECO_LINES]
//
// The fast file must be current (qorvale-tool fastfile make FILE). With ECO_LINES, the ECO codes
// fast file of an install folder (qorvale-tool eco-export writes it), the search with ECO
// difference runs too; the position file qorvale.ecd beside it is made by the first round when
// it is missing. Prints, per search, the best
// wall clock and processor time of the rounds, the peak memory, and a signature (games found and
// the sum of their numbers and half-moves) that does not change between runs.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "platform/process_stats.h"
#include "search/eco_difference_search.h"
#include "search/fast_file.h"
#include "search/header_search.h"
#include "search/position_search.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "search/variation_search.h"

namespace {

using namespace qorvale;

enum class Kind { Header, Variation, Position, EcoDifference };

struct Case {
    const char* name;
    Kind kind;
    search::SearchCriteria criteria;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    search::SearchCriteria header;
    header.header.Set(search::HeaderCriterion::White, "Carlsen");
    header.header.Set(search::HeaderCriterion::Black, "*");
    header.header.Set(search::HeaderCriterion::Date, ">2010");
    cases.push_back({"header: White Carlsen, Black *, Date >2010", Kind::Header, header});

    search::SearchCriteria line;
    line.line = *search::ParseSearchLine("1.e4 c5 2.Nf3 d6 3.d4 cxd4");
    cases.push_back(
        {"variation: 1.e4 c5 2.Nf3 d6 3.d4 cxd4 (transpositions)", Kind::Variation, line});

    search::SearchCriteria position;
    position.position.White[0].Assign("Kg1");
    position.position.Black[0].Assign("Kg8");
    cases.push_back({"position: White Kg1, Black Kg8", Kind::Position, position});

    search::SearchCriteria eco_difference;
    eco_difference.header.Set(search::HeaderCriterion::Eco, "*");
    cases.push_back({"ECO difference: ECO *", Kind::EcoDifference, eco_difference});
    return cases;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_bench FILE [ROUNDS] [ECO_LINES]\n");
        return 2;
    }
    const int rounds = argc > 2 && std::atoi(argv[2]) > 0 ? std::atoi(argv[2]) : 5;
    const std::string eco_lines = argc > 3 ? argv[3] : "";
    SilentUi ui;
    {
        pgn::PgnFile file;
        if (Error error = file.Open(argv[1]); !error.ok()) {
            std::fprintf(stderr, "%s\n", error.message().c_str());
            return 1;
        }
        std::int32_t count = file.ScanGameFile(false, ui);
        if (search::FastFileStateOf(file.CurrentPath(), count) != search::FastFileState::Current) {
            std::fprintf(stderr, "the fast file of %s is not current\n", argv[1]);
            return 1;
        }
        std::printf("%s: %d games\n", file.CurrentPath().c_str(), count);
    }
    for (const Case& test : Cases()) {
        if (test.kind == Kind::EcoDifference && eco_lines.empty()) continue;
        double best_wall = 1e9;
        double best_cpu = 1e9;
        std::int64_t found = 0;
        std::int64_t signature = 0;
        for (int round = 0; round < rounds; ++round) {
            auto start = std::chrono::steady_clock::now();
            std::clock_t cpu_start = std::clock();
            pgn::PgnFile file;
            if (Error error = file.Open(argv[1]); !error.ok()) return 1;
            search::SearchSource source;
            source.game_count = file.ScanGameFile(false, ui);
            source.pgn_path = file.CurrentPath();
            source.offsets = file.Index().Offsets();
            search::SearchList list;
            switch (test.kind) {
                case Kind::Header:
                    found = search::SearchHeader(source, test.criteria, search::Combination::Alone,
                                                 list, ui);
                    break;
                case Kind::Variation:
                    found = search::SearchVariation(source, test.criteria,
                                                    search::Combination::WithVariation, list, ui);
                    break;
                case Kind::Position:
                    found = search::SearchPosition(source, test.criteria, list, ui);
                    break;
                case Kind::EcoDifference: {
                    std::vector<std::string> classified;
                    found = search::SearchEcoDifference(source, test.criteria, eco_lines, list,
                                                        classified, ui);
                    break;
                }
            }
            double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            double cpu = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
            if (wall < best_wall) best_wall = wall;
            if (cpu < best_cpu) best_cpu = cpu;
            signature = 0;
            for (const search::FoundGame& game : list.Games()) {
                signature += game.game_number + game.half_move;
            }
        }
        std::printf("%-58s %8.3f s wall %8.3f s processor  found %lld  signature %lld\n", test.name,
                    best_wall, best_cpu, static_cast<long long>(found),
                    static_cast<long long>(signature));
    }
    std::printf("peak memory %.1f MB\n",
                static_cast<double>(platform::PeakResidentBytes()) / (1024.0 * 1024.0));
    return 0;
}
