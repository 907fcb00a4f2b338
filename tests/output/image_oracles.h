#pragma once

// Independent readers of the images the output writers make: a GIF decoder written here from
// the GIF87a rules (the textbook LZW decoder with prefix/suffix tables, not the program's
// pattern encoder run backwards), libpng's own reader, and ImageMagick when it is installed.

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/file.h"

namespace qorvale::test {

struct GifCode {
    int code;
    int width;  // bits it was read with
};

struct DecodedGif {
    std::string error;  // "" when the file decoded
    int width = 0;
    int height = 0;
    int flags = 0;
    int background = 0;
    int aspect = 0;
    int min_code_size = 0;
    std::vector<std::uint8_t> colours;  // R, G, B per entry
    std::vector<std::uint8_t> pixels;
    std::vector<GifCode> codes;      // every code of the LZW stream, clear and end included
    std::vector<int> block_lengths;  // of the image data sub-blocks
    std::size_t data_bytes = 0;
    bool trailer = false;
};

inline DecodedGif DecodeGif(const std::vector<std::uint8_t>& file) {
    DecodedGif gif;
    auto u16 = [&](std::size_t at) { return file[at] | (file[at + 1] << 8); };
    if (file.size() < 13 || std::string(file.begin(), file.begin() + 6) != "GIF87a") {
        gif.error = "no GIF87a header";
        return gif;
    }
    gif.width = u16(6);
    gif.height = u16(8);
    gif.flags = file[10];
    gif.background = file[11];
    gif.aspect = file[12];
    const std::size_t table = (gif.flags & 0x80) ? 3u << ((gif.flags & 7) + 1) : 0;
    std::size_t at = 13;
    if (file.size() < at + table + 11) {
        gif.error = "short file";
        return gif;
    }
    gif.colours.assign(file.begin() + static_cast<long>(at),
                       file.begin() + static_cast<long>(at + table));
    at += table;
    if (file[at] != ',' || u16(at + 1) != 0 || u16(at + 3) != 0 || u16(at + 5) != gif.width ||
        u16(at + 7) != gif.height || file[at + 9] != 0) {
        gif.error = "unexpected image descriptor";
        return gif;
    }
    at += 10;
    gif.min_code_size = file[at++];
    std::vector<std::uint8_t> data;
    while (at < file.size() && file[at] != 0) {
        const int length = file[at];
        gif.block_lengths.push_back(length);
        if (at + 1 + static_cast<std::size_t>(length) > file.size()) {
            gif.error = "block past the end";
            return gif;
        }
        data.insert(data.end(), file.begin() + static_cast<long>(at + 1),
                    file.begin() + static_cast<long>(at + 1 + static_cast<std::size_t>(length)));
        at += 1 + static_cast<std::size_t>(length);
    }
    gif.data_bytes = data.size();
    gif.trailer = at + 2 == file.size() && file[at] == 0 && file[at + 1] == ';';

    const int clear = 1 << gif.min_code_size;
    const int end = clear + 1;
    std::vector<int> prefix(4096, -1);
    std::vector<std::uint8_t> suffix(4096, 0);
    for (int code = 0; code < clear; ++code)
        suffix[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
    int width = gif.min_code_size + 1;
    int next = clear + 2;
    int previous = -1;
    std::size_t bit = 0;
    std::vector<std::uint8_t> run;
    auto expand = [&](int code) {
        run.clear();
        for (int c = code; c >= 0; c = prefix[static_cast<std::size_t>(c)])
            run.push_back(suffix[static_cast<std::size_t>(c)]);
        return std::vector<std::uint8_t>(run.rbegin(), run.rend());
    };
    while (true) {
        if (bit + static_cast<std::size_t>(width) > data.size() * 8) {
            gif.error = "no end code";
            return gif;
        }
        int code = 0;
        for (int k = 0; k < width; ++k, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << k;
        gif.codes.push_back({code, width});
        if (code == clear) {
            width = gif.min_code_size + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) break;
        std::vector<std::uint8_t> out;
        if (previous < 0) {
            if (code >= clear) {
                gif.error = "first code not a pixel";
                return gif;
            }
            out = expand(code);
        } else {
            if (code > next) {
                gif.error = "code " + std::to_string(code) + " not yet defined";
                return gif;
            }
            std::vector<std::uint8_t> before = expand(previous);
            out = code < next ? expand(code) : before;
            if (code == next) out.push_back(before[0]);
            if (next < 4096) {
                prefix[static_cast<std::size_t>(next)] = previous;
                suffix[static_cast<std::size_t>(next)] = out[0];
                ++next;
            }
            if (next == (1 << width) && width < 12) ++width;
        }
        gif.pixels.insert(gif.pixels.end(), out.begin(), out.end());
        previous = code;
    }
    if (gif.pixels.size() !=
        static_cast<std::size_t>(gif.width) * static_cast<std::size_t>(gif.height)) {
        gif.error = "pixel count " + std::to_string(gif.pixels.size());
    }
    return gif;
}

// R, G, B of every pixel of a decoded GIF.
inline std::vector<std::uint8_t> GifRgb(const DecodedGif& gif) {
    std::vector<std::uint8_t> rgb;
    for (std::uint8_t index : gif.pixels) {
        rgb.insert(rgb.end(), gif.colours.begin() + 3 * index, gif.colours.begin() + 3 * index + 3);
    }
    return rgb;
}

// A PNG read by libpng as R, G, B, A (format PNG_FORMAT_RGB or PNG_FORMAT_RGBA).
inline std::vector<std::uint8_t> PngPixels(const std::vector<std::uint8_t>& file, int& width,
                                           int& height, png_uint_32 format = PNG_FORMAT_RGB) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = format;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) return bytes;
    bytes.resize(static_cast<std::size_t>(file.Size()));
    if (file.Read(bytes.data(), static_cast<std::int64_t>(bytes.size())) !=
        static_cast<std::int64_t>(bytes.size())) {
        bytes.clear();
    }
    return bytes;
}

inline bool HaveImageMagick() { return platform::FileExists("/usr/bin/convert"); }

// ImageMagick's decoding of an image file as R, G, B bytes; nothing when it fails.
inline std::optional<std::vector<std::uint8_t>> MagickRgb(const std::string& path) {
    const std::string command = "/usr/bin/convert '" + path + "' -depth 8 rgb:- 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::vector<std::uint8_t> rgb;
    std::uint8_t buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        rgb.insert(rgb.end(), buffer, buffer + got);
    }
    if (::pclose(pipe) != 0) return std::nullopt;
    return rgb;
}

}  // namespace qorvale::test
