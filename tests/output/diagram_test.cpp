// The diagram raster: every piece of every set on its square, the frame's geometry, the
// palette's fixed entries, highlighted squares and coordinates; and one raster written as GIF,
// BMP, PNG and JPEG reads back alike.
#include "output/diagram.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "chess/fen.h"
#include "image_oracles.h"
#include "output/diagram_file.h"
#include "support/temp_dir.h"

namespace qorvale::output {
namespace {

const std::string DataFolder = QORVALE_DATA_DIR;
const DiagramArtFolders Folders{DataFolder + "/pieces", DataFolder + "/diagram"};

// Every piece on a light and on a dark square, both colours, kings included.
const chess::Board AllPieces =
    chess::ReadPlacement("rnbqkbnr/pppppppp/8/RNBQKBNR/rnbqkbnr/8/PPPPPPPP/RNBQKBNR");

DiagramArt Art(int style, int size) {
    Result<DiagramArt> art = LoadDiagramArt(Folders, style, size);
    EXPECT_TRUE(art.ok()) << art.error().message();
    return art.ok() ? std::move(*art) : DiagramArt{};
}

Rgb At(const DiagramRaster& raster, int x, int y) {
    return raster.palette[raster.pixels[static_cast<std::size_t>(y * raster.width + x)]];
}

std::uint8_t IndexAt(const DiagramRaster& raster, int x, int y) {
    return raster.pixels[static_cast<std::size_t>(y * raster.width + x)];
}

TEST(Diagram, EveryPieceOfEverySetLandsOnItsSquare) {
    for (int style = 0; style < static_cast<int>(PieceStyleNames.size()); ++style) {
        for (int size : DiagramCellSizes) {
            // The set's own sheet, read by libpng: what each square must show.
            int sheet_width = 0;
            int sheet_height = 0;
            const std::vector<std::uint8_t> sheet = test::PngPixels(
                test::ReadBytes(PieceCellsPath(Folders.pieces, DiagramPieceStyle(style), size)),
                sheet_width, sheet_height, PNG_FORMAT_RGBA);
            ASSERT_EQ(sheet_width, 6 * size);
            const DiagramArt art = Art(style, size);
            for (bool flipped : {false, true}) {
                SCOPED_TRACE(testing::Message() << PieceStyleNames[static_cast<std::size_t>(style)]
                                                << " " << size << (flipped ? " flipped" : ""));
                DiagramStyle look;
                look.cell_size = size;
                look.flipped = flipped;
                look.colours.light = {1, 2, 3};
                look.colours.dark = {4, 5, 6};
                const DiagramRaster raster = DrawDiagram({AllPieces, {}, {}}, look, art);
                int mismatches = 0;
                for (int file = 1; file <= 8; ++file) {
                    for (int rank = 1; rank <= 8; ++rank) {
                        const std::uint32_t code = AllPieces[static_cast<std::size_t>(file)]
                                                            [static_cast<std::size_t>(rank)];
                        const int left = (flipped ? 8 - file : file - 1) * size;
                        const int top = (flipped ? rank - 1 : 8 - rank) * size;
                        const Rgb square = chess::SquareColour(file, rank) == 0
                                               ? look.colours.dark
                                               : look.colours.light;
                        const int cell = code == 0 ? -1 : static_cast<int>(chess::KindOf(code) - 1);
                        const int sheet_top = chess::IsBlackCode(code) ? size : 0;
                        for (int y = 0; y < size; ++y) {
                            for (int x = 0; x < size; ++x) {
                                Rgb expected = square;
                                if (cell >= 0) {
                                    const std::size_t at =
                                        4 * static_cast<std::size_t>((sheet_top + y) * sheet_width +
                                                                     cell * size + x);
                                    if (sheet[at + 3] >= 128) {
                                        expected = {sheet[at], sheet[at + 1], sheet[at + 2]};
                                    }
                                }
                                mismatches += At(raster, left + x, top + y) == expected ? 0 : 1;
                            }
                        }
                    }
                }
                EXPECT_EQ(mismatches, 0);
            }
        }
    }
}

TEST(Diagram, FrameGeometryAndPalette) {
    struct Row {
        const char* name;
        DiagramLayout layout;
        int size;
        int border;
        bool wood;
        bool dark_background;
        int width;
        int origin;
    };
    const Row rows[] = {
        {"plain without border", DiagramLayout::Plain, 40, 0, false, false, 320, 0},
        {"plain, border 4", DiagramLayout::Plain, 40, 4, false, false, 328, 4},
        {"coordinates, wood", DiagramLayout::Coordinates, 40, 2, true, false, 364, 22},
        {"large frame", DiagramLayout::LargeFrame, 40, 9, false, false, 380, 30},
        {"coordinates at 60", DiagramLayout::Coordinates, 60, 1, false, false, 546, 33},
        {"large frame at 80, dark", DiagramLayout::LargeFrame, 80, 0, true, true, 760, 60},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DiagramStyle style;
        style.layout = row.layout;
        style.cell_size = row.size;
        style.border_width = row.border;
        style.wood = row.wood;
        const Rgb background = row.dark_background ? Rgb{60, 61, 62} : Rgb{200, 201, 202};
        style.colours = {{10, 11, 12}, {20, 21, 22}, {30, 31, 32},
                         {40, 41, 42}, {50, 51, 52}, background};
        const DiagramArt art = Art(2, row.size);
        const DiagramRaster raster = DrawDiagram({chess::StartBoard(), {}, {}}, style, art);
        ASSERT_EQ(raster.width, row.width);
        ASSERT_EQ(raster.height, row.width);
        // a8, a light square, starts at the board's corner; a4 is empty and light.
        const int a4_top = row.origin + 4 * row.size;
        EXPECT_EQ(IndexAt(raster, row.origin, a4_top), LightSquareIndex);
        EXPECT_EQ(IndexAt(raster, row.origin + 8 * row.size - 1, a4_top + row.size),
                  LightSquareIndex);
        EXPECT_EQ(IndexAt(raster, row.origin, a4_top - row.size), DarkSquareIndex);
        if (row.origin > 0) {
            const std::uint8_t outside = IndexAt(raster, row.origin - 1, a4_top);
            EXPECT_EQ(outside, row.border > 0 ? BorderIndex : BackgroundIndex);
        }
        EXPECT_EQ(raster.palette[DarkSquareIndex], (row.wood ? WoodDarkSquare : Rgb{10, 11, 12}));
        EXPECT_EQ(raster.palette[LightSquareIndex], (row.wood ? WoodLightSquare : Rgb{20, 21, 22}));
        EXPECT_EQ(raster.palette[SecondMarkerIndex], (Rgb{50, 51, 52}));
        // The letters are black, or white on a dark background as on screen.
        EXPECT_EQ(raster.palette[CoordinateIndex],
                  (row.dark_background ? Rgb{255, 255, 255} : Rgb{}));
        for (std::size_t k = 0; k < art.pieces.colours.size(); ++k) {
            EXPECT_EQ(raster.palette[k], art.pieces.colours[k]);
        }
        // Shades of the letters only in the large frame.
        const bool shaded = std::any_of(
            raster.pixels.begin(), raster.pixels.end(),
            [](std::uint8_t p) { return p >= FirstExtraColour && p <= LastExtraColour; });
        EXPECT_EQ(shaded, row.layout == DiagramLayout::LargeFrame);
    }
}

TEST(Diagram, HighlightedSquaresAndCoordinates) {
    const DiagramArt art = Art(4, 40);
    // The second run is flipped, with two rings and the file letters below the board.
    for (const bool flipped : {false, true}) {
        SCOPED_TRACE(flipped ? "flipped" : "not flipped");
        const int rings = flipped ? 2 : 1;
        DiagramStyle style;
        style.layout = DiagramLayout::Coordinates;
        style.marker_width = rings;
        style.flipped = flipped;
        style.files_below = flipped;
        const DiagramRaster raster = DrawDiagram(
            {chess::StartBoard(), {BoardSquare{5, 2}, BoardSquare{5, 4}}, {}}, style, art);
        // e4: its outer rings are marked, the next pixel in is the square.
        const int corner = 22 + (flipped ? 3 : 4) * 40;
        for (int ring = 0; ring < 3; ++ring) {
            EXPECT_EQ(IndexAt(raster, corner + ring, corner + 20) == MarkerIndex, ring < rings);
            EXPECT_EQ(IndexAt(raster, corner + 20, corner + 39 - ring) == MarkerIndex,
                      ring < rings);
        }
        EXPECT_NE(IndexAt(raster, corner - 1, corner + 20), MarkerIndex);
        // The digit beside the top row and the letter by the first column are the strip's
        // glyphs, ink for ink, in boxes of 20 pixels centred in the 22-pixel margin.
        auto mismatches = [&](int glyph, int left, int top) {
            int count = 0;
            for (int y = 0; y < art.glyphs.box; ++y) {
                for (int x = 0; x < art.glyphs.box; ++x) {
                    const bool ink = art.glyphs.At(glyph, x, y) / 17 >= 8;
                    count += ink != (IndexAt(raster, left + x, top + y) == CoordinateIndex);
                }
            }
            return count;
        };
        EXPECT_EQ(mismatches(flipped ? 8 : 15, 1, 32), 0);
        EXPECT_EQ(mismatches(flipped ? 7 : 0, 32, flipped ? 343 : 1), 0);
        EXPECT_NE(mismatches(flipped ? 7 : 0, 32, flipped ? 1 : 343), 0);
    }
}

TEST(Diagram, ChosenNamesGetTheirExtensionOnce) {
    const std::tuple<const char*, DiagramKind, const char*> rows[] = {
        {"game", DiagramKind::Gif, "game.gif"},
        {"game.GIF", DiagramKind::Gif, "game.GIF"},
        {"game.gif", DiagramKind::Bmp, "game.gif.bmp"},
        {"board.jpeg", DiagramKind::Jpeg, "board.jpeg.jpg"},
        {"dir.png/board", DiagramKind::Png, "dir.png/board.png"},
    };
    for (const auto& [chosen, kind, name] : rows) EXPECT_EQ(ChooseDiagramFile(chosen, kind), name);
}

TEST(Diagram, OnePositionReadsBackAlikeInEveryFormat) {
    test::TempDir dir;
    DiagramStyle style;
    style.layout = DiagramLayout::LargeFrame;
    const DiagramArt art = Art(5, 40);
    const DiagramRaster raster = DrawDiagram(
        {chess::ReadPlacement("r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R"),
         {BoardSquare{3, 1}, BoardSquare{3, 4}},
         {}},
        style, art);
    const std::vector<std::uint8_t> rgb = RasterRgb(raster);
    for (DiagramKind kind :
         {DiagramKind::Gif, DiagramKind::Bmp, DiagramKind::Png, DiagramKind::Jpeg}) {
        SCOPED_TRACE(DiagramExtension(kind));
        const std::string path = dir.File("diagram." + std::string(DiagramExtension(kind)));
        ASSERT_EQ(WriteDiagramFile(raster, kind, path, platform::SystemFileSystem()).message(), "");
        const std::vector<std::uint8_t> file = test::ReadBytes(path);
        if (kind == DiagramKind::Gif) {
            const test::DecodedGif gif = test::DecodeGif(file);
            EXPECT_EQ(gif.flags, 0x87);
            EXPECT_EQ(gif.background, 6);
            EXPECT_TRUE(test::GifRgb(gif) == rgb);
        }
        if (kind == DiagramKind::Png) {
            int width = 0;
            int height = 0;
            EXPECT_TRUE(test::PngPixels(file, width, height) == rgb);
        }
        if (!test::HaveImageMagick()) continue;
        std::optional<std::vector<std::uint8_t>> magick = test::MagickRgb(path);
        ASSERT_TRUE(magick.has_value());
        ASSERT_EQ(magick->size(), rgb.size());
        if (kind != DiagramKind::Jpeg) {
            EXPECT_TRUE(*magick == rgb);
            continue;
        }
        long difference = 0;
        for (std::size_t k = 0; k < rgb.size(); ++k) difference += std::abs((*magick)[k] - rgb[k]);
        EXPECT_LT(static_cast<double>(difference) / static_cast<double>(rgb.size()), 4.0);
    }
}

}  // namespace
}  // namespace qorvale::output
