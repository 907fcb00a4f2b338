// Any text as a "[FEN" tag line: placement, side, move number, the set-up checks, and the
// position made from it played on with the first few legal-looking moves.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ui.h"
#include "chess/chess_state.h"
#include "chess/fen.h"
#include "chess/setup_validation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    std::string line(reinterpret_cast<const char*>(data), size);

    chess::Board placement = chess::ReadPlacement(line);
    (void)chess::WritePlacement(placement);

    SilentUi ui;
    chess::ChessState chess(&ui);
    std::string tag_line = line;
    chess.ParseFenPlacement(tag_line);
    chess.ReadFenTagExtras(line);
    (void)chess::ValidateSetupPosition(chess.FenStartBoard(), ui);
    chess.SetStartPosition();
    (void)chess::WritePlacement(chess.CurrentBoard());
    (void)chess.DisplayMoveNumber(0);

    // Whatever the start holds, the move rules must stay on the board.
    for (int from = 0; from < 64; ++from) {
        for (int to = 0; to < 64; ++to) {
            (void)chess.MoveLeavesKingInCheck(from / 8 + 1, from % 8 + 1, to / 8 + 1, to % 8 + 1,
                                              chess::Side::White);
        }
    }
    (void)chess.CanCastleShort(chess::Side::White);
    (void)chess.CanCastleLong(chess::Side::Black);
    return 0;
}
