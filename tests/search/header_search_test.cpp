#include "search/header_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "search/messages.h"
#include "search/position_search.h"
#include "search/variation_search.h"
#include "search_file_fixture.h"

namespace qorvale::search {
namespace {

struct Criterion {
    HeaderCriterion field;
    const char* text;
};

HeaderCriteria MakeCriteria(std::initializer_list<Criterion> criteria) {
    HeaderCriteria made;
    for (const Criterion& criterion : criteria) made.Set(criterion.field, criterion.text);
    return made;
}

GameHeader Game(std::string_view white, std::string_view black, std::string_view result) {
    GameHeader game;
    game.white = white;
    game.black = black;
    game.result = result;
    return game;
}

TEST(HeaderMatcher, PlayerRules) {
    struct Row {
        const char* criterion;
        const char* name;
        bool matches;
    };
    const Row rows[] = {
        {"Kasparov", "Kasparov, Garry", true},
        {"kasparov g", "Kasparov, G.", false},  // the comma is part of the normal form
        {"Kasparov,", "Kasparov, G.", true},
        {"Kasparov,", "Kasparov", true},
        {"Kasparov,", "Kasparova, Xenia", false},
        {"Kasparov", "Kasparova, Xenia", true},
        {"Kasparov, Garry#", "Kasparov, Garry", true},
        {"Kasparov#", "Kasparov, Garry", false},
        {"kasparov, garry#", "Kasparov, Garry", false},
        // "?" finds other spellings: same up to the last character, different there.
        {"Karpow?", "Karpov, Anatoly", true},
        {"Karpov?", "Karpov, Anatoly", false},
        {"Karpow?", "Karp", false},
        {"O'Kelly", "OKelly de Galway", true},
        {"Smith", "Smith (wch)", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.criterion) + " vs " + row.name);
        EXPECT_EQ(HeaderMatcher::PlayerMatches(row.criterion, row.name), row.matches);
    }
}

TEST(HeaderMatcher, FieldRulesAndResultClasses) {
    struct Row {
        const char* name;
        HeaderCriteria criteria;
        GameHeader game;
        int expected;  // -1 fails, else the result class
    };
    GameHeader dated = Game("A", "B", "1-0");
    dated.date = "1991.05.01";
    GameHeader dated_1990 = Game("A", "B", "0-1");
    dated_1990.date = "1990.12.31";
    GameHeader undated = Game("A", "B", "1/2-1/2");
    GameHeader unknown_date = Game("A", "B", "1-0");
    unknown_date.date = "????.??.??";
    GameHeader rated = Game("A", "B", "1-0");
    rated.white_elo = "2550";
    rated.black_elo = "2650";
    GameHeader event = Game("A", "B", "1-0");
    event.event = "World Ch";
    event.site = "Seville ESP";
    event.round = "12.1";
    event.eco = "E20";
    GameHeader no_eco = Game("A", "B", "1-0");
    no_eco.eco = "?";
    const Row rows[] = {
        {"date greater than a year passes the next year",
         MakeCriteria({{HeaderCriterion::Date, ">1990"}}), dated, 1},
        {"date greater than a year fails that year",
         MakeCriteria({{HeaderCriterion::Date, ">1990"}}), dated_1990, -1},
        {"date at least a year passes that year", MakeCriteria({{HeaderCriterion::Date, ">=1990"}}),
         dated_1990, 2},
        {"date range", MakeCriteria({{HeaderCriterion::Date, "1990.06-1991.01"}}), dated_1990, 2},
        {"date range end is compared cut to its length",
         MakeCriteria({{HeaderCriterion::Date, "1990-1991.04"}}), dated, -1},
        {"empty date passes", MakeCriteria({{HeaderCriterion::Date, "<1900"}}), undated, 0},
        {"unknown date fails", MakeCriteria({{HeaderCriterion::Date, ">1900"}}), unknown_date, -1},
        {"event prefix without case", MakeCriteria({{HeaderCriterion::Event, "world"}}), event, 1},
        {"event exact with #", MakeCriteria({{HeaderCriterion::Event, "World#"}}), event, -1},
        {"event exact with # and equal", MakeCriteria({{HeaderCriterion::Event, "World Ch#"}}),
         event, 1},
        {"site elsewhere", MakeCriteria({{HeaderCriterion::Site, "ESP"}}), event, -1},
        {"round prefix", MakeCriteria({{HeaderCriterion::Round, "12"}}), event, 1},
        {"eco prefix", MakeCriteria({{HeaderCriterion::Eco, "e2"}}), event, 1},
        {"eco ? wants none", MakeCriteria({{HeaderCriterion::Eco, "?"}}), event, -1},
        {"eco ? passes unknown", MakeCriteria({{HeaderCriterion::Eco, "?"}}), no_eco, 1},
        {"eco ? passes empty", MakeCriteria({{HeaderCriterion::Eco, "?"}}), undated, 0},
        // A range of codes, each end compared on its own length.
        {"eco range", MakeCriteria({{HeaderCriterion::Eco, "E10-E29"}}), event, 1},
        {"eco range below", MakeCriteria({{HeaderCriterion::Eco, "e21-E99"}}), event, -1},
        {"eco range above", MakeCriteria({{HeaderCriterion::Eco, "B20 - B99"}}), event, -1},
        {"eco range of groups", MakeCriteria({{HeaderCriterion::Eco, "D-E2"}}), event, 1},
        {"eco range fails empty", MakeCriteria({{HeaderCriterion::Eco, "A00-E99"}}), undated, -1},
        {"result prefix", MakeCriteria({{HeaderCriterion::Result, "1/2"}}), undated, 0},
        {"elo range", MakeCriteria({{HeaderCriterion::WhiteElo, "2500-2600"}}), rated, 1},
        {"elo range fails unrated", MakeCriteria({{HeaderCriterion::WhiteElo, "2500-2600"}}),
         undated, -1},
        {"elo * passes unrated", MakeCriteria({{HeaderCriterion::WhiteElo, "*2500-2600"}}), undated,
         0},
        {"elo * compares rated", MakeCriteria({{HeaderCriterion::WhiteElo, "*>2600"}}), rated, -1},
        {"black elo", MakeCriteria({{HeaderCriterion::BlackElo, ">2600"}}), rated, 1},
        {"black elo * applies the white criterion to black",
         MakeCriteria({{HeaderCriterion::WhiteElo, ">2500"}, {HeaderCriterion::BlackElo, "*"}}),
         rated, 1},
        {"black elo * applies the white criterion to black and fails",
         MakeCriteria({{HeaderCriterion::WhiteElo, "<2600"}, {HeaderCriterion::BlackElo, "*"}}),
         rated, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(HeaderMatcher(row.criteria).Match(row.game), row.expected);
    }
}

TEST(HeaderMatcher, EitherColourSearches) {
    struct Row {
        const char* name;
        const char* white;
        const char* black;
        const char* result;
        GameHeader game;
        int expected;
    };
    const Row rows[] = {
        {"player won with White", "Kasparov", "*", "", Game("Kasparov, G", "Karpov, A", "1-0"), 1},
        {"player won with Black", "Kasparov", "*", "", Game("Karpov, A", "Kasparov, G", "0-1"), 2},
        {"draw as White", "Kasparov", "*", "", Game("Kasparov, G", "Karpov, A", "1/2-1/2"), 3},
        {"draw as Black", "Kasparov", "*", "", Game("Karpov, A", "Kasparov, G", "1/2-1/2"), 4},
        {"player lost", "Kasparov", "*", "", Game("Karpov, A", "Kasparov, G", "1-0"), 0},
        {"player absent", "Kasparov", "*", "", Game("Karpov, A", "Short, N", "1-0"), -1},
        {"*1-0 keeps wins as Black", "Kasparov", "*", "*1-0",
         Game("Karpov, A", "Kasparov, G", "0-1"), 2},
        {"*1-0 drops losses", "Kasparov", "*", "*1-0", Game("Kasparov, G", "Karpov, A", "0-1"), -1},
        {"* and other text keeps losses", "Kasparov", "*", "*0-1",
         Game("Kasparov, G", "Karpov, A", "0-1"), 0},
        {"pair in either order, normal classes", "Kasparov", "*Karpov", "",
         Game("Karpov, A", "Kasparov, G", "0-1"), 2},
        {"pair in the given order", "Kasparov", "*Karpov", "",
         Game("Kasparov, G", "Karpov, A", "1-0"), 1},
        {"pair with a stranger", "Kasparov", "*Karpov", "", Game("Kasparov, G", "Short, N", "1-0"),
         -1},
        {"without *, Black criterion is Black only", "Kasparov", "Karpov", "",
         Game("Karpov, A", "Kasparov, G", "0-1"), -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HeaderCriteria criteria = MakeCriteria({{HeaderCriterion::White, row.white},
                                                {HeaderCriterion::Black, row.black},
                                                {HeaderCriterion::Result, row.result}});
        HeaderMatcher matcher(criteria);
        EXPECT_EQ(matcher.EitherColourOnePlayer(), std::string_view(row.black) == "*");
        EXPECT_EQ(matcher.Match(row.game), row.expected);
    }
}

class HeaderSearchFile : public SearchFileTest {
  protected:
    void SetUp() override { Open("search/crafted.pgn"); }

    std::vector<std::int32_t> Found(const SearchCriteria& criteria,
                                    Combination combination = Combination::Alone) {
        SearchList list;
        SearchHeader(source_, criteria, combination, list, ui_);
        return Numbers(list);
    }
};

TEST_P(HeaderSearchFile, FindsTheGamesOfEachCriterion) {
    struct Row {
        const char* name;
        std::initializer_list<Criterion> criteria;
        std::vector<std::int32_t> expected;
    };
    const Row rows[] = {
        {"player either colour",
         {{HeaderCriterion::White, "Kasparov,"}, {HeaderCriterion::Black, "*"}},
         {1, 2, 4, 5, 6}},
        {"surname with comma", {{HeaderCriterion::White, "Kasparov,"}}, {1, 5}},
        {"date after 1990", {{HeaderCriterion::Date, ">1990"}}, {1, 4, 5, 7, 8}},
        {"number of moves", {{HeaderCriterion::NumberOfMoves, ">=9"}}, {4}},
        {"few moves", {{HeaderCriterion::NumberOfMoves, "<3"}}, {6, 8}},
        {"eco unknown", {{HeaderCriterion::Eco, "?"}}, {3, 8}},
        {"white elo with unrated",
         {{HeaderCriterion::WhiteElo, "*2700-2800"}},
         {1, 2, 3, 5, 6, 7, 8}},
        {"black's 5th move", {{HeaderCriterion::SpecificMove, "5...Be7"}}, {4, 5}},
        {"black's 4th move", {{HeaderCriterion::SpecificMove, "4...Be7"}}, {3}},
        {"any knight to f6", {{HeaderCriterion::SpecificMove, "N*f6"}}, {1, 2, 3, 4, 5, 6, 7}},
        {"castling written with zeros", {{HeaderCriterion::SpecificMove, "8...0-0"}}, {4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SearchCriteria criteria;
        criteria.header = MakeCriteria(row.criteria);
        EXPECT_EQ(Found(criteria), row.expected);
    }
}

TEST_P(HeaderSearchFile, CombinesWithLineAndPosition) {
    SearchCriteria criteria;
    criteria.header.Set(HeaderCriterion::White, "Kasparov");
    criteria.line.WhiteMoves[0].Assign("e4");
    criteria.line.BlackMoves[0].Assign("e5");
    EXPECT_EQ(Found(criteria, Combination::WithVariation), (std::vector<std::int32_t>{5}));

    criteria.line.Clear();
    criteria.position.White[0].Assign("Kg1");
    criteria.position.Black[0].Assign("Kg8");
    criteria.header.Set(HeaderCriterion::White, "");
    criteria.header.Set(HeaderCriterion::Site, "Leiden");
    SearchList list;
    SearchHeader(source_, criteria, Combination::WithPosition, list, ui_);
    ASSERT_GE(list.Count(), 1);
    EXPECT_EQ(list.Games()[0].game_number, 4);
    EXPECT_EQ(list.Games()[0].half_move, 16);  // after 8...O-O
    EXPECT_TRUE(list.HasHalfMoves());
}

TEST_P(HeaderSearchFile, RefusesEcoDifferenceWithSpecificMoveOrCombination) {
    SearchCriteria criteria;
    criteria.header.Set(HeaderCriterion::Eco, "*");
    criteria.header.Set(HeaderCriterion::SpecificMove, "e4");
    SearchList list;
    EXPECT_EQ(SearchHeader(source_, criteria, Combination::Alone, list, ui_), -1);
    criteria.header.Set(HeaderCriterion::SpecificMove, "");
    EXPECT_EQ(SearchHeader(source_, criteria, Combination::WithPosition, list, ui_), -1);
    EXPECT_EQ(ui_.reports, (std::vector<std::string>{std::string(messages::EcoDiffSpecificMove),
                                                     std::string(messages::EcoDiffCombination)}));
}

INSTANTIATE_TEST_SUITE_P(TextAndFastFile, HeaderSearchFile, ::testing::Bool(), PathName);

// A game without moves has no moves through the fast file either: it is no 1.d4.
class WithoutMovesFile : public SearchFileTest {
  protected:
    void SetUp() override { Open("search/without-moves.pgn"); }
};

TEST_P(WithoutMovesFile, GamesWithoutMovesAreFoundAlikeByBothRoads) {
    struct Row {
        const char* name;
        std::function<void(SearchCriteria&)> set;
        std::vector<std::int32_t> expected;
    } rows[] = {
        {"no moves",
         [](SearchCriteria& c) { c.header.Set(HeaderCriterion::NumberOfMoves, "0"); },
         {1, 4}},
        {"one move",
         [](SearchCriteria& c) { c.header.Set(HeaderCriterion::NumberOfMoves, "1"); },
         {2, 5}},
        {"line 1.d4", [](SearchCriteria& c) { c.line = *ParseSearchLine("1.d4"); }, {2, 3}},
        {"pawn on d4", [](SearchCriteria& c) { c.position.White[0].Assign("d4"); }, {2, 3}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SearchCriteria criteria;
        row.set(criteria);
        SearchList list;
        if (criteria.line.Any()) {
            SearchVariation(source_, criteria, Combination::WithVariation, list, ui_);
        } else if (!criteria.position.White[0].empty()) {
            SearchPosition(source_, criteria, list, ui_);
        } else {
            SearchHeader(source_, criteria, Combination::Alone, list, ui_);
        }
        EXPECT_EQ(Numbers(list), row.expected);
    }
    EXPECT_TRUE(ui_.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(TextAndFastFile, WithoutMovesFile, ::testing::Bool(), PathName);

}  // namespace
}  // namespace qorvale::search
