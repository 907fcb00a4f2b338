#include "openings/eco_table_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "openings/eco_table.h"
#include "support/recording_ui.h"

namespace qorvale::openings {
namespace {

// Ordinary legal lines are the shipped table's, replayed below.
TEST(ReplayTableLine, AcceptsOnlyLegalMovesWrittenAsPlayed) {
    struct Row {
        const char* moves;
        bool legal;
    } rows[] = {
        {"1.e4 c5 2.Nf3 d6 3.Bb5", true},  // the mark is not required
        {"1.e4 a6 2.e5 d5 3.exd6", true},  // en passant
        {"1.e4 e5 2.Ke3", false},
        {"1.e4 e5 2.Nf3 Nc6 3.O-O", false},
        {"1.e4 e5 3.Nf3", false},            // numbered out of turn
        {"1.e4 e5 Nf3", false},              // White's move without its number
        {"1.d4 e5 2.Bf4 Bb4+ 3.e3", false},  // leaves the king in check
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.moves);
        std::string why = ReplayTableLine(row.moves);
        EXPECT_EQ(why.empty(), row.legal) << why;
    }
}

// The table the program installs: consistent files, every line within 30 moves and replayable.
TEST(ShippedEcoTable, LoadsChecksAndReplays) {
    EcoTable table;
    test::RecordingUi ui;
    const EcoTableFiles files = EcoTableFilesIn(QORVALE_DATA_DIR);
    ASSERT_TRUE(LoadEcoTable(files, table, ui).ok());
    EXPECT_TRUE(CheckEcoTable(files, table, ui));
    EXPECT_GT(table.count(), 3000);
    int failures = 0;
    for (std::int32_t entry = 0; entry < table.count() && failures < 5; ++entry) {
        std::string why = ReplayTableLine(table.Moves(entry));
        if (!why.empty() || table.PlyCount(entry) > MaxEcoHalfMoves) {
            ++failures;
            ADD_FAILURE() << table.Code(entry) << " " << table.Name(entry) << ": " << why;
        }
    }
}

}  // namespace
}  // namespace qorvale::openings
