#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chess/move_text.h"
#include "platform/file_system.h"

namespace qorvale::openings {

// One node of an opening tree: the move that leads to it from its parent and how the source's
// games went on with it.
//
// The tree file is an array of these, 32 bytes each, little-endian, with no header: the node
// count is the file size / 32. Node 0 is the root (the initial position); the children of a
// node stand together, after it.
//   offset  size     field
//   0       u32      points       result points of the counted games: 2 a White win, 1 any
//                                 other result, 0 a Black win
//   4       i32      parent       index of the parent; -1 in the root
//   8       u32      first_child  index of the first child; 1 in the root; 0 until expanded
//   12      u32      games        games counted for this move
//   16      u32      first_game   1-based number (source order) of the first game with the move
//   20      u16      child_count  0 not yet expanded; EndOfBranch: never expanded further
//   22      u16      move_code    the move as a MoveCode when the source is a move stream, else 0
//   24      char[8]  move_text    the move in SAN, NUL-terminated; empty in the root
struct TreeNode {
    std::uint32_t points = 0;
    std::int32_t parent = -1;
    std::uint32_t first_child = 0;
    std::uint32_t games = 0;
    std::uint32_t first_game = 0;
    std::uint16_t child_count = 0;
    std::uint16_t move_code = 0;
    chess::MoveText move_text;

    bool Expanded() const { return child_count != 0; }
};

inline constexpr std::size_t TreeNodeSize = 32;
// child_count of a node whose branch has ended: it is never expanded again.
inline constexpr std::uint16_t EndOfBranch = 65535;
// A tree file of the older format begins with this word; it is deleted and started again.
inline constexpr std::uint32_t OldTreeFormatMark = 0xFFFFFFFF;

void EncodeTreeNode(const TreeNode& node, std::uint8_t* out);
TreeNode DecodeTreeNode(const std::uint8_t* in);

// Whether `nodes` hold a tree this program can walk: a root at 0, every parent before its
// children, every expanded node's children inside the array and pointing back at it, every node
// in its parent's children, points at most twice the games, and each move text ended by a NUL
// within its 8 bytes. Anything else is damage and the tree is started again.
bool ValidTree(std::span<const TreeNode> nodes);

enum class TreeFileState {
    Loaded,     // `nodes` hold a valid tree
    Missing,    // no file
    OldFormat,  // "Tree file format has changed. Start tree again."
    Damaged,    // not a whole number of nodes, empty, or not a valid tree
    Unreadable  // exists but cannot be read: "Error opening tree file."
};

struct TreeFileContents {
    TreeFileState state = TreeFileState::Missing;
    std::vector<TreeNode> nodes;
};

// Reads a tree file whole and checks it.
TreeFileContents ReadTreeFile(const std::string& path);
// The same over bytes already in memory.
TreeFileContents ParseTreeFile(std::span<const std::uint8_t> bytes);

// Writes all nodes, replacing the file only once the new content is complete and flushed.
bool WriteTreeFile(const std::string& path, std::span<const TreeNode> nodes,
                   platform::FileSystem& files = platform::SystemFileSystem());

// The tree history file: the tree file name with its last character replaced by 'T'.
//   u32 0xFFFFFFFF, u32 count, then count u32 values
// At most 1612 bytes (401 values) are read back. The values are the tree window's back and
// forward history as node indices, the current node last; bit 31 marks a node of the
// exact-variations tree, which shares the history file with the other kind.
inline constexpr std::size_t MaxHistoryBytes = 1612;
inline constexpr std::size_t MaxHistoryValues = (MaxHistoryBytes - 8) / 4;
inline constexpr std::uint32_t ExactTreeHistoryMark = 0x80000000;

std::string TreeHistoryPath(std::string_view tree_path);
// The values of a history file; empty when it is missing or not of this layout.
std::vector<std::uint32_t> ParseTreeHistory(std::span<const std::uint8_t> bytes);
std::vector<std::uint32_t> ReadTreeHistory(const std::string& path);
// Writes the last MaxHistoryValues values.
bool WriteTreeHistory(const std::string& path, std::span<const std::uint32_t> values,
                      platform::FileSystem& files = platform::SystemFileSystem());

// The games of one tree node by result. The tree file holds only games and points, so these live
// in the counts file beside it: the tree file name with its second-last character replaced by
// 'W' ("games.TRE" -> "games.TWE", "ecotree.trx" -> "ecotree.twx"). It is written before the
// tree file each time and deleted with it, so it always covers at least the tree file's nodes.
struct WinCounts {
    std::uint32_t white_wins = 0;
    std::uint32_t black_wins = 0;
};

// What the tree was built from, so that a tree whose source has changed since is known stale.
struct SourceStamp {
    std::uint32_t kind = 0;        // the source kind and how it was read
    std::uint64_t size = 0;        // bytes of the source's move data (or PGN text, or table)
    std::uint32_t game_count = 0;  // games the source said it held
    std::int64_t modified = 0;     // the data's last change, seconds since the epoch
    friend bool operator==(const SourceStamp&, const SourceStamp&) = default;
};

// The counts file, little-endian:
//   offset  size  field
//   0       u32   'QTWC' (0x43575451)
//   4       u32   node count N
//   8       u32   stamp kind
//   12      u32   stamp game count
//   16      u64   stamp size
//   24      i64   stamp modified
//   32      8·N   per node: u32 White wins, u32 Black wins
inline constexpr std::uint32_t CountsFileMagic = 0x43575451;
inline constexpr std::size_t CountsHeaderSize = 32;

struct TreeCounts {
    SourceStamp stamp;
    std::vector<WinCounts> nodes;
};

std::string TreeCountsPath(std::string_view tree_path);
// False when the bytes are not of this layout.
bool ParseTreeCounts(std::span<const std::uint8_t> bytes, TreeCounts& counts);
bool ReadTreeCounts(const std::string& path, TreeCounts& counts);
bool WriteTreeCounts(const std::string& path, const TreeCounts& counts,
                     platform::FileSystem& files = platform::SystemFileSystem());

// Whether the counts agree with the tree's first nodes: at least as many, and for every node
// White wins + Black wins at most its games, with points = 2 × White wins + the other results.
bool CountsFitTree(std::span<const TreeNode> nodes, std::span<const WinCounts> counts);

// Deletes a tree file with its counts file and the history file they share.
void DeleteTreeFiles(const std::string& tree_path,
                     platform::FileSystem& files = platform::SystemFileSystem());

}  // namespace qorvale::openings
