#include "pgn/nag.h"

#include <gtest/gtest.h>

#include <string>

namespace qorvale::pgn {
namespace {

TEST(NagText, NamesEveryNagInWordsOrAsUnknown) {
    struct Row {
        int nag;
        const char* words;
        const char* without_glyph;
    };
    const Row rows[] = {
        {1, "$Good move$", "Good move"},
        {2, "$Poor move$", "Poor move"},
        {9, "$Worst move$", "Worst move"},
        {20, "$White has a crushing advantage (Black should resign)$",
         "White has a crushing advantage (Black should resign)"},
        {73, "$Black has a well protected king$", "Black has a well protected king"},
        {138, "$White has severe time control pressure$", "White has severe time control pressure"},
        {139, "$Black has severe time control pressure$", "Black has severe time control pressure"},
        {140, "$Unknown NAG 140$", "$Unknown NAG 140$"},
        {142, "$>=$", "$Unknown NAG 142$"},
        {146, "$Novelty$", "A novelty"},
        {0, "$Unknown NAG 0$", "$Unknown NAG 0$"},
        {255, "$Unknown NAG 255$", "$Unknown NAG 255$"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.nag);
        EXPECT_EQ(NagText(row.nag), row.words);
        EXPECT_EQ(NagTextWithoutGlyph(row.nag), row.without_glyph);
    }
}

}  // namespace
}  // namespace qorvale::pgn
