#include "search/position_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "search/fast_file_reader.h"
#include "search_file_fixture.h"
#include "support/pgn_extract.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

chess::Board64 BoardFromFen(std::string_view placement) {
    chess::ChessState chess;
    std::string line = "[FEN \"" + std::string(placement) + " w - - 0 1\"]";
    chess.ParseFenPlacement(line);
    return chess::ToBoard64(chess.FenStartBoard());
}

PositionCriteria Entries(std::initializer_list<const char*> white,
                         std::initializer_list<const char*> black) {
    PositionCriteria criteria;
    std::size_t index = 0;
    for (const char* entry : white) criteria.White[index++].Assign(entry);
    index = 0;
    for (const char* entry : black) criteria.Black[index++].Assign(entry);
    return criteria;
}

constexpr const char* Start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
constexpr const char* Castled = "6k1/5ppp/8/8/8/8/5PPP/R5K1";
// White: 7 pawns, no knights; Black: 8 pawns, two knights.
constexpr const char* Lopsided = "r1bqkb1r/pppppppp/2n2n2/8/8/8/PPPPPPP1/R1BQKB1R";

TEST(PositionTests, PieceAndCountEntries) {
    struct Row {
        const char* name;
        PositionCriteria criteria;
        const char* placement;
        bool holds;
    };
    const Row rows[] = {
        {"kings castled, start", Entries({"Kg1"}, {"Kg8"}), Start, false},
        {"kings castled", Entries({"Kg1"}, {"Kg8"}), Castled, true},
        {"white king only", Entries({"Kg1"}, {}), Castled, true},
        {"black piece of the black list", Entries({}, {"Ke8", "Nb8"}), Start, true},
        {"black list names black pieces", Entries({}, {"Ke1"}), Start, false},
        {"pawn by square", Entries({"f2", "h2"}, {"g7"}), Castled, true},
        {"pawn missing", Entries({"e2"}, {}), Castled, false},
        {"pawn count equal", Entries({"=3"}, {"=3"}), Castled, true},
        {"pawn count fewer", Entries({"<3"}, {}), Castled, false},
        {"pawn count more", Entries({">2"}, {}), Castled, true},
        {"eight pawns by White only", Entries({"=8"}, {}), Lopsided, false},
        {"eight pawns by either side", Entries({"=8"}, {"*"}), Lopsided, true},
        {"black's * does not help black", Entries({}, {"=7", "*"}), Lopsided, false},
        {"piece counts", Entries({"R=1", "Q=0", "B<1", "N<1"}, {}), Castled, true},
        {"queen count fails", Entries({"Q>0"}, {}), Castled, false},
        {"knights by White only", Entries({"N=2"}, {}), Lopsided, false},
        {"knights by either side", Entries({"N=2"}, {"N*"}), Lopsided, true},
        {"unknown piece letter never holds", Entries({"Pe2"}, {}), Start, false},
        {"unknown piece with a good entry", Entries({"Ke1", "Xe4"}, {}), Start, false},
        {"no entries hold everywhere", Entries({}, {}), Start, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PositionTests tests(row.criteria);
        chess::Board64 board = BoardFromFen(row.placement);
        EXPECT_EQ(tests.Holds(board, 0), row.holds);
        // The same answer from the words of a position history.
        std::array<std::uint32_t, 64> words{};
        for (std::size_t i = 0; i < 64; ++i) words[i] = board[i];
        EXPECT_EQ(tests.Holds(words, 0), row.holds);
    }
}

// The entries written for a board find that board and nothing with a piece missing, on the final
// positions of real games as pgn-extract plays them.
TEST(PositionTests, EntriesOfABoardFindExactlyItsPieces) {
    if (!test::HavePgnExtract()) GTEST_SKIP() << "pgn-extract is not installed";
    const auto games = test::ReplayWithPgnExtract(test::TestDataPath("search/players.pgn"));
    ASSERT_GT(games.size(), 10u);
    for (const test::ReplayedGame& game : games) {
        if (game.placement.empty()) continue;
        SCOPED_TRACE(game.placement);
        const chess::Board64 compact = BoardFromFen(game.placement);
        const PositionEntryText text = PositionEntriesOf(chess::FromBoard64(compact));
        PositionCriteria criteria;
        ASSERT_TRUE(ParsePositionEntries(text.white, text.black, criteria).ok());
        const PositionTests tests(criteria);
        EXPECT_TRUE(tests.Holds(std::span<const std::uint8_t, 64>(compact), 0));
        for (std::size_t square = 0; square < compact.size(); ++square) {
            if (compact[square] == chess::Empty) continue;
            chess::Board64 without = compact;
            without[square] = chess::Empty;
            EXPECT_FALSE(tests.Holds(std::span<const std::uint8_t, 64>(without), 0)) << square;
        }
    }
}

TEST(PositionTests, MoveNumberFilterIsAppliedLast) {
    PositionTests tests(Entries({"Kg1"}, {}), ParseMoveNumberFilter("10-12"));
    chess::Board64 board = BoardFromFen(Castled);
    EXPECT_FALSE(tests.Holds(board, 18));  // move 9
    EXPECT_TRUE(tests.Holds(board, 19));   // move 10
    EXPECT_TRUE(tests.Holds(board, 24));
    EXPECT_FALSE(tests.Holds(board, 25));
}

class PositionSearchFile : public SearchFileTest {
  protected:
    void SetUp() override { Open("search/crafted.pgn"); }

    // game number and half-move of each found game.
    std::vector<std::pair<std::int32_t, std::int32_t>> Found(const PositionCriteria& position,
                                                             std::string_view filter = {}) {
        SearchCriteria criteria;
        criteria.position = position;
        criteria.move_number = ParseMoveNumberFilter(filter);
        SearchList list;
        SearchPosition(source_, criteria, list, ui_);
        std::vector<std::pair<std::int32_t, std::int32_t>> found;
        for (const FoundGame& game : list.Games()) {
            found.emplace_back(game.game_number, game.half_move);
        }
        return found;
    }
};

TEST_P(PositionSearchFile, FindsTheFirstHalfMoveOfEachGame) {
    using Games = std::vector<std::pair<std::int32_t, std::int32_t>>;
    // The FEN game (8) starts with both kings castled; the fast file replays its moves from the
    // standard position instead.
    const bool fast = GetParam();
    struct Row {
        const char* name;
        PositionCriteria position;
        const char* filter;
        Games expected;
    };
    const Row rows[] = {
        {"castled kings", Entries({"Kg1"}, {"Kg8"}), "",
         fast ? Games{{4, 16}, {5, 14}} : Games{{4, 16}, {5, 14}, {8, 0}}},
        {"castled kings from move 8", Entries({"Kg1"}, {"Kg8"}), ">=8", {{4, 16}, {5, 15}}},
        {"bishop pins the knight", Entries({"Bb5"}, {"Nc6"}), "", {{4, 5}, {5, 5}}},
        {"bishop on b5 against a6", Entries({"Bb5"}, {"a6"}), "", {{4, 6}, {5, 6}}},
        // Game 2 reaches it at once with d5; games 3 and 7 when the knight returns.
        {"knight on g1 with a black pawn on d5",
         Entries({"Ng1"}, {"d5"}),
         "",
         {{2, 6}, {3, 3}, {7, 3}}},
        // Game 6 has d4 on the board only in move 1 and ends there.
        {"pawn on d4 in move 2", Entries({"d4"}, {}), "2", {{1, 3}, {2, 3}}},
        // The start position has eight pawns each.
        {"eight pawns by either side", Entries({"=8"}, {"*"}), "",
         fast ? Games{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}}
              : Games{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Found(row.position, row.filter), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(TextAndFastFile, PositionSearchFile, ::testing::Bool(), PathName);

}  // namespace
}  // namespace qorvale::search
