#pragma once

#include <cstdint>
#include <string>

#include "pgn/pgn_file.h"

namespace qorvale::pgn {

// The bytes of game `number` (1-based) as the file holds them, from its first tag line to the
// next game (the end of the file for the last), at most `most_bytes` of them; "" when there is
// no such game or it cannot be read.
std::string ReadGameBytes(PgnFile& file, std::int32_t number, std::int64_t most_bytes);

}  // namespace qorvale::pgn
