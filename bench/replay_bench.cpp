// Half-moves per second of the two move roads over a corpus of games:
//   replay by text   ReplayToHalfMove (ApplyMoveText and a snapshot per half-move)
//   validation       ValidateGameMoves (LocateMoveText, MakeMoveFromSquares, ApplyMoveText)
// Usage: replay_bench [FILE.pgn] [ROUNDS]; FILE defaults to the chess test corpus; 20 rounds of
// replay and a quarter as many of validation.
// Rates are per second of processor time (the whole round, filling the move arrays included), so
// that other load on the machine disturbs them less. Prints the figures and a signature (games, half-moves, placement checksum) that must not
// change between runs of the same file.

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "chess/chess_test_support.h"

using namespace qorvale::chess;

namespace {

struct Corpus {
    std::vector<MoveText> texts;        // every game's main line, one after another
    std::vector<std::size_t> starts;    // first text of each game, plus the end
    std::vector<std::string> fen_lines;
    std::vector<bool> black_first;
};

Corpus Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    Corpus corpus;
    for (const test::MainLineGame& game : test::ReadMainLines(buffer.str())) {
        corpus.starts.push_back(corpus.texts.size());
        for (const std::string& move : game.moves) corpus.texts.emplace_back(move);
        corpus.fen_lines.push_back(game.fen_line);
        corpus.black_first.push_back(game.black_first);
    }
    corpus.starts.push_back(corpus.texts.size());
    return corpus;
}

// Fills `moves` with game `g`; returns its full moves.
int Fill(const Corpus& corpus, std::size_t g, MainLineMoves& moves) {
    int half = corpus.black_first[g] ? 1 : 0;
    if (half == 1) moves.WhiteMoves[0] = MoveText("...");
    for (std::size_t i = corpus.starts[g]; i < corpus.starts[g + 1] && half < MaxHalfMoves; ++i) {
        auto index = static_cast<std::size_t>(half / 2);
        (half % 2 == 0 ? moves.WhiteMoves : moves.BlackMoves)[index] = corpus.texts[i];
        ++half;
    }
    if (half % 2 == 1) moves.BlackMoves[static_cast<std::size_t>(half / 2)] = MoveText();
    return (half + 1) / 2;
}

std::uint64_t Checksum(const Board& board, std::uint64_t hash) {
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            hash ^= board[file][rank];
            hash *= 0x100000001b3ull;
        }
    }
    return hash;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : QORVALE_BENCH_CORPUS;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    const Corpus corpus = Load(path);
    const std::size_t games = corpus.fen_lines.size();
    ChessState state;
    MainLineMoves moves;

    // Normalise once, as the first load of each game does, so every round replays the same texts.
    std::vector<int> full_moves(games);
    Corpus prepared = corpus;
    for (std::size_t g = 0; g < games; ++g) {
        std::string fen = corpus.fen_lines[g];
        state.ReadFenTagExtras(fen);
        if (state.StartsFromFen()) state.ParseFenPlacement(fen);
        full_moves[g] = Fill(corpus, g, moves);
        state.ReplayToHalfMove(moves, full_moves[g]);
        std::size_t i = corpus.starts[g];
        for (int m = corpus.black_first[g] ? 1 : 0; i < corpus.starts[g + 1]; ++m, ++i) {
            if (m >= MaxHalfMoves) break;
            auto index = static_cast<std::size_t>(m / 2);
            prepared.texts[i] = (m % 2 == 0 ? moves.WhiteMoves : moves.BlackMoves)[index];
        }
    }

    std::uint64_t half_moves = 0;
    std::uint64_t checksum = 0xcbf29ce484222325ull;
    double replay_seconds = 0;
    for (int round = 0; round < rounds; ++round) {
        const std::clock_t start = std::clock();
        half_moves = 0;
        checksum = 0xcbf29ce484222325ull;
        for (std::size_t g = 0; g < games; ++g) {
            std::string fen = prepared.fen_lines[g];
            state.ReadFenTagExtras(fen);
            if (state.StartsFromFen()) state.ParseFenPlacement(fen);
            Fill(prepared, g, moves);
            half_moves += static_cast<std::uint64_t>(state.ReplayToHalfMove(moves, full_moves[g]));
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
            std::string fen = prepared.fen_lines[g];
            state.ReadFenTagExtras(fen);
            if (state.StartsFromFen()) state.ParseFenPlacement(fen);
            Fill(prepared, g, moves);
            failures += state.ValidateGameMoves(moves, full_moves[g]) != 0 ? 1 : 0;
            validated += prepared.starts[g + 1] - prepared.starts[g];
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
