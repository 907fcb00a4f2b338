#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "platform/file_system.h"
#include "utilities/operation_control.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

// What the scan of "Check File" does; the values are the program's mode numbers.
enum class CheckMode : int {
    ReportErrors = 0,       // list the errors; stop after the 11th bad game
    DeleteBadGames = 1,     // rewrite the file without the bad games
    DeleteFenGames = 2,     // without the games that start from a set-up position
    DeleteListedGames = 3,  // without the games of the search list
};

// The codes one game's check gives. 0 is a good game; 2 and above is an illegal move, the move
// number being the code less one.
namespace check_error {
inline constexpr int None = 0;
inline constexpr int Corrupt = 1;  // a move that names no move
inline constexpr int FirstIllegalMove = 2;
inline constexpr int BishopsOnSameDiagonal = -1;
inline constexpr int FourKnights = -2;  // a fourth piece of a kind: the slots hold three
inline constexpr int FourBishops = -3;
inline constexpr int FourRooks = -4;
inline constexpr int FourQueens = -5;
inline constexpr int HeaderCorrupt = 9994;  // a tag line with fewer than two double quotes
inline constexpr int NoBlankLine = 9995;    // the header runs into a line that opens no movetext
inline constexpr int Parens = 9996;
inline constexpr int Braces = 9997;
inline constexpr int Spaces = 9998;
inline constexpr int LongRecord = 9999;
}  // namespace check_error

// The error list's text for `code` of 1-based game `game_number`, for example "Game 7, move 12
// is illegal.".
std::string CheckErrorMessage(int code, std::int32_t game_number);

// The raw text check of one game's text (from its first tag line): 9999 for a line longer than
// 255 characters, 9998 for two spaces between tokens (not before a result, nor at the end of a
// line followed by an empty one), else at the game's end 9997 for an open comment, 9996 for
// unbalanced parentheses, 0. Tag lines are not looked into: their values are text, not tokens.
int RawTextCheck(std::string_view game_text);

// The error list keeps the first ten entries; mode 0 stops at the eleventh bad game.
inline constexpr std::size_t ErrorListSize = 10;
inline constexpr std::int32_t BadGamesBeforeStop = 11;

struct ErrorListEntry {
    std::string message;
    std::int32_t game_number = 0;  // 1-based
    int code = 0;
};

struct CheckFileRequest {
    std::string pgn_path;
    std::vector<std::uint32_t> offsets;  // the game index of the open file
    bool index_full = false;             // the index stopped at its limit
    CheckMode mode = CheckMode::ReportErrors;
    std::vector<std::int32_t> listed_games;  // DeleteListedGames: 1-based, ascending
    // Every error is listed and the scan never stops early (the tool's --all).
    bool list_all = false;
};

struct CheckFileResult {
    CheckMode mode = CheckMode::ReportErrors;  // ReportErrors again after a cancelled rewrite
    std::vector<ErrorListEntry> errors;        // the first ten (all with list_all)
    std::int32_t count = 0;                    // bad games, or deleted games in modes 2 and 3
    std::int32_t examined = 0;
    bool list_all = false;
    bool cancelled = false;
    bool replaced = false;  // the PGN file was rewritten: reopen it and rebuild the index
    std::vector<std::int32_t> deleted;  // the games left out of the rewritten file
    Error error;                        // "Error opening file.", "Error creating temp file."
};

// The check itself, on the calling thread. In the deleting modes every game that is kept is
// copied byte for byte, and the file is replaced as ReplacePgnFile does (the fast file follows
// the deleted games). A cancel stops after the current game; a deleting mode then leaves the file
// as it was. Warnings of the fast-file repair go to `ui`.
CheckFileResult CheckFile(const CheckFileRequest& request, const OperationControl& control, Ui& ui,
                          platform::FileSystem& file_system = platform::SystemFileSystem());

// The error list window's title: "More Than 10 Errors Found", "%d Errors Found", "%d Error
// Found"; after a deleting mode "%d games were deleted." or "1 game was deleted.".
std::string ErrorListTitle(const CheckFileResult& result);
// What the check says at its end; empty when it shows the error list instead.
std::string CheckEndMessage(const CheckFileResult& result);
// What the window does next: show the error list, reload after deleting listed games, or redraw.
Completion CheckCompletion(const CheckFileResult& result);

// Starts the check on the worker, titled by its mode; `result` is filled when it ends, before the
// completion is posted.
Error StartCheckFile(Worker& worker, CheckFileRequest request,
                     std::shared_ptr<CheckFileResult> result,
                     platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::utilities
