#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/game_text.h"
#include "app/navigation.h"
#include "app/session.h"
#include "base/error.h"
#include "base/ui.h"
#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/header_tags.h"
#include "search/copy_target.h"
#include "search/database_search.h"

namespace qorvale::app {

// One line of the "Select Game from %d" list.
struct DatabaseGameRow {
    std::uint32_t record = 0;  // index in the games file
    std::string white;
    std::string black;
    std::uint16_t year = 0;
    std::string result;
};

// What the window's database mode works on: the open database, its search criteria and found
// games, and the found game on display with its position and navigation. The window draws what
// this holds; qorvale-tool's db commands use the same calls.
class DatabaseSession {
  public:
    DatabaseSession();

    // "Open Database": opens `name.DBG` and takes the saved results of its last search
    // (`name.DBS`, when there is one) as the found games. Reports and returns the failure.
    Error Open(const std::string& dbg_path, Ui& ui);
    // "Close Database".
    void Close();
    bool IsOpen() const { return database_.has_value(); }
    const search::Database& Data() const { return *database_; }
    // "DB:  %s" with the database's file name.
    std::string StatusText() const;

    // The "Database Search Options" dialog's fields; kept between searches ("Clear" resets).
    search::DbSearchCriteria& Criteria() { return criteria_; }

    // SearchDatabase with the criteria: refusals and damage are reported; the found games are
    // saved in `name.DBS` (progress "Saving Results..." / "%d of %d" through `ui`) and become
    // the list. Returns the number found, or -1 after a refusal.
    int Search(Ui& ui);
    const std::vector<std::uint32_t>& Found() const { return found_; }
    // "Select Game from %d".
    std::string ListTitle() const;
    // The list's line for found game `position` (0-based).
    DatabaseGameRow Row(std::size_t position) const;

    // Shows found game `position`: its header from `name.DBH`, its moves from `name.DBM` made
    // on the board, the board at the start. A game whose codes cannot all be played (it began
    // from a set-up position) shows the moves before and reports "Warning: Not every move of
    // this game could be replayed.".
    Error ShowGame(std::size_t position, Ui& ui);
    bool HasGame() const { return shown_.has_value(); }
    std::size_t ShownPosition() const { return *shown_; }
    // The next or previous found game; false at either end.
    bool NextGame(Ui& ui);
    bool PreviousGame(Ui& ui);

    const pgn::HeaderTags& Header() const { return header_; }
    const pgn::GameLines& Lines() const { return lines_; }
    const chess::ChessState& Chess() const { return chess_; }
    const NavigationState& Navigation() const { return navigation_; }
    // What the window's board, move line and game text show of the game on display, as the
    // file's session gives them for a file's game.
    GameTextSource TextSource() const;
    MoveSquares LastMoveSquares() const;
    const std::string& ResultText() const;
    // "Game:  %d of %d": the place of the game on display among the found games.
    std::string CounterText() const;
    // Steps through the game on display and puts its position on the board.
    NavigationStep Go(NavigationAction action);
    // Shows the position after `ply` half-moves (a click on the game text).
    NavigationStep GoToPly(std::int32_t ply);

    // CopyDatabaseGames of the found games to a PGN file (the checks of every copy; `current`
    // is the open PGN file), and of the game on display to the game buffer file.
    search::CopyOutcome CopyFound(const std::string& target, bool append,
                                  const std::string& current, Ui& ui) const;
    search::CopyOutcome CopyShownToBuffer(const std::string& buffer_path) const;

  private:
    std::optional<search::Database> database_;
    search::DbSearchCriteria criteria_;
    std::vector<std::uint32_t> found_;
    std::optional<std::size_t> shown_;
    pgn::HeaderTags header_;
    pgn::GameLines lines_;
    chess::ChessState chess_;
    NavigationState navigation_;
};

}  // namespace qorvale::app
