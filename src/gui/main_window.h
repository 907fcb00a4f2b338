#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "app/navigation.h"
#include "pgn/analysis_lines.h"
#include "app/session.h"
#include "app/start_up.h"
#include "openings/opening_classification.h"
#include "base/ui.h"
#include "pgn/game_file_opener.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "search/search_source.h"
#include "utilities/eco_difference_operation.h"
#include "utilities/worker.h"

class QAction;
class QDialog;
class QLabel;
class QMimeData;
class QPlainTextEdit;
class QScrollBar;
class QStackedWidget;
class QTextBrowser;
class QTimer;
class QToolBar;

namespace qorvale::gui {

class AnalysisListBox;
class BoardWidget;
struct GameListContent;
class GameTextWidget;
class GuiThreadUi;
class ProgressBox;

// The main window: the board with the move line and opening name under it, the game text and
// the comments beside it, menus, navigation buttons and keys, and the status texts. The window
// draws the Session; every rule lives in app/.
class MainWindow : public QMainWindow, private pgn::GameFileHost {
    Q_OBJECT

  public:
    // `state` is the outcome of start-up; the window changes its options record and saves it, so
    // it must outlive the window.
    explicit MainWindow(app::StartUpState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The Ui the window reports through: message boxes unless a test put another in place.
    Ui& ui() { return *ui_; }
    void SetUi(Ui& ui) { ui_ = &ui; }

    // Opens `path` as the file on display and shows its first game (with "Auto Display Game").
    // Reports "Error opening file." and keeps the file on display when it cannot be opened.
    bool OpenGameFile(const QString& path);
    // A file dragged onto the window: the first local file of `data` is opened.
    bool OpenDroppedFile(const QMimeData& data);
    const QString& CurrentPath() const { return current_path_; }

    // The window's commands, posted through ui().post or run directly.
    void RunCommand(Command command);

    // Loads game `game_number` of the open file and shows it at its start.
    bool ShowGame(int game_number);
    // Performs a navigation action and redraws.
    void Navigate(app::NavigationAction action);
    void GoToPly(int ply);

    // Takes the settings of the options dialog: saves them at once and redraws.
    void ApplyNewOptions(const app::OptionsRecord& options);

    const app::Session& session() const { return session_; }
    BoardWidget* board() const { return board_; }
    GameTextWidget* gameText() const { return text_; }
    QString FileStatusText() const;
    QString GameStatusText() const;
    QString MoveLineText() const;
    QString ResultLineText() const;
    // The opening line under the board as shown (fitted to the board's width).
    QString OpeningLineText() const;
    bool AutoPlaying() const { return session_.Navigation().autoPlay; }
    QAction* Action(const QString& name) const;
    // The game list records of the open file (built on first use).
    const std::vector<app::GameListRecord>& GameListRecords() { return session_.GameList(*ui_); }
    QScrollBar* GameScrollBar() const { return game_bar_; }
    // The background worker and the progress window of the operation it runs (null when none).
    utilities::Worker& worker() { return *worker_; }
    ProgressBox* progressBox() const { return progress_box_; }

  public slots:
    // The number of games in the file, from the game scanner.
    void ShowGameCount(int game_count);
    // The game on display (1-based); 0 when none.
    void ShowGameNumber(int game_number);
    // File/Open: the "Select PGN File" dialog, preset to the remembered folder and file.
    void ChooseGameFile();
    void EditOptions();
    void ToggleAutoPlay();
    void NextGame();
    void PreviousGame();
    void ReloadFile();
    // Back to the file open before, at the game and half-move shown there.
    bool SwitchToPreviousFile();
    // "Select Game": the game list of the open file; the game picked is shown.
    void ShowGameList();
    // Loads the ECO table at start (exporting the opening files when they are stale).
    void InitialiseOpenings();
    // The show-opening command: names the opening of the position on the board.
    void ShowOpening();
    // The three Find Opening commands.
    void FindOpening(openings::FindOpeningMode mode);
    // Search menu. The header search asks for its criteria in the "Edit Header" dialog; the
    // variation search takes its line as text ("1.d4 Nf6 2.c4 e6", "*" for any move).
    void SearchHeaderCommand();
    void SearchVariationCommand();
    // Runs a search of the open file and, when games are found, makes them the navigation list
    // and shows the first. Returns the number found (-1 after a refusal was reported). An ECO
    // criterion "*" starts the ECO difference search on the worker instead: 0 is returned and
    // the games arrive when it posts its results.
    int RunHeaderSearch(const search::HeaderCriteria& criteria);
    int RunVariationSearch(const QString& line);
    // The position search: White's and Black's entries ("Kg1, Nf3", "Kg8") and the move-number
    // filter ("" for none).
    void SearchPositionCommand();
    int RunPositionSearch(const QString& white, const QString& black, const QString& move_number);
    // The whole file becomes the navigation list again.
    void ResetNavigation();
    // The statistics of the search list in their own window.
    void ShowSearchStatistics();
    void SaveSearch();
    void LoadSearch();
    // Saves or loads the criteria as a .ser file: a header search file with the line when one
    // is set. Reports and returns the failure.
    Error SaveSearchFile(const std::string& path);
    Error LoadSearchFile(const std::string& path);
    const search::SearchList& SearchList() const { return search_list_; }
    const search::SearchCriteria& SearchCriteria() const { return search_criteria_; }
    bool SearchNavigation() const { return session_.Games().FromSearch(); }
    // Tree menu: the fast file of the open file.
    void MakeFastFile();
    void CheckFastFile();
    void DeleteFastFile();

    // Analysis replay mode: Next, Prev and Start of the walk through the variations after the
    // current move. Refused with a message while the mode is off.
    void ReplayNext();
    void ReplayPrevious();
    void ReplayStart();
    // Starts the walk in line `index` of the analysis list and plays its first move.
    void ReplayLine(int index);
    // The analysis lines after the current move, in their own window.
    void ShowAnalysisList();
    AnalysisListBox* analysisList() const { return analysis_list_; }
    // The screen height the board must fit in: a board too large for it falls back a size.
    void FitBoardToScreen(int available_height);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // What the file opener asks of the window.
    std::optional<std::string> ChooseFile(pgn::OpenMode mode, std::string_view title) override;
    void SaveOptions(const pgn::SavedFileFields& fields) override;
    void ResetGameState() override;
    std::int32_t DisplayedPly() const override;
    void LoadSavedFields();
    // After the opener opened a file: title, status texts and the game to show.
    void ShowOpenedFile(int game_number, int ply);

    void BuildActions();
    void BuildLayout();
    QAction* AddAction(const QString& name, const QString& text, std::string_view tip,
                       const QList<QKeySequence>& keys);
    void ApplyOptions();
    void ReopenOnStart();
    void PlaceWindow();
    void RememberWindowRectangle();
    void SaveOptions();
    void UpdateGameStatus();
    void RefreshBoard();
    void RefreshText();
    void RefreshMoveLines();
    void UpdateOpeningLine();
    void StopAutoPlay();
    void CheckReplayMode();
    void ShowActualText();
    void GoToGameNumber();
    void OnBoardClick(int file, int rank);
    std::string PieceLetters() const;
    // True when no background operation runs; otherwise its "Must terminate" message is shown.
    bool NotBusy();
    void ShowProgress(const ProgressCounters& counters);
    void CloseProgressBox();
    void SetDisplayOpening(bool on);
    search::SearchSource SearchSourceOfFile() const;
    // After a search: the found games become the navigation list and the first is shown.
    void ShowSearchResults(int found);
    void BuildReplayActions();
    // True in analysis replay mode; otherwise the refusal is shown.
    bool ReplayModeOn();
    // The walk ends when the mode is left.
    void LeaveReplayWhenOff();
    void ShowReplayState();
    void ShowReplayText();
    void RefreshAnalysisList();
    // The board size on display: the chosen one as far as the screen allows.
    int ShownBoardSize() const;
    // What "Select Game" lists now: the navigation list, the ECO difference codes, the
    // opening-names lines.
    GameListContent GameListContentNow();

    app::StartUpState& state_;
    app::Session session_;
    std::unique_ptr<Ui> own_ui_;
    Ui* ui_ = nullptr;
    // Hands everything to whichever Ui the window reports through at the time.
    struct CurrentUi final : Ui {
        Ui*& target;
        explicit CurrentUi(Ui*& ui) : target(ui) {}
        void report(std::string_view message) override { target->report(message); }
        bool ask(std::string_view question) override { return target->ask(question); }
        void progress(const ProgressCounters& counters) override { target->progress(counters); }
        void post(Command command) override { target->post(command); }
    };
    CurrentUi current_ui_{ui_};
    // Declared before the worker, which calls it until its thread has ended.
    std::unique_ptr<GuiThreadUi> worker_ui_;
    std::unique_ptr<utilities::Worker> worker_;
    ProgressBox* progress_box_ = nullptr;
    search::SearchCriteria search_criteria_;
    search::SearchList search_list_;
    // The ECO difference search running on the worker, until it posts its results.
    std::shared_ptr<utilities::EcoDifferenceResult> eco_difference_;
    // Per found game of the last ECO difference search, its code, for the game list.
    std::vector<std::string> eco_difference_codes_;
    std::vector<std::string> pending_eco_difference_codes_;
    QDialog* statistics_box_ = nullptr;
    pgn::SavedFileFields saved_files_;
    std::unique_ptr<pgn::GameFileOpener> opener_;
    BoardWidget* board_ = nullptr;
    GameTextWidget* text_ = nullptr;
    QStackedWidget* text_stack_ = nullptr;
    QPlainTextEdit* actual_text_ = nullptr;
    QTextBrowser* comments_ = nullptr;
    QLabel* move_line_ = nullptr;
    QLabel* opening_line_ = nullptr;
    QLabel* result_line_ = nullptr;
    QLabel* file_status_ = nullptr;
    QLabel* game_status_ = nullptr;
    QTimer* auto_play_timer_ = nullptr;
    QScrollBar* game_bar_ = nullptr;
    QString current_path_;
    int game_count_ = 0;
    int game_number_ = 0;
    int previous_shown_game_ = 0;
    int hide_reached_ = 0;  // the farthest half-move reached while moves are hidden
    bool start_open_done_ = false;
    bool loaded_once_ = false;
    std::string rendered_key_;
    app::RenderedGameText rendered_;
    QToolBar* replay_bar_ = nullptr;
    AnalysisListBox* analysis_list_ = nullptr;
    std::vector<pgn::AnalysisLine> analysis_lines_;
    int screen_height_ = 0;
};

}  // namespace qorvale::gui
