// Any bytes as a BMP picture for BmpToGif: the reader, then the GIF encoder over what it read.
#include <cstddef>
#include <cstdint>
#include <span>

#include "output/bmp.h"
#include "output/gif_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::output;
    qorvale::Result<BmpImage> image = ReadBmp(std::span(data, size));
    if (!image.ok()) return 0;
    // The encoder's own limits (the pattern pool) decide what is too large, as for a real file.
    (void)EncodeGif({image->width, image->height, image->bits, image->pixels, image->colours, 0},
                    LzwPool{LzwStringPoolBytes, ShrinkTheWindow});
    return 0;
}
