// Any bytes as a tree merge file: its games counted, a tree started on it and grown three moves
// deep along each of the first moves, and the games behind a move listed.
#include <cstddef>
#include <cstdint>

#include "base/ui.h"
#include "no_sync_file_system.h"
#include "openings/opening_tree.h"
#include "openings/tree_source.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::openings;
    TreeSourceRequest request;
    request.kind = TreeSourceKind::MergeFile;
    request.path = Scratch().Write("fuzzed.trm", data, size);
    auto source = TreeSource::Open(request);
    if (!source) return 0;
    (void)(*source)->GameCount();
    qorvale::SilentUi ui;
    OpeningTree tree;
    NoSyncFileSystem files;
    if (tree.Open(std::move(source).value(), {}, ui, true, nullptr, files)) return 0;
    for (int first = 0; first < static_cast<int>(tree.Children().size()) && first < 4; ++first) {
        int depth = 0;
        for (int step = first; depth < 3; step = 0, ++depth) {
            if (tree.EnterChild(step, ui) != EnterOutcome::Children) break;
        }
        (void)tree.GamesBehind(0, ui);
        if (!tree.GoTo(0)) __builtin_trap();
    }
    return 0;
}
