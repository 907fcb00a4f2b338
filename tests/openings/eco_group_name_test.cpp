#include "openings/eco_group_name.h"

#include <gtest/gtest.h>

namespace qorvale::openings {
namespace {

TEST(EcoGroupName, NamesEachCodeRangeAndItsEdges) {
    struct Row {
        const char* code;
        int index;
        const char* name;
    } rows[] = {
        {"A00", 0, "Polish,Grob,etc"},
        {"A03", 3, "Bird"},
        {"A04", 4, "Reti"},
        {"A59", 59, "Benko gambit"},
        {"A99", 99, "Dutch"},
        {"B00", 100, "Nimzowitsch Def"},
        {"B19", 119, "Caro-Kann"},
        {"B20", 120, "Sicilian"},
        {"C46", 246, "3,4 Knights"},
        {"C60", 260, "Ruy Lopez"},
        {"D30", 330, "QGD"},
        {"D31", 331, "Semi-Slav"},
        {"D43", 343, "Semi-Slav"},
        {"E00", 400, "Catalan,etc"},
        {"E99", 499, "King's Indian Def"},
        {"C20xyz", 220, "Open game"},
        {"F00", 500, "???"},
        {"", 500, "???"},
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
