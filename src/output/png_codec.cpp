#include "output/png_codec.h"

#include <png.h>

#include <cstring>
#include <new>
#include <string>

#include "output/messages.h"

namespace qorvale::output {

namespace {

Error ReadError() { return Error(std::string(ErrorReadingBitmapFile)); }

// Owns a png_image of the library's simplified interface, which reports failures through its
// return values instead of jumping out of the caller.
struct PngImage {
    png_image image{};
    PngImage() { image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
};

bool BeginRead(PngImage& png, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return false;
    if (png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size()) == 0) {
        return false;
    }
    // A picture far larger than any cell sheet is refused before its pixels are allocated.
    constexpr png_uint_32 MostPixels = 1u << 24;
    return png.image.width > 0 && png.image.height > 0 &&
           png.image.width <= MostPixels / png.image.height;
}

}  // namespace

Result<IndexedImage> ReadIndexedPng(std::span<const std::uint8_t> bytes) {
    try {
        PngImage png;
        if (!BeginRead(png, bytes)) return ReadError();
        png.image.format = PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP;
        IndexedImage result;
        result.width = static_cast<int>(png.image.width);
        result.height = static_cast<int>(png.image.height);
        result.pixels.resize(static_cast<std::size_t>(result.width) *
                             static_cast<std::size_t>(result.height));
        std::vector<std::uint8_t> colour_map(PNG_IMAGE_COLORMAP_SIZE(png.image));
        if (png_image_finish_read(&png.image, nullptr, result.pixels.data(), 0,
                                  colour_map.data()) == 0) {
            return ReadError();
        }
        const std::size_t entries = png.image.colormap_entries;
        if (entries == 0 || entries > 256) return ReadError();
        result.colours.resize(entries);
        result.alpha.resize(entries);
        for (std::size_t k = 0; k < entries; ++k) {
            result.colours[k] = {colour_map[4 * k], colour_map[4 * k + 1], colour_map[4 * k + 2]};
            result.alpha[k] = colour_map[4 * k + 3];
        }
        for (std::uint8_t index : result.pixels) {
            if (index >= entries) return ReadError();
        }
        return result;
    } catch (const std::bad_alloc&) {
        return ReadError();
    }
}

Result<std::vector<std::uint8_t>> ReadGreyPng(std::span<const std::uint8_t> bytes, int& width,
                                              int& height) {
    try {
        PngImage png;
        if (!BeginRead(png, bytes)) return ReadError();
        png.image.format = PNG_FORMAT_GRAY;
        std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(png.image));
        if (png_image_finish_read(&png.image, nullptr, pixels.data(), 0, nullptr) == 0) {
            return ReadError();
        }
        width = static_cast<int>(png.image.width);
        height = static_cast<int>(png.image.height);
        return pixels;
    } catch (const std::bad_alloc&) {
        return ReadError();
    }
}

Result<std::vector<std::uint8_t>> EncodePalettePng(int width, int height,
                                                   std::span<const std::uint8_t> pixels,
                                                   std::span<const Rgb> colours) {
    PngImage png;
    png.image.width = static_cast<png_uint_32>(width);
    png.image.height = static_cast<png_uint_32>(height);
    png.image.format = PNG_FORMAT_RGB | PNG_FORMAT_FLAG_COLORMAP;
    png.image.colormap_entries = static_cast<png_uint_32>(colours.size());
    std::vector<std::uint8_t> colour_map;
    colour_map.reserve(3 * colours.size());
    for (const Rgb& colour : colours) {
        colour_map.push_back(colour.red);
        colour_map.push_back(colour.green);
        colour_map.push_back(colour.blue);
    }
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&png.image, nullptr, &size, 0, pixels.data(), 0,
                                  colour_map.data()) == 0) {
        return Error(std::string(ErrorCreatingPngFile));
    }
    std::vector<std::uint8_t> file(size);
    if (png_image_write_to_memory(&png.image, file.data(), &size, 0, pixels.data(), 0,
                                  colour_map.data()) == 0) {
        return Error(std::string(ErrorCreatingPngFile));
    }
    file.resize(size);
    return file;
}

}  // namespace qorvale::output
