#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// One input cut into `parts` pieces for targets that read several files: the input begins with
// parts - 1 little-endian 16-bit lengths, each cut to what is left; the last piece is the rest.
inline std::vector<std::span<const std::uint8_t>> SplitInput(const std::uint8_t* data,
                                                             std::size_t size, std::size_t parts) {
    std::vector<std::span<const std::uint8_t>> pieces;
    const std::size_t header = 2 * (parts - 1);
    if (size < header) return std::vector<std::span<const std::uint8_t>>(parts);
    std::size_t at = header;
    for (std::size_t i = 0; i + 1 < parts; ++i) {
        std::size_t length = data[2 * i] | (static_cast<std::size_t>(data[2 * i + 1]) << 8);
        if (length > size - at) length = size - at;
        pieces.emplace_back(data + at, length);
        at += length;
    }
    pieces.emplace_back(data + at, size - at);
    return pieces;
}
