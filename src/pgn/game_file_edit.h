#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/ui.h"
#include "pgn/game_rewrite.h"
#include "pgn/game_text_writer.h"
#include "pgn/pgn_file.h"
#include "platform/file_system.h"

namespace qorvale::pgn {

// The four ways a new or buffered game goes into a file.
enum class SaveMode : int {
    NewFile = -1,       // a new file holding only the game; the file must not exist
    OverwriteLast = 0,  // in place of the last game, the file cut after it
    Append = 1,         // after the last game, preceded by CR LF
    Insert = 2,         // before the game on display, followed by CR LF
};
std::string_view SaveModeLabel(SaveMode mode);

// What a change leaves the window to do.
struct EditDone {
    bool cancelled = false;         // the user answered No; nothing changed
    std::int32_t game_to_show = 0;  // the game to load and show (0: none)
    bool navigation_reset = false;  // the navigation lists no longer fit the file
};

// Changes to the open PGN file and copies out of it, each with the messages and questions of the
// File and Game menus. Every change is crash-safe: a change anywhere in the file writes the new
// content beside it and renames it over the file (SpliceFile); one at its end (append, overwrite
// last, a cut of the last game) is made in place under an undo journal (EndOfFileChange). A
// failure leaves every file as it was and is returned as the program's message; questions and
// the completion messages go through the Ui. After a change the file is reopened and its index
// brought up to date: from the updated offset cache after an append or a new file, by a rescan
// that ignores the cache otherwise.
//
// The file and the Ui belong to the caller and must outlive the editor. Runs on the thread that
// owns the file.
class GameFileEditor {
  public:
    GameFileEditor(PgnFile& file, Ui& ui,
                   platform::FileSystem& file_system = platform::SystemFileSystem());

    // Saves an entered game with `mode` into the open file (the target the user chose), or into
    // a new file at `new_path` when the mode is NewFile. Refused with the entered game's checks
    // (CheckEnteredGame). See SaveGameText.
    Result<EditDone> SaveGameToFile(const EnteredGame& game, SaveMode mode,
                                    const std::string& new_path = {});
    // The same for a game's text (the text editor, the game buffer, the tool), written unchanged.
    // A file that holds MaxGamesPerFile games already is left as it is ("Warning: Maximum number
    // 200000 games exceeded."). Messages: "File already exists.", "Error creating file." (new
    // file), "Error inserting game." (insert), "Error opening file." (a file that cannot be
    // written), "Error saving game.". The game to show: the new last game (append, overwrite
    // last), game 1 (new file), the inserted game (insert). When the offset cache cannot be
    // written after an append or an overwrite, the file is closed (the game is saved).
    Result<EditDone> SaveGameText(std::string_view text, SaveMode mode,
                                  const std::string& new_path = {});

    // The game buffer (a one-game file in the install folder at `buffer_path`).
    // MoveGameToBuffer copies the game on display into it ("Error creating game buffer file."),
    // and reports "Game moved to the game buffer.".
    Error MoveGameToBuffer(const std::string& buffer_path);
    // SaveGameText with the buffer's text; after an insert the game to show is game 1. "The game
    // buffer is empty. Game was not saved." without a buffer, "This game is too big to edit."
    // for one of more than 500000 bytes.
    Result<EditDone> SaveGameBuffer(const std::string& buffer_path, SaveMode mode,
                                    const std::string& new_path = {});

    // Asks "Delete this game from current file?" and "Are you sure?", then takes the game on
    // display out of the file (the last game takes the line end before it along). "There are no
    // games in this file.", "Error saving game.", "Error opening to change size.", "Error
    // changing file size.". The game to show is the same number, capped at the new count (the
    // previous game after the last one was deleted); the navigation lists are reset.
    Result<EditDone> DeleteCurrentGame();

    // Writes `new_text` over the game on display (after NormaliseGameText); the messages of
    // DeleteCurrentGame. The game to show stays the same.
    Result<EditDone> ReplaceCurrentGame(std::string_view new_text);
    // Replaces the game on display by the rewritten text of `game` (RewriteGameText).
    Result<EditDone> RewriteCurrentGame(const GameRewrite& game);

    // Copies the games `games` (1-based, in list order) to the file at `target`: "There are no
    // games in the navigation list to copy." for an empty list, "The file specified is the same
    // as the current file."; a new file (`append` false) asks "File already exists. Do you want
    // to overwrite?" when the target exists, else "Do you want to continue?"; an append asks "Do
    // you want to continue?" and needs the target ("File does not exist."). "Error creating new
    // file.", "Error opening file.", "Error saving game.". The target's offset cache is deleted,
    // and "Copy games complete." reported.
    Result<EditDone> CopyNavigationGames(std::span<const std::int32_t> games,
                                         const std::string& target, bool append);
    // The game on display, with the same target checks but no "Do you want to continue?" and no
    // completion message.
    Result<EditDone> CopyCurrentGame(const std::string& target, bool append);

    // The bytes [start, end) of game `game_number` in the open file: from its first tag line to
    // the next game's, or to the end of the file. A game behind a full index ends where the scan
    // finds the next game.
    struct Extent {
        std::int64_t start = 0;
        std::int64_t end = 0;
    };
    Extent GameExtent(std::int32_t game_number);

    // The records of game `game_number` as the game buffer holds them: leading spaces dropped,
    // each record followed by CR LF, the empty records of the movetext kept only when more
    // movetext follows, the copy ending at the first tag line after the movetext.
    Result<std::string> GameRecords(std::int32_t game_number);

  private:
    Result<EditDone> Save(std::string_view text, SaveMode mode, const std::string& new_path,
                          bool show_first_after_insert);
    Result<EditDone> SaveNewFile(std::string_view text, const std::string& path);
    Result<EditDone> SaveAtEnd(std::string_view text, SaveMode mode);
    Result<EditDone> SaveInsert(std::string_view text, bool show_first);
    // Puts `text` in place of the bytes [cut_from, cut_to) of the open file.
    Error Change(std::int64_t cut_from, std::int64_t cut_to, std::string_view text, bool inserting);
    // Reopens the changed file and rebuilds the index, from the offset cache or by a rescan.
    void Reopen(const std::string& path, bool from_cache);
    Result<EditDone> Copy(std::span<const std::int32_t> games, const std::string& target,
                          bool append, bool ask_to_continue);

    PgnFile& file_;
    Ui& ui_;
    platform::FileSystem& file_system_;
};

// True when the game buffer at `buffer_path` holds a game; otherwise reports "The game buffer is
// empty. Game was not saved.".
bool CheckGameBuffer(const std::string& buffer_path, Ui& ui);

}  // namespace qorvale::pgn
