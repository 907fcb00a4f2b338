#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chess/move_text.h"

namespace qorvale::app {

// The move text beside the board comes in pages of 20 lines; display lines are numbered from 4
// (lines 4-23 page 1, 24-43 page 2, ...), as the header lines stand above them.
inline constexpr int GameTextPageLines = 20;
inline constexpr int GameTextMaxPages = 5;
inline constexpr int FirstMoveLine = 4;
// A text line holds fewer than this many characters.
inline constexpr std::size_t TextLineLimit = 120;
// Column format: full moves per page and rows per column.
inline constexpr int ColumnPageMoves = 40;
inline constexpr int ColumnRows = 20;
// Analysis lines show at most this many half-moves per line or row.
inline constexpr int AnalysisLineHalfMoves = 14;

inline constexpr std::string_view ColumnHeading = "Move Num";
inline constexpr std::string_view ColumnFormatGameModeOnly =
    "The column format is only available in game mode.";
inline constexpr std::string_view ErrorInDisplayMove = "Error in display move.";
inline constexpr std::string_view ReplayHint =
    "For annotated games, you might want to try the Analysis Replay Mode.\n\n"
    "          Set the Analysis Replay Mode in the File->Options menu.";
inline constexpr std::string_view ReplayOnlyWhenEnabled =
    "This function is only available when Analysis Replay Mode is enabled in the Options menu.";

// Where a half-move's text stands: display line (0 = not laid out) and the character column at
// which the move itself begins (after its number).
struct PlyPlace {
    int line = 0;
    int column = 0;
};

// The game the text is made of.
struct GameTextSource {
    const chess::MainLineMoves* moves = nullptr;
    int full_moves = 0;
    // Starting move number of a set-up game; 0 when the game starts at move 1.
    std::uint32_t start_move_number = 0;
};

// How the text is laid out. `measure` gives a text's width in the text font; without it only the
// character limit breaks lines.
struct GameTextLayout {
    int panel_width = 0;
    int board_size = 0;  // 0 Small, 1 Medium, 2 Large: the panel margin grows with the board
    std::function<int(std::string_view)> measure;
    bool hide_moves = false;  // HideGameText in effect
    int hide_limit = 0;       // the half-move reached so far, when hiding
    // Alpha letters for K, Q, R, B, N when custom letters are in use, else empty.
    std::string piece_letters;
};

// The move lines of a whole game (every page), their move places and the page starts.
struct RenderedGameText {
    std::vector<std::string> TextLines;  // line k is display line FirstMoveLine + k
    std::vector<PlyPlace> places;        // index = half-move (index 0 unused)
    // The 0-based full-move index at which pages 2..5 begin; 0 when there is no such page.
    std::array<int, GameTextMaxPages - 1> PageStarts{};

    int PageCount() const;
    // Page (1..5) holding display line `line`; 0 when none.
    static int PageOfLine(int line);
    // The lines of page `page` (1-based), at most 20.
    std::vector<std::string_view> PageLines(int page) const;
    // Display place of half-move `ply`; line 0 when it is not laid out.
    PlyPlace PlaceOf(int ply) const;
    // The half-move whose text covers (line, column), if any.
    std::optional<int> PlyAt(int line, int column) const;
};

// The number shown for 1-based full move `move`.
int DisplayedMoveNumber(int move, std::uint32_t start_move_number);

// "K", "Q", "R", "B", "N" in `text` become the first to fifth of `letters` (an "N" before "CO"
// stays). Nothing changes unless `letters` holds five characters.
std::string ApplyPieceLetters(std::string_view text, std::string_view letters);

// Lays out the moves of the game into lines and pages (at most five pages).
RenderedGameText RenderGameText(const GameTextSource& game, const GameTextLayout& layout);

// The header lines above the moves: "White: %s", "Black: %s", "Date: %s" (unless
// `hide_date`), "Result: %s" (unless `hide_result`) and the status line. `white_black` is the
// two-column header line that holds "Black:".
std::vector<std::string> GameTextHeaderLines(std::string_view white_black, std::string_view date,
                                             std::string_view result, std::string_view status,
                                             bool hide_date, bool hide_result);

// The column format: one page of 40 full moves in two columns of 20 rows.
struct ColumnRow {
    int number = 0;  // displayed move number; 0 for an empty row
    std::string white;
    std::string black;
    bool indented = false;  // the number is set in by half a character
};
struct ColumnPage {
    std::array<ColumnRow, ColumnRows> left{};
    std::array<ColumnRow, ColumnRows> right{};
};
ColumnPage RenderColumns(const GameTextSource& game, int page, std::string_view piece_letters);
// Page starts of the column format (40, 80, 120, 160), cleared beyond the game.
std::array<int, GameTextMaxPages - 1> ColumnPageStarts(int full_moves);
int ColumnPageCount(int full_moves);
// Where half-move `ply` stands in the column format.
struct ColumnPlace {
    int page = 0;  // 0 when not shown
    int row = 0;
    bool right = false;
    bool black = false;
};
ColumnPlace ColumnPlaceOf(int ply, int full_moves);

// The move line shown while stepping: "" at the start, "%3d. %s" after a white move, the white
// move followed by the black one after a black move, "%3d..." for the missing white move of a
// game that starts with Black.
std::string MoveLineText(const GameTextSource& game, int ply, std::string_view piece_letters);

// The last move played as "%d. %s" (white) or "%d...%s" (black); "" at the start.
std::string CurrentMoveText(const GameTextSource& game, int ply);

// The squares that differ between two positions of 64 codes; more than four means the two
// positions are not one move apart ("Error in display move.").
int ChangedSquares(const std::array<std::uint32_t, 64>& from,
                   const std::array<std::uint32_t, 64>& to);

// One line of the analysis list: "%d- %d." or "%d- %d... " and up to 14 half-moves of SAN
// (each cut at its first " ", "(", ")", "$", "{" or ";"), "..." when there are more.
std::string FormatAnalysisLine(int line_number, int move_number, bool white_to_move,
                               const std::vector<std::string>& half_moves);
// The detail view of one line: 14 half-moves per row, each row after the first starting with
// the move number.
std::vector<std::string> FormatAnalysisDetail(int move_number, bool white_to_move,
                                              const std::vector<std::string>& half_moves);

// After each game load: whether the analysis replay mode switches itself or a hint is due.
struct ReplayCheckInput {
    int mode = 2;                // AnalysisReplayMode: 0 Off, 1 On, 2 Auto
    bool active = false;         // AnalysisReplayActive
    int annotations = 0;         // annotations counted in the game
    int auto_replay_count = 10;  // AutoReplayCount
    bool hide_game_text = false;
    bool interactive_annotation = false;
    bool first_load = false;  // the first load since the program started
    bool hint_shown = false;
};
enum class ReplayCheck { None, SwitchOn, SwitchOff, ShowHint };
ReplayCheck CheckAnalysisReplay(const ReplayCheckInput& input);

// The comment line under the board for the annotations after half-move `ply`: the text without
// the braces that only delimit comments in the file, its runs of blanks and line ends made one
// blank.
std::string CommentLineText(std::string_view annotation);

}  // namespace qorvale::app
