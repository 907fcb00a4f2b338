#include "openings/eco_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "eco_test_table.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::openings {
namespace {

using qorvale::test::RecordingUi;
using qorvale::test::TempDir;
using test::TableOf;
using test::TableTexts;
using test::TextsOf;
using test::WriteTable;

// Every order differs from table order and from the others; "1.e4 Nc6" sorts after "1.e4 e5"
// only when case is ignored.
const std::vector<test::TableRow> SmallRows = {
    {"C20", "King's Pawn Game", "1.e4 e5"},       {"A00", "Polish Opening", "1.b4"},
    {"C20", "Alapin Opening", "1.e4 e5 2.Ne2"},   {"B00", "Nimzowitsch Defense", "1.e4 Nc6"},
    {"C20", "Bongcloud Attack", "1.e4 e5 2.Ke2"},
};

std::vector<std::string> Names(const EcoTable& table, const std::vector<std::int32_t>& order) {
    std::vector<std::string> names;
    for (std::int32_t entry : order) names.emplace_back(table.Name(entry));
    return names;
}

TEST(EcoTable, LoadsEntriesSplitsMovesAndSorts) {
    EcoTable table = TableOf(SmallRows);
    ASSERT_EQ(table.count(), 5);
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        const test::TableRow& row = SmallRows[static_cast<std::size_t>(entry)];
        EXPECT_EQ(std::string(table.Code(entry)) + "|" + std::string(table.Name(entry)) + "|" +
                      std::string(table.Moves(entry)),
                  row.code + "|" + row.name + "|" + row.moves);
    }
    EXPECT_EQ(Names(table, table.CodeOrder()),
              (std::vector<std::string>{"Polish Opening", "Nimzowitsch Defense", "King's Pawn Game",
                                        "Bongcloud Attack", "Alapin Opening"}));
    EXPECT_EQ(Names(table, table.NameOrder()),
              (std::vector<std::string>{"Alapin Opening", "Bongcloud Attack", "King's Pawn Game",
                                        "Nimzowitsch Defense", "Polish Opening"}));
    EXPECT_EQ(Names(table, table.MovesOrder()),
              (std::vector<std::string>{"Polish Opening", "King's Pawn Game", "Bongcloud Attack",
                                        "Alapin Opening", "Nimzowitsch Defense"}));

    EcoTable one = TableOf({{"C57", "x", "1.e4 e5 2.Bc4 Nf6 3.Bxf7+ Ke7 4.Bb3"}});
    EXPECT_EQ(one.PlyCount(0), 7);
    ASSERT_EQ(one.WhiteMoves(0).size(), 4u);
    ASSERT_EQ(one.BlackMoves(0).size(), 3u);
    EXPECT_EQ(one.WhiteMoves(0)[2].view(), "Bxf7+");
    EXPECT_EQ(one.PlainWhiteMoves(0)[2].view(), "Bxf7");
    EXPECT_EQ(one.BlackMoves(0)[2].view(), "Ke7");
}

TEST(EcoTable, SizesTheListRowMapForLongEntries) {
    struct Row {
        std::vector<int> plies;
        std::size_t size;
    } rows[] = {
        {{}, 8},
        {{1, 18}, 2 + 8},
        {{19}, 1 + 1 + 8},
        {{32, 33}, 2 + 1 + 2 + 8},
        {{46, 47}, 2 + 2 + 3 + 8},
    };
    for (const Row& row : rows) {
        std::vector<test::TableRow> table_rows;
        for (int plies : row.plies) {
            std::string moves = "1.Nf3";
            for (int ply = 2; ply <= plies; ++ply) {
                moves += ply % 2 == 0 ? " Nf6" : " " + std::to_string(ply / 2 + 1) + ".Nf3";
            }
            table_rows.push_back({"A00", "x", moves});
        }
        EXPECT_EQ(TableOf(table_rows).ListRowMap().size(), row.size) << row.size;
    }
}

TEST(LoadEcoTable, RefusesDamagedFilesAndKeepsTheTableItHad) {
    const TableTexts good = TextsOf(SmallRows);
    auto no_cr = [](std::string text) {
        std::erase(text, '\r');
        return text;
    };
    auto short_by_one = [](std::string text) {
        return text.substr(0, text.rfind("\r\n", text.size() - 3) + 2);
    };
    struct Row {
        const char* name;
        TableTexts texts;
        const char* missing;
        std::int32_t count;  // -1: refused
    } rows[] = {
        {"good", good, nullptr, 5},
        {"empty table", {"", "", ""}, nullptr, 0},
        {"codes missing", good, "qorvale.eco", -1},
        {"fewer names than codes", {good.codes, short_by_one(good.names), good.moves}, nullptr, -1},
        {"fewer moves than codes", {good.codes, good.names, short_by_one(good.moves)}, nullptr, -1},
        {"names without CR", {good.codes, no_cr(good.names), good.moves}, nullptr, -1},
        {"codes without CR", {no_cr(good.codes), good.names, good.moves}, nullptr, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        WriteTable(dir, row.texts);
        if (row.missing) std::remove(dir.File(row.missing).c_str());
        EcoTable table = TableOf({{"E99", "Old", "1.d4"}});
        RecordingUi ui;
        Error error = LoadEcoTable(EcoTableFilesIn(dir.path()), table, ui);
        EXPECT_EQ(error.ok(), row.count >= 0);
        EXPECT_EQ(ui.reports, row.count >= 0 ? std::vector<std::string>{}
                                             : std::vector<std::string>{"ECO table corruption."});
        EXPECT_EQ(table.count(), row.count >= 0 ? row.count : 1);
        if (row.count < 0) {
            EXPECT_EQ(table.Name(0), "Old");
        }
    }
}

TEST(LoadEcoTable, NeverReadsPastTheBuffer) {
    // Lone CRs: "next = previous + length + 2" walks past the end of the names; a start past it
    // reads as empty (the sanitizer build catches a read beyond the buffer).
    EcoTable table;
    ASSERT_TRUE(table.LoadFromText("A00\r\nB00\r\nC00\r\n", "ab\r\r\r", "1.e4\r\r\r").ok());
    EXPECT_EQ(table.Name(0), "ab");
    EXPECT_EQ(table.Name(2), "");
    EXPECT_EQ(table.Moves(2), "");
}

TEST(CheckEcoTable, ReportsTheFirstDisagreement) {
    using namespace std::string_literals;
    const TableTexts good = TextsOf(SmallRows);
    const TableTexts small = {"A00\r\nB00\r\n", "a\r\nb\r\n", "1.e4\r\n1.d4\r\n"};
    struct Row {
        const char* missing;  // a file removed after loading
        TableTexts loaded;    // the files when loaded
        TableTexts checked;   // the files when checked
        std::string message;
    } rows[] = {
        {nullptr, good, good, "The ECO table is OK and has 5 entries."},
        {"qorvale.eco", good, good, "The ECO file is missing."},
        {nullptr,
         good,
         {good.codes + "D00\r\n", good.names, good.moves},
         "The ECO file has 6 entries."},
        {"qorvale.ecn", good, good, "The ECO names file is missing."},
        {nullptr,
         good,
         {good.codes, good.names + "x", good.moves},
         "The ECO names file is out of sync."},
        {"qorvale.ecm", good, good, "The ECO moves file is missing."},
        {nullptr,
         good,
         {good.codes, good.names, good.moves + "x"},
         "The ECO move file is out of sync."},
        // Stray NUL bytes give more line ends than entries.
        {nullptr,
         {"A00\r\nB\0\0\r\n"s, small.names, small.moves},
         {},
         "The ECO file is out of sync."},
        {nullptr,
         {small.codes, "a\r\nb\0c\r\n"s, small.moves},
         {},
         "The ECO names is out of sync."},
        {nullptr,
         {small.codes, small.names, "1.e4\r\n1.d4\0\r\n"s},
         {},
         "The ECO moves is out of sync."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        TempDir dir;
        WriteTable(dir, row.loaded);
        EcoTable table;
        RecordingUi ui;
        ASSERT_TRUE(LoadEcoTable(EcoTableFilesIn(dir.path()), table, ui).ok());
        if (!row.checked.codes.empty()) WriteTable(dir, row.checked);
        if (row.missing) std::remove(dir.File(row.missing).c_str());
        EXPECT_EQ(CheckEcoTable(EcoTableFilesIn(dir.path()), table, ui),
                  row.message.starts_with("The ECO table is OK"));
        EXPECT_EQ(ui.reports, std::vector<std::string>{row.message});
    }
}

}  // namespace
}  // namespace qorvale::openings
