// Opening classification speed: ClassifyPosition at every half-move 1..60 of each game (what the
// opening line under the board costs per redraw), and whole-file classification as the `eco`
// command does it (load each game, then Find Opening - Closest Match at its last half-move).
//
//   eco_bench FILE TABLE_FOLDER [ROUNDS]
//
// Prints the figures and a signature (games, classifications, named positions, a sum of the
// entries found) that does not change between runs; a change in it is a change in behaviour.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/ui.h"
#include "chess/chess_state.h"
#include "openings/eco_table.h"
#include "openings/opening_classification.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"

namespace {

using namespace qorvale;

constexpr int DisplayPlies = 60;

// The first 60 half-moves of a game, all the classification of a redraw reads.
struct OpeningMoves {
    std::vector<chess::MoveText> white;
    std::vector<chess::MoveText> black;
    int half_moves = 0;
};

struct Signature {
    std::int64_t games = 0;
    std::int64_t calls = 0;
    std::int64_t named = 0;
    std::int64_t entry_sum = 0;
};

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: eco_bench FILE TABLE_FOLDER [ROUNDS]\n");
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

    pgn::HeaderTags header;
    pgn::GameLines lines;
    auto chess = std::make_unique<chess::ChessState>();
    auto game = std::make_unique<openings::OpeningGame>();
    pgn::LoadOptions options;
    options.quiet = true;

    // Whole-file classification, loading included.
    double file_seconds = 0;
    Signature file_signature;
    std::vector<OpeningMoves> kept;
    for (int round = 0; round < rounds; ++round) {
        Signature signature;
        const bool keep = round == 0;
        auto start = std::chrono::steady_clock::now();
        for (std::int32_t number = 1; number <= file.GameCount(); ++number) {
            Result<int> loaded =
                pgn::OpenGameForDisplay(file, number, header, lines, *chess, ui, options);
            if (!loaded.ok()) continue;
            game->Set(lines.Moves(), *loaded);
            std::int32_t entry = openings::FindOpening(
                table, *game, openings::FindOpeningMode::ClosestMatch, *loaded);
            ++signature.games;
            ++signature.calls;
            signature.named += entry >= 0;
            signature.entry_sum += entry;
            if (keep) {
                OpeningMoves moves;
                moves.half_moves = *loaded < DisplayPlies ? *loaded : DisplayPlies;
                for (int i = 0; i < (moves.half_moves + 1) / 2; ++i) {
                    moves.white.push_back(lines.Moves().WhiteMoves[static_cast<std::size_t>(i)]);
                    moves.black.push_back(lines.Moves().BlackMoves[static_cast<std::size_t>(i)]);
                }
                kept.push_back(std::move(moves));
            }
        }
        double seconds = Seconds(start);
        if (round == 0 || seconds < file_seconds) file_seconds = seconds;
        file_signature = signature;
    }

    // One ClassifyPosition per half-move 1..60, as the board is stepped through each game.
    double display_seconds = 0;
    Signature display_signature;
    auto main_line = std::make_unique<chess::MainLineMoves>();
    for (int round = 0; round < rounds; ++round) {
        Signature signature;
        auto start = std::chrono::steady_clock::now();
        for (const OpeningMoves& moves : kept) {
            for (std::size_t i = 0; i < moves.white.size(); ++i) {
                main_line->WhiteMoves[i] = moves.white[i];
                main_line->BlackMoves[i] = moves.black[i];
            }
            game->Set(*main_line, moves.half_moves);
            ++signature.games;
            for (int ply = 1; ply <= moves.half_moves; ++ply) {
                openings::Classification found = openings::ClassifyPosition(table, *game, ply);
                ++signature.calls;
                signature.named += found.entry >= 0;
                signature.entry_sum += found.entry + found.longest;
            }
        }
        double seconds = Seconds(start);
        if (round == 0 || seconds < display_seconds) display_seconds = seconds;
        display_signature = signature;
    }

    std::printf("table %d entries\n", table.count());
    std::printf("file: games %lld  named %lld  sum %lld\n",
                static_cast<long long>(file_signature.games),
                static_cast<long long>(file_signature.named),
                static_cast<long long>(file_signature.entry_sum));
    std::printf("file: best of %d: %.3f s  %.0f games/s (loading included)\n", rounds, file_seconds,
                static_cast<double>(file_signature.games) / file_seconds);
    std::printf("display: games %lld  calls %lld  named %lld  sum %lld\n",
                static_cast<long long>(display_signature.games),
                static_cast<long long>(display_signature.calls),
                static_cast<long long>(display_signature.named),
                static_cast<long long>(display_signature.entry_sum));
    std::printf("display: best of %d: %.3f s  %.0f ClassifyPosition calls/s  %.1f us/call\n",
                rounds, display_seconds,
                static_cast<double>(display_signature.calls) / display_seconds,
                display_seconds * 1e6 / static_cast<double>(display_signature.calls));
    return 0;
}
