// Any bytes as the ECO table's previous-version set and a change journal beside a whole table:
// the interrupted change is finished, the previous version restored over the table, and what is
// then the table loaded, checked, made into the ECO tree's games and used to name a line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/ui.h"
#include "no_sync_file_system.h"
#include "openings/eco_table.h"
#include "openings/eco_table_store.h"
#include "openings/opening_classification.h"
#include "openings/tree_source.h"
#include "scratch_file.h"
#include "split_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::openings;
    const std::string folder = Scratch().Path("");
    auto write = [](const char* name, std::string_view text) {
        (void)Scratch().Write(name, reinterpret_cast<const std::uint8_t*>(text.data()),
                              text.size());
    };
    write("qorvale.eco", "C20\r\nD06\r\n");
    write("qorvale.ecn", "King's pawn\r\nQueen's gambit\r\n");
    write("qorvale.ecm", "1.e4 e5\r\n1.d4 d5 2.c4\r\n");
    auto parts = SplitInput(data, size, 4);
    const char* names[] = {"qorvale.aco", "qorvale.acn", "qorvale.acm", "qorvale.ecj"};
    for (std::size_t i = 0; i < 4; ++i)
        (void)Scratch().Write(names[i], parts[i].data(), parts[i].size());

    NoSyncFileSystem files;
    RecoverEcoTableFiles(folder, files);
    (void)MoveEcoFileSet(folder, EcoFileSet::PreviousVersion, EcoFileSet::Current, files);
    qorvale::SilentUi ui;
    EcoTable table;
    if (!LoadEcoTable(EcoTableFilesIn(folder), table, ui).ok()) return 0;
    (void)CheckEcoTable(EcoTableFilesIn(folder), table, ui);
    (void)EcoTableRecords(table);
    qorvale::chess::MainLineMoves moves;
    moves.WhiteMoves[0] = qorvale::chess::MoveText("e4");
    moves.BlackMoves[0] = qorvale::chess::MoveText("e5");
    (void)ClassifyPosition(table, OpeningGame(moves, 2), 2);
    return 0;
}
