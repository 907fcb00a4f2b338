// The GIF encoder against the reference decoder of image_oracles.h and ImageMagick: every
// raster comes back exactly, and the stream keeps the code-size, clear-code and block rules
// that every GIF reader relies on.
#include "output/gif_encoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "image_oracles.h"
#include "output/png_codec.h"
#include "support/temp_dir.h"

namespace qorvale::output {
namespace {

using test::DecodedGif;
using test::DecodeGif;

struct Raster {
    int width;
    int height;
    int bits;
    std::vector<std::uint8_t> pixels;
};

Raster Make(int width, int height, int bits, const std::function<int(int x, int y)>& pixel) {
    Raster raster{width, height, bits, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            raster.pixels.push_back(static_cast<std::uint8_t>(pixel(x, y) & ((1 << bits) - 1)));
        }
    }
    return raster;
}

Raster Random(int width, int height, int bits, unsigned seed) {
    std::mt19937 random(seed);
    return Make(width, height, bits, [&](int, int) { return static_cast<int>(random()); });
}

// A real picture: a piece set's cell sheet, as indices.
Raster Sheet(const std::string& set, int size) {
    const std::string path = std::string(QORVALE_DATA_DIR) + "/pieces/" + set + "/cells-" +
                             std::to_string(size) + ".png";
    Result<IndexedImage> sheet = ReadIndexedPng(test::ReadBytes(path));
    if (!sheet.ok()) return {};
    return {sheet->width, sheet->height, 8, sheet->pixels};
}

std::vector<Rgb> Colours(int bits) {
    std::vector<Rgb> colours;
    for (int k = 0; k < (1 << bits); ++k) {
        colours.push_back({static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(255 - k),
                           static_cast<std::uint8_t>(k * 7)});
    }
    return colours;
}

// Checks everything the reader needs besides the pixels; returns the data codes of each run
// between clear codes.
std::vector<int> CheckStream(const DecodedGif& gif, int bits) {
    const int clear = 1 << bits;
    std::vector<int> runs;
    EXPECT_FALSE(gif.codes.empty());
    if (gif.codes.empty()) return runs;
    EXPECT_EQ(gif.codes.front().code, clear);
    EXPECT_EQ(gif.codes.front().width, bits + 1);
    EXPECT_EQ(gif.codes.back().code, clear + 1);
    std::size_t total_bits = 0;
    int run = 0;
    for (std::size_t k = 0; k < gif.codes.size(); ++k) {
        const test::GifCode& code = gif.codes[k];
        total_bits += static_cast<std::size_t>(code.width);
        if (code.code == clear && k > 0) {
            // The dictionary is full: code 4095 was the last one given out.
            EXPECT_EQ(code.width, 12);
            runs.push_back(run);
            run = 0;
        } else if (code.code != clear && code.code != clear + 1) {
            ++run;
            // After a clear the 255th code (8 bits) is the last one of 9 bits.
            if (bits == 8 && run <= 255) {
                EXPECT_EQ(code.width, 9) << "code " << run;
            }
            if (bits == 8 && run == 256) {
                EXPECT_EQ(code.width, 10);
            }
        }
    }
    runs.push_back(run);
    // Full sub-blocks of 255 bytes, one shorter block at the end; the last byte goes out even
    // when no bit of it is used.
    for (std::size_t k = 0; k + 1 < gif.block_lengths.size(); ++k) {
        EXPECT_EQ(gif.block_lengths[k], 255);
    }
    const std::size_t whole = total_bits / 8;
    const bool open = whole % 255 != 0 || total_bits % 8 != 0;
    EXPECT_EQ(gif.data_bytes, whole + (open ? 1 : 0));
    EXPECT_TRUE(gif.trailer);
    return runs;
}

TEST(GifEncoder, RastersComeBackExactly) {
    struct Row {
        const char* name;
        Raster raster;
        int clears;  // clear codes inside the stream, -1 when not checked
    };
    const Row rows[] = {
        {"one pixel", Make(1, 1, 8, [](int, int) { return 200; }), 0},
        {"odd small", Random(7, 5, 8, 2), 0},
        {"uniform 380", Make(380, 380, 8, [](int, int) { return 251; }), 0},
        {"gradient", Make(257, 91, 8, [](int x, int y) { return x + y; }), -1},
        // Random bytes fill the table every 3,838 codes.
        {"random 200 x 200", Random(200, 200, 8, 3), 10},
        {"four bits random", Random(333, 77, 4, 5), -1},
        {"four bits uniform", Make(640, 480, 4, [](int, int) { return 9; }), 0},
        {"cell sheet 40", Sheet("cburnett", 40), -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Raster& raster = row.raster;
        ASSERT_FALSE(raster.pixels.empty());
        const std::vector<Rgb> colours = Colours(raster.bits);
        LzwPool pool;
        pool.bytes = std::max(pool.bytes, raster.pixels.size() + 8192);
        Result<std::vector<std::uint8_t>> file =
            EncodeGif({raster.width, raster.height, raster.bits, raster.pixels, colours, 6}, pool);
        ASSERT_TRUE(file.ok()) << file.error().message();
        const DecodedGif gif = DecodeGif(*file);
        ASSERT_EQ(gif.error, "");
        EXPECT_EQ(
            (std::array{gif.width, gif.height, gif.flags, gif.background, gif.aspect,
                        gif.min_code_size}),
            (std::array{raster.width, raster.height, 0x80 + raster.bits - 1, 6, 0, raster.bits}));
        EXPECT_EQ(gif.colours.size(), colours.size() * 3);
        EXPECT_EQ(gif.colours[3], colours[1].red);
        EXPECT_TRUE(gif.pixels == raster.pixels);
        // ImageMagick, when it is installed, reads the same colours.
        if (test::HaveImageMagick() && raster.pixels.size() > 1000) {
            test::TempDir dir;
            const std::string path =
                dir.Write("image.gif", std::string(file->begin(), file->end()));
            EXPECT_TRUE(test::MagickRgb(path) == test::GifRgb(gif));
        }
        const std::vector<int> runs = CheckStream(gif, raster.bits);
        if (row.clears >= 0) {
            EXPECT_EQ(static_cast<int>(runs.size()) - 1, row.clears);
        }
        for (std::size_t k = 0; k + 1 < runs.size(); ++k) {
            EXPECT_EQ(runs[k], 4095 - ((1 << raster.bits) + 1)) << "run " << k;
        }
    }
}

TEST(GifEncoder, PatternsOutgrowingThePoolStopTheEncoder) {
    // Long runs make long patterns: 60,000 equal pixels need about 60,000 pool bytes.
    const Raster uniform = Make(300, 200, 8, [](int, int) { return 3; });
    struct Row {
        const char* name;
        LzwPool pool;
        const char* message;
    };
    const Row rows[] = {
        {"diagram pool", {20000, DirectoryTooManyEntries}, "The directory has too many entries."},
        {"screen capture pool",
         {20000, ShrinkTheWindow},
         "Error. Shrink the window and try again."},
        {"standard pool", {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Result<std::vector<std::uint8_t>> data = EncodeLzw(uniform.pixels, 8, row.pool);
        EXPECT_EQ(data.error().message(), row.message);
    }
}

}  // namespace
}  // namespace qorvale::output
