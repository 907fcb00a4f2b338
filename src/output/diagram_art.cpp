#include "output/diagram_art.h"

#include <algorithm>
#include <optional>

#include "output/messages.h"
#include "output/png_codec.h"
#include "platform/whole_file.h"

namespace qorvale::output {

namespace {

constexpr int FallbackStyle = 2;
// Far more than any sheet: a damaged file is not read whole.
constexpr std::int64_t LargestArtFile = 4 << 20;

Error ReadError() { return Error(std::string(ErrorReadingBitmapFile)); }

std::string Join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

}  // namespace

int DiagramPieceStyle(int style) {
    if (style < 0 || style >= static_cast<int>(PieceStyleFolders.size())) return FallbackStyle;
    return style == ModWoodStyle ? ClassicStyle : style;
}

const std::uint8_t* PieceCells::Cell(std::uint32_t code) const {
    const std::size_t kind = code > 10 ? code - 11 + 6 : code - 1;
    return pixels.data() + kind * static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
}

std::string PieceCellsPath(std::string_view pieces_folder, int style, int size) {
    return Join(Join(pieces_folder, PieceStyleFolders[static_cast<std::size_t>(style)]),
                "cells-" + std::to_string(size) + ".png");
}

std::string CoordinateGlyphsPath(std::string_view diagram_folder, int size) {
    return Join(diagram_folder, "coordinates-" + std::to_string(size) + ".png");
}

Result<PieceCells> ReadPieceCells(std::span<const std::uint8_t> png, int size) {
    Result<IndexedImage> sheet = ReadIndexedPng(png);
    if (!sheet.ok()) return sheet.error();
    if (sheet->width != 6 * size || sheet->height != 2 * size) return ReadError();
    // The sheet's palette is packed: its opaque entries in order become the diagram's first
    // entries, whatever places the file gave them.
    PieceCells cells;
    cells.size = size;
    std::array<std::uint8_t, 256> packed{};
    for (std::size_t k = 0; k < sheet->colours.size(); ++k) {
        if (sheet->alpha[k] < 128) {
            packed[k] = PieceCells::Transparent;
            continue;
        }
        auto known = std::find(cells.colours.begin(), cells.colours.end(), sheet->colours[k]);
        if (known == cells.colours.end()) {
            if (cells.colours.size() == PieceColourCount) return ReadError();
            known = cells.colours.insert(cells.colours.end(), sheet->colours[k]);
        }
        packed[k] = static_cast<std::uint8_t>(known - cells.colours.begin());
    }
    const auto side = static_cast<std::size_t>(size);
    cells.pixels.resize(12 * side * side);
    for (std::size_t cell = 0; cell < 12; ++cell) {
        const std::size_t left = (cell % 6) * side;
        const std::size_t top = (cell / 6) * side;
        for (std::size_t y = 0; y < side; ++y) {
            const std::uint8_t* row = &sheet->pixels[(top + y) * 6 * side + left];
            std::uint8_t* out = &cells.pixels[(cell * side + y) * side];
            for (std::size_t x = 0; x < side; ++x) out[x] = packed[row[x]];
        }
    }
    return cells;
}

Result<CoordinateGlyphs> ReadCoordinateGlyphs(std::span<const std::uint8_t> png, int size) {
    int width = 0;
    int height = 0;
    Result<std::vector<std::uint8_t>> grey = ReadGreyPng(png, width, height);
    if (!grey.ok()) return grey.error();
    CoordinateGlyphs glyphs;
    glyphs.box = size / 2;
    if (width != 16 * glyphs.box || height != glyphs.box) return ReadError();
    glyphs.ink = std::move(*grey);
    for (std::uint8_t& value : glyphs.ink) value = static_cast<std::uint8_t>(255 - value);
    return glyphs;
}

Result<DiagramArt> LoadDiagramArt(const DiagramArtFolders& folders, int style, int size) {
    if (std::find(DiagramCellSizes.begin(), DiagramCellSizes.end(), size) ==
        DiagramCellSizes.end()) {
        return Error(std::string(ErrorOpeningBmpFile));
    }
    std::optional<std::vector<std::uint8_t>> cells_file = platform::ReadFileStart(
        PieceCellsPath(folders.pieces, DiagramPieceStyle(style), size), LargestArtFile);
    std::optional<std::vector<std::uint8_t>> glyphs_file =
        platform::ReadFileStart(CoordinateGlyphsPath(folders.diagram, size), LargestArtFile);
    if (!cells_file || !glyphs_file) return Error(std::string(ErrorOpeningBmpFile));
    Result<PieceCells> cells = ReadPieceCells(*cells_file, size);
    if (!cells.ok()) return cells.error();
    Result<CoordinateGlyphs> glyphs = ReadCoordinateGlyphs(*glyphs_file, size);
    if (!glyphs.ok()) return glyphs.error();
    return DiagramArt{std::move(*cells), std::move(*glyphs)};
}

}  // namespace qorvale::output
