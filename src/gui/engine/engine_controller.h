#pragma once

#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/commands.h"
#include "app/engine_session.h"
#include "app/engine_settings.h"
#include "app/game_entry.h"
#include "gui/edit/move_input.h"
#include "gui/shell/controller.h"

class QSocketNotifier;

namespace qorvale::gui {

class BoardWidget;
class EditController;
class EngineWindow;
class ProfileWindow;

// Playing against and analysing with a chess engine. One engine session per main window, driven
// without ever waiting: a notifier on the engine's output and a timer at the session's next
// time limit both poll it, and each poll redraws what it changed. Analysis follows the game's
// navigation; a game against the engine is played on the board through the move input of game
// entry and saved as an entered game is.
class EngineController : public Controller {
    Q_OBJECT

  public:
    EngineController(ShellContext& context, EditController& edit);
    ~EngineController() override;

    void Run(app::EngineCommand command);
    void PositionChanged() override;

    // Starts the engine of `kind` on the position on display (its path chosen first when none
    // is known); false when it did not start.
    bool StartAnalysis(engines::EngineKind kind);
    // "Analyse the game": every position of the game on display, filling the profile.
    bool AnalyseGame();
    bool StartPlay(engines::EngineKind kind);
    // The analysis line `row` into the game on display as a variation of the move it replaces;
    // false when there is no such line or the game could not take it.
    bool InsertLine(int row);
    // Stops the engine; its windows close and the mode ends at once, the process is reaped by
    // later polls.
    void Stop();

    // ---- Play on the board ------------------------------------------------------------------
    // The game played against the engine; null outside a game.
    const app::GameEntry* PlayEntry() const { return entry_ ? &*entry_ : nullptr; }
    // Each returns false when no game against the engine is on the board.
    bool BoardClicked(int file, int rank);
    bool PieceDropped(int file, int rank);
    bool DrawBoard(BoardWidget& board) const;
    MoveInput& Input() { return input_; }

    app::EngineSession& Session() { return session_; }
    EngineWindow* Window() const { return window_; }
    ProfileWindow* Profile() const { return profile_; }
    // Polls the engine now (what the notifier and the timer do).
    void Pump();

  private:
    std::string ChooseEngine(engines::EngineKind kind, bool force);
    bool Launch(app::EngineStart start);
    void Arm();
    void Show(const app::EngineUpdate& update);
    void Ended();
    void AfterUserMove(int half_moves_before);
    void SyncEntry();
    void GameMenu(engines::GameMenuCommand command);
    void SavePlayedGame();
    void ShowUciOptions();
    void DisplayOptions();
    void CraftyGameInfo();
    void SaveCraftyPosition();
    void ConvertCanFile();
    std::optional<chess::EnginePositionInfo> AskPositionInfo();
    engines::EnginePosition ShownPosition() const;
    app::EngineSettings Settings() const;
    void StoreSettings(const app::EngineSettings& settings);

    EditController& edit_;
    app::EngineSession session_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer deadline_;
    EngineWindow* window_ = nullptr;
    ProfileWindow* profile_ = nullptr;
    // The path of the engine being started: forgotten when it never becomes ready.
    std::string starting_path_;
    bool ready_ = false;
    bool window_placed_ = false;
    // The position last sent for analysis, so that a redraw of the same position sends nothing.
    std::optional<engines::EnginePosition> analysed_;
    bool analysing_game_ = false;
    // Positions of "Analyse the Game" still to be answered; then the analysis follows the board
    // again.
    int game_positions_left_ = 0;
    std::optional<app::GameEntry> entry_;
    MoveInput input_;
    chess::EnginePositionInfo position_info_;
    // UCI option values chosen in "UCI Options", sent again at each start.
    std::vector<std::pair<std::string, std::string>> uci_options_;
};

}  // namespace qorvale::gui
