#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "output/rgb.h"

namespace qorvale::output {

// The folder under the pieces folder that draws each "Piece Style" (0 Modern 1 ... 8 Mod Wood),
// and the styles' names.
inline constexpr std::array<std::string_view, 9> PieceStyleFolders = {
    "chessnut",
    "spatial",
    "cburnett",
    "sophia",
    "fancy",
    "celtic",
    "rhosgfx",
    "staunton3d-redvblue",
    "staunton3d-modernwood",
};
inline constexpr std::array<std::string_view, 9> PieceStyleNames = {
    "Modern 1", "Sharp",    "Staunton 1", "Staunton 2", "Classic",
    "Modern 2", "Modern 3", "Mod Blue",   "Mod Wood",
};
inline constexpr int ClassicStyle = 4;
inline constexpr int ModWoodStyle = 8;

// The style whose cells a diagram is drawn with: the wooden set's diagrams use the Classic
// pieces (on the wood square colours); a style out of range draws Staunton 1.
int DiagramPieceStyle(int style);

// The square sizes of diagram cells, in pixels.
inline constexpr std::array<int, 3> DiagramCellSizes = {40, 60, 80};
inline constexpr int StandardCellSize = 40;

// Colours a piece set may use: the rest of a diagram's 256 palette entries have fixed roles.
inline constexpr std::size_t PieceColourCount = 234;

// A piece set's twelve cells at one size, from its cell sheet `cells-<size>.png` in the style's
// folder: an 8-bit palette PNG of 6 x 2 cells, White's pawn, knight, bishop, rook, queen and king
// on the top row and Black's below; palette entries of alpha 0 are transparent (the square
// shows through), the others at most 234 colours. scripts/make-diagram-cells renders the sheets
// from the set's drawings.
struct PieceCells {
    static constexpr std::uint8_t Transparent = 255;

    int size = 0;
    std::vector<Rgb> colours;  // at most PieceColourCount; the diagram's first palette entries
    // 12 cells of size x size indices into `colours`, or Transparent; cell k = the code's kind
    // - 1, plus 6 for Black.
    std::vector<std::uint8_t> pixels;

    // The cell of piece code 1-6 or 11-16, rows from the top.
    const std::uint8_t* Cell(std::uint32_t code) const;
};

// The letters and digits of the coordinate frame at one cell size, from `coordinates-<size>.png`
// in the diagram folder: a grey PNG of 16 square boxes of size / 2 pixels side by side, "a" to
// "h" then "1" to "8", black ink on white.
struct CoordinateGlyphs {
    int box = 0;
    std::vector<std::uint8_t> ink;  // 16 boxes side by side; 0 paper ... 255 full ink

    // Ink of glyph `glyph` (0-7 files a-h, 8-15 ranks 1-8) at (x, y) of its box.
    std::uint8_t At(int glyph, int x, int y) const {
        return ink[static_cast<std::size_t>(y) * static_cast<std::size_t>(16 * box) +
                   static_cast<std::size_t>(glyph * box + x)];
    }
};

// What a diagram is drawn with.
struct DiagramArt {
    PieceCells pieces;
    CoordinateGlyphs glyphs;
};

// Where the art lies: the pieces folder (one folder per style) and the diagram folder.
struct DiagramArtFolders {
    std::string pieces;
    std::string diagram;
};

std::string PieceCellsPath(std::string_view pieces_folder, int style, int size);
std::string CoordinateGlyphsPath(std::string_view diagram_folder, int size);

// Reads a cell sheet held in memory. Fails with "Error reading bitmap file." when it is no PNG,
// has other measures than 6 x 2 cells of `size`, or uses more than 234 opaque colours.
Result<PieceCells> ReadPieceCells(std::span<const std::uint8_t> png, int size);
// Reads a glyph strip held in memory; fails as ReadPieceCells.
Result<CoordinateGlyphs> ReadCoordinateGlyphs(std::span<const std::uint8_t> png, int size);

// Loads the cells of `style` (DiagramPieceStyle applied) and the glyphs at `size` (one of
// DiagramCellSizes). Fails with "Error opening BMP file." when a file cannot be opened, else as
// the readers above.
Result<DiagramArt> LoadDiagramArt(const DiagramArtFolders& folders, int style, int size);

}  // namespace qorvale::output
