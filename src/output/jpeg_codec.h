#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"

namespace qorvale::output {

// The quality diagrams are written at: lines and letters stay sharp, files stay small.
inline constexpr int DiagramJpegQuality = 92;

// A baseline JPEG file of `rgb` (width x height pixels, three bytes each, rows from the top),
// with full-resolution colour so that thin coloured lines keep their colour. Fails with "Error
// creating JPEG file.".
Result<std::vector<std::uint8_t>> EncodeJpeg(int width, int height,
                                             std::span<const std::uint8_t> rgb, int quality);

}  // namespace qorvale::output
