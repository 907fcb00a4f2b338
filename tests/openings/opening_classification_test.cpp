#include "openings/opening_classification.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eco_test_table.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::openings {
namespace {

using qorvale::test::RecordingUi;
using qorvale::test::TestDataPath;
using test::GameOf;
using test::TableOf;

constexpr FindOpeningMode Closest = FindOpeningMode::ClosestMatch;
constexpr FindOpeningMode NumberOfMoves = FindOpeningMode::ExactNumberOfMoves;
constexpr FindOpeningMode Variation = FindOpeningMode::ExactVariation;

TEST(EntryMatchesGame, ComparesByModeAndPlyLimit) {
    struct Row {
        const char* name;
        const char* entry;
        const char* game;
        int limit;
        bool exact;
        bool transposing;
    } rows[] = {
        {"same moves", "1.e4 e5 2.Nf3", "1.e4 e5 2.Nf3 Nc6", NoPlyLimit, true, true},
        {"transposed", "1.d4 d5 2.Nf3", "1.Nf3 d5 2.d4", NoPlyLimit, false, true},
        {"black transposed", "1.c4 g6 2.Nc3 Bg7", "1.c4 Bg7 2.Nc3 g6", NoPlyLimit, false, true},
        {"check mark in entry", "1.e4 c5 2.Nf3 d6 3.Bb5+", "1.e4 c5 2.Nf3 d6 3.Bb5", NoPlyLimit,
         false, true},
        {"check mark in game", "1.e4 c5 2.Nf3 d6 3.Bb5", "1.e4 c5 2.Nf3 d6 3.Bb5+", NoPlyLimit,
         false, true},
        {"check marks on both", "1.e4 c5 2.Nf3 d6 3.Bb5+", "1.e4 c5 2.Nf3 d6 3.Bb5+", NoPlyLimit,
         true, true},
        {"entry longer than game", "1.e4 e5 2.Nf3", "1.e4 e5", NoPlyLimit, false, false},
        {"move outside the entry's span", "1.e4 e5 2.Nf3", "1.e4 e5 2.Bc4 Nc6 3.Nf3", NoPlyLimit,
         false, false},
        {"different move", "1.e4 e5 2.Nf3 Nc6", "1.e4 e5 2.Nf3 Nf6", NoPlyLimit, false, false},
        {"limit cuts the difference", "1.e4 e5 2.Nf3 Nc6", "1.e4 e5 2.Nf3 Nf6", 3, true, true},
        {"limit of one ply", "1.e4 e5 2.Nf3 Nc6", "1.e4 c5", 1, true, true},
        {"limit reaches the difference", "1.e4 e5 2.Nf3 Nc6", "1.e4 e5 2.Bc4", 3, false, false},
        {"limit zero compares nothing", "1.d4", "1.e4", 0, true, true},
        // A knight out and back: the entry's repeated Nf3 must be repeated in the game too.
        {"repeat matched", "1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", "1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", NoPlyLimit,
         true, true},
        {"repeat missing", "1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", "1.Nf3 Nf6 2.Nc3 Ng8 3.Ng1", NoPlyLimit,
         false, false},
        {"repeat in another order", "1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3", "1.Nf3 Nf6 2.Nf3 Ng8 3.Ng1",
         NoPlyLimit, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
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
    moves.BlackMoves[1] = chess::MoveText("Nc6");  // left over from a longer game
    EcoTable table = TableOf({{"C44", "x", "1.e4 e5 2.Nf3 Nc6"}});
    EXPECT_FALSE(EntryMatchesGame(table, 0, OpeningGame(moves, 3), MatchMode::Exact));
    EXPECT_FALSE(EntryMatchesGame(table, 0, OpeningGame(moves, 3), MatchMode::Transposing));
    EXPECT_TRUE(EntryMatchesGame(table, 0, OpeningGame(moves, 4), MatchMode::Transposing));
}

// A small table in which lines overlap, one is reached by transposition and two are equal.
const std::vector<test::TableRow> LineRows = {
    {"C20", "King's Pawn", "1.e4 e5"},                         // 0
    {"C40", "King's Knight", "1.e4 e5 2.Nf3"},                 // 1
    {"C44", "King's Knight, Nc6", "1.e4 e5 2.Nf3 Nc6"},        // 2
    {"C60", "Ruy Lopez", "1.e4 e5 2.Nf3 Nc6 3.Bb5"},           // 3
    {"C44", "Twin earlier", "1.Nf3 Nc6 2.e4 e5"},              // 4: 2 by transposition
    {"B00", "Early", "1.e4"},                                  // 5
    {"C68", "Exchange", "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Bxc6"},  // 6
};

TEST(FindOpening, PicksTheEntryEachModeNames) {
    struct Row {
        const char* name;
        const char* game;
        int half_moves;
        std::int32_t closest;
        std::int32_t number_of_moves;
        std::int32_t variation;
    } rows[] = {
        {"no moves", "", 0, -1, -1, -1},
        {"first move", "1.e4", 1, 5, 5, 5},
        {"at a line's end", "1.e4 e5 2.Nf3", 3, 1, 1, 1},
        // Equal length, both match: the earlier entry wins; exact finds only the one written so.
        {"equal entries", "1.e4 e5 2.Nf3 Nc6", 4, 2, 2, 2},
        {"transposed order", "1.Nf3 Nc6 2.e4 e5", 4, 2, 2, 4},
        // Inside a longer line: the longest line through the position is named.
        {"inside a line", "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6", 5, 3, 3, 3},
        {"between lines", "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4", 6, 6, -1, -1},
        {"beyond every line", "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6", 8, 3, -1, -1},
        {"left at once", "1.d4 d5", 2, -1, -1, -1},
        {"left after a line", "1.e4 c5 2.Nf3", 3, 5, -1, -1},
    };
    EcoTable table = TableOf(LineRows);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpeningGame game = GameOf(row.game);
        EXPECT_EQ(FindOpening(table, game, Closest, row.half_moves), row.closest);
        EXPECT_EQ(FindOpening(table, game, NumberOfMoves, row.half_moves), row.number_of_moves);
        EXPECT_EQ(FindOpening(table, game, Variation, row.half_moves), row.variation);
    }
}

TEST(ClassifyPosition, GivesTheLongestCandidateLength) {
    EcoTable table = TableOf(LineRows);
    OpeningGame game = GameOf("1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6");
    struct Row {
        int half_moves;
        std::int32_t entry;
        int longest;
    } rows[] = {
        {0, -1, 0}, {1, 5, 7},  // 1.e4 is a line of its own: the position is at its end
        {2, 0, 7},  {3, 1, 7},
        {5, 3, 7},  {6, 6, 7},  // inside the exchange line, past the Ruy Lopez's end
        {7, 3, 5},              // 4.Ba4 left the exchange line
        {8, 3, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.half_moves);
        Classification found = ClassifyPosition(table, game, row.half_moves);
        EXPECT_EQ(found.entry, row.entry);
        EXPECT_EQ(found.longest, row.longest);
    }
}

TEST(OpeningDisplayText, NamesTheTagAtTheStartAndThePositionAfter) {
    const std::vector<test::TableRow> rows_with_runs = {
        {"C20", "Open", "1.e4 e5"},
        {"C20", "Open, Nf3", "1.e4 e5 2.Nf3"},
        {"C20", "Open, Bc4", "1.e4 e5 2.Bc4"},
        {"C20", "Open, Nf3 again", "1.Nf3 e5 2.e4"},
        {"C20", "Open, long", "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6"},
        {"C60", "Ruy Lopez", "1.e4 e5 2.Nf3 Nc6 3.Bb5"},
    };
    EcoTable table = TableOf(rows_with_runs);
    const char* ruy = "1.e4 e5 2.Nf3 Nc6 3.Bb5";
    struct Row {
        const char* name;
        const char* game;
        const char* tag;
        int half_moves;
        std::string text;
    } rows[] = {
        // The run of C20: the longest that matches and is no longer than the game; of two equal
        // ones the later.
        {"tag run", ruy, "C20", 0, "C20 Open, Nf3 again"},
        {"tag text kept whole", ruy, "C20b", 0, "C20b Open, Nf3 again"},
        {"tag without a matching entry", "1.d4 d5", "C20", 0, "C20 Open"},
        {"tag not in table", ruy, "A45", 0, "A45"},
        {"unknown tag", ruy, "?", 0, ""},
        {"no tag", ruy, "", 0, ""},
        {"after the start", ruy, "C20", 3, "C20 Open, Nf3"},
        {"inside a longer line", ruy, "C20", 4, "C20 Open, long"},
        {"at a line's end", ruy, "C20", 5, "C60 Ruy Lopez"},
        {"left every line", "1.e4 e5 2.Nf3 Nc6 3.Bb5 Nf6 4.O-O", "", 7, "C60 Ruy Lopez *"},
        {"never in the table", "1.d4 d5", "", 2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(OpeningDisplayText(table, GameOf(row.game), row.tag, row.half_moves), row.text);
    }
}

TEST(FitOpeningText, CutsAtASpaceAndAddsDots) {
    auto width = [](std::string_view text) { return static_cast<int>(text.size()); };
    struct Row {
        const char* text;
        int width;
        const char* fitted;
    } rows[] = {
        {"C60 Ruy Lopez", 20, "C60 Ruy Lopez"},
        {"C60 Ruy Lopez", 13, "C60 Ruy Lopez"},
        {"C60 Ruy Lopez", 12, "C60 Ruy..."},
        {"C60 Ruy Lopez", 8, "C60 Ruy..."},
        {"C60 Ruy Lopez", 7, "C60..."},
        {"C60 Ruy Lopez", 6, "C60..."},
        {"C60Ruy", 4, "C60R..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.width);
        EXPECT_EQ(FitOpeningText(row.text, row.width, width), row.fitted);
    }
}

TEST(FindOpeningCommand, ReportsWhyNothingIsShown) {
    EcoTable table = TableOf(LineRows);
    struct Row {
        const char* name;
        const char* game;
        int half_moves;
        bool allowed;
        std::int32_t entry;
        std::vector<std::string> reports;
    } rows[] = {
        {"wrong mode", "1.e4", 1, false, -1, {"Must be in Variation Edit or Analyze mode."}},
        {"no moves", "", 0, true, -1, {"There are no moves to check."}},
        {"no match", "1.d4", 1, true, -1, {"No opening match was found."}},
        {"found", "1.e4 e5", 2, true, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingUi ui;
        EXPECT_EQ(
            FindOpeningCommand(table, GameOf(row.game), Closest, row.half_moves, row.allowed, ui),
            row.entry);
        EXPECT_EQ(ui.reports, row.reports);
    }
}

TEST(ShowOpening, ReportsCodeAndNameOfThePosition) {
    EcoTable table = TableOf(LineRows);
    OpeningGame game = GameOf("1.e4 e5 2.Nf3 Nc6 3.Bb5");
    struct Row {
        int move_number;
        bool black_moved;
        std::string report;
    } rows[] = {
        {0, true, "There are no moves to check."},
        {1, false, "B00 Early"},
        {2, false, "C40 King's Knight"},
        {2, true, "C44 King's Knight, Nc6"},
        {3, false, "C60 Ruy Lopez"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.report);
        RecordingUi ui;
        (void)ShowOpening(table, game, ShowOpeningHalfMoves(row.move_number, row.black_moved), ui);
        EXPECT_EQ(ui.reports, std::vector<std::string>{row.report});
    }
    RecordingUi ui;
    EXPECT_EQ(ShowOpening(table, GameOf("1.d4"), 1, ui), -1);
    EXPECT_EQ(ui.reports, std::vector<std::string>{"No opening match was found."});
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
        std::string display;
        std::string exact_number_of_moves;
        std::string exact_variation = "";
    } rows[] = {
        {1, "A04 Zukertort Opening", "A04 Zukertort Opening", "A04 Zukertort Opening"},
        // 1.d4 d5 2.Nf3 Nf6 in the table.
        {4, "D02 Queen's Pawn Game: Symmetrical Variation",
         "D02 Queen's Pawn Game: Symmetrical Variation"},
        // 1.d4 d5 2.c4 e6 3.Nc3 Nf6 4.Nf3.
        {7, "D37 Queen's Gambit Declined: Three Knights Variation",
         "D37 Queen's Gambit Declined: Three Knights Variation"},
        // 1.d4 Nf6 2.c4 e6 3.Nf3 d5 4.Nc3 dxc4.
        {8, "D37 Queen's Gambit Declined: Three Knights, Vienna Variation",
         "D37 Queen's Gambit Declined: Three Knights, Vienna Variation"},
        // 1.d4 d5 2.c4 e6 3.Nf3 Nf6 4.Nc3 dxc4 5.e4, then no line goes on.
        {9, "D24 Queen's Gambit Accepted", "D24 Queen's Gambit Accepted"},
        {10, "D24 Queen's Gambit Accepted *", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.half_moves);
        EXPECT_EQ(OpeningDisplayText(table, game, "", row.half_moves), row.display);
        std::int32_t entry = FindOpening(table, game, NumberOfMoves, row.half_moves);
        EXPECT_EQ(entry < 0 ? "" : CodeAndName(table, entry), row.exact_number_of_moves);
        // Beyond the first move no line is written in the game's own move order.
        entry = FindOpening(table, game, Variation, row.half_moves);
        EXPECT_EQ(entry < 0 ? "" : CodeAndName(table, entry), row.exact_variation);
    }
}

}  // namespace
}  // namespace qorvale::openings
