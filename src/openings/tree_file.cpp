#include "openings/tree_file.h"

#include <algorithm>

#include "base/bytes.h"
#include "platform/file.h"

namespace qorvale::openings {

namespace {

const std::uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

// `path` with the character `from_end` places before its end replaced by `letter`, in the case
// of the character it replaces ("TRE" -> "TRT", "tre" -> "trt").
std::string WithLetter(std::string_view path, std::size_t from_end, char letter) {
    std::string changed(path);
    if (changed.size() < from_end) return changed + letter;
    char& at = changed[changed.size() - from_end];
    const bool lower = at >= 'a' && at <= 'z';
    at = lower ? static_cast<char>(letter - 'A' + 'a') : letter;
    return changed;
}

}  // namespace

void EncodeTreeNode(const TreeNode& node, std::uint8_t* out) {
    PutU32(out, node.points);
    PutI32(out + 4, node.parent);
    PutU32(out + 8, node.first_child);
    PutU32(out + 12, node.games);
    PutU32(out + 16, node.first_game);
    PutU16(out + 20, node.child_count);
    PutU16(out + 22, node.move_code);
    std::copy(node.move_text.bytes.begin(), node.move_text.bytes.end(), out + 24);
}

TreeNode DecodeTreeNode(const std::uint8_t* in) {
    TreeNode node;
    node.points = GetU32(in);
    node.parent = GetI32(in + 4);
    node.first_child = GetU32(in + 8);
    node.games = GetU32(in + 12);
    node.first_game = GetU32(in + 16);
    node.child_count = GetU16(in + 20);
    node.move_code = GetU16(in + 22);
    std::copy(in + 24, in + 32, node.move_text.bytes.begin());
    return node;
}

bool ValidTree(std::span<const TreeNode> nodes) {
    if (nodes.empty() || nodes[0].parent != -1) return false;
    const std::uint64_t count = nodes.size();
    for (std::uint64_t i = 0; i < count; ++i) {
        const TreeNode& node = nodes[i];
        if (node.move_text.bytes.back() != 0) return false;
        if (static_cast<std::uint64_t>(node.points) > 2 * static_cast<std::uint64_t>(node.games)) {
            return false;
        }
        if (i > 0) {
            // Children are appended after their parent, inside its run.
            if (node.parent < 0 || static_cast<std::uint64_t>(node.parent) >= i) return false;
            const TreeNode& parent = nodes[static_cast<std::size_t>(node.parent)];
            if (!parent.Expanded() || parent.child_count == EndOfBranch || i < parent.first_child ||
                i >= std::uint64_t{parent.first_child} + parent.child_count) {
                return false;
            }
        }
        if (node.Expanded() && node.child_count != EndOfBranch) {
            const std::uint64_t first = node.first_child;
            if (first <= i || first + node.child_count > count) return false;
            for (std::uint64_t child = first; child < first + node.child_count; ++child) {
                if (nodes[child].parent != static_cast<std::int32_t>(i)) return false;
            }
        }
    }
    return true;
}

TreeFileContents ParseTreeFile(std::span<const std::uint8_t> bytes) {
    TreeFileContents contents;
    if (bytes.size() >= 4 && GetU32(bytes.data()) == OldTreeFormatMark) {
        contents.state = TreeFileState::OldFormat;
        return contents;
    }
    if (bytes.empty() || bytes.size() % TreeNodeSize != 0) {
        contents.state = TreeFileState::Damaged;
        return contents;
    }
    contents.nodes.resize(bytes.size() / TreeNodeSize);
    for (std::size_t i = 0; i < contents.nodes.size(); ++i) {
        contents.nodes[i] = DecodeTreeNode(bytes.data() + i * TreeNodeSize);
    }
    contents.state = ValidTree(contents.nodes) ? TreeFileState::Loaded : TreeFileState::Damaged;
    if (contents.state != TreeFileState::Loaded) contents.nodes.clear();
    return contents;
}

TreeFileContents ReadTreeFile(const std::string& path) {
    TreeFileContents contents;
    if (!platform::FileExists(path)) return contents;
    std::string bytes;
    if (!platform::ReadFileContent(path, bytes)) {
        contents.state = TreeFileState::Unreadable;
        return contents;
    }
    return ParseTreeFile({Bytes(bytes), bytes.size()});
}

bool WriteTreeFile(const std::string& path, std::span<const TreeNode> nodes,
                   platform::FileSystem& files) {
    std::vector<std::uint8_t> bytes(nodes.size() * TreeNodeSize);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        EncodeTreeNode(nodes[i], bytes.data() + i * TreeNodeSize);
    }
    return platform::ReplaceFileContents(
        files, path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string TreeHistoryPath(std::string_view tree_path) { return WithLetter(tree_path, 1, 'T'); }

std::vector<std::uint32_t> ParseTreeHistory(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint32_t> values;
    if (bytes.size() > MaxHistoryBytes) bytes = bytes.first(MaxHistoryBytes);
    if (bytes.size() < 8 || GetU32(bytes.data()) != 0xFFFFFFFF) return values;
    const std::size_t stored = GetU32(bytes.data() + 4);
    const std::size_t present = std::min(stored, (bytes.size() - 8) / 4);
    values.reserve(present);
    for (std::size_t i = 0; i < present; ++i) values.push_back(GetU32(bytes.data() + 8 + 4 * i));
    return values;
}

std::vector<std::uint32_t> ReadTreeHistory(const std::string& path) {
    std::string bytes;
    if (!platform::ReadFileContent(path, bytes, static_cast<std::int64_t>(MaxHistoryBytes))) {
        return {};
    }
    return ParseTreeHistory({Bytes(bytes), bytes.size()});
}

bool WriteTreeHistory(const std::string& path, std::span<const std::uint32_t> values,
                      platform::FileSystem& files) {
    if (values.size() > MaxHistoryValues) values = values.last(MaxHistoryValues);
    std::vector<std::uint8_t> bytes;
    AppendU32(bytes, 0xFFFFFFFF);
    AppendU32(bytes, static_cast<std::uint32_t>(values.size()));
    for (std::uint32_t value : values) AppendU32(bytes, value);
    return platform::ReplaceFileContents(
        files, path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string TreeCountsPath(std::string_view tree_path) { return WithLetter(tree_path, 2, 'W'); }

bool ParseTreeCounts(std::span<const std::uint8_t> bytes, TreeCounts& counts) {
    if (bytes.size() < CountsHeaderSize || GetU32(bytes.data()) != CountsFileMagic) return false;
    const std::uint64_t count = GetU32(bytes.data() + 4);
    if (count * 8 != bytes.size() - CountsHeaderSize) return false;
    counts.stamp.kind = GetU32(bytes.data() + 8);
    counts.stamp.game_count = GetU32(bytes.data() + 12);
    counts.stamp.modified = static_cast<std::int64_t>(
        GetU32(bytes.data() + 24) | (static_cast<std::uint64_t>(GetU32(bytes.data() + 28)) << 32));
    counts.stamp.size =
        GetU32(bytes.data() + 16) | (static_cast<std::uint64_t>(GetU32(bytes.data() + 20)) << 32);
    counts.nodes.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < counts.nodes.size(); ++i) {
        const std::uint8_t* at = bytes.data() + CountsHeaderSize + 8 * i;
        counts.nodes[i] = {GetU32(at), GetU32(at + 4)};
    }
    return true;
}

bool ReadTreeCounts(const std::string& path, TreeCounts& counts) {
    std::string bytes;
    return platform::ReadFileContent(path, bytes) &&
           ParseTreeCounts({Bytes(bytes), bytes.size()}, counts);
}

bool WriteTreeCounts(const std::string& path, const TreeCounts& counts,
                     platform::FileSystem& files) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(CountsHeaderSize + 8 * counts.nodes.size());
    AppendU32(bytes, CountsFileMagic);
    AppendU32(bytes, static_cast<std::uint32_t>(counts.nodes.size()));
    AppendU32(bytes, counts.stamp.kind);
    AppendU32(bytes, counts.stamp.game_count);
    AppendU32(bytes, static_cast<std::uint32_t>(counts.stamp.size));
    AppendU32(bytes, static_cast<std::uint32_t>(counts.stamp.size >> 32));
    const auto modified = static_cast<std::uint64_t>(counts.stamp.modified);
    AppendU32(bytes, static_cast<std::uint32_t>(modified));
    AppendU32(bytes, static_cast<std::uint32_t>(modified >> 32));
    for (const WinCounts& node : counts.nodes) {
        AppendU32(bytes, node.white_wins);
        AppendU32(bytes, node.black_wins);
    }
    return platform::ReplaceFileContents(
        files, path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool CountsFitTree(std::span<const TreeNode> nodes, std::span<const WinCounts> counts) {
    if (counts.size() < nodes.size()) return false;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const std::uint64_t white = counts[i].white_wins;
        const std::uint64_t black = counts[i].black_wins;
        if (white + black > nodes[i].games) return false;
        const std::uint64_t other = nodes[i].games - white - black;
        if (2 * white + other != nodes[i].points) return false;
    }
    return true;
}

void DeleteTreeFiles(const std::string& tree_path, platform::FileSystem& files) {
    (void)files.Delete(tree_path);
    (void)files.Delete(TreeCountsPath(tree_path));
    (void)files.Delete(TreeHistoryPath(tree_path));
}

}  // namespace qorvale::openings
