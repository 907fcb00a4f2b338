#include "output/diagram.h"

#include <algorithm>

namespace qorvale::output {

namespace {

// Margins at 40-pixel squares, scaled with the square size.
constexpr int CoordinateMargin = 22;
constexpr int LargeFrameMargin = 30;

int Margin(const DiagramStyle& style) {
    switch (style.layout) {
        case DiagramLayout::Plain:
            return std::max(style.border_width, 0);
        case DiagramLayout::Coordinates:
            return CoordinateMargin * style.cell_size / StandardCellSize;
        case DiagramLayout::LargeFrame:
            return LargeFrameMargin * style.cell_size / StandardCellSize;
    }
    return 0;
}

// The border ring round the board inside a coordinate margin leaves room for the letters.
int RingWidth(const DiagramStyle& style) {
    if (style.layout == DiagramLayout::Plain) return 0;
    return std::clamp(style.border_width, 0, style.cell_size / 10);
}

bool IsDark(const Rgb& colour) {
    return colour.red * 299 + colour.green * 587 + colour.blue * 114 < 128 * 1000;
}

class Canvas {
  public:
    Canvas(DiagramRaster& raster) : raster_(raster) {}

    void Fill(int left, int top, int width, int height, std::uint8_t index) {
        for (int y = std::max(top, 0); y < std::min(top + height, raster_.height); ++y) {
            std::uint8_t* row = Row(y);
            std::fill(row + std::max(left, 0), row + std::min(left + width, raster_.width), index);
        }
    }
    // A frame `thickness` pixels wide just inside the rectangle.
    void Frame(int left, int top, int side, int thickness, std::uint8_t index) {
        Fill(left, top, side, thickness, index);
        Fill(left, top + side - thickness, side, thickness, index);
        Fill(left, top, thickness, side, index);
        Fill(left + side - thickness, top, thickness, side, index);
    }
    std::uint8_t* Row(int y) {
        return raster_.pixels.data() +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(raster_.width);
    }
    bool Inside(int x, int y) const {
        return x >= 0 && y >= 0 && x < raster_.width && y < raster_.height;
    }

    // The square of piece `code` with its top-left corner at (left, top).
    void Square(int left, int top, std::uint32_t code, bool dark, bool marked,
                const DiagramStyle& style, const PieceCells& cells) {
        const std::uint8_t square = dark ? DarkSquareIndex : LightSquareIndex;
        const int size = cells.size;
        if (code == chess::Empty) {
            Fill(left, top, size, size, square);
        } else {
            const std::uint8_t* cell = cells.Cell(code);
            for (int y = 0; y < size; ++y) {
                std::uint8_t* out = Row(top + y) + left;
                const std::uint8_t* in = cell + static_cast<std::size_t>(y * size);
                for (int x = 0; x < size; ++x) {
                    out[x] = in[x] == PieceCells::Transparent ? square : in[x];
                }
            }
        }
        if (marked) Frame(left, top, size, std::clamp(style.marker_width, 1, 2), MarkerIndex);
    }

  private:
    DiagramRaster& raster_;
};

// Gives out the extra palette entries for the shades of the large frame's letters.
class ExtraColours {
  public:
    explicit ExtraColours(DiagramPalette& palette) : palette_(palette) {}

    std::uint8_t For(const Rgb& colour) {
        for (int index = FirstExtraColour; index < next_; ++index) {
            if (palette_[static_cast<std::size_t>(index)] == colour) {
                return static_cast<std::uint8_t>(index);
            }
        }
        if (next_ > LastExtraColour) return BackgroundIndex;
        palette_[static_cast<std::size_t>(next_)] = colour;
        return static_cast<std::uint8_t>(next_++);
    }

  private:
    DiagramPalette& palette_;
    int next_ = FirstExtraColour;
};

std::uint8_t Blend(std::uint8_t paper, std::uint8_t ink, int level) {
    return static_cast<std::uint8_t>((paper * (15 - level) + ink * level + 7) / 15);
}

// The letters and digits round the board. In the coordinate layout a pixel is ink or paper;
// the large frame draws 16 levels, the 14 between them in extra palette entries.
void DrawCoordinates(Canvas& canvas, DiagramRaster& raster, const DiagramStyle& style,
                     const CoordinateGlyphs& glyphs, int origin) {
    const int size = style.cell_size;
    const int box = glyphs.box;
    const int ring = RingWidth(style);
    const int inset = std::max((origin - ring - box) / 2, 0);
    const bool shaded = style.layout == DiagramLayout::LargeFrame;
    ExtraColours extra(raster.palette);
    const Rgb paper = raster.palette[BackgroundIndex];
    const Rgb ink = raster.palette[CoordinateIndex];
    auto draw = [&](int glyph, int left, int top) {
        for (int y = 0; y < box; ++y) {
            for (int x = 0; x < box; ++x) {
                if (!canvas.Inside(left + x, top + y)) continue;
                const int level = glyphs.At(glyph, x, y) / 17;
                if (level == 0 || (!shaded && level < 8)) continue;
                std::uint8_t index = CoordinateIndex;
                if (shaded && level < 15) {
                    index = extra.For({Blend(paper.red, ink.red, level),
                                       Blend(paper.green, ink.green, level),
                                       Blend(paper.blue, ink.blue, level)});
                }
                canvas.Row(top + y)[left + x] = index;
            }
        }
    };
    const int centre = (size - box) / 2;
    for (int row = 0; row < 8; ++row) {
        const int rank = style.flipped ? row + 1 : 8 - row;
        draw(8 + rank - 1, inset, origin + row * size + centre);
    }
    const int files_top = style.files_below ? origin + 8 * size + ring + inset : inset;
    for (int column = 0; column < 8; ++column) {
        const int file = style.flipped ? 8 - column : column + 1;
        draw(file - 1, origin + column * size + centre, files_top);
    }
}

void NewRaster(DiagramRaster& raster, int side, const DiagramStyle& style,
               const PieceCells& cells) {
    raster.width = side;
    raster.height = side;
    raster.pixels.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side),
                         BackgroundIndex);
    raster.palette = BasePalette(style, cells);
}

}  // namespace

int DiagramWidth(const DiagramStyle& style) { return 8 * style.cell_size + 2 * Margin(style); }

DiagramPalette BasePalette(const DiagramStyle& style, const PieceCells& cells) {
    DiagramPalette palette{};
    std::copy_n(cells.colours.begin(), std::min(cells.colours.size(), PieceColourCount),
                palette.begin());
    const DiagramColours& colours = style.colours;
    palette[CoordinateIndex] = IsDark(colours.background) ? Rgb{0xFF, 0xFF, 0xFF} : Rgb{};
    palette[DarkSquareIndex] = style.wood ? WoodDarkSquare : colours.dark;
    palette[LightSquareIndex] = style.wood ? WoodLightSquare : colours.light;
    palette[BorderIndex] = colours.border;
    palette[MarkerIndex] = colours.marker;
    palette[SecondMarkerIndex] = colours.second_marker;
    palette[BackgroundIndex] = colours.background;
    return palette;
}

DiagramRaster DrawDiagram(const DiagramPosition& position, const DiagramStyle& style,
                          const DiagramArt& art) {
    DiagramRaster raster;
    const int side = DiagramWidth(style);
    NewRaster(raster, side, style, art.pieces);
    Canvas canvas(raster);
    const int origin = Margin(style);
    const int size = style.cell_size;
    if (style.layout == DiagramLayout::Plain) {
        canvas.Frame(0, 0, side, origin, BorderIndex);
    } else {
        const int ring = RingWidth(style);
        canvas.Frame(origin - ring, origin - ring, 8 * size + 2 * ring, ring, BorderIndex);
        if (style.layout == DiagramLayout::LargeFrame) canvas.Frame(0, 0, side, 1, BorderIndex);
    }
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int file = style.flipped ? 8 - column : column + 1;
            const int rank = style.flipped ? row + 1 : 8 - row;
            bool marked = false;
            for (const BoardSquare& square : position.marked) {
                marked = marked || (square.file == file && square.rank == rank);
            }
            canvas.Square(
                origin + column * size, origin + row * size,
                position.board[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)],
                chess::SquareColour(file, rank) == 0, marked, style, art.pieces);
        }
    }
    if (style.layout != DiagramLayout::Plain) {
        DrawCoordinates(canvas, raster, style, art.glyphs, origin);
    }
    return raster;
}

DiagramRaster DrawSquareImage(std::uint32_t code, bool dark, bool marked, const DiagramStyle& style,
                              const DiagramArt& art) {
    DiagramRaster raster;
    NewRaster(raster, style.cell_size, style, art.pieces);
    Canvas(raster).Square(0, 0, code, dark, marked, style, art.pieces);
    return raster;
}

std::vector<std::uint8_t> RasterRgb(const DiagramRaster& raster) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(raster.pixels.size() * 3);
    for (std::uint8_t index : raster.pixels) {
        const Rgb& colour = raster.palette[index];
        rgb.push_back(colour.red);
        rgb.push_back(colour.green);
        rgb.push_back(colour.blue);
    }
    return rgb;
}

}  // namespace qorvale::output
