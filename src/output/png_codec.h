#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"
#include "output/rgb.h"

namespace qorvale::output {

// An image of colour indices, one byte per pixel in rows from the top, with its colour table.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<Rgb> colours;
    std::vector<std::uint8_t> alpha;  // per colour, 0 transparent ... 255 opaque
};

// A PNG file read as indices into a colour table of at most 256 entries: a palette file keeps
// its palette and transparency; any other file is mapped onto a table by the PNG library.
// Fails with "Error reading bitmap file." when the bytes are no readable PNG image.
Result<IndexedImage> ReadIndexedPng(std::span<const std::uint8_t> bytes);

// A PNG file read as 8-bit grey values, one byte per pixel in rows from the top; width and height
// go to `width` and `height`. Fails as ReadIndexedPng.
Result<std::vector<std::uint8_t>> ReadGreyPng(std::span<const std::uint8_t> bytes, int& width,
                                              int& height);

// An 8-bit palette PNG file of the pixels (width x height indices) and their colour table (at
// most 256 entries, every index below its size).
Result<std::vector<std::uint8_t>> EncodePalettePng(int width, int height,
                                                   std::span<const std::uint8_t> pixels,
                                                   std::span<const Rgb> colours);

}  // namespace qorvale::output
