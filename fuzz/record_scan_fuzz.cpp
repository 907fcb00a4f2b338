// Any bytes as a PGN file: open, scan (which may re-wrap long records and writes the offset
// cache), then load the first games through the file's record reader.
#include <cstddef>
#include <cstdint>

#include "base/ui.h"
#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/pgn_file.h"
#include "scratch_file.h"

namespace {
constexpr int GamesLoaded = 8;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    const ScratchFolder& scratch = Scratch();
    scratch.Clear();
    std::string path = scratch.Write("games.pgn", data, size);

    SilentUi ui;
    pgn::PgnFile file;
    if (file.Open(path)) return 0;
    std::int32_t count = file.ScanGameFile(true, ui);
    // A second scan answers from the offset cache the first one wrote.
    if (file.ScanGameFile(false, ui) != count) __builtin_trap();

    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    for (int game = 1; game <= count && game <= GamesLoaded; ++game) {
        (void)pgn::OpenGameForDisplay(file, game, header, lines, chess, ui);
    }
    // A number past the index is found by counting.
    (void)file.FindGameByCounting(count + 1, ui);
    return 0;
}
