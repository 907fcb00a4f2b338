// Any bytes as one game's text: its variations made into games of their own.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pgn/variation_games.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string& game : qorvale::pgn::VariationGames(text)) {
        // Each derived game ends its movetext with the unknown result.
        if (game.find("*\r\n\r\n") == std::string::npos) __builtin_trap();
    }
    return 0;
}
