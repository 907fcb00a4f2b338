// Any bytes as the annotation editor's recovery copy ("recover.pgn"): read, and the game text it
// holds loaded for a rewrite, rewritten, and put through the checks of a typed game text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/annotation_editor.h"
#include "pgn/game_rewrite.h"
#include "pgn/game_text_writer.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    const ScratchFolder& scratch = Scratch();
    const std::string path = scratch.Write("recover.pgn", data, size);
    std::optional<app::PendingAnnotation> pending = app::FindPendingAnnotation(path);
    const std::string text =
        pending ? pending->game_text : std::string(reinterpret_cast<const char*>(data), size);
    Result<pgn::GameRewrite> game = pgn::LoadGameRewrite(text);
    if (game.ok()) (void)pgn::LoadGameRewrite(pgn::RewriteGameText(*game));
    Result<std::string> typed = pgn::CheckTypedGameText(text);
    if (typed.ok()) (void)pgn::NormaliseGameText(*typed, true);
    return 0;
}
