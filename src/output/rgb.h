#pragma once

#include <cstdint>

namespace qorvale::output {

// One colour of an image's colour table.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour of the options record, 0x00BBGGRR.
constexpr Rgb FromRecordColour(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
            static_cast<std::uint8_t>(colour >> 16)};
}

}  // namespace qorvale::output
