#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>
#include <string>

#include "app/commands.h"
#include "app/game_text.h"
#include "app/session.h"
#include "app/shown_game.h"
#include "app/start_up.h"
#include "base/ui.h"
#include "gui/shell/window_port.h"

class QAction;
class QLabel;
class QMenu;
class QMimeData;
class QPlainTextEdit;
class QScrollBar;
class QStackedWidget;
class QTextBrowser;
class QToolBar;

namespace qorvale::gui {

class BoardWidget;
class CommandBinder;
class DatabaseController;
class DirectoryController;
class FileController;
class EditController;
class EngineController;
class GameController;
class GameTextWidget;
class HelpController;
class LineController;
class SideController;
class MoveSound;
class OpeningsController;
class OperationRunner;
class OptionsController;
class OutputController;
class PlayerCardController;
class AnnotationController;
class SearchController;
class TreeController;
class UtilitiesController;
class StatisticsController;

// The main window: a frame of panels (the board with the move, result, opening and comment lines
// under it, the game text beside it, the game scroll bar) and the status bar, drawn from the
// session by Redraw. The menus come from the command table; each command runs in the controller
// of its subsystem, which reaches the window only through its WindowPort.
class MainWindow : public QMainWindow, public WindowPort {
    Q_OBJECT

  public:
    // `state` is the outcome of start-up; the window changes its options record and saves it, so
    // it must outlive the window.
    explicit MainWindow(app::StartUpState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The Ui the window reports through: message boxes unless a test put another in place.
    Ui& ui() { return *ui_; }
    void SetUi(Ui& ui) { ui_ = &ui; }

    // Commands posted by the core (start-up's File/Open, the end of a background operation).
    void RunCommand(Command command);
    // Runs a command of the table as its menu item does.
    void Run(const app::CommandId& id);

    // WindowPort.
    QWidget* DialogParent() override { return this; }
    bool ShowGame(std::int32_t game_number) override;
    bool OpenFile(const std::string& path) override;
    void GoToPly(std::int32_t ply) override;
    void ShowOpenedFile(std::int32_t game_number, std::int32_t ply) override;
    void Redraw(WindowPart parts) override;
    QImage BoardImage() override;

    const app::Session& session() const { return session_; }
    app::Session& session() { return session_; }
    FileController& file() { return *file_; }
    GameController& game() { return *game_; }
    EditController& edit() { return *edit_; }
    SearchController& search() { return *search_; }
    OpeningsController& openings() { return *openings_; }
    OptionsController& optionsController() { return *options_; }
    OutputController& output() { return *output_; }
    AnnotationController& annotation() { return *annotation_; }
    HelpController& help() { return *help_; }
    DirectoryController& directory() { return *directory_; }
    DatabaseController& database() { return *database_; }
    UtilitiesController& utilities() { return *utilities_; }
    TreeController& tree() { return *tree_; }
    LineController& lines() { return *lines_; }
    EngineController& engine() { return *engine_; }
    StatisticsController& statistics() { return *statistics_; }
    PlayerCardController& playerCards() { return *player_cards_; }
    OperationRunner& runner() { return *runner_; }
    MoveSound& moveSound() { return *sound_; }

    BoardWidget* board() const { return board_; }
    GameTextWidget* gameText() const { return text_; }
    QScrollBar* GameScrollBar() const { return game_bar_; }
    QAction* Action(const QString& name) const;
    QMenu* Menu(app::MenuId menu) const;
    QString FileStatusText() const;
    QString GameStatusText() const;
    QString DatabaseStatusText() const;
    QString MoveLineText() const;
    QString ResultLineText() const;
    QString OpeningLineText() const;
    QString CommentLineText() const;
    // The screen height the board must fit in: a board too large for it falls back a size.
    void FitBoardToScreen(int available_height);
    // The board size on display: the chosen one as far as the screen allows.
    int ShownBoardSize() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void BuildLayout();
    void BuildToolBars();
    void Dispatch(const app::CommandId& id);
    app::ShellState State() const;
    void ApplyOptions();
    void PlaceWindow();
    void RememberWindowRectangle();
    void SaveOptions();
    void DrawBoard();
    void DrawText();
    void DrawMoveLines();
    void DrawOpeningLine();
    void DrawStatus();
    void DrawTitle();
    void DrawCommandStates();
    void DrawReplayText();
    // The game on display: an entered or played game, a database game, or the file's game.
    app::ShownGame Shown() const;

    app::StartUpState& state_;
    app::Session session_;
    std::unique_ptr<Ui> own_ui_;
    Ui* ui_ = nullptr;
    // Hands everything to whichever Ui the window reports through at the time.
    struct CurrentUi final : Ui {
        Ui*& target;
        explicit CurrentUi(Ui*& ui) : target(ui) {}
        void report(std::string_view message) override { target->report(message); }
        void explain(const Error& error) override { target->explain(error); }
        bool ask(std::string_view question) override { return target->ask(question); }
        void progress(const ProgressCounters& counters) override { target->progress(counters); }
        void post(Command command) override { target->post(command); }
    };
    CurrentUi current_ui_{ui_};
    OperationRunner* runner_ = nullptr;
    std::unique_ptr<ShellContext> context_;
    MoveSound* sound_ = nullptr;
    CommandBinder* binder_ = nullptr;
    std::unique_ptr<FileController> file_;
    std::unique_ptr<GameController> game_;
    std::unique_ptr<EditController> edit_;
    std::unique_ptr<SearchController> search_;
    std::unique_ptr<OpeningsController> openings_;
    std::unique_ptr<TreeController> tree_;
    std::unique_ptr<OptionsController> options_;
    std::unique_ptr<OutputController> output_;
    std::unique_ptr<AnnotationController> annotation_;
    std::unique_ptr<HelpController> help_;
    std::unique_ptr<DirectoryController> directory_;
    std::unique_ptr<DatabaseController> database_;
    std::unique_ptr<UtilitiesController> utilities_;
    std::unique_ptr<LineController> lines_;
    std::unique_ptr<EngineController> engine_;
    std::unique_ptr<StatisticsController> statistics_;
    std::unique_ptr<SideController> side_;
    std::unique_ptr<PlayerCardController> player_cards_;

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
    QLabel* mode_status_ = nullptr;
    QLabel* database_status_ = nullptr;
    QScrollBar* game_bar_ = nullptr;
    QToolBar* replay_bar_ = nullptr;
    bool start_open_done_ = false;
    std::string rendered_key_;
    app::RenderedGameText rendered_;
    int screen_height_ = 0;
};

}  // namespace qorvale::gui
