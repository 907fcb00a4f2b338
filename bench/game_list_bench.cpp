// Game list records built from the PGN text (no name.pgs, no fast file), without and with the
// quick classification of games that have no ECO tag, as the window and `qorvale-tool list` do.
//
//   game_list_bench FILE TABLE_FOLDER [ROUNDS]
//
// Prints the best time of each form and a signature (games, games without a tag, of those the
// ones named, a sum over the codes) that does not change between runs.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/game_list.h"
#include "base/ui.h"
#include "openings/eco_line_trie.h"
#include "openings/eco_table.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"

namespace {

using namespace qorvale;

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Signature {
    std::int64_t games = 0;
    std::int64_t untagged = 0;
    std::int64_t named = 0;
    std::int64_t code_sum = 0;
};

Signature Sign(const app::GameListBuild& plain, const app::GameListBuild& named) {
    Signature signature;
    signature.games = static_cast<std::int64_t>(named.records.size());
    for (std::size_t k = 0; k < named.records.size() && k < plain.records.size(); ++k) {
        if (plain.records[k].ECO[0] != 0) continue;
        ++signature.untagged;
        const std::string code(named.records[k].ECO.data());
        if (code.empty()) continue;
        ++signature.named;
        for (char c : code) signature.code_sum += static_cast<unsigned char>(c);
    }
    return signature;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: game_list_bench FILE TABLE_FOLDER [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    if (rounds < 1) rounds = 1;
    SilentUi ui;
    openings::EcoTable table;
    if (!openings::LoadEcoTable(openings::EcoTableFilesIn(argv[2]), table, ui).ok()) {
        std::fprintf(stderr, "ECO table corruption.\n");
        return 1;
    }
    pgn::PgnFile file;
    if (Error error = file.Open(argv[1]); !error.ok()) {
        std::fprintf(stderr, "%s\n", error.message().c_str());
        return 1;
    }
    file.ScanGameFile(false, ui);
    const std::string cache = app::GameListCachePath(file.CurrentPath());

    double plain_best = 1e9, named_best = 1e9, trie_best = 1e9;
    app::GameListBuild plain, named;
    for (int round = 0; round < rounds; ++round) {
        // Each build starts without name.pgs so that every round reads the text.
        (void)platform::DeleteFile(cache);
        auto start = std::chrono::steady_clock::now();
        plain = app::BuildGameListRecords(file, ui);
        plain_best = std::min(plain_best, Seconds(start));

        (void)platform::DeleteFile(cache);
        start = std::chrono::steady_clock::now();
        const openings::EcoLineTrie classifier(table);
        trie_best = std::min(trie_best, Seconds(start));
        named = app::BuildGameListRecords(file, ui, &classifier);
        named_best = std::min(named_best, Seconds(start));
    }
    (void)platform::DeleteFile(cache);
    if (plain.source != app::GameListSource::PgnText) {
        std::fprintf(stderr, "records did not come from the PGN text (a fast file beside it?)\n");
        return 1;
    }
    const Signature signature = Sign(plain, named);
    std::printf("games %lld, table entries %d, best of %d rounds\n",
                static_cast<long long>(signature.games), table.count(), rounds);
    std::printf("records from the tags:               %8.1f ms\n", plain_best * 1000);
    std::printf("records with classification:         %8.1f ms (table tree %.1f ms)\n",
                named_best * 1000, trie_best * 1000);
    std::printf("signature: untagged %lld named %lld code sum %lld\n",
                static_cast<long long>(signature.untagged), static_cast<long long>(signature.named),
                static_cast<long long>(signature.code_sum));
    return 0;
}
