// Half-moves per second of the two move roads over a corpus of games:
//   replay by text   ReplayToHalfMove (ApplyMoveText and a snapshot per half-move)
//   validation       ValidateGameMoves (LocateMoveText, MakeMoveFromSquares, ApplyMoveText)
// Usage: replay_bench [FILE.pgn] [ROUNDS]; FILE defaults to the chess test corpus; 20 rounds of
// replay and a quarter as many of validation.
// Rates are per second of processor time (the whole round, filling the move arrays included), so
// that other load on the machine disturbs them less. Prints the figures and a signature (games,
// half-moves, placement checksum) that must not change between runs of the same file.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "support/read_games.h"

using namespace qorvale::chess;

namespace {

std::uint64_t Checksum(const Board& board, std::uint64_t hash) {
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            hash ^= board[file][rank];
            hash *= 0x100000001b3ull;
        }
    }
    return hash;
}

void StartGame(ChessState& state, const qorvale::test::ReadGame& game) {
    std::string fen = game.fen_line;
    state.ReadFenTagExtras(fen);
    if (state.StartsFromFen()) state.ParseFenPlacement(fen);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : QORVALE_BENCH_CORPUS;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    // The games as the program's readers leave them, normalised once by a replay, as the first
    // load of each game does, so that every round replays the same texts.
    std::vector<qorvale::test::ReadGame> prepared = qorvale::test::ReadGames(buffer.str());
    const std::size_t games = prepared.size();
    ChessState state;
    std::vector<std::uint64_t> played(games);
    for (std::size_t g = 0; g < games; ++g) {
        StartGame(state, prepared[g]);
        played[g] = static_cast<std::uint64_t>(
            state.ReplayToHalfMove(prepared[g].moves, prepared[g].full_moves));
    }
    MainLineMoves moves;

    std::uint64_t half_moves = 0;
    std::uint64_t checksum = 0xcbf29ce484222325ull;
    double replay_seconds = 0;
    for (int round = 0; round < rounds; ++round) {
        const std::clock_t start = std::clock();
        half_moves = 0;
        checksum = 0xcbf29ce484222325ull;
        for (std::size_t g = 0; g < games; ++g) {
            StartGame(state, prepared[g]);
            moves = prepared[g].moves;
            half_moves +=
                static_cast<std::uint64_t>(state.ReplayToHalfMove(moves, prepared[g].full_moves));
            checksum = Checksum(state.CurrentBoard(), checksum);
        }
        replay_seconds += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    }
    std::uint64_t validated = 0;
    int failures = 0;
    double validate_seconds = 0;
    const int validate_rounds = argc > 3 ? std::atoi(argv[3]) : (rounds + 3) / 4;
    for (int round = 0; round < validate_rounds; ++round) {
        const std::clock_t start = std::clock();
        validated = 0;
        failures = 0;
        for (std::size_t g = 0; g < games; ++g) {
            StartGame(state, prepared[g]);
            moves = prepared[g].moves;
            failures += state.ValidateGameMoves(moves, prepared[g].full_moves) != 0 ? 1 : 0;
            validated += played[g];
        }
        validate_seconds += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    }
    const double replay_rate = static_cast<double>(half_moves) * rounds / replay_seconds;
    const double validate_rate =
        static_cast<double>(validated) * validate_rounds / validate_seconds;
    std::printf("corpus            %s\n", path.c_str());
    std::printf("signature         games %zu  half-moves %llu  checksum %016llx  invalid %d\n",
                games, static_cast<unsigned long long>(half_moves),
                static_cast<unsigned long long>(checksum), failures);
    std::printf("replay by text    %.1f million half-moves/s\n", replay_rate / 1e6);
    std::printf("validation        %.2f million half-moves/s\n", validate_rate / 1e6);
    return 0;
}
