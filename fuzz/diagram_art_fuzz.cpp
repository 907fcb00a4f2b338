// Any bytes as a piece set's cell sheet and as a coordinate glyph strip, at each cell size.
#include <cstddef>
#include <cstdint>
#include <span>

#include "output/diagram_art.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::output;
    for (int cell : DiagramCellSizes) {
        qorvale::Result<PieceCells> cells = ReadPieceCells(std::span(data, size), cell);
        if (cells.ok()) {
            // Every cell pixel is a colour of the set or transparent.
            for (std::uint8_t pixel : cells->pixels) {
                if (pixel != PieceCells::Transparent && pixel >= cells->colours.size())
                    __builtin_trap();
            }
        }
        (void)ReadCoordinateGlyphs(std::span(data, size), cell);
    }
    return 0;
}
