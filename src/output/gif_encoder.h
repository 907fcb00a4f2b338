#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "output/messages.h"
#include "output/rgb.h"

namespace qorvale::output {

// Bytes of the pattern pool: enough for every pattern of an image of up to 380 x 380 pixels,
// since the patterns stored between two dictionary resets hold at most one byte more each than
// the pixels they cover.
inline constexpr std::size_t LzwStringPoolBytes = 500000;
// A pattern may not grow past this many bytes.
inline constexpr std::size_t LzwLongestPattern = 100000;

// The pattern pool of one encoding and the message given when it is full.
struct LzwPool {
    std::size_t bytes = LzwStringPoolBytes;
    std::string_view full_message = DirectoryTooManyEntries;
};

// The LZW data of a GIF image of `bits` bits per pixel (2 to 8; every pixel below 2^bits), pixels
// in rows from the top: the codes packed least significant bit first and cut into sub-blocks,
// each preceded by its length (1 to 255). The minimum code size byte before it and the block
// terminator after it are not included.
//
// The encoder keeps whole patterns, found by a hash of their bytes, not prefix-code pairs. The
// stream starts with the clear code; a pattern that misses the dictionary is stored under the
// next code and the code of its prefix is emitted; the code width grows from bits + 1 when the
// count of codes emitted since the clear reaches the next power of two, so the 255th code after
// a clear (at 8 bits) is the last of 9 bits, as every GIF decoder reads it. Once code 4095 is
// given out, a clear code (12 bits) follows and the dictionary starts again. The stream ends
// with the code of the pattern in hand and the end code.
//
// Fails with `pool.full_message` when the patterns outgrow the pool, "The next pattern is too
// long." past LzwLongestPattern bytes, "Error allocating hash table." when memory runs out.
Result<std::vector<std::uint8_t>> EncodeLzw(std::span<const std::uint8_t> pixels, int bits,
                                            const LzwPool& pool = {});

// A GIF87a image: one image with a global colour table of 2^bits entries.
struct GifImage {
    int width = 0;
    int height = 0;
    int bits = 8;
    std::span<const std::uint8_t> pixels;  // width x height indices, rows from the top
    std::span<const Rgb> colours;          // 2^bits entries
    std::uint8_t background = 0;           // the background colour index of the screen
};

// The whole GIF file: header "GIF87a", the logical screen (width, height, flags 0x80 + bits - 1,
// background index, aspect 0), the colour table, the image descriptor at (0, 0) without local
// table or interlace, the minimum code size (= bits), the LZW sub-blocks, the block terminator
// 0 and the trailer ';'. Failures as EncodeLzw.
Result<std::vector<std::uint8_t>> EncodeGif(const GifImage& image, const LzwPool& pool = {});

}  // namespace qorvale::output
