// BMP files in and out: the 8-bit writer read back by ImageMagick, and BmpToGif over good and
// bad pictures, its GIF read by the reference decoder.
#include "output/bmp.h"

#include <gtest/gtest.h>

#include <random>

#include "base/bytes.h"
#include "image_oracles.h"
#include "support/temp_dir.h"

namespace qorvale::output {
namespace {

using test::DecodeGif;

struct Picture {
    int width;
    int height;
    int bits;
    std::vector<std::uint8_t> pixels;  // rows from the top
    std::vector<Rgb> colours;
};

Picture RandomPicture(int width, int height, int bits, unsigned seed) {
    std::mt19937 random(seed);
    Picture picture{width, height, bits, {}, {}};
    for (int k = 0; k < width * height; ++k) {
        picture.pixels.push_back(static_cast<std::uint8_t>(random() % (1u << bits)));
    }
    for (int k = 0; k < (1 << bits); ++k) {
        picture.colours.push_back({static_cast<std::uint8_t>(random()),
                                   static_cast<std::uint8_t>(random()),
                                   static_cast<std::uint8_t>(random())});
    }
    return picture;
}

// A BMP as a screen capture writes it, built here byte by byte: 54 header bytes, 2^bits palette
// entries (or `table_entries`), rows bottom-up padded to 4 bytes; 4-bit rows high nibble first.
std::vector<std::uint8_t> BmpBytes(const Picture& picture, int table_entries = 0,
                                   bool image_size_zero = false) {
    const int entries = table_entries != 0 ? table_entries : 1 << picture.bits;
    const std::size_t stride =
        (static_cast<std::size_t>(picture.width * picture.bits) + 31) / 32 * 4;
    const std::size_t offset = 54 + 4 * static_cast<std::size_t>(entries);
    std::vector<std::uint8_t> file(offset + stride * static_cast<std::size_t>(picture.height), 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(&file[2], static_cast<std::uint32_t>(file.size()));
    PutU32(&file[10], static_cast<std::uint32_t>(offset));
    PutU32(&file[14], 40);
    PutI32(&file[18], picture.width);
    PutI32(&file[22], picture.height);
    PutU16(&file[26], 1);
    PutU16(&file[28], static_cast<std::uint16_t>(picture.bits));
    PutU32(&file[34], image_size_zero ? 0
                                      : static_cast<std::uint32_t>(
                                            stride * static_cast<std::size_t>(picture.height)));
    PutU32(&file[46], table_entries != 0 ? static_cast<std::uint32_t>(entries) : 0);
    for (int k = 0; k < entries; ++k) {
        const Rgb& colour = picture.colours[static_cast<std::size_t>(k)];
        file[54 + 4 * static_cast<std::size_t>(k)] = colour.blue;
        file[55 + 4 * static_cast<std::size_t>(k)] = colour.green;
        file[56 + 4 * static_cast<std::size_t>(k)] = colour.red;
    }
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row =
            &file[offset + stride * static_cast<std::size_t>(picture.height - 1 - y)];
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t pixel =
                picture.pixels[static_cast<std::size_t>(y * picture.width + x)];
            if (picture.bits == 8) {
                row[x] = pixel;
            } else {
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? pixel << 4 : pixel);
            }
        }
    }
    return file;
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(BmpToGif, SavesFourAndEightBitPicturesExactly) {
    struct Row {
        const char* name;
        Picture picture;
        int table_entries;
        bool image_size_zero;
    };
    Picture short_table = RandomPicture(9, 4, 8, 4);
    for (std::uint8_t& pixel : short_table.pixels) pixel %= 16;
    const Row rows[] = {
        {"8 bits, rows padded", RandomPicture(37, 11, 8, 1), 0, false},
        {"4 bits, odd width", RandomPicture(13, 7, 4, 2), 0, false},
        {"8 bits, image size left 0", RandomPicture(5, 3, 8, 3), 0, true},
        {"8 bits, 16 colours in the table", short_table, 16, false},
    };
    test::TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string bmp = dir.Write(
            "in.bmp", Text(BmpBytes(row.picture, row.table_entries, row.image_size_zero)));
        const std::string gif = dir.File("out.gif");
        ASSERT_EQ(BmpToGif(bmp, gif, platform::SystemFileSystem()).message(), "");
        const test::DecodedGif decoded = DecodeGif(test::ReadBytes(gif));
        ASSERT_EQ(decoded.error, "");
        EXPECT_EQ(decoded.flags, 0x80 + row.picture.bits - 1);
        EXPECT_EQ(decoded.background, 0);
        EXPECT_EQ(decoded.min_code_size, row.picture.bits);
        EXPECT_TRUE(decoded.pixels == row.picture.pixels);
        const std::size_t entries = row.table_entries != 0
                                        ? static_cast<std::size_t>(row.table_entries)
                                        : row.picture.colours.size();
        for (std::size_t k = 0; k < entries; ++k) {
            EXPECT_EQ(decoded.colours[3 * k], row.picture.colours[k].red);
            EXPECT_EQ(decoded.colours[3 * k + 2], row.picture.colours[k].blue);
        }
        if (test::HaveImageMagick()) {
            EXPECT_TRUE(test::MagickRgb(bmp) == test::GifRgb(decoded));
        }
    }
}

TEST(BmpToGif, RefusesBadPicturesAndLeavesNoFile) {
    const std::vector<std::uint8_t> good = BmpBytes(RandomPicture(21, 9, 8, 7));
    auto with = [&](std::size_t offset, std::uint32_t value, int bytes) {
        std::vector<std::uint8_t> file = good;
        if (bytes == 2) PutU16(&file[offset], static_cast<std::uint16_t>(value));
        if (bytes == 4) PutU32(&file[offset], value);
        return file;
    };
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bmp;
        bool folder_missing;
        const char* message;
    };
    const Row rows[] = {
        {"cut short", std::vector<std::uint8_t>(good.begin(), good.end() - 10), false,
         "Error reading bitmap file."},
        {"24 bits", with(28, 24, 2), false, "Only 4 and 8 bit bitmaps are supported."},
        {"1 bit", with(28, 1, 2), false, "Only 4 and 8 bit bitmaps are supported."},
        {"height larger than the pixels", with(22, 5000, 4), false, "Error reading bitmap file."},
        {"width larger than a row", with(18, 4000, 4), false, "Error reading bitmap file."},
        {"pixels past the end", with(10, 0x7FFFFFF0, 4), false, "Error reading bitmap file."},
        {"run-length compressed", with(30, 1, 4), false, "Error reading bitmap file."},
        {"not a BMP", with(0, 0x4947, 2), false, "Error reading bitmap file."},
        {"empty file", {}, false, "Error reading bitmap file."},
        {"target folder missing", good, true, "Error creating file."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const std::string bmp = dir.Write("in.bmp", Text(row.bmp));
        const std::string gif =
            row.folder_missing ? dir.File("missing/out.gif") : dir.File("out.gif");
        EXPECT_EQ(BmpToGif(bmp, gif, platform::SystemFileSystem()).message(), row.message);
        EXPECT_FALSE(platform::FileExists(gif));
        EXPECT_FALSE(platform::FileExists(gif + ".new"));
    }
    test::TempDir dir;
    EXPECT_EQ(
        BmpToGif(dir.File("none.bmp"), dir.File("out.gif"), platform::SystemFileSystem()).message(),
        "Error opening file.");
}

}  // namespace
}  // namespace qorvale::output
