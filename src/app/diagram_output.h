#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/options_record.h"
#include "chess/chess_state.h"
#include "output/diagram.h"
#include "output/diagram_art.h"
#include "output/html_diagram.h"
#include "pgn/game_lines.h"

namespace qorvale::app {

// Border widths in pixels for "No Border" ... "Very Thick", as the board draws them.
inline constexpr std::array<int, 6> DiagramBorderWidths = {0, 1, 2, 4, 6, 9};

// The options as the window has them after start-up, read from the install folder without
// writing anything (the defaults of a first run when there is no options file).
OptionsRecord DiagramOptions(std::string_view app_folder);

// The diagram style of the options: no coordinates gives the plain layout with the border
// width; coordinates give the coordinate layout, or the large frame with the Large board size;
// the file letters go below the board with "Files Below Board"; a highlighted square gets two
// rings with the thick highlight styles. The board colours are the user's when
// `use_board_colours`, else the defaults; the wooden board (Mod Wood, or the wooden board shown
// under another style but Mod Blue) gives the wood square colours.
output::DiagramStyle DiagramStyleFor(const OptionsRecord& options, bool use_board_colours,
                                     bool flipped, int cell_size = output::StandardCellSize);

// Whether the options mark the last move on the board.
bool MarksLastMove(const OptionsRecord& options);

// The notation of HTML pages: figurines, or the user's piece letters.
output::HtmlNotation HtmlNotationFor(const OptionsRecord& options, std::string& letters);

// Where the art of a style lies: the install folder's copy when it holds the files, else the
// program's data folder.
output::DiagramArtFolders DiagramArtFoldersFor(std::string_view app_folder, int style,
                                               int cell_size);

// The position of the loaded game after `ply` half-moves (the position history of `chess`),
// the squares of its last move marked when `mark_last_move`, and the caption of that move.
output::DiagramPosition DiagramPositionAt(const chess::ChessState& chess,
                                          const pgn::GameLines& lines, int ply,
                                          bool mark_last_move);

// The caption of half-move `ply` (1-based): its full-move number as shown, side and text. Empty
// for ply 0 and for the place of White's move in a game Black begins.
output::MoveCaption CaptionOf(const chess::ChessState& chess, const pgn::GameLines& lines, int ply);

// One position per move from `first_ply` to `last_ply`, the place of White's missing first
// move in a game Black begins left out.
std::vector<output::DiagramPosition> DiagramSeriesPositions(const chess::ChessState& chess,
                                                            const pgn::GameLines& lines,
                                                            int first_ply, int last_ply,
                                                            bool mark_last_move);

// What every diagram command works from: the style and art of the options and the positions.
struct DiagramSource {
    output::DiagramStyle style;
    output::DiagramArt art;
    std::vector<output::DiagramPosition> positions;  // at least one
};

// The diagrams of the loaded game from half-move `first_ply` to `last_ply` (one position when they
// are equal) drawn as the options say, seen from Black's side when `flipped`; the art is read
// from the install folder `app_folder`. Fails with the art's message.
Result<DiagramSource> GameDiagrams(const OptionsRecord& options, std::string_view app_folder,
                                   const chess::ChessState& chess, const pgn::GameLines& lines,
                                   int first_ply, int last_ply, bool flipped,
                                   bool use_board_colours = true,
                                   int cell_size = output::StandardCellSize);

}  // namespace qorvale::app
