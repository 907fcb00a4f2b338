// Any bytes as Crafty's output in play and analysis mode: every line is shown, "move" lines are
// played on the board when legal, "->" lines give profile points; each line is also taken as a
// typed command and as a FEN.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engines/crafty_commands.h"
#include "engines/engine_board.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::engines;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    EngineBoard board;
    MoveEntry entry = MoveEntry::Open;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (std::optional<std::string_view> move = CraftyMoveFromLine(line)) {
            (void)board.PlayEngineMove(*move);
        }
        (void)ParseCraftyProfileLine(line);
        (void)TypedCommandRefusal(line, CraftyMode::Analyse, entry);
        if (std::optional<EngineFen> fen = ReadEngineFen(line)) {
            EngineBoard from_fen;
            from_fen.Set(fen->position);
            (void)BuildSetboardText(fen->position.start, fen->info);
            (void)PositionCommand(from_fen.Position());
        }
        if (board.HalfMove() > 300) board.Set({});
    }
    return 0;
}
