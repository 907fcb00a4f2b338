#pragma once

#include <vector>

#include "app/commands.h"
#include "app/navigation.h"
#include "gui/shell/controller.h"
#include "pgn/analysis_lines.h"

class QTimer;

namespace qorvale::gui {

class AnalysisListBox;
class MoveSound;

// Playing through games: the navigation of the Game menu, auto play and study mode, the games
// of the navigation list, the game list, and the analysis replay walk with its lines window.
class GameController : public Controller {
    Q_OBJECT

  public:
    GameController(ShellContext& context, MoveSound& sound);

    void Run(app::GameCommand command);
    void Run(app::AnalysisCommand command);

    // Loads and shows game `game_number`; false after the failure was reported.
    bool ShowGame(std::int32_t game_number);
    void Navigate(app::NavigationAction action);
    void GoToPly(std::int32_t ply);
    // A click on the board while playing through a game.
    void BoardClicked(int file, int rank);

    void StopAutoPlay();
    bool AutoPlaying() const { return session().Navigation().autoPlay; }
    AnalysisListBox* analysisList() const { return analysis_list_; }
    // Starts the walk in line `index` of the analysis lines window and plays its first move.
    void ReplayLine(int index);

    void PositionChanged() override;
    void OptionsChanged() override;

  private:
    void ToggleAutoPlay();
    void NextGame();
    void PreviousGame();
    void GoToGameNumber();
    void ShowGameList();
    void ShowActualText();
    void CheckReplayMode();
    bool ReplayModeOn();
    void ShowAnalysisList();
    void RefreshAnalysisList();
    void Moved(const app::NavigationStep& step);

    MoveSound& sound_;
    QTimer* auto_play_timer_ = nullptr;
    bool loaded_once_ = false;
    AnalysisListBox* analysis_list_ = nullptr;
    std::vector<pgn::AnalysisLine> analysis_lines_;
};

}  // namespace qorvale::gui
