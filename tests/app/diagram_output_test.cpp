// The board options as a diagram style, and the positions, marks and captions of a game's
// series as the window and the tool take them.
#include "app/diagram_output.h"

#include <gtest/gtest.h>

#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using output::DiagramLayout;

TEST(DiagramOutput, StyleFollowsTheBoardOptions) {
    struct Row {
        const char* name;
        int coordinates, board_size, highlight, piece_style, wood_board;
        bool board_colours;
        DiagramLayout layout;
        bool files_below;
        int marker_width;
        bool wood;
    };
    const Row rows[] = {
        {"files above", 1, 0, 1, 2, 0, true, DiagramLayout::Coordinates, false, 1, false},
        {"no coordinates", 0, 2, 0, 2, 0, true, DiagramLayout::Plain, false, 1, false},
        {"files below, large board", 2, 2, 0, 2, 0, false, DiagramLayout::LargeFrame, true, 1,
         false},
        {"thick highlight", 1, 1, 2, 2, 0, true, DiagramLayout::Coordinates, false, 2, false},
        {"thickest highlight", 1, 1, 4, 2, 0, true, DiagramLayout::Coordinates, false, 2, false},
        {"Mod Wood", 1, 0, 0, 8, 0, true, DiagramLayout::Coordinates, false, 1, true},
        {"Classic on the wooden board", 1, 0, 0, 4, 1, true, DiagramLayout::Coordinates, false, 1,
         true},
        {"Mod Blue never on wood", 1, 0, 0, 7, 1, true, DiagramLayout::Coordinates, false, 1,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OptionsRecord options;
        options.CoordinatesMode = row.coordinates;
        options.BoardSize = row.board_size;
        options.HighlightLastMove = row.highlight;
        options.PieceStyle = row.piece_style;
        options.WoodBoard = row.wood_board;
        options.BorderWidth = 3;
        options.DarkSquareColour = 0x112233;
        options.HighlightColour = 0x00FFFF;
        const output::DiagramStyle style = DiagramStyleFor(options, row.board_colours, true, 60);
        EXPECT_EQ(style.layout, row.layout);
        EXPECT_EQ(style.files_below, row.files_below);
        EXPECT_EQ(style.marker_width, row.marker_width);
        EXPECT_EQ(style.wood, row.wood);
        EXPECT_EQ(style.border_width, 4);
        EXPECT_TRUE(style.flipped && style.cell_size == 60);
        const output::DiagramColours defaults;
        EXPECT_EQ(style.colours.dark,
                  (row.board_colours ? output::Rgb{0x33, 0x22, 0x11} : defaults.dark));
        EXPECT_EQ(style.colours.marker,
                  (row.board_colours ? output::Rgb{0xFF, 0xFF, 0} : defaults.marker));
    }
}

TEST(DiagramOutput, SeriesOfAGameBlackBegins) {
    test::TempDir dir;
    test::RecordingUi ui;
    pgn::PgnFile file;
    ASSERT_FALSE(file.Open(dir.CopyData("lines/black2move.pgn", "game.pgn")));
    ASSERT_EQ(file.ScanGameFile(false, ui), 1);
    pgn::HeaderTags header;
    pgn::GameLines lines;
    chess::ChessState chess;
    Result<int> plies = pgn::OpenGameForDisplay(file, 1, header, lines, chess, ui);
    ASSERT_EQ(plies.ok() ? *plies : 0, 4);
    // 1... O-O-O 2. O-O Nc5: the place of White's first move has no diagram; castling marks the
    // king's squares.
    const std::vector<output::DiagramPosition> series =
        DiagramSeriesPositions(chess, lines, 0, 4, true);
    const std::pair<const char*, std::array<int, 4>> expected[] = {
        {"-start.gif", {0, 0, 0, 0}},
        {"-blackmove1.gif", {5, 8, 3, 8}},
        {"-whitemove2.gif", {5, 1, 7, 1}},
        {"-blackmove2.gif", {1, 6, 3, 5}},
    };
    ASSERT_EQ(series.size(), std::size(expected));
    for (std::size_t k = 0; k < series.size(); ++k) {
        SCOPED_TRACE(expected[k].first);
        const output::DiagramPosition& position = series[k];
        EXPECT_EQ(output::PerMoveName("", position.caption, "gif"), expected[k].first);
        EXPECT_EQ((std::array{position.marked[0].file, position.marked[0].rank,
                              position.marked[1].file, position.marked[1].rank}),
                  expected[k].second);
    }
    EXPECT_EQ(series[1].board[3][8], chess::King + chess::BlackOffset);
    EXPECT_EQ(series[3].caption.move, "Nc5");
    EXPECT_EQ(DiagramSeriesPositions(chess, lines, 4, 4, false)[0].marked[0].file, 0);
}

}  // namespace
}  // namespace qorvale::app
