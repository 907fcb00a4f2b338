// Side files of annotation files: any bytes of the side file's size are read as they are; shorter
// inputs are patches (three offset bytes, one value) laid over a real side file, so that every
// field gets strange values. Whatever is read must be written and read again alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "chess/fen.h"
#include "output/annotation_file.h"

namespace {

std::vector<std::uint8_t> Template() {
    using namespace qorvale;
    output::AnnotationGame game;
    game.half_moves = 3;
    game.full_moves = 2;
    game.moves.WhiteMoves[0] = chess::MoveText("e4");
    game.moves.BlackMoves[0] = chess::MoveText("c5");
    game.moves.WhiteMoves[1] = chess::MoveText("Nf3");
    game.start = chess::StartBoard();
    game.movetext = "1. e4 {a comment} c5 2. Nf3 *";
    return output::EncodeSideFile(game);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::output;
    static const std::vector<std::uint8_t> base = Template();
    std::vector<std::uint8_t> bytes;
    if (size == SideFileBytes) {
        bytes.assign(data, data + size);
    } else {
        bytes = base;
        for (std::size_t at = 0; at + 4 <= size; at += 4) {
            const std::size_t offset =
                (data[at] | (data[at + 1] << 8) | (data[at + 2] << 16)) % bytes.size();
            bytes[offset] = data[at + 3];
        }
    }
    qorvale::Result<AnnotationGame> game = DecodeSideFile(bytes);
    if (!game.ok()) return 0;
    const std::vector<std::uint8_t> written = EncodeSideFile(*game);
    qorvale::Result<AnnotationGame> again = DecodeSideFile(written);
    if (!again.ok() || EncodeSideFile(*again) != written) std::abort();
    return 0;
}
