#include "openings/opening_classification.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eco_test_table.h"
#include "support/recording_ui.h"

namespace qorvale::openings {
namespace {

using qorvale::test::RecordingUi;
using test::GameOf;
using test::TableOf;

TEST(EntryMatchesGame, ComparesByModeAndPlyLimit) {
    struct Row {
        const char* entry;
        const char* game;
        int limit;
        bool exact;
        bool transposing;
    } rows[] = {
        {"1.e4 e5 2.Nf3", "1.e4 e5 2.Nf3 Nc6", NoPlyLimit, true, true},
        {"1.d4 d5 2.Nf3", "1.Nf3 d5 2.d4", NoPlyLimit, false, true},
        {"1.c4 g6 2.Nc3 Bg7", "1.c4 Bg7 2.Nc3 g6", NoPlyLimit, false, true},
        // Check marks count only in the exact mode, on either side.
        {"1.e4 c5 2.Nf3 d6 3.Bb5+", "1.e4 c5 2.Nf3 d6 3.Bb5", NoPlyLimit, false, true},
        {"1.e4 c5 2.Nf3 d6 3.Bb5", "1.e4 c5 2.Nf3 d6 3.Bb5+", NoPlyLimit, false, true},
        {"1.e4 c5 2.Nf3 d6 3.Bb5+", "1.e4 c5 2.Nf3 d6 3.Bb5+", NoPlyLimit, true, true},
        {"1.e4 e5 2.Nf3", "1.e4 e5", NoPlyLimit, false, false},
        {"1.e4 e5 2.Nf3", "1.e4 e5 2.Bc4 Nc6 3.Nf3", NoPlyLimit, false, false},
        {"1.e4 e5 2.Nf3 Nc6", "1.e4 e5 2.Nf3 Nf6", NoPlyLimit, false, false},
        {"1.e4 e5 2.Nf3 Nc6", "1.e4 e5 2.Nf3 Nf6", 3, true, true},
        {"1.e4 e5 2.Nf3 Nc6", "1.e4 c5", 1, true, true},
        {"1.e4 e5 2.Nf3 Nc6", "1.e4 e5 2.Bc4", 3, false, false},
        // A knight out and back: the repeated Nf3 must be repeated in the game, from two moves on.
        {"1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", "1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", NoPlyLimit, true, true},
        {"1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", "1.Nf3 Nf6 2.Nc3 Ng8 3.Ng1", NoPlyLimit, false, false},
        {"1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", "1.Nf3 Nf6 2.Nf3 Ng8 3.Ng1", NoPlyLimit, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.entry) + " / " + row.game);
        EcoTable table = TableOf({{"A00", "x", row.entry}});
        OpeningGame game = GameOf(row.game);
        EXPECT_EQ(EntryMatchesGame(table, 0, game, MatchMode::Exact, row.limit), row.exact);
        EXPECT_EQ(EntryMatchesGame(table, 0, game, MatchMode::Transposing, row.limit),
                  row.transposing);
    }
}

TEST(OpeningGame, EndsWhereTheGameEnds) {
    chess::MainLineMoves moves;
    moves.WhiteMoves[0] = chess::MoveText("e4");
    moves.BlackMoves[0] = chess::MoveText("e5");
    moves.WhiteMoves[1] = chess::MoveText("Nf3");
    moves.BlackMoves[1] = chess::MoveText("Nc6");
    // 2...Nc6 is left over from a longer game: a game of three half-moves does not hold it.
    EcoTable table = TableOf({{"C44", "x", "1.e4 e5 2.Nf3 Nc6"}});
    EXPECT_FALSE(EntryMatchesGame(table, 0, OpeningGame(moves, 3), MatchMode::Exact));
    EXPECT_FALSE(EntryMatchesGame(table, 0, OpeningGame(moves, 3), MatchMode::Transposing));
    EXPECT_TRUE(EntryMatchesGame(table, 0, OpeningGame(moves, 4), MatchMode::Exact));
}

// Lines that overlap, one reached by transposition, two of equal length.
const std::vector<test::TableRow> LineRows = {
    {"C20", "King's Pawn", "1.e4 e5"},                         // 0
    {"C40", "King's Knight", "1.e4 e5 2.Nf3"},                 // 1
    {"C44", "King's Knight, Nc6", "1.e4 e5 2.Nf3 Nc6"},        // 2
    {"C60", "Ruy Lopez", "1.e4 e5 2.Nf3 Nc6 3.Bb5"},           // 3
    {"C44", "Twin", "1.Nf3 Nc6 2.e4 e5"},                      // 4
    {"B00", "Early", "1.e4"},                                  // 5
    {"C68", "Exchange", "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Bxc6"},  // 6
};

TEST(FindOpening, PicksTheEntryEachModeNames) {
    const char* ruy = "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6";
    struct Row {
        const char* game;
        int half_moves;
        std::int32_t closest, number_of_moves, variation;
        int longest;
    } rows[] = {
        {ruy, 0, -1, -1, -1, 0},
        {ruy, 1, 5, 5, 5, 7},  // 1.e4 is a line's end
        {ruy, 3, 1, 1, 1, 7},
        {ruy, 4, 2, 2, 2, 7},  // two equal lines match: the earlier wins
        {"1.Nf3 Nc6 2.e4 e5", 4, 2, 2, 4, 7},
        {ruy, 5, 3, 3, 3, 7},
        {ruy, 6, 6, -1, -1, 7},  // inside the exchange line, past the Ruy Lopez's end
        {ruy, 8, 3, -1, -1, 5},  // beyond every line: the longest that matched
        {"1.d4 d5", 2, -1, -1, -1, 0},
        {"1.e4 c5 2.Nf3", 3, 5, -1, -1, 1},
    };
    EcoTable table = TableOf(LineRows);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.game) + " at " + std::to_string(row.half_moves));
        OpeningGame game = GameOf(row.game);
        Classification found = ClassifyPosition(table, game, row.half_moves);
        EXPECT_EQ(found.entry, row.closest);
        EXPECT_EQ(found.longest, row.longest);
        EXPECT_EQ(FindOpening(table, game, FindOpeningMode::ClosestMatch, row.half_moves),
                  row.closest);
        EXPECT_EQ(FindOpening(table, game, FindOpeningMode::ExactNumberOfMoves, row.half_moves),
                  row.number_of_moves);
        EXPECT_EQ(FindOpening(table, game, FindOpeningMode::ExactVariation, row.half_moves),
                  row.variation);
    }
}

TEST(OpeningDisplayText, NamesTheTagAtTheStartAndThePositionAfter) {
    EcoTable table = TableOf({
        {"C20", "Open", "1.e4 e5"},
        {"C20", "Open, Nf3", "1.e4 e5 2.Nf3"},
        {"C20", "Open, Bc4", "1.e4 e5 2.Bc4"},
        {"C20", "Open, Nf3 again", "1.Nf3 e5 2.e4"},
        {"C20", "Open, long", "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6"},
        {"C60", "Ruy Lopez", "1.e4 e5 2.Nf3 Nc6 3.Bb5"},
    });
    const char* ruy = "1.e4 e5 2.Nf3 Nc6 3.Bb5";
    struct Row {
        const char* game;
        const char* tag;
        int half_moves;
        std::string text;
    } rows[] = {
        // The run of C20 entries: the longest that matches and fits the game; later wins ties.
        {ruy, "C20", 0, "C20 Open, Nf3 again"},
        {ruy, "C20b", 0, "C20b Open, Nf3 again"},
        {"1.d4 d5", "C20", 0, "C20 Open"},
        {ruy, "A45", 0, "A45"},
        {ruy, "?", 0, ""},
        {ruy, "C20", 3, "C20 Open, Nf3"},
        {ruy, "C20", 4, "C20 Open, long"},
        {ruy, "C20", 5, "C60 Ruy Lopez"},
        {"1.e4 e5 2.Nf3 Nc6 3.Bb5 Nf6 4.O-O", "", 7, "C60 Ruy Lopez *"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.tag) + " at " + std::to_string(row.half_moves));
        EXPECT_EQ(OpeningDisplayText(table, GameOf(row.game), row.tag, row.half_moves), row.text);
    }
}

TEST(FitOpeningText, CutsAtASpaceAndAddsDots) {
    auto width = [](std::string_view text) { return static_cast<int>(text.size()); };
    struct Row {
        int width;
        const char* fitted;
    } rows[] = {{13, "C60 Ruy Lopez"}, {12, "C60 Ruy..."}, {7, "C60..."}, {2, "C6..."}};
    for (const Row& row : rows) {
        EXPECT_EQ(FitOpeningText("C60 Ruy Lopez", row.width, width), row.fitted) << row.width;
    }
}

TEST(FindOpeningCommand, ReportsWhyNothingIsShown) {
    EcoTable table = TableOf(LineRows);
    struct Row {
        const char* game;
        int move_number;
        bool black_moved, allowed;
        std::int32_t entry;
        std::string find_report, show_report;
    } rows[] = {
        {"1.e4", 1, false, false, -1, "Must be in Variation Edit or Analyze mode.", "B00 Early"},
        {"", 0, true, true, -1, "There are no moves to check.", "There are no moves to check."},
        {"1.d4", 1, false, true, -1, "No opening match was found.", "No opening match was found."},
        {"1.e4 e5 2.Nf3 Nc6", 2, true, true, 2, "", "C44 King's Knight, Nc6"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.game);
        const int half_moves = ShowOpeningHalfMoves(row.move_number, row.black_moved);
        RecordingUi find_ui;
        EXPECT_EQ(FindOpeningCommand(table, GameOf(row.game), FindOpeningMode::ClosestMatch,
                                     half_moves, row.allowed, find_ui),
                  row.entry);
        EXPECT_EQ(find_ui.reports, row.find_report.empty() ? std::vector<std::string>{}
                                                           : std::vector{row.find_report});
        RecordingUi show_ui;
        (void)ShowOpening(table, GameOf(row.game), half_moves, show_ui);
        EXPECT_EQ(show_ui.reports, std::vector{row.show_report});
    }
}

// Carlsen - Morozevich, Biel 2011: a Zukertort move order reaching the Queen's Gambit, named by
// the shipped table. Each expected line was checked by hand against the table's moves.
TEST(ClassifyPosition, FollowsARealGameThroughTranspositions) {
    EcoTable table;
    RecordingUi ui;
    ASSERT_TRUE(LoadEcoTable(EcoTableFilesIn(QORVALE_DATA_DIR), table, ui).ok());
    OpeningGame game = GameOf("1.Nf3 d5 2.d4 Nf6 3.c4 e6 4.Nc3 dxc4 5.e4 Bb4 6.Bg5 c5");
    struct Row {
        int half_moves;
        std::string display, exact_number_of_moves, exact_variation;
    } rows[] = {
        {1, "A04 Zukertort Opening", "A04 Zukertort Opening", "A04 Zukertort Opening"},
        {4, "D02 Queen's Pawn Game: Symmetrical Variation",  // 1.d4 d5 2.Nf3 Nf6
         "D02 Queen's Pawn Game: Symmetrical Variation", ""},
        {7,
         "D37 Queen's Gambit Declined: Three Knights Variation",  // 1.d4 d5 2.c4 e6 3.Nc3 Nf6 4.Nf3
         "D37 Queen's Gambit Declined: Three Knights Variation", ""},
        {8, "D37 Queen's Gambit Declined: Three Knights, Vienna Variation",  // ...4.Nc3 dxc4
         "D37 Queen's Gambit Declined: Three Knights, Vienna Variation", ""},
        {9, "D24 Queen's Gambit Accepted", "D24 Queen's Gambit Accepted",
         ""},  // ...4.Nc3 dxc4 5.e4
        {10, "D24 Queen's Gambit Accepted *", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.half_moves);
        EXPECT_EQ(OpeningDisplayText(table, game, "", row.half_moves), row.display);
        auto named = [&](FindOpeningMode mode) {
            std::int32_t entry = FindOpening(table, game, mode, row.half_moves);
            return entry < 0 ? std::string() : CodeAndName(table, entry);
        };
        EXPECT_EQ(named(FindOpeningMode::ExactNumberOfMoves), row.exact_number_of_moves);
        EXPECT_EQ(named(FindOpeningMode::ExactVariation), row.exact_variation);
    }
}

}  // namespace
}  // namespace qorvale::openings
