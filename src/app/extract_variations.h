#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/result.h"
#include "base/ui.h"
#include "platform/file_system.h"

namespace qorvale::app {

// "Extract Variations": the variations of one game, or of every game of a file, written as games
// of their own (pgn::VariationGames) into a new file or onto the end of an existing one.
struct ExtractVariationsRequest {
    std::string pgn_path;
    std::span<const std::uint32_t> offsets;  // the game index of the file
    std::int32_t game = 0;                   // 1-based; 0: every game
    std::string target;
    bool append = false;
};

struct ExtractVariationsDone {
    int games_written = 0;
    bool cancelled = false;  // the user answered No to replacing or appending; nothing written
};

// The target is checked as every copy of games checks it (not the source file itself, an existing
// file only after its question, appending only to an existing file) and written beside itself,
// put in place once complete. Reports "%d variations extracted." (or that there were none, and
// then writes nothing).
Result<ExtractVariationsDone> ExtractVariations(const ExtractVariationsRequest& request, Ui& ui,
                                                platform::FileSystem& file_system);

}  // namespace qorvale::app
