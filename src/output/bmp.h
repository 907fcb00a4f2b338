#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "output/rgb.h"
#include "platform/file_system.h"

namespace qorvale::output {

// An uncompressed 8-bit Windows BMP file: the 14-byte file header, the 40-byte information
// header, the 1024-byte palette (B, G, R, 0 per entry), then the rows from the bottom up, each
// padded to a multiple of 4 bytes. `pixels` holds width x height indices in rows from the top.
std::vector<std::uint8_t> EncodeBmp(int width, int height, std::span<const std::uint8_t> pixels,
                                    const std::array<Rgb, 256>& palette);

// A 4- or 8-bit BMP file read for the GIF encoder: indices one per byte in rows from the top,
// and a colour table of 2^bits entries (entries the file does not hold are black).
struct BmpImage {
    int width = 0;
    int height = 0;
    int bits = 8;
    std::vector<Rgb> colours;
    std::vector<std::uint8_t> pixels;
};

// Reads a BMP file held in memory. Width, height, bit count and image size come from the
// information header (offsets 18, 22, 28, 34); a row takes image size / height bytes (the
// padded width when the image size is 0); the colour table follows the information header and
// the pixels start where the file header says (118 or 1078 for the usual files); 4-bit pixels
// are read high nibble first. Fails with "Only 4 and 8 bit bitmaps are supported." for another
// bit count and "Error reading bitmap file." for a file that is cut short, compressed, not a
// BMP, or whose sizes do not fit its bytes.
Result<BmpImage> ReadBmp(std::span<const std::uint8_t> bytes);

// Saves the 4- or 8-bit BMP file `bmp_path` as the GIF file `gif_path` (4 or 8 bits, background
// index 0), written beside and renamed into place. Fails with "Error opening file." when the BMP
// cannot be read, "Memory allocation error.", ReadBmp's messages, "Error. Shrink the window and
// try again." when the picture is too large for the encoder, and "Error creating file." when
// the GIF cannot be written; a failure leaves no GIF file behind.
Error BmpToGif(const std::string& bmp_path, const std::string& gif_path,
               platform::FileSystem& files);

}  // namespace qorvale::output
