#include "app/diagram_output.h"

#include <algorithm>

#include "app/app_folder.h"
#include "app/options_file.h"
#include "app/session.h"
#include "app/start_up.h"
#include "platform/file.h"

namespace qorvale::app {

namespace {

constexpr int ThinHighlight = 1;
constexpr int ThickHighlight = 2;
constexpr int ThickestHighlight = 4;
constexpr int CoordinatesBottom = 2;
constexpr int LargeBoard = 2;

}  // namespace

OptionsRecord DiagramOptions(std::string_view app_folder) {
    LoadedOptions loaded = LoadOptions(AppPath(app_folder, OptionsFileName), app_folder, false);
    if (loaded.found) RepairLoadedOptions(loaded.record);
    (void)ApplyColourDefaults(loaded.record);
    return loaded.record;
}

output::DiagramStyle DiagramStyleFor(const OptionsRecord& options, bool use_board_colours,
                                     bool flipped, int cell_size) {
    output::DiagramStyle style;
    style.cell_size = cell_size;
    if (options.CoordinatesMode == 0) {
        style.layout = output::DiagramLayout::Plain;
    } else {
        style.layout = options.BoardSize == LargeBoard ? output::DiagramLayout::LargeFrame
                                                       : output::DiagramLayout::Coordinates;
    }
    style.border_width = DiagramBorderWidths[static_cast<std::size_t>(
        std::clamp(options.BorderWidth, 0, static_cast<int>(DiagramBorderWidths.size()) - 1))];
    style.files_below = options.CoordinatesMode == CoordinatesBottom;
    style.flipped = flipped;
    style.marker_width = options.HighlightLastMove == ThickHighlight ||
                                 options.HighlightLastMove == ThickestHighlight
                             ? 2
                             : ThinHighlight;
    if (use_board_colours) {
        style.colours.dark = output::FromRecordColour(options.DarkSquareColour);
        style.colours.light = output::FromRecordColour(options.LightSquareColour);
        style.colours.border = output::FromRecordColour(options.BorderColour);
        style.colours.marker = output::FromRecordColour(options.HighlightColour);
        style.colours.second_marker = output::FromRecordColour(options.ArrowColour);
        style.colours.background = output::FromRecordColour(options.BackgroundColour);
    }
    const auto piece_style = static_cast<PieceStyleId>(options.PieceStyle);
    style.wood = piece_style == PieceStyleId::ModWood ||
                 (options.WoodBoard != 0 && piece_style != PieceStyleId::ModBlue);
    return style;
}

bool MarksLastMove(const OptionsRecord& options) { return options.HighlightLastMove != 0; }

output::HtmlNotation HtmlNotationFor(const OptionsRecord& options, std::string& letters) {
    output::HtmlNotation notation;
    notation.figurines = options.FigurineNotation != 0;
    if (!notation.figurines && options.CustomPieceLetters != 0) {
        letters = GetText(options.AlphaPieceLetters);
        notation.piece_letters = letters;
    }
    return notation;
}

output::DiagramArtFolders DiagramArtFoldersFor(std::string_view app_folder, int style,
                                               int cell_size) {
    const std::string data = ProgramDataFolder();
    output::DiagramArtFolders folders{AppPath(app_folder, "pieces"),
                                      AppPath(app_folder, "diagram")};
    const int drawn = output::DiagramPieceStyle(style);
    if (!platform::FileExists(output::PieceCellsPath(folders.pieces, drawn, cell_size))) {
        folders.pieces = data + "/pieces";
    }
    if (!platform::FileExists(output::CoordinateGlyphsPath(folders.diagram, cell_size))) {
        folders.diagram = data + "/diagram";
    }
    return folders;
}

output::MoveCaption CaptionOf(const chess::ChessState& chess, const pgn::GameLines& lines,
                              int ply) {
    output::MoveCaption caption;
    if (ply < 1) return caption;
    const auto index = static_cast<std::size_t>((ply - 1) / 2);
    const chess::MainLineMoves& moves = lines.Moves();
    const chess::MoveText& text = ply % 2 == 1 ? moves.WhiteMoves[index] : moves.BlackMoves[index];
    if (text[0] == '.') return caption;
    caption.number = static_cast<int>(chess.DisplayMoveNumber(static_cast<std::uint32_t>(index)));
    caption.black = ply % 2 == 0;
    caption.move = std::string(text.view());
    return caption;
}

output::DiagramPosition DiagramPositionAt(const chess::ChessState& chess,
                                          const pgn::GameLines& lines, int ply,
                                          bool mark_last_move) {
    output::DiagramPosition position;
    const chess::Snapshot& snapshot = chess.PositionHistory(ply);
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            position.board[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)] =
                snapshot[static_cast<std::size_t>(chess::Board64Index(file, rank))];
        }
    }
    position.caption = CaptionOf(chess, lines, ply);
    if (mark_last_move && ply >= 1 && position.caption.present()) {
        const MoveSquares squares = MoveSquaresBetween(chess.PositionHistory(ply - 1), snapshot);
        if (squares.present()) {
            position.marked = {output::BoardSquare{squares.from_file, squares.from_rank},
                               output::BoardSquare{squares.to_file, squares.to_rank}};
        }
    }
    return position;
}

std::vector<output::DiagramPosition> DiagramSeriesPositions(const chess::ChessState& chess,
                                                            const pgn::GameLines& lines,
                                                            int first_ply, int last_ply,
                                                            bool mark_last_move) {
    std::vector<output::DiagramPosition> positions;
    for (int ply = first_ply; ply <= last_ply; ++ply) {
        if (ply >= 1 && !CaptionOf(chess, lines, ply).present()) continue;
        positions.push_back(DiagramPositionAt(chess, lines, ply, mark_last_move));
    }
    return positions;
}

Result<DiagramSource> GameDiagrams(const OptionsRecord& options, std::string_view app_folder,
                                   const chess::ChessState& chess, const pgn::GameLines& lines,
                                   int first_ply, int last_ply, bool flipped,
                                   bool use_board_colours, int cell_size) {
    DiagramSource source;
    source.style = DiagramStyleFor(options, use_board_colours, flipped, cell_size);
    source.positions =
        DiagramSeriesPositions(chess, lines, first_ply, last_ply, MarksLastMove(options));
    // A game Black begins has no position of its own at White's missing first move.
    if (source.positions.empty())
        source.positions.push_back(DiagramPositionAt(chess, lines, 0, false));
    Result<output::DiagramArt> art = output::LoadDiagramArt(
        DiagramArtFoldersFor(app_folder, options.PieceStyle, source.style.cell_size),
        options.PieceStyle, source.style.cell_size);
    if (!art.ok()) return art.error();
    source.art = std::move(*art);
    return source;
}

}  // namespace qorvale::app
