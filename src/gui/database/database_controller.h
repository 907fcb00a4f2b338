#pragma once

#include <QString>
#include <string>

#include "app/commands.h"
#include "app/database_session.h"
#include "gui/shell/controller.h"
#include "search/database_build.h"

namespace qorvale::gui {

class DatabaseGameListBox;

// The Database menu: opening and closing a database, building one from the open file or adding
// the file's games to one (on the worker), the "Database Search Options" search, the list of
// found games, the database mode in which the window shows a found game in place of the file's
// game, and the check of the database's files.
class DatabaseController : public Controller {
    Q_OBJECT

  public:
    explicit DatabaseController(ShellContext& context);
    ~DatabaseController() override;

    void Run(app::DatabaseCommand command);

    // Opens `dbg_path` (the open one is closed first); the failure is reported.
    bool OpenDatabase(const std::string& dbg_path);
    void CloseDatabase();
    // "DB:  %s" while a database is open, else empty.
    QString StatusText() const;
    const app::DatabaseSession& Database() const { return database_; }

    // Start New Database / Add to Database from the open file: the questions, then the build on
    // the worker; the database is opened once it is built. False when nothing was started.
    bool MakeDatabase(const std::string& dbg_path, search::DbBuildMode mode);

    // Searches with `criteria`; the position comes from the search position's entries or from
    // the board on display when asked. Returns the number found or -1 after a refusal; the list
    // of found games opens when some were found.
    int SearchDatabase(const search::DbSearchCriteria& criteria, bool from_position_edit,
                       bool from_game_position);
    // The "Select Game from %d" list; choosing shows the game.
    void SelectGame();
    // Shows found game `position` (0-based) on the window's board, in the database mode (entered
    // from game replay). False when the mode cannot be entered or the game not read.
    bool ShowGame(std::size_t position);
    // Back to game replay: the window shows the file's game again as it was left.
    void LeaveMode();
    // The game the window shows in the database mode; null outside it.
    const app::DatabaseSession* ShownGame() const;
    // In the database mode the Game menu's moves step through the game on display and its game
    // steps through the found games; false outside it.
    bool Navigate(app::GameCommand command);
    bool BoardClicked(int file, int rank);
    bool GoToPly(std::int32_t ply);
    DatabaseGameListBox* listBox() const { return list_box_; }

    // The found games into a new PGN file (the questions and refusals of every copy of games).
    search::CopyOutcome CopyGames(const std::string& target);

    // Check Database: each message of the check.
    void CheckDatabase(const std::string& dbg_path);

  private:
    QString ChooseDatabase(bool save);
    // The open database, or one chosen in the dialog when none is; empty when cancelled.
    std::string DatabaseToUse();
    bool InMode() const;
    void Moved(const app::NavigationStep& step);

    app::DatabaseSession database_;
    DatabaseGameListBox* list_box_ = nullptr;
};

}  // namespace qorvale::gui
