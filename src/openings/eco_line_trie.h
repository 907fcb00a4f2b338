#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "openings/eco_table.h"

namespace qorvale::openings {

// A quick opening code for a game from the text of its first movetext line, without replaying
// it: the table's move lines as a tree of move tokens, walked with the line's tokens. Used where
// every game of a large file needs a code (the game list of games without an ECO tag), so it
// stays a handful of string compares per game.
//
// Tokens are SAN texts without move numbers, check and mate signs or "!"/"?" marks ("0-0" reads
// as "O-O"). In the game's line, comments and variations that close on the line are stepped
// over and NAGs skipped; an unclosed one, a result or a Black-first "1..." ends the walk. The
// answer is the code of the deepest table line the game's tokens run through, the first such
// entry in table order when several lines are the same.
class EcoLineTrie {
  public:
    EcoLineTrie() = default;
    explicit EcoLineTrie(const EcoTable& table);

    // The code of the deepest table line `movetext_line` begins with; "" when none.
    std::string_view Classify(std::string_view movetext_line) const;

    bool empty() const { return nodes_.size() <= 1; }

  private:
    using Key = std::uint64_t;
    struct Node {
        std::vector<std::pair<Key, std::uint32_t>> children;
        std::array<char, 4> code{};  // empty when no table line ends here
    };
    std::uint32_t Child(std::uint32_t node, Key key) const;

    std::vector<Node> nodes_;
};

// A SAN token as the trie compares it: move number, check/mate signs and "!"/"?" removed; "" when
// nothing is left. Returned as a key of at most 8 bytes (0 for none).
std::uint64_t EcoLineTokenKey(std::string_view token);

}  // namespace qorvale::openings
