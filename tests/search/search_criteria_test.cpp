#include "search/search_criteria.h"

#include <gtest/gtest.h>

#include "search/messages.h"

namespace qorvale::search {
namespace {

TEST(SearchCriteria, ParseComparisonReadsOperatorsValuesAndRanges) {
    struct Row {
        const char* text;
        Comparison comparison;
        const char* first;
        const char* second;
    };
    const Row rows[] = {
        {"1990", Comparison::Equal, "1990", ""},
        {"=1990", Comparison::Equal, "1990", ""},
        {"=<1990", Comparison::LessOrEqual, "1990", ""},
        {"=>1990", Comparison::GreaterOrEqual, "1990", ""},
        {">1990", Comparison::Greater, "1990", ""},
        {">=1990", Comparison::GreaterOrEqual, "1990", ""},
        {"<1990", Comparison::Less, "1990", ""},
        {"<= 1990", Comparison::LessOrEqual, "1990", ""},
        {"2500-2600", Comparison::Range, "2500", "2600"},
        {" 2500 - 2600", Comparison::Range, "2500", "2600"},
        // With an operator the part after "-" is ignored.
        {">2500-2600", Comparison::Greater, "2500", ""},
        // A space ends the first value.
        {"1990 12", Comparison::Equal, "1990", ""},
        {">", Comparison::Greater, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ParsedComparison parsed = ParseComparison(row.text);
        EXPECT_EQ(parsed.comparison, row.comparison);
        EXPECT_EQ(parsed.first, row.first);
        EXPECT_EQ(parsed.second, row.second);
    }
}

TEST(SearchCriteria, CompareValueAppliesEachComparison) {
    struct Row {
        const char* criterion;
        long value;
        bool passes;
    };
    const Row rows[] = {
        {"40", 40, true},     {"40", 41, false},   {">40", 40, false},  {">40", 41, true},
        {">=40", 40, true},   {"<40", 40, false},  {"<40", 39, true},   {"<=40", 40, true},
        {"=<40", 41, false},  {"30-40", 30, true}, {"30-40", 40, true}, {"30-40", 41, false},
        {"30-40", 29, false}, {"abc", 0, true},    {"abc", 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.criterion) + " vs " + std::to_string(row.value));
        EXPECT_EQ(CompareValue(row.value, ParseComparison(row.criterion)), row.passes);
    }
}

TEST(SearchCriteria, NormalizeNameKeepsLettersThenDigitsAndCommas) {
    struct Row {
        const char* name;
        const char* normal;
    };
    const Row rows[] = {
        {"Kasparov, Garry", "kasparov,garry"},
        {"O'Kelly de Galway, A.", "okellydegalway,a"},
        {"Smith-Jones, J. (wch)", "smithjones,j"},
        {"Player 2", "player2"},
        {"2Player", "2player"},
        {" Kasparov", " kasparov"},
        {"(anonymous)", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(NormalizeName(row.name), row.normal);
    }
}

TEST(SearchCriteria, WildcardMatchFollowsThePatternRules) {
    struct Row {
        const char* pattern;
        const char* move;
        bool matches;
    };
    const Row rows[] = {
        {"Nf6", "Nf6", true},   {"N", "Nbd7", true},     {"N?d7", "Nbd7", true},
        {"N?d7", "Nd7", false}, {"N*f6", "Ngxf6", true}, {"N*f6", "Nxe5", false},
        {"*", "e4", true},      {"e4", "e5", false},     {"", "e4", false},
        {"e4", "", false},      {"Nf6+", "Nf6", false},  {"?", "e4", true},
        {"O-O", "O-O-O", true}, {"O-O-O", "O-O", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.pattern) + " vs " + row.move);
        EXPECT_EQ(WildcardMatch(row.pattern, row.move), row.matches);
    }
}

TEST(SearchCriteria, ParseSpecificMoveReadsSideNumberAndMove) {
    struct Row {
        const char* text;
        SpecificMove::Side side;
        int move_number;
        const char* pattern;
    };
    const Row rows[] = {
        {"12...Nf6", SpecificMove::Side::Black, 12, "Nf6"},
        {"12... Nf6", SpecificMove::Side::Black, 12, "Nf6"},
        {"3.e4", SpecificMove::Side::White, 3, "e4"},
        {"Qh5", SpecificMove::Side::Either, 0, "Qh5"},
        {"0-0", SpecificMove::Side::Either, 0, "O-O"},
        {"9.0-0-0", SpecificMove::Side::White, 9, "O-O-O"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        SpecificMove parsed = ParseSpecificMove(row.text);
        EXPECT_EQ(parsed.side, row.side);
        EXPECT_EQ(parsed.move_number, row.move_number);
        EXPECT_EQ(parsed.pattern, row.pattern);
    }
}

TEST(SearchCriteria, MoveNumberFilterCountsFullMovesFromHalfMoves) {
    struct Row {
        const char* filter;
        int half_moves;
        bool passes;
    };
    const Row rows[] = {
        {"", 0, true},    {"0", 0, true},      {"1", 1, true},       {"1", 2, true},
        {"1", 3, false},  {">=10", 19, true},  {">=10", 18, false},  {"<5", 8, true},
        {"<5", 9, false}, {"10-12", 24, true}, {"10-12", 25, false}, {"10-0", 300, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.filter) + " at " + std::to_string(row.half_moves));
        EXPECT_EQ(ParseMoveNumberFilter(row.filter).Passes(row.half_moves), row.passes);
    }
}

TEST(SearchCriteria, RefusesComparisonsWithoutValuesAndReversedRanges) {
    struct Row {
        const char* text;
        bool numeric;
        std::string_view message;  // empty: accepted
    };
    const Row rows[] = {
        {">", true, messages::ComparisonWithoutValue},
        {"2600-", true, messages::ComparisonWithoutValue},
        {"2600-2500", true, messages::RangeReversed},
        {"2500-2600", true, ""},
        {"1995-1990", false, messages::RangeReversed},
        {"1990-1995.06", false, ""},
        {"", true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(CheckComparison(row.text, row.numeric).message(), row.message);
    }
    HeaderCriteria criteria;
    criteria.Set(HeaderCriterion::WhiteElo, "*2600-2500");
    EXPECT_EQ(CheckHeaderCriteria(criteria).message(), messages::RangeReversed);
}

TEST(SearchCriteria, FieldsKeepAtMostSeventyNineCharacters) {
    HeaderCriteria criteria;
    EXPECT_TRUE(criteria.Set(HeaderCriterion::Event, std::string(79, 'e')));
    EXPECT_FALSE(criteria.Set(HeaderCriterion::Site, std::string(80, 's')));
    EXPECT_EQ(criteria.Get(HeaderCriterion::Site).size(), 79u);
    criteria.Clear();
    EXPECT_FALSE(criteria.Any());
}

TEST(SearchCriteria, PositionEntriesReadAlikeFromTheDialogAndTheToolForms) {
    struct Row {
        const char* name;
        const char* white;
        const char* black;
        const char* line;
        bool ok;
    };
    const Row rows[] = {
        {"commas and blanks", "Kg1, Nf3  Pe4", "Kg8,=8", "W:Kg1,Nf3,Pe4 B:Kg8,=8", true},
        {"a side in two words", "Kg1 Qd1", "", "W:Kg1 W:Qd1", true},
        {"an entry too long", "Kg1xxxxxxxx", "", "W:Kg1xxxxxxxx", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PositionCriteria from_dialog;
        PositionCriteria from_line;
        EXPECT_EQ(ParsePositionEntries(row.white, row.black, from_dialog).ok(), row.ok);
        EXPECT_EQ(ParsePositionText(row.line, from_line).ok(), row.ok);
        for (std::size_t k = 0; k < MaxPositionEntries; ++k) {
            EXPECT_EQ(from_dialog.White[k].view(), from_line.White[k].view());
            EXPECT_EQ(from_dialog.Black[k].view(), from_line.Black[k].view());
        }
    }
    std::string many;
    for (std::size_t k = 0; k <= MaxPositionEntries; ++k) many += "Pa2,";
    PositionCriteria position;
    EXPECT_FALSE(ParsePositionEntries(many, "", position).ok());
    EXPECT_FALSE(ParsePositionText("X:Kg1", position).ok());
}

}  // namespace
}  // namespace qorvale::search
