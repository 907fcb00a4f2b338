#include "app/setup_position.h"

#include <gtest/gtest.h>

#include "app/edit_messages.h"
#include "chess/messages.h"
#include "support/recording_ui.h"

namespace qorvale::app {
namespace {

TEST(SetupPosition, ReadsAndWritesFen) {
    struct Row {
        const char* name;
        const char* text;
        const char* fen;  // nullptr: refused
    } rows[] = {
        {"a whole FEN", "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
         "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 0 3"},
        {"the placement alone", "8/8/8/8/8/8/8/K6k", "8/8/8/8/8/8/8/K6k w - - 0 1"},
        {"the program's clipboard form", "8/8/8/8/8/8/8/K6k+b", "8/8/8/8/8/8/8/K6k b - - 0 1"},
        {"rights whose pieces are not at home are left out", "4k3/8/8/8/8/8/8/R3K3 w KQkq - 0 9",
         "4k3/8/8/8/8/8/8/R3K3 w Q - 0 9"},
        {"an en-passant square without its pawn is left out", "4k3/8/8/8/8/8/8/4K3 b - e3 0 9",
         "4k3/8/8/8/8/8/8/4K3 b - - 0 9"},
        {"en passant on the side's own rank", "4k3/8/8/8/4P3/8/8/4K3 b - e3 0 9",
         "4k3/8/8/8/4P3/8/8/4K3 b - e3 0 9"},
        {"en passant on the wrong rank", "4k3/8/8/8/4P3/8/8/4K3 w - e3 0 9", nullptr},
        {"a rank of nine squares", "9/8/8/8/8/8/8/K6k w - - 0 1", nullptr},
        {"seven ranks", "8/8/8/8/8/8/K6k w - - 0 1", nullptr},
        {"a letter that is no piece", "8/8/8/8/8/8/8/K6x w - - 0 1", nullptr},
        {"a side that is neither", "8/8/8/8/8/8/8/K6k x - - 0 1", nullptr},
        {"a move number that is no number", "8/8/8/8/8/8/8/K6k w - - 0 one", nullptr},
        {"empty", "", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetupPosition setup;
        const std::string before = setup.Fen();
        Error error = setup.SetFromFen(row.text);
        if (row.fen == nullptr) {
            EXPECT_EQ(error.message(), InvalidFenText);
            EXPECT_EQ(setup.Fen(), before);
        } else {
            ASSERT_TRUE(error.ok());
            EXPECT_EQ(setup.Fen(), row.fen);
        }
    }
}

TEST(SetupPosition, EditingAndTheChecks) {
    SetupPosition setup;
    setup.Clear();
    test::RecordingUi ui;
    EXPECT_FALSE(setup.Validate(ui));
    setup.Place(5, 1, chess::King);
    setup.Place(5, 8, chess::King + chess::BlackOffset);
    setup.Place(3, 1, chess::Bishop);
    setup.Place(7, 3, chess::Bishop);
    EXPECT_FALSE(setup.Validate(ui));
    // Dragged to the other colour, the second bishop is fine; dragged off, it is gone.
    setup.MovePiece(7, 3, 6, 1);
    EXPECT_TRUE(setup.Validate(ui));
    setup.MovePiece(6, 1, 0, 0);
    EXPECT_EQ(setup.PieceAt(6, 1), 0u);
    EXPECT_EQ(ui.reports,
              (std::vector<std::string>{std::string(chess::messages::PlaceBothKings),
                                        std::string(chess::messages::BishopsSameColour)}));
    // The clipboard text reads back as the same position.
    ui.answers = {false};
    SetupPosition copied;
    ASSERT_TRUE(copied.SetFromFen(setup.ClipboardText(ui)).ok());
    EXPECT_EQ(copied.Board(), setup.Board());
    EXPECT_EQ(copied.SideToMove(), chess::Side::Black);
}

}  // namespace
}  // namespace qorvale::app
