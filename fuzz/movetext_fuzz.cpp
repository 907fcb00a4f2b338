// Any text as a game: the load sequence (header, FEN start, movetext, replay of the main line),
// then a walk through every variation after each of the first half-moves.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/ui.h"
#include "chess/chess_state.h"
#include "pgn/analysis_walk.h"
#include "pgn/game_lines.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/record_source.h"

namespace {
constexpr int WalkedHalfMoves = 6;
constexpr int StepsPerWalk = 400;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    std::string_view text(reinterpret_cast<const char*>(data), size);

    SilentUi ui;
    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess(&ui);
    pgn::MemoryRecordSource source(text);
    int half_moves = pgn::LoadGameLines(source, header, lines, chess, &ui);

    for (int start = 0; start <= half_moves && start < WalkedHalfMoves; ++start) {
        pgn::AnalysisWalk walk;
        walk.Start(lines, start);
        for (int step = 0; step < StepsPerWalk; ++step) {
            if (walk.StepAnalysis(lines, chess, ui) != pgn::AnalysisWalk::Step::Played) break;
        }
    }

    // The quiet road of searches and utilities, and the text road of the game buffer.
    pgn::GameLines quiet;
    pgn::MemoryRecordSource again(text);
    (void)quiet.ParseMovetextQuiet(again, nullptr, 0, 0);
    pgn::GameLines from_text;
    (void)from_text.ParseMovetextText(text);
    return 0;
}
