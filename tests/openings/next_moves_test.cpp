#include "openings/next_moves.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/bytes.h"

namespace qorvale::openings {
namespace {

// Offers a game of `codes` (any 16-bit values: the scan compares, it does not play).
bool Offer(NextMoveScan& scan, const std::vector<search::MoveCode>& codes, int result,
           std::int32_t number) {
    std::vector<std::uint8_t> bytes;
    for (search::MoveCode code : codes) AppendU16(bytes, code);
    return scan.Offer(bytes.data(), codes.size(), result, number);
}

TEST(NextMoveScan, TranspositionsFollowTheRepeatRule) {
    enum : search::MoveCode { A = 0x0A01, B = 0x0B02, C = 0x0C03, X = 0x0D04, Y = 0x0E05 };
    struct Case {
        const char* name;
        std::vector<search::MoveCode> line;
        std::vector<search::MoveCode> game;  // one more half-move than the line: the next move
        bool exact_matches;
        bool transposed_matches;
    };
    const std::vector<Case> cases = {
        {"same order", {A, X, B}, {A, X, B, Y}, true, true},
        {"White's moves swapped", {A, X, B, Y}, {B, X, A, Y, C}, false, true},
        {"a colour's move missing", {A, X, B, Y}, {A, X, C, Y, B}, false, false},
        {"a move of the other colour", {A, X, B}, {A, B, X, Y}, false, false},
        // White's line A B A: A again two moves later, which the game must repeat as often.
        {"repeat where the line has it", {A, X, B, Y, A}, {B, X, A, Y, A, C}, false, true},
        {"repeat too early", {A, X, B, Y, A}, {A, X, A, Y, B, C}, false, false},
        {"no repeat", {A, X, B, Y, A}, {A, X, B, Y, C, C}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool exact : {true, false}) {
            NextMoveScan scan(c.line, ScanSettings{exact, 0, 0});
            Offer(scan, c.game, search::WhiteWon, 1);
            EXPECT_EQ(scan.Moves().size(),
                      (exact ? c.exact_matches : c.transposed_matches) ? 1u : 0u)
                << (exact ? "exact" : "transposing");
        }
    }
}

TEST(NextMoveScan, StopsAtAThousandMoves) {
    NextMoveScan many({}, ScanSettings{});
    int offered = 0;
    for (search::MoveCode code = 1; code <= 1200; ++code) {
        ++offered;
        if (!Offer(many, {code}, search::OtherResult, offered)) break;
    }
    EXPECT_EQ(offered, static_cast<int>(MaxNextMoves));
    EXPECT_EQ(many.Moves().size(), MaxNextMoves);
}

TEST(NextMoveScan, LookAheadCountsEachLaterMoveOfTheSide) {
    // After White's first move, Black's next three moves: b1, b2 and b1 again.
    const std::vector<search::MoveCode> line = {0x0101};
    NextMoveScan scan(line, ScanSettings{false, 3, 0});
    Offer(scan, {0x0101, 0x0B01, 0x0102, 0x0B02, 0x0103, 0x0B01, 0x0104}, search::WhiteWon, 1);
    ASSERT_EQ(scan.Moves().size(), 2u);
    EXPECT_EQ(scan.Moves()[0].code, 0x0B01);
    EXPECT_EQ(scan.Moves()[0].games, 2u);
    EXPECT_EQ(scan.Moves()[1].ply, 3);
    EXPECT_EQ(scan.Moves()[1].lead.size(), 3u);
}

}  // namespace
}  // namespace qorvale::openings
