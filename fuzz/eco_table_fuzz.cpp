// Any bytes as the three ECO table files (codes, names and moves, split at the first two NUL
// bytes): load, the table check, the ECO list in every order, and a real opening classified at
// every half-move against what was loaded.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/ui.h"
#include "chess/chess_state.h"
#include "openings/eco_list.h"
#include "openings/eco_table.h"
#include "openings/opening_classification.h"
#include "pgn/game_lines.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/record_source.h"
#include "scratch_file.h"

namespace {

constexpr std::string_view Game =
    "[Event \"?\"]\n[ECO \"B90\"]\n\n"
    "1. e4 c5 2. Nf3 d6 3. d4 cxd4 4. Nxd4 Nf6 5. Nc3 a6 6. Be3 e5 7. Nb3 Be6 8. f3 Be7 *\n";

struct LoadedGame {
    LoadedGame() {
        qorvale::pgn::HeaderTags header;
        qorvale::pgn::GameLines lines;
        qorvale::chess::ChessState chess;
        qorvale::pgn::MemoryRecordSource source(Game);
        half_moves = qorvale::pgn::LoadGameLines(source, header, lines, chess, nullptr);
        game.Set(lines.Moves(), half_moves);
    }
    int half_moves = 0;
    qorvale::openings::OpeningGame game;
};

// The next part of `rest` up to a NUL byte (all of it when there is none).
std::string_view TakePart(std::string_view& rest) {
    std::size_t end = rest.find('\0');
    std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    using namespace qorvale::openings;
    static const LoadedGame loaded;

    const ScratchFolder& scratch = Scratch();
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    EcoTableFiles files = EcoTableFilesIn(scratch.Path(""));
    for (const std::string* path : {&files.codes, &files.names, &files.moves}) {
        std::string_view part = TakePart(rest);
        (void)scratch.Write(path->substr(path->rfind('/') + 1),
                            reinterpret_cast<const std::uint8_t*>(part.data()), part.size());
    }

    SilentUi ui;
    EcoTable table;
    if (LoadEcoTable(files, table, ui)) return 0;
    (void)CheckEcoTable(files, table, ui);
    for (EcoListOrder order :
         {EcoListOrder::Table, EcoListOrder::Name, EcoListOrder::Moves, EcoListOrder::Code}) {
        std::vector<std::string> rows = EcoListRows(table, order, order != EcoListOrder::Table);
        for (std::int32_t entry = 0; entry < table.count() && entry < 4; ++entry) {
            (void)EcoListRowOf(table, entry, static_cast<int>(rows.size()));
        }
    }
    for (int ply = 0; ply <= loaded.half_moves; ++ply) {
        (void)ClassifyPosition(table, loaded.game, ply);
        (void)FindOpening(table, loaded.game, FindOpeningMode::ExactNumberOfMoves, ply);
        (void)FindOpening(table, loaded.game, FindOpeningMode::ExactVariation, ply);
        (void)OpeningDisplayText(table, loaded.game, ply == 0 ? "B90" : "", ply);
    }
    return 0;
}
