// Any bytes as the tree history file of a tree that is whole: the tree window's session opens
// the tree with it and goes back through the history to its start and forward to its end.
#include <cstddef>
#include <cstdint>

#include "app/tree_session.h"
#include "base/ui.h"
#include "scratch_file.h"
#include "tree_fuzz_source.h"

namespace {

// The tree grown once for the process: the root and the first two moves of each line expanded.
struct GrownTree {
    GrownTree() {
        qorvale::SilentUi ui;
        qorvale::app::TreeSession session;
        request.kind = qorvale::openings::TreeSourceKind::MergeFile;
        request.path = Scratch().Path("games.trm");
        (void)TreeFuzzSource::Get();
        if (session.Open(request, {}, ui, nullptr, true)) __builtin_trap();
        (void)session.EnterLine("1.e4 e5 2.Nf3", ui);
    }
    qorvale::openings::TreeSourceRequest request;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    static const GrownTree grown;
    (void)Scratch().Write("games.TRT", data, size);
    SilentUi ui;
    app::TreeSession session;
    if (session.Open(grown.request, {}, ui)) __builtin_trap();
    for (int steps = 0; session.CanGoBack(); ++steps) {
        if (steps > 1000 || !session.Back(ui)) __builtin_trap();
    }
    for (int steps = 0; session.CanGoForward(); ++steps) {
        if (steps > 1000 || !session.Forward(ui)) __builtin_trap();
    }
    return 0;
}
