#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chess/board.h"
#include "output/diagram_art.h"
#include "output/rgb.h"

namespace qorvale::output {

// The diagram palette: entries 0-233 are the piece set's colours; the others have fixed roles.
inline constexpr std::uint8_t FirstExtraColour = 234;  // to 248: shades of the large frame
inline constexpr std::uint8_t LastExtraColour = 248;
inline constexpr std::uint8_t CoordinateIndex = 249;
inline constexpr std::uint8_t DarkSquareIndex = 250;
inline constexpr std::uint8_t LightSquareIndex = 251;
inline constexpr std::uint8_t BorderIndex = 252;
inline constexpr std::uint8_t MarkerIndex = 253;
inline constexpr std::uint8_t SecondMarkerIndex = 254;
inline constexpr std::uint8_t BackgroundIndex = 255;
// The GIF screen's background index of a diagram.
inline constexpr std::uint8_t DiagramGifBackground = 6;

using DiagramPalette = std::array<Rgb, 256>;

// Entries 250-255: the defaults, or the user's board colours.
struct DiagramColours {
    Rgb dark{0xBD, 0xBD, 0xBD};
    Rgb light{0xFF, 0xFF, 0xFF};
    Rgb border{0x80, 0x80, 0x80};
    Rgb marker{0x40, 0x40, 0x40};
    Rgb second_marker{0x00, 0x00, 0x00};
    Rgb background{0xFF, 0xFF, 0xFF};
};
// The squares of the wooden board.
inline constexpr Rgb WoodLightSquare{0xE7, 0xCE, 0xA5};
inline constexpr Rgb WoodDarkSquare{0xA5, 0x7B, 0x5A};

// The frame around the board. At 40-pixel squares (the board 320 pixels): plain, the border
// (border colour) of `border_width` pixels on every side; with coordinates, 364 pixels square
// with the board at (22, 22), the rank digits on the left and the file letters above or below;
// large frame, 380 pixels with the board at (30, 30), the coordinates drawn with shades (extra
// palette entries 234-248 in order of first use) and a line of the border colour round the
// edge. Other square sizes scale the margins alike.
enum class DiagramLayout { Plain, Coordinates, LargeFrame };

struct DiagramStyle {
    int cell_size = StandardCellSize;  // one of DiagramCellSizes
    DiagramLayout layout = DiagramLayout::Plain;
    int border_width = 0;  // pixels; in the coordinate layouts at most a tenth of a square
    bool files_below = false;
    bool flipped = false;  // Black's side at the bottom
    int marker_width = 1;  // pixel rings of a highlighted square, 1 or 2
    DiagramColours colours;
    bool wood = false;  // the squares take the wooden board's colours
};

// A square of the board, file and rank 1-8; file 0 is none.
struct BoardSquare {
    int file = 0;
    int rank = 0;
};

// The move that led to a position, for captions and file names: the full-move number as shown,
// whose move it was and its text in the program's notation ("" before the first move).
struct MoveCaption {
    int number = 0;
    bool black = false;
    std::string move;

    bool present() const { return !move.empty(); }
};

// What a diagram shows.
struct DiagramPosition {
    chess::Board board{};
    std::array<BoardSquare, 2> marked{};  // the highlighted squares (the last move's)
    MoveCaption caption;
};

// An image of palette indices, rows from the top, with its palette.
struct DiagramRaster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    DiagramPalette palette{};
};

// The side of a diagram in pixels.
int DiagramWidth(const DiagramStyle& style);

// The palette before any extra colour is given out: the set's colours, 234-248 black, the
// coordinate ink (black, or white on a dark background as on screen) and the style's colours.
DiagramPalette BasePalette(const DiagramStyle& style, const PieceCells& cells);

// Draws the diagram. Inside the board, pixel (x, y) from the board's corner lies on file
// x / size + 1 and rank 8 - y / size (both mirrored when flipped); an empty square is 250 (dark:
// file and rank both odd or both even) or 251, a piece's transparent pixels the square's colour;
// a marked square's outer ring (two rings with marker width 2) is 253. `art` must be at the
// style's cell size.
DiagramRaster DrawDiagram(const DiagramPosition& position, const DiagramStyle& style,
                          const DiagramArt& art);

// One square of the board alone, as the HTML board is built of: piece `code` (0 none) on a
// light or dark square, framed when marked. Palette as DrawDiagram's.
DiagramRaster DrawSquareImage(std::uint32_t code, bool dark, bool marked, const DiagramStyle& style,
                              const DiagramArt& art);

// Three bytes (R, G, B) per pixel.
std::vector<std::uint8_t> RasterRgb(const DiagramRaster& raster);

}  // namespace qorvale::output
