#include "openings/eco_line_trie.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_folder.h"
#include "openings/eco_test_table.h"
#include "support/recording_ui.h"

namespace qorvale::openings {
namespace {

using test::TableOf;

// Entries in table order; two lines are the same so that the first one must win.
const std::vector<test::TableRow> SmallTable = {
    {"B00", "King's pawn", "1.e4"},
    {"B20", "Sicilian", "1.e4 c5"},
    {"B27", "Sicilian, first copy", "1.e4 c5 2.Nf3"},
    {"B28", "Sicilian, second copy", "1.e4 c5 2.Nf3"},
    {"B90", "Najdorf", "1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 a6"},
    {"C60", "Ruy Lopez", "1.e4 e5 2.Nf3 Nc6 3.Bb5"},
    {"C65", "Berlin, castled", "1.e4 e5 2.Nf3 Nc6 3.Bb5 Nf6 4.O-O"},
    {"A00", "Check line", "1.g3 f5 2.e4 fxe4 3.Qh5+ g6"},
    {"D06", "QGD", "1.d4 d5 2.c4"},
};

TEST(EcoLineTrieTest, ClassifiesFirstMovetextLine) {
    const EcoLineTrie trie(TableOf(SmallTable));
    struct Row {
        const char* name;
        const char* line;
        const char* code;
    };
    const std::vector<Row> rows = {
        {"one move", "1.e4 g6 2.d4 Bg7", "B00"},
        {"deepest of several", "1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 a6 6.Be3 e5", "B90"},
        {"stops between lines", "1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 g6", "B27"},
        {"same line twice: first entry", "1.e4 c5 2.Nf3 Nc6", "B27"},
        {"spaced move numbers", "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6", "C60"},
        {"castling with zeros", "1.e4 e5 2.Nf3 Nc6 3.Bb5 Nf6 4.0-0 Nxe4", "C65"},
        {"check sign in the table only", "1.g3 f5 2.e4 fxe4 3.Qh5 g6 4.Qxg6", "A00"},
        {"check sign in the game only", "1.e4 e5 2.Nf3 Nc6 3.Bb5+ a6", "C60"},
        {"marks and NAGs", "1.e4! $1 c5!? 2.Nf3 $2 d6", "B27"},
        {"closed comment and variation", "1.e4 {best} c5 (1...e5 2.Nf3) 2.Nf3 d6", "B27"},
        {"black move after a comment", "1.e4 {x} 1...c5 2.Nf3", "B27"},
        {"unclosed comment ends the walk", "1.e4 c5 {long comment that goes on 2.Nf3", "B20"},
        {"unclosed variation ends the walk", "1.e4 c5 (1...e5 2.Nf3 2.Nf3", "B20"},
        {"no table line", "1.b3 e5 2.Bb2 Nc6", ""},
        {"first move off the table", "1.c4 e5", ""},
        {"empty line", "", ""},
        {"comment only", "{Annotated by someone}", ""},
        {"result ends the walk", "1.d4 d5 1-0 2.c4", ""},
        {"short game with result", "1.d4 d5 2.c4 0-1", "D06"},
        {"black first", "1... c5 2.Nf3", ""},
        {"white move too long to be a move", "1.e4xxxxxxxxxx c5", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(trie.Classify(row.line), row.code);
    }
}

TEST(EcoLineTrieTest, EmptyTableNamesNothing) {
    const EcoLineTrie trie;
    EXPECT_TRUE(trie.empty());
    EXPECT_EQ(trie.Classify("1.e4 e5"), "");
}

TEST(EcoLineTrieTest, TokenKeys) {
    struct Row {
        const char* token;
        const char* same_as;  // nullptr: the key is 0
    };
    const std::vector<Row> rows = {
        {"1.e4", "e4"},  {"12...Nbd7", "Nbd7"},  {"Qh5+", "Qh5"},   {"Qxf7#", "Qxf7"},
        {"e4!?", "e4"},  {"0-0-0", "O-O-O"},     {"e8=Q+", "e8=Q"}, {"1.", nullptr},
        {"!!", nullptr}, {"Nb1xc3xd5", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.token);
        if (row.same_as == nullptr) {
            EXPECT_EQ(EcoLineTokenKey(row.token), 0u);
        } else {
            EXPECT_NE(EcoLineTokenKey(row.token), 0u);
            EXPECT_EQ(EcoLineTokenKey(row.token), EcoLineTokenKey(row.same_as));
        }
    }
    EXPECT_NE(EcoLineTokenKey("e4"), EcoLineTokenKey("e5"));
}

// The program's own table: well-known openings get their usual codes, the deepest line the
// game's moves reach (the Ruy Lopez stops at the closed defence before 7.Bb3).
TEST(EcoLineTrieTest, ProgramTableKnownOpenings) {
    EcoTable table;
    qorvale::test::RecordingUi ui;
    ASSERT_TRUE(LoadEcoTable(EcoTableFilesIn(app::ProgramDataFolder()), table, ui).ok());
    const EcoLineTrie trie(table);
    struct Row {
        const char* line;
        const char* code;
    };
    const std::vector<Row> rows = {
        {"1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 a6 6.Bg5 e6 7.f4", "B96"},
        {"1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5", "C84"},
        {"1.d4 Nf6 2.c4 e6 3.Nc3 Bb4 4.e3 O-O", "E46"},
        {"1.e4 c6 2.d4 d5 3.Nc3 dxe4 4.Nxe4", "B15"},
        {"1.e4 e6 2.d4 d5 3.Nc3 Bb4", "C15"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(trie.Classify(row.line), row.code);
    }
}

}  // namespace
}  // namespace qorvale::openings
