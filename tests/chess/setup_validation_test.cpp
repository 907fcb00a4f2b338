#include "chess/setup_validation.h"

#include <gtest/gtest.h>

#include "chess/fen.h"
#include "chess/messages.h"
#include "support/recording_ui.h"

namespace qorvale::chess {
namespace {

TEST(ValidateSetupPosition, ReportsTheFirstFailingRule) {
    struct Row {
        const char* name;
        std::string_view placement;
        std::string_view message;  // empty: accepted
    };
    const Row rows[] = {
        {"start position", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", ""},
        {"bishops on both colours", "4k3/8/8/8/8/8/8/2B1KB2", ""},
        {"bishops on one colour", "4k3/8/8/8/8/4B3/8/2B1K3", messages::BishopsSameColour},
        {"black bishops on both colours", "2b1kb2/8/8/8/8/8/8/4K3", ""},
        {"black bishops on one colour", "2b1k3/8/4b3/8/8/8/8/4K3", messages::BishopsSameColour},
        {"bishop colour before a missing king", "8/8/8/8/8/4B3/8/2B5", messages::BishopsSameColour},
        {"three bishops, first two differ", "4k3/8/8/8/8/8/8/2BBKB2", messages::TooManyBishops},
        {"four knights before a missing king", "8/8/8/8/8/8/8/nnnn4", messages::TooManyKnights},
        {"three of each piece pass", "4k3/8/8/8/8/8/QQQ5/RRRKNNN1", ""},
        {"four rooks", "4k3/8/8/8/8/8/8/RRRRK3", messages::TooManyRooks},
        {"four knights and four rooks", "4k3/8/8/8/8/8/NNNN4/RRRRK3", messages::TooManyKnights},
        {"four queens", "4k3/8/8/8/8/8/8/QQQQK3", messages::TooManyQueens},
        {"empty board", "8/8/8/8/8/8/8/8", messages::PlaceBothKings},
        {"black king missing", "8/8/8/8/8/8/8/4K3", messages::PlaceBothKings},
        {"two white kings", "4k3/8/8/8/8/8/8/3KK3", messages::MultipleKings},
        {"pawns on the back rank pass", "P3k3/8/8/8/8/8/8/p3K3", ""},
        {"kings side by side pass", "8/8/8/8/8/8/8/3Kk3", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qorvale::test::RecordingUi ui;
        int result = ValidateSetupPosition(ReadPlacement(row.placement), ui);
        EXPECT_EQ(result, row.message.empty() ? 1 : 0);
        if (row.message.empty()) {
            EXPECT_TRUE(ui.reports.empty());
        } else {
            EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(row.message)});
        }
    }
}

TEST(ValidateEnginePositionInfo, ChecksTheEnPassantField) {
    struct Row {
        const char* name;
        bool black_to_move;
        const char* square;
        std::string_view message;
    };
    const Row rows[] = {
        {"empty field", true, "", ""},
        {"white pawn passed", true, "e4", ""},
        {"black pawn passed", false, "d5", ""},
        {"square behind the pawn", true, "e3", messages::WhitePawnFourthRank},
        {"wrong rank for white to move", false, "d4", messages::BlackPawnFifthRank},
        {"file off the board", true, "i4", messages::EnPassantSquareRange},
        {"upper case file", true, "E4", messages::EnPassantSquareRange},
        {"three characters", true, "e4 ", messages::EnPassantSquareRange},
        {"rank nine", false, "a9", messages::EnPassantSquareRange},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qorvale::test::RecordingUi ui;
        EnginePositionInfo entered;
        entered.black_to_move = row.black_to_move;
        entered.white_castle_king = true;
        entered.en_passant = row.square;
        EnginePositionInfo stored;
        int result = ValidateEnginePositionInfo(entered, stored, ui);
        EXPECT_EQ(result, row.message.empty() ? 1 : 0);
        EXPECT_EQ(stored.white_castle_king, row.message.empty());
        EXPECT_EQ(ui.reports.size(), row.message.empty() ? 0u : 1u);
        if (!row.message.empty() && !ui.reports.empty()) {
            EXPECT_EQ(ui.reports[0], row.message);
        }
    }
}

}  // namespace
}  // namespace qorvale::chess
