// Any bytes as the move file the duplicate check loads whole, with its header file beside it:
// the load (damage and counts), then the comparison over whatever was loaded, with names and
// without, in both kinds.
#include <cstddef>
#include <cstdint>

#include "base/ui.h"
#include "scratch_file.h"
#include "utilities/duplicates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::utilities;
    // The first half is the move file, the rest the header file.
    std::size_t half = size / 2;
    std::string moves = Scratch().Write("games.TRF", data, half);
    std::string header = Scratch().Write("games.TRH", data + half, size - half);
    qorvale::SilentUi ui;
    auto games = LoadMoveFileGames(moves, -1, header, ui);
    if (!games) return 0;
    for (DuplicateGames::Kind kind :
         {DuplicateGames::Kind::MoveCodes, DuplicateGames::Kind::MoveTexts}) {
        games->kind = kind;
        for (bool names : {false, true}) {
            DuplicateSettings settings{3, 1, false, names};
            DuplicateResult result = FindDuplicates(*games, settings, {});
            if (result.duplicates.size() != result.pairs.size()) __builtin_trap();
            settings.entire_file = true;
            (void)FindDuplicates(*games, settings, {});
        }
    }
    return 0;
}
