#include "openings/eco_table_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "openings/eco_table.h"
#include "support/recording_ui.h"

namespace qorvale::openings {
namespace {

TEST(ReplayTableLine, AcceptsOnlyLegalMovesWrittenAsPlayed) {
    struct Row {
        const char* moves;
        bool legal;
    } rows[] = {
        {"1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O", true},
        {"1.e4 d5 2.exd5 Qxd5 3.Nc3 Qa5", true},
        {"1.e4 c5 2.Nf3 d6 3.Bb5+", true},
        {"1.e4 c5 2.Nf3 d6 3.Bb5", true},  // the mark is not required
        {"1.f3 e5 2.g4 Qh4#", true},
        {"1.e4 a6 2.e5 d5 3.exd6", true},  // en passant
        {"1.e4 e5 2.Ke3", false},          // no such king move
        {"1.e4 e5 2.Nf3 Nc6 3.O-O", false},
        {"1.Nf3 Nf6 2.Nd4 Nd5 3.Nc3 Nc3", false},  // nothing reaches
        {"1.e4 e5 2.Ng1", false},                  // the knight already stands there
        {"1.e4 e5 3.Nf3", false},                  // numbered out of turn
        {"1.e4 e5 Nf3", false},                    // White's move without its number
        {"1.d4 e5 2.Bf4 Bb4+ 3.e3", false},        // leaves the king in check
        {"1.d4 e5 2.Bf4 Bb4+ 3.Nc3 Qh4 4.Bg3 Qxg3 5.e4 Qxg2 6.d5 Qxh1 7.d6 Qxh2 8.dxc7 Qxg1 "
         "9.cxb8=Q Qxf1+",
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.moves);
        std::string why = ReplayTableLine(row.moves);
        EXPECT_EQ(why.empty(), row.legal) << why;
    }
}

TEST(AddOpeningList, KeepsReplayableRowsAndNotesTheRest) {
    std::string thirty_one_moves;
    for (int move = 1; move <= 31; move += 2) {
        if (move > 1) thirty_one_moves += ' ';
        thirty_one_moves +=
            std::to_string(move) + ". Nf3 Nf6 " + std::to_string(move + 1) + ". Ng1 Ng8";
    }
    const std::string list =
        "eco\tname\tpgn\n"
        "C20\tKing's Pawn Game\t1. e4 e5\r\n"
        "C60\tRuy Lopez\t1. e4 e5 2. Nf3 Nc6 3. Bb5\n"
        "X00\tNo such code\t1. e4\n"
        "B00\tIllegal\t1. e4 e5 2. Ke3\n"
        "A00\tToo long\t" +
        thirty_one_moves +
        "\n"
        "A00\tTwo fields\n"
        "\n"
        "A01\tNimzo-Larsen Attack\t1. b3\n";
    EcoTableTexts texts;
    AddOpeningList(list, "a.tsv", texts);
    EXPECT_EQ(texts.entries, 3);
    EXPECT_EQ(texts.codes, "C20\r\nC60\r\nA01\r\n");
    EXPECT_EQ(texts.names, "King's Pawn Game\r\nRuy Lopez\r\nNimzo-Larsen Attack\r\n");
    EXPECT_EQ(texts.moves, "1.e4 e5\r\n1.e4 e5 2.Nf3 Nc6 3.Bb5\r\n1.b3\r\n");
    ASSERT_EQ(texts.notes.size(), 4u);
    EXPECT_TRUE(texts.notes[0].starts_with("a.tsv:4: ")) << texts.notes[0];
    EXPECT_TRUE(texts.notes[1].starts_with("a.tsv:5: illegal") ||
                texts.notes[1].starts_with("a.tsv:5: no move"))
        << texts.notes[1];
    EXPECT_EQ(texts.notes[2], "a.tsv:6: longer than 30 moves (64 half-moves)");
    EXPECT_TRUE(texts.notes[3].starts_with("a.tsv:7: ")) << texts.notes[3];

    EcoTable table;
    ASSERT_TRUE(table.LoadFromText(texts.codes, texts.names, texts.moves).ok());
    EXPECT_EQ(table.count(), 3);
    EXPECT_EQ(table.PlyCount(1), 5);
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
