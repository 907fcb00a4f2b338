// Games loaded per second: header, movetext and one replay of the main line per game, every
// game of a PGN file reached through its game index, as the window opens a game.
//
//   load_bench FILE [ROUNDS]
//
// Prints the figures and a signature (games, half-moves, annotations) that does not change
// between runs; a change in the signature is a change in behaviour.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/ui.h"
#include "chess/chess_state.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"

namespace {

struct Totals {
    std::int64_t games = 0;
    std::int64_t half_moves = 0;
    std::int64_t annotations = 0;
};

Totals LoadAll(qorvale::pgn::PgnFile& file, qorvale::Ui& ui) {
    using namespace qorvale;
    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    pgn::LoadOptions options;
    options.quiet = true;
    Totals totals;
    for (std::int32_t game = 1; game <= file.GameCount(); ++game) {
        Result<int> loaded = pgn::OpenGameForDisplay(file, game, header, lines, chess, ui, options);
        if (!loaded.ok()) continue;
        ++totals.games;
        totals.half_moves += *loaded;
        totals.annotations += lines.AnnotationCount();
    }
    return totals;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: load_bench FILE [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    if (rounds < 1) rounds = 1;
    qorvale::SilentUi ui;
    qorvale::pgn::PgnFile file;
    if (qorvale::Error error = file.Open(argv[1]); !error.ok()) {
        std::fprintf(stderr, "%s\n", error.message().c_str());
        return 1;
    }
    file.ScanGameFile(false, ui);

    double best_seconds = 0;
    Totals totals;
    for (int round = 0; round < rounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        totals = LoadAll(file, ui);
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (round == 0 || seconds < best_seconds) best_seconds = seconds;
    }
    std::printf("games %lld  half-moves %lld  annotations %lld\n",
                static_cast<long long>(totals.games), static_cast<long long>(totals.half_moves),
                static_cast<long long>(totals.annotations));
    std::printf("best of %d: %.3f s  %.0f games/s  %.2f M half-moves/s\n", rounds, best_seconds,
                static_cast<double>(totals.games) / best_seconds,
                static_cast<double>(totals.half_moves) / best_seconds / 1e6);
    return 0;
}
