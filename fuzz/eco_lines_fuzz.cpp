// Any bytes as the ECO codes fast file and its position file (qorvale.ecd): the input is the move
// file (.TRF) up to its first two bytes "\0\0" (the end mark, included), then a 16-bit
// little-endian length and that many bytes of the header file (.TRH), then the position file.
// They are loaded as the ECO difference search loads them (the position file made again when it
// does not fit) and a real Sicilian game is classified both ways at every length.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/ui.h"
#include "chess/board.h"
#include "scratch_file.h"
#include "search/eco_difference_search.h"
#include "search/move_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::search;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t mark = input.find(std::string_view("\0\0", 2));
    const std::size_t move_end = mark == std::string_view::npos ? size : mark + 2;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(input.data());
    std::size_t header_size = 0;
    if (move_end + 2 <= size) header_size = bytes[move_end] | (bytes[move_end + 1] << 8);
    const std::size_t header_start = std::min(size, move_end + 2);
    header_size = std::min(header_size, size - header_start);
    const std::size_t ecd_start = header_start + header_size;
    Scratch().Clear();
    const std::string trf = Scratch().Write("ecocodes.TRF", bytes, move_end);
    Scratch().Write("ecocodes.TRH", bytes + header_start, header_size);
    const std::string ecd = Scratch().Write("qorvale.ecd", bytes + ecd_start, size - ecd_start);

    qorvale::SilentUi ui;
    auto lines = EcoCodeLines::Load(trf, ecd, ui);
    if (!lines) return 0;
    // 1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 a6
    const std::vector<MoveCode> game = {0x2321, 0x2212, 0x1530, 0x2B1D, 0x1B19,
                                        0x1B22, 0x1B15, 0x2D3E, 0x1208, 0x2838};
    std::vector<qorvale::chess::Board64> positions;
    for (std::size_t length = 0; length <= game.size(); ++length) {
        const std::span<const MoveCode> opening(game.data(), length);
        ReplayMoveCodes(opening, positions);
        const int by_position = lines->ClassifyByPosition(
            std::span<const qorvale::chess::Board64>(positions).subspan(1));
        const int by_moves = lines->ClassifyByMoves(opening);
        if (by_position >= lines->Count() || by_moves >= lines->Count()) __builtin_trap();
    }
    return 0;
}
