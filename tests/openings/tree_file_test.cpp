#include "openings/tree_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace qorvale::openings {
namespace {

// Root with two first moves, the first of them expanded into one reply.
std::vector<TreeNode> SmallTree() {
    std::vector<TreeNode> nodes(4);
    nodes[0] = {0, -1, 1, 0, 0, 2, 0, chess::MoveText()};
    nodes[1] = {5, 0, 3, 3, 1, 1, 0x1C0C, chess::MoveText("e4")};
    nodes[2] = {1, 0, 0, 1, 2, 0, 0x1B0B, chess::MoveText("d4")};
    nodes[3] = {5, 1, 0, 3, 1, EndOfBranch, 0x2433, chess::MoveText("e5")};
    return nodes;
}

std::vector<std::uint8_t> Bytes(const std::vector<TreeNode>& nodes) {
    std::vector<std::uint8_t> bytes(nodes.size() * TreeNodeSize);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        EncodeTreeNode(nodes[i], bytes.data() + i * TreeNodeSize);
    }
    return bytes;
}

TEST(TreeFile, ReadsAWalkableTreeAndRejectsTheRest) {
    struct Case {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        TreeFileState state;
    };
    const std::vector<Case> cases = {
        {"whole", [](auto&) {}, TreeFileState::Loaded},
        {"older format", [](auto& b) { PutU32(b.data(), 0xFFFFFFFF); }, TreeFileState::OldFormat},
        {"empty", [](auto& b) { b.clear(); }, TreeFileState::Damaged},
        {"cut inside a node", [](auto& b) { b.erase(b.end() - 5, b.end()); },
         TreeFileState::Damaged},
        {"cut after a node", [](auto& b) { b.erase(b.end() - 32, b.end()); },
         TreeFileState::Damaged},
        {"root with a parent", [](auto& b) { PutI32(b.data() + 4, 0); }, TreeFileState::Damaged},
        {"children beyond the end", [](auto& b) { PutU16(b.data() + 20, 9); },
         TreeFileState::Damaged},
        {"child claimed by another", [](auto& b) { PutI32(b.data() + 3 * 32 + 4, 2); },
         TreeFileState::Damaged},
        {"children before their parent", [](auto& b) { PutU32(b.data() + 32 + 8, 0); },
         TreeFileState::Damaged},
        {"more points than two a game", [](auto& b) { PutU32(b.data() + 2 * 32, 3); },
         TreeFileState::Damaged},
        {"move text without its NUL", [](auto& b) { std::fill_n(b.data() + 32 + 24, 8, 'x'); },
         TreeFileState::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = Bytes(SmallTree());
        c.damage(bytes);
        TreeFileContents contents = ParseTreeFile(bytes);
        EXPECT_EQ(contents.state, c.state);
        if (c.state == TreeFileState::Loaded) {
            EXPECT_EQ(Bytes(contents.nodes), bytes);
        } else {
            EXPECT_TRUE(contents.nodes.empty());
        }
    }
}

TEST(TreeFile, HistoryKeepsAtMost401Values) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::size_t values;
    };
    auto history = [](std::uint32_t mark, std::uint32_t count, std::size_t present) {
        std::vector<std::uint8_t> bytes;
        AppendU32(bytes, mark);
        AppendU32(bytes, count);
        for (std::size_t i = 0; i < present; ++i) AppendU32(bytes, static_cast<std::uint32_t>(i));
        return bytes;
    };
    const std::vector<Case> cases = {
        {"count beyond the values", history(0xFFFFFFFF, 9, 2), 2},
        {"more than 1612 bytes", history(0xFFFFFFFF, 500, 500), 401},
        {"not a history file", history(0, 3, 3), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseTreeHistory(c.bytes).size(), c.values);
    }
}

TEST(TreeFile, CountsMustAgreeWithGamesAndPoints) {
    const std::vector<TreeNode> nodes = SmallTree();
    struct Case {
        const char* name;
        std::vector<WinCounts> counts;
        bool fits;
    };
    // e4: 3 games, 5 points = 2 White wins and 1 other; d4: 1 game, 1 point.
    const std::vector<Case> cases = {
        {"agreeing", {{0, 0}, {2, 0}, {0, 0}, {2, 0}}, true},
        {"fewer counts than nodes", {{0, 0}, {2, 0}, {0, 0}}, false},
        {"wins not matching the points", {{0, 0}, {1, 1}, {0, 0}, {2, 0}}, false},
        {"more wins than games", {{0, 0}, {2, 2}, {0, 0}, {2, 0}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CountsFitTree(nodes, c.counts), c.fits);
    }
}

}  // namespace
}  // namespace qorvale::openings
