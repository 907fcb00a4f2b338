#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qorvale::test {

// FNV-1a, 64 bits: the hash the reference placements are kept as.
inline std::uint64_t Fnv1a64(std::string_view data, std::uint64_t hash = 0xcbf29ce484222325ull) {
    for (unsigned char c : data) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// One game of tests/data/chess/placements.tsv (pgn-extract's replay of chess/games.pgn): its
// half-move count and the hash of its placements after each half-move, one per line.
struct ReferenceGame {
    int plies = 0;
    std::uint64_t hash = 0;
};

// The reference games in file order (game 1 first).
std::vector<ReferenceGame> ReadPlacementReference();

}  // namespace qorvale::test
