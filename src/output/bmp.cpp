#include "output/bmp.h"

#include <new>
#include <optional>

#include "base/bytes.h"
#include "output/gif_encoder.h"
#include "output/messages.h"
#include "platform/file.h"
#include "platform/whole_file.h"

namespace qorvale::output {

namespace {

constexpr std::size_t FileHeaderBytes = 14;
constexpr std::size_t InfoHeaderBytes = 40;
// Files larger than this are not pictures a window could have captured.
constexpr std::int64_t LargestBmp = std::int64_t{1} << 30;

Error Fail(std::string_view message) { return Error(std::string(message)); }

std::size_t RowBytes(int width, int bits) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(int width, int height, std::span<const std::uint8_t> pixels,
                                    const std::array<Rgb, 256>& palette) {
    const std::size_t stride = RowBytes(width, 8);
    const std::size_t image_size = stride * static_cast<std::size_t>(height);
    const std::size_t offset = FileHeaderBytes + InfoHeaderBytes + 4 * palette.size();
    std::vector<std::uint8_t> file(offset + image_size, 0);
    std::uint8_t* p = file.data();
    p[0] = 'B';
    p[1] = 'M';
    PutU32(p + 2, static_cast<std::uint32_t>(file.size()));
    PutU32(p + 10, static_cast<std::uint32_t>(offset));
    PutU32(p + 14, InfoHeaderBytes);
    PutI32(p + 18, width);
    PutI32(p + 22, height);
    PutU16(p + 26, 1);  // planes
    PutU16(p + 28, 8);  // bits per pixel
    PutU32(p + 30, 0);  // no compression
    PutU32(p + 34, static_cast<std::uint32_t>(image_size));
    PutU32(p + 46, 256);  // colours used
    std::uint8_t* entry = p + FileHeaderBytes + InfoHeaderBytes;
    for (const Rgb& colour : palette) {
        entry[0] = colour.blue;
        entry[1] = colour.green;
        entry[2] = colour.red;
        entry += 4;
    }
    const auto row_width = static_cast<std::size_t>(width);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* source =
            pixels.data() + static_cast<std::size_t>(height - 1 - row) * row_width;
        std::copy(source, source + row_width, p + offset + static_cast<std::size_t>(row) * stride);
    }
    return file;
}

Result<BmpImage> ReadBmp(std::span<const std::uint8_t> bytes) {
    const std::uint8_t* p = bytes.data();
    if (bytes.size() < FileHeaderBytes + InfoHeaderBytes || p[0] != 'B' || p[1] != 'M') {
        return Fail(ErrorReadingBitmapFile);
    }
    BmpImage image;
    const std::uint32_t header_size = GetU32(p + 14);
    const std::int32_t width = GetI32(p + 18);
    const std::int32_t height = GetI32(p + 22);
    image.bits = GetU16(p + 28);
    const std::uint32_t compression = GetU32(p + 30);
    const std::uint32_t image_size = GetU32(p + 34);
    const std::uint32_t colours_used = GetU32(p + 46);
    const std::uint32_t pixel_offset = GetU32(p + 10);
    if (image.bits != 4 && image.bits != 8) return Fail(OnlyFourAndEightBit);
    // A height below zero would mean rows from the top; such files are not written by the
    // program's screen captures and are refused with the rest of the odd ones.
    if (width <= 0 || height <= 0 || compression != 0 || header_size < InfoHeaderBytes ||
        header_size > bytes.size()) {
        return Fail(ErrorReadingBitmapFile);
    }
    image.width = width;
    image.height = height;
    const std::size_t needed = RowBytes(width, image.bits);
    const std::size_t stride =
        image_size == 0 ? needed : image_size / static_cast<std::uint32_t>(height);
    if (stride < (static_cast<std::size_t>(width) * static_cast<std::size_t>(image.bits) + 7) / 8) {
        return Fail(ErrorReadingBitmapFile);
    }
    if (pixel_offset > bytes.size() ||
        stride > (bytes.size() - pixel_offset) / static_cast<std::size_t>(height)) {
        return Fail(ErrorReadingBitmapFile);
    }
    const std::size_t table_size = std::size_t{1} << image.bits;
    const std::size_t table_entries =
        colours_used == 0 || colours_used > table_size ? table_size : colours_used;
    const std::size_t table_offset = FileHeaderBytes + header_size;
    if (table_offset + 4 * table_entries > pixel_offset) return Fail(ErrorReadingBitmapFile);

    try {
        image.colours.assign(table_size, Rgb{});
        for (std::size_t k = 0; k < table_entries; ++k) {
            const std::uint8_t* entry = p + table_offset + 4 * k;
            image.colours[k] = {entry[2], entry[1], entry[0]};
        }
        image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        return Fail(MemoryAllocationError);
    }
    std::uint8_t* out = image.pixels.data();
    // The last row stored is the top row of the picture.
    for (int row = height - 1; row >= 0; --row) {
        const std::uint8_t* source = p + pixel_offset + static_cast<std::size_t>(row) * stride;
        if (image.bits == 8) {
            out = std::copy(source, source + width, out);
        } else {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t pair = source[x / 2];
                *out++ = x % 2 == 0 ? static_cast<std::uint8_t>(pair >> 4)
                                    : static_cast<std::uint8_t>(pair & 0x0F);
            }
        }
    }
    return image;
}

Error BmpToGif(const std::string& bmp_path, const std::string& gif_path,
               platform::FileSystem& files) {
    const std::int64_t size = platform::FileSize(bmp_path);
    if (size < 0) return Fail(ErrorOpeningFile);
    if (size > LargestBmp) return Fail(MemoryAllocationError);
    std::optional<std::vector<std::uint8_t>> bytes = platform::ReadFileStart(bmp_path, size);
    if (!bytes) return Fail(ErrorOpeningFile);
    Result<BmpImage> image = ReadBmp(*bytes);
    if (!image.ok()) return image.error();
    GifImage gif{image->width, image->height, image->bits, image->pixels, image->colours, 0};
    Result<std::vector<std::uint8_t>> encoded =
        EncodeGif(gif, LzwPool{LzwStringPoolBytes, ShrinkTheWindow});
    if (!encoded.ok()) return encoded.error();
    if (!platform::WriteWholeFile(files, gif_path, *encoded)) return Fail(ErrorCreatingFile);
    return Error::Ok();
}

}  // namespace qorvale::output
