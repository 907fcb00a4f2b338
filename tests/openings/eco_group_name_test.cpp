#include "openings/eco_group_name.h"

#include <gtest/gtest.h>

#include <string>

namespace qorvale::openings {
namespace {

TEST(EcoGroupName, NamesEachCodeRangeAndItsEdges) {
    struct Row {
        const char* code;
        int index;
        const char* name;
    } rows[] = {
        {"A00", 0, "Polish,Grob,etc"},
        {"A01", 1, "Nimzowitsch-Larsen"},
        {"A03", 3, "Bird"},
        {"A04", 4, "Reti"},
        {"A39", 39, "English"},
        {"A40", 40, "Queen's Pawn,etc"},
        {"A59", 59, "Benko gambit"},
        {"A79", 79, "Benoni"},
        {"A80", 80, "Dutch"},
        {"A99", 99, "Dutch"},
        {"B00", 100, "Nimzowitsch Def"},
        {"B06", 106, "Modern"},
        {"B19", 119, "Caro-Kann"},
        {"B20", 120, "Sicilian"},
        {"C19", 219, "French"},
        {"C29", 229, "Vienna gambit"},
        {"C46", 246, "3,4 Knights"},
        {"C59", 259, "Two Knights"},
        {"C60", 260, "Ruy Lopez"},
        {"D02", 302, "Queen's Pawn,etc"},
        {"D30", 330, "QGD"},
        {"D31", 331, "Semi-Slav"},
        {"D42", 342, "QGD"},
        {"D43", 343, "Semi-Slav"},
        {"D79", 379, "Neo-Grunfeld"},
        {"D80", 380, "Grunfeld"},
        {"E00", 400, "Catalan,etc"},
        {"E11", 411, "Bogo-Indian"},
        {"E59", 459, "Nimzo-Indian"},
        {"E60", 460, "King's Indian Def"},
        {"E99", 499, "King's Indian Def"},
        {"C20xyz", 220, "Open game"},  // only three characters count
        {"F00", 500, "???"},
        {"", 500, "???"},
        {"?", 500, "???"},
        {"A0", 500, "???"},
        {"a00", 500, "???"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(EcoGroupIndex(row.code), row.index);
        EXPECT_EQ(EcoGroupName(row.code), row.name);
    }
}

}  // namespace
}  // namespace qorvale::openings
