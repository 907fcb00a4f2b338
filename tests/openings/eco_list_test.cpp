#include "openings/eco_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eco_test_table.h"

namespace qorvale::openings {
namespace {

using test::TableOf;

// Knight moves out and back: n half-moves, numbered from 1.
std::string Dance(int plies) {
    std::string moves;
    for (int ply = 0; ply < plies; ++ply) {
        if (ply > 0) moves += ' ';
        if (ply % 2 == 0) moves += std::to_string(ply / 2 + 1) + ".";
        moves +=
            (ply / 2) % 2 == 0 ? (ply % 2 == 0 ? "Nf3" : "Nf6") : (ply % 2 == 0 ? "Ng1" : "Ng8");
    }
    return moves;
}

TEST(EcoListRows, SpreadsLongEntriesOverRowsAndMapsThemBack) {
    const std::string marshall =
        "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 O-O 8.c3 d5 9.exd5 Nxd5 "
        "10.Nxe5 Nxe5 11.Rxe5 c6 12.d4 Bd6 13.Re1 Qh4 14.g3 Qh3 15.Be3 Bg4 16.Qd3 Rae8 17.Nd2 "
        "Re6 18.a4 Qh5";
    EcoTable table = TableOf({
        {"A00", "Eighteen", Dance(18)},
        {"C89", "Marshall", marshall},
        {"A01", "Nineteen", Dance(19)},
        {"A02", "Forty-seven", Dance(47)},
    });
    std::vector<std::string> rows = EcoListRows(table, EcoListOrder::Table, true);
    const std::string indent = "       ";
    std::vector<std::string> expected = {
        "A00 " + Dance(18),
        "C89 1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 O-O 8.c3 d5 9.exd5 Nxd5",
        indent +
            "10.Nxe5 Nxe5 11.Rxe5 c6 12.d4 Bd6 13.Re1 Qh4 14.g3 Qh3 15.Be3 Bg4 16.Qd3 Rae8 "
            "17.Nd2 Re6",
        indent + "18.a4 Qh5",
        "A01 " + Dance(18),
        indent + "10.Ng1",
        "A02 " + Dance(18),
    };
    ASSERT_GE(rows.size(), 9u);
    for (std::size_t row = 0; row < 7 && row < rows.size(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(rows[row], expected[row]);
    }
    EXPECT_TRUE(rows[7].starts_with(indent + "10.")) << rows[7];
    EXPECT_TRUE(rows[8].starts_with(indent + "18.")) << rows[8];
    // 47 half-moves end at move 24: there is no move 26 to begin a fourth row.
    EXPECT_TRUE(rows[8].ends_with("24.Ng1")) << rows[8];
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_LE(rows.size() + 8, table.ListRowMap().size());
    const std::vector<std::int32_t> entry_of_row = {0, 1, 1, 1, 2, 2, 3, 3, 3};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(table.ListRowMap()[row], entry_of_row[row]);
    }
    EXPECT_EQ(EcoListRowOf(table, 2, static_cast<int>(rows.size())), 4);
    EXPECT_EQ(EcoListRowOf(table, 3, static_cast<int>(rows.size())), 6);
    // The short form, by name: one row per entry.
    EXPECT_EQ(EcoListRows(table, EcoListOrder::Name, false),
              (std::vector<std::string>{"A00 Eighteen", "A02 Forty-seven", "C89 Marshall",
                                        "A01 Nineteen"}));
    EXPECT_EQ(table.ListRowMap()[1], 3);
}

}  // namespace
}  // namespace qorvale::openings
