#include "openings/eco_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "eco_test_table.h"
#include "openings/messages.h"
#include "pgn/messages.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::openings {
namespace {

using qorvale::test::RecordingUi;
using qorvale::test::TempDir;
using test::TableOf;
using test::TableRow;
using test::TextsOf;

const std::string Corruption = "ECO table corruption.";

// Entries chosen so that every order differs from table order and from the others, with a code
// tie broken by moves ignoring case.
const std::vector<TableRow> SmallRows = {
    {"C20", "King's Pawn Game", "1.e4 e5"},       {"A00", "Polish Opening", "1.b4"},
    {"C20", "Alapin Opening", "1.e4 e5 2.Ne2"},   {"B00", "Nimzowitsch Defense", "1.e4 Nc6"},
    {"C20", "Bongcloud Attack", "1.e4 e5 2.Ke2"},
};

std::string WriteTable(const TempDir& dir, const test::TableTexts& texts) {
    dir.Write("qorvale.eco", texts.codes);
    dir.Write("qorvale.ecn", texts.names);
    dir.Write("qorvale.ecm", texts.moves);
    return dir.path();
}

TEST(EcoTable, LoadsEntriesAndSplitsTheirMoves) {
    EcoTable table = TableOf(SmallRows);
    ASSERT_EQ(table.count(), 5);
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        SCOPED_TRACE(entry);
        const TableRow& row = SmallRows[static_cast<std::size_t>(entry)];
        EXPECT_EQ(table.Code(entry), row.code);
        EXPECT_EQ(table.Name(entry), row.name);
        EXPECT_EQ(table.Moves(entry), row.moves);
    }
    struct Row {
        const char* moves;
        int plies;
        std::vector<std::string> white;
        std::vector<std::string> black;
        std::vector<std::string> plain_white;
    } rows[] = {
        {"1.e4", 1, {"e4"}, {}, {"e4"}},
        {"1.e4 e5 2.Bc4 Nf6 3.Bxf7+",
         5,
         {"e4", "Bc4", "Bxf7+"},
         {"e5", "Nf6"},
         {"e4", "Bc4", "Bxf7"}},
        {"1.d4 d5 2.c4 dxc4 3.e4", 5, {"d4", "c4", "e4"}, {"d5", "dxc4"}, {"d4", "c4", "e4"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.moves);
        EcoTable one = TableOf({{"A00", "x", row.moves}});
        EXPECT_EQ(one.PlyCount(0), row.plies);
        auto texts = [](std::span<const chess::MoveText> moves) {
            std::vector<std::string> out;
            for (const chess::MoveText& move : moves) out.emplace_back(move.view());
            return out;
        };
        EXPECT_EQ(texts(one.WhiteMoves(0)), row.white);
        EXPECT_EQ(texts(one.BlackMoves(0)), row.black);
        EXPECT_EQ(texts(one.PlainWhiteMoves(0)), row.plain_white);
    }
}

TEST(EcoTable, SortsByCodeNameAndMoves) {
    EcoTable table = TableOf(SmallRows);
    auto codes = [&table](const std::vector<std::int32_t>& order) {
        std::vector<std::string> out;
        for (std::int32_t entry : order) out.emplace_back(table.Name(entry));
        return out;
    };
    // "1.e4 e5 2.Ke2" sorts before "2.Ne2" on the letter; the code tie is broken by the moves.
    EXPECT_EQ(codes(table.CodeOrder()),
              (std::vector<std::string>{"Polish Opening", "Nimzowitsch Defense", "King's Pawn Game",
                                        "Bongcloud Attack", "Alapin Opening"}));
    EXPECT_EQ(codes(table.NameOrder()),
              (std::vector<std::string>{"Alapin Opening", "Bongcloud Attack", "King's Pawn Game",
                                        "Nimzowitsch Defense", "Polish Opening"}));
    // Ignoring case, "1.e4 Nc6" comes after "1.e4 e5..." ('n' > 'e'), though byte-wise 'N' < 'e'.
    EXPECT_EQ(codes(table.MovesOrder()),
              (std::vector<std::string>{"Polish Opening", "King's Pawn Game", "Bongcloud Attack",
                                        "Alapin Opening", "Nimzowitsch Defense"}));
}

TEST(EcoTable, CodeOrderBreaksTiesByMovesIgnoringCaseThenByBytes) {
    EcoTable table = TableOf({
        {"A00", "upper b", "1.e4 B"},
        {"A00", "lower a", "1.e4 a"},
        {"A00", "lower b", "1.e4 b"},
    });
    std::vector<std::string> names;
    for (std::int32_t entry : table.CodeOrder()) names.emplace_back(table.Name(entry));
    EXPECT_EQ(names, (std::vector<std::string>{"lower a", "upper b", "lower b"}));
}

TEST(EcoTable, SizesTheListRowMapForLongEntries) {
    auto line = [](int plies) {
        std::string moves;
        for (int ply = 0; ply < plies; ++ply) {
            if (ply > 0) moves += ' ';
            if (ply % 2 == 0) moves += std::to_string(ply / 2 + 1) + ".";
            moves += ply % 4 < 2 ? (ply % 2 == 0 ? "Nf3" : "Nf6") : (ply % 2 == 0 ? "Ng1" : "Ng8");
        }
        return moves;
    };
    struct Row {
        const char* name;
        std::vector<int> plies;
        std::size_t size;
    } rows[] = {
        {"empty table", {}, 8},
        {"short entries", {1, 2, 18}, 3 + 8},
        {"one over 18", {19}, 1 + 1 + 8},
        {"at 32 and over", {32, 33}, 2 + 1 + 2 + 8},
        {"at 46 and over", {46, 47, 60}, 3 + 2 + 3 + 3 + 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<TableRow> table_rows;
        for (int plies : row.plies) table_rows.push_back({"A00", "x", line(plies)});
        EcoTable table = TableOf(table_rows);
        for (std::size_t i = 0; i < row.plies.size(); ++i) {
            EXPECT_EQ(table.PlyCount(static_cast<std::int32_t>(i)), row.plies[i]);
        }
        EXPECT_EQ(table.ListRowMap().size(), row.size);
    }
}

TEST(LoadEcoTable, RefusesDamagedFilesAndKeepsTheTableItHad) {
    test::TableTexts good = TextsOf(SmallRows);
    auto without_cr = [](std::string text) {
        std::erase(text, '\r');
        return text;
    };
    auto drop_last_line = [](std::string text) {
        text.erase(text.rfind("\r\n", text.size() - 3) + 2);
        return text;
    };
    struct Row {
        const char* name;
        test::TableTexts texts;
        std::vector<const char*> missing;
        std::int32_t count;  // -1: refused
    } rows[] = {
        {"good", good, {}, 5},
        {"names file missing", good, {"qorvale.ecn"}, -1},
        {"codes file missing", good, {"qorvale.eco"}, -1},
        {"moves file missing", good, {"qorvale.ecm"}, -1},
        {"fewer names than codes", {good.codes, drop_last_line(good.names), good.moves}, {}, -1},
        {"fewer moves than codes", {good.codes, good.names, drop_last_line(good.moves)}, {}, -1},
        {"names without CR", {good.codes, without_cr(good.names), good.moves}, {}, -1},
        {"moves without CR", {good.codes, good.names, without_cr(good.moves)}, {}, -1},
        {"empty table", {"", "", ""}, {}, 0},
        // A codes file with more than a record's worth of bytes per line: count = size / 5.
        {"codes without CR", {without_cr(good.codes), good.names, good.moves}, {}, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        WriteTable(dir, row.texts);
        for (const char* name : row.missing) std::remove(dir.File(name).c_str());
        EcoTable table = TableOf({{"E99", "Old", "1.d4"}});
        RecordingUi ui;
        Error error = LoadEcoTable(EcoTableFilesIn(dir.path()), table, ui);
        if (row.count < 0) {
            EXPECT_EQ(error.message(), Corruption);
            EXPECT_EQ(ui.reports, std::vector<std::string>{Corruption});
            ASSERT_EQ(table.count(), 1);
            EXPECT_EQ(table.Name(0), "Old");
        } else {
            EXPECT_TRUE(error.ok());
            EXPECT_TRUE(ui.reports.empty());
            EXPECT_EQ(table.count(), row.count);
        }
    }
}

TEST(LoadEcoTable, NeverReadsPastAShortBuffer) {
    // Lone CRs: the walk "next = previous + length + 2" runs past the end of the names; each
    // start past it must read as an empty name (the sanitizer build catches a read beyond).
    EcoTable table;
    ASSERT_TRUE(table.LoadFromText("A00\r\nB00\r\nC00\r\n", "ab\r\r\r", "1.e4\r\r\r").ok());
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.Name(0), "ab");
    EXPECT_EQ(table.Name(1), "");
    EXPECT_EQ(table.Name(2), "");
    EXPECT_EQ(table.Moves(2), "");
}

TEST(CheckEcoTable, ReportsTheFirstDisagreement) {
    const test::TableTexts good = TextsOf(SmallRows);
    struct Row {
        const char* name;
        const char* missing;       // a file removed after loading
        test::TableTexts on_disk;  // what the files hold when checked
        std::string message;
    } rows[] = {
        {"consistent", nullptr, good, "The ECO table is OK and has 5 entries."},
        {"codes missing", "qorvale.eco", good, "The ECO file is missing."},
        {"codes grown",
         nullptr,
         {good.codes + "D00\r\n", good.names, good.moves},
         "The ECO file has 6 entries."},
        {"names missing", "qorvale.ecn", good, "The ECO names file is missing."},
        {"names changed",
         nullptr,
         {good.codes, good.names + "x", good.moves},
         "The ECO names file is out of sync."},
        {"moves missing", "qorvale.ecm", good, "The ECO moves file is missing."},
        {"moves changed",
         nullptr,
         {good.codes, good.names, "1.e4\r\n" + good.moves},
         "The ECO move file is out of sync."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        WriteTable(dir, good);
        EcoTable table;
        RecordingUi ui;
        ASSERT_TRUE(LoadEcoTable(EcoTableFilesIn(dir.path()), table, ui).ok());
        WriteTable(dir, row.on_disk);
        if (row.missing) std::remove(dir.File(row.missing).c_str());
        bool ok = CheckEcoTable(EcoTableFilesIn(dir.path()), table, ui);
        EXPECT_EQ(ok, row.message.starts_with("The ECO table is OK"));
        EXPECT_EQ(ui.reports, std::vector<std::string>{row.message});
    }
}

TEST(CheckEcoTable, CountsLineEndsInTheLoadedBuffers) {
    using namespace std::string_literals;
    // The files agree in size with what was loaded, but a stray NUL byte in one of them gives
    // more line ends than entries.
    struct Row {
        const char* name;
        test::TableTexts texts;
        std::string message;
    } rows[] = {
        {"codes",
         {"A00\r\nB\0\0\r\n"s, "a\r\nb\r\n", "1.e4\r\n1.d4\r\n"},
         "The ECO file is out of sync."},
        {"names",
         {"A00\r\nB00\r\n", "a\r\nb\0c\r\n"s, "1.e4\r\n1.d4\r\n"},
         "The ECO names is out of sync."},
        {"moves",
         {"A00\r\nB00\r\n", "a\r\nb\r\n", "1.e4\r\n1.d4\0\r\n"s},
         "The ECO moves is out of sync."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        WriteTable(dir, row.texts);
        EcoTable table;
        RecordingUi ui;
        ASSERT_TRUE(LoadEcoTable(EcoTableFilesIn(dir.path()), table, ui).ok());
        (void)CheckEcoTable(EcoTableFilesIn(dir.path()), table, ui);
        EXPECT_EQ(ui.reports, std::vector<std::string>{row.message});
    }
}

TEST(FuseMoveNumbers, JoinsNumbersToWhitesMoves) {
    struct Row {
        const char* in;
        const char* out;
    } rows[] = {
        {"1. e4 e5 2. Nf3", "1.e4 e5 2.Nf3"},
        {"1.e4  e5\t2. Nf3 ", "1.e4 e5 2.Nf3"},
        {"1. b4", "1.b4"},
        {"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        EXPECT_EQ(FuseMoveNumbers(row.in), row.out);
    }
}

}  // namespace
}  // namespace qorvale::openings
