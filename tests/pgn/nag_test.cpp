#include "pgn/nag.h"

#include <gtest/gtest.h>

#include <set>
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
        {138, "$White has severe time control pressure$",
         "White has severe time control pressure"},
        {139, "$Black has severe time control pressure$",
         "Black has severe time control pressure"},
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

TEST(NagText, PackedTableHoldsOneDistinctTextPerNumber) {
    std::set<std::string> seen;
    for (int nag = 1; nag <= LastWordedNag; ++nag) {
        std::string words(NagWordsFor(nag));
        EXPECT_FALSE(words.empty()) << nag;
        EXPECT_TRUE(seen.insert(words).second) << nag << " repeats " << words;
        // The table pairs White and Black texts from $10 on.
        if (nag >= 14 && nag % 2 == 0) {
            EXPECT_TRUE(words.starts_with("White")) << nag;
        }
    }
    EXPECT_TRUE(NagWordsFor(LastWordedNag + 1).empty());
}

TEST(NagGlyph, HasSymbolsForSixteenNags) {
    struct Row {
        int nag;
        const char* glyph;
    };
    const Row rows[] = {
        {1, "!"},    {2, "?"},    {3, "!!"},   {4, "??"},  {5, "!?"},  {6, "?!"},
        {11, "="},   {14, "+/="}, {15, "=/+"}, {16, "+/-"}, {17, "-/+"}, {18, "+-"},
        {19, "-+"},  {20, "++"},  {21, "--"},  {142, ">="},
    };
    int with_glyph = 0;
    for (int nag = 0; nag < 256; ++nag) with_glyph += NagGlyph(nag).empty() ? 0 : 1;
    EXPECT_EQ(with_glyph, 16);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.nag);
        EXPECT_EQ(NagGlyph(row.nag), row.glyph);
    }
    EXPECT_TRUE(NagGlyph(146).empty());
    EXPECT_TRUE(NagGlyph(7).empty());
}

}  // namespace
}  // namespace qorvale::pgn
