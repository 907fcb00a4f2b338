// Any bytes as a tree file and the counts file beside it, over a small merge file: the counts
// file's stamp is made to fit the merge file, so that every tree the checks accept is opened and
// walked: each child of the root and of its first children entered (expanding where needed),
// stepped back from, and every node gone to directly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/bytes.h"
#include "base/ui.h"
#include "no_sync_file_system.h"
#include "openings/opening_tree.h"
#include "openings/tree_file.h"
#include "openings/tree_source.h"
#include "scratch_file.h"
#include "split_input.h"
#include "tree_fuzz_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::openings;
    const TreeFuzzSource& source = TreeFuzzSource::Get();
    auto parts = SplitInput(data, size, 2);
    (void)Scratch().Write("games.TRE", parts[0].data(), parts[0].size());
    std::vector<std::uint8_t> counts(parts[1].begin(), parts[1].end());
    if (counts.size() >= CountsHeaderSize) {
        const SourceStamp stamp = source.Stamp();
        qorvale::PutU32(counts.data() + 8, stamp.kind);
        qorvale::PutU32(counts.data() + 12, stamp.game_count);
        qorvale::PutU32(counts.data() + 16, static_cast<std::uint32_t>(stamp.size));
        qorvale::PutU32(counts.data() + 20, static_cast<std::uint32_t>(stamp.size >> 32));
        const auto modified = static_cast<std::uint64_t>(stamp.modified);
        qorvale::PutU32(counts.data() + 24, static_cast<std::uint32_t>(modified));
        qorvale::PutU32(counts.data() + 28, static_cast<std::uint32_t>(modified >> 32));
    }
    (void)Scratch().Write("games.TWE", counts.data(), counts.size());

    qorvale::SilentUi ui;
    OpeningTree tree;
    NoSyncFileSystem files;
    if (tree.Open(source.Open(), {}, ui, false, nullptr, files)) return 0;
    if (!ValidTree(std::span<const TreeNode>(&tree.Node(0), tree.NodeCount()))) __builtin_trap();
    const int first = static_cast<int>(tree.Children().size());
    for (int i = 0; i < first && i < 4; ++i) {
        if (tree.EnterChild(i, ui) == EnterOutcome::Children) {
            for (int j = 0; j < static_cast<int>(tree.Children().size()) && j < 2; ++j) {
                if (tree.EnterChild(j, ui) != EnterOutcome::Refused) tree.StepBack();
            }
            (void)tree.GamesBehind(0, ui);
        }
        tree.StepBack();
    }
    for (std::int32_t node = 0; node < tree.NodeCount() && node < 512; ++node) {
        if (!tree.GoTo(node) || tree.CurrentNode() != node) __builtin_trap();
        (void)tree.ChildIndexOf(node);
    }
    return 0;
}
