#include "gui/shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <type_traits>
#include <variant>

#include "app/board_style.h"
#include "app/options_file.h"
#include "app/window_placement.h"
#include "base/message.h"
#include "gui/database/database_controller.h"
#include "gui/edit/edit_controller.h"
#include "gui/engine/engine_controller.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/help/help_controller.h"
#include "gui/openings/openings_controller.h"
#include "gui/options/options_controller.h"
#include "gui/output/annotation_controller.h"
#include "gui/output/output_controller.h"
#include "gui/output/player_card_box.h"
#include "gui/panels/board_widget.h"
#include "gui/panels/game_text_widget.h"
#include "gui/panels/piece_set.h"
#include "gui/search/directory_controller.h"
#include "gui/search/search_controller.h"
#include "gui/shell/command_binder.h"
#include "gui/shell/message_box_ui.h"
#include "gui/shell/messages.h"
#include "gui/shell/move_sound.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "gui/side/side_controller.h"
#include "gui/statistics/statistics_controller.h"
#include "gui/statistics/statistics_windows.h"
#include "gui/tree/line_controller.h"
#include "gui/tree/tree_controller.h"
#include "gui/utilities/utilities_controller.h"
#include "openings/opening_classification.h"
#include "pgn/display_stem.h"
#include "pgn/messages.h"
#include "platform/folder.h"

namespace qorvale::gui {

namespace {

const QString WindowTitle = QStringLiteral("Qorvale");

app::ScreenSize PrimaryScreenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {1024, 768};
    return {screen->geometry().width(), screen->geometry().height()};
}

int AvailableScreenHeight() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? 768 : screen->availableGeometry().height();
}

// Move-line font sizes for the three boards.
constexpr std::array<int, 3> MoveLinePixels = {18, 22, 28};
// Height of the comments panel for the three boards.
constexpr std::array<int, 3> CommentPixels = {84, 120, 150};

// Calls the controller of a command's subsystem.
template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

MainWindow::MainWindow(app::StartUpState& state, QWidget* parent)
    : QMainWindow(parent), state_(state) {
    own_ui_ =
        std::make_unique<MessageBoxUi>(this, [this](Command command) { RunCommand(command); });
    ui_ = own_ui_.get();
    runner_ = new OperationRunner(this, current_ui_);
    context_ = std::make_unique<ShellContext>(
        ShellContext{state_, session_, *this, *runner_, current_ui_});
    sound_ = new MoveSound(ToQPath(platform::JoinPath(state_.app_folder, "sounds/move.wav")), this);
    setWindowTitle(WindowTitle);
    setAcceptDrops(true);

    BuildLayout();
    binder_ = new CommandBinder(
        this, {[this](const app::CommandId& id) { Dispatch(id); }, [this] { return State(); },
               [this] { (void)runner_->RefuseWhileBusy(); }, [this] { game_->StopAutoPlay(); }});
    QMenu* recent = new QMenu(tr("Recent &Files"), this);
    Menu(app::MenuId::File)->insertMenu(Action(QStringLiteral("PreviousFile")), recent);
    file_ = std::make_unique<FileController>(*context_, recent);
    game_ = std::make_unique<GameController>(*context_, *sound_);
    edit_ = std::make_unique<EditController>(*context_);
    search_ = std::make_unique<SearchController>(*context_);
    openings_ = std::make_unique<OpeningsController>(*context_);
    options_ = std::make_unique<OptionsController>(*context_);
    output_ = std::make_unique<OutputController>(*context_);
    annotation_ = std::make_unique<AnnotationController>(*context_);
    help_ = std::make_unique<HelpController>(*context_, QStringLiteral(QORVALE_MANUAL_DIR));
    directory_ = std::make_unique<DirectoryController>(*context_, *search_);
    database_ = std::make_unique<DatabaseController>(*context_);
    utilities_ = std::make_unique<UtilitiesController>(*context_);
    tree_ = std::make_unique<TreeController>(*context_, *search_, *database_);
    lines_ = std::make_unique<LineController>(*context_);
    engine_ = std::make_unique<EngineController>(*context_, *edit_);
    statistics_ = std::make_unique<StatisticsController>(*context_);
    side_ = std::make_unique<SideController>(*context_);
    player_cards_ = std::make_unique<PlayerCardController>(*context_);
    player_cards_->SetDatabaseSource([this]() -> const search::Database* {
        return database_->Database().IsOpen() ? &database_->Database().Data() : nullptr;
    });
    connect(statistics_->ScoresWindow(), &PlayerScoresWindow::playerCardAsked, this,
            [this](int player) {
                player_cards_->ShowPlayerCard(statistics_->ScoresWindow()->RawName(player),
                                              statistics_->Match());
            });
    BuildToolBars();
    connect(board_, &BoardWidget::squareClicked, this, [this](int file, int rank) {
        if (engine_->BoardClicked(file, rank)) return;
        if (edit_->Entry() != nullptr) {
            edit_->BoardClicked(file, rank);
        } else if (!database_->BoardClicked(file, rank)) {
            game_->BoardClicked(file, rank);
        }
    });
    connect(board_, &BoardWidget::squareDropped, this, [this](int file, int rank) {
        if (engine_->PieceDropped(file, rank)) return;
        if (edit_->Entry() != nullptr) edit_->PieceDropped(file, rank);
    });
    connect(board_, &BoardWidget::wheelStep, this, [this](int direction) {
        if (edit_->Entry() != nullptr) {
            (void)edit_->Navigate(direction > 0 ? app::GameCommand::NextMove
                                                : app::GameCommand::PreviousMove);
            return;
        }
        if (database_->Navigate(direction > 0 ? app::GameCommand::NextMove
                                              : app::GameCommand::PreviousMove)) {
            return;
        }
        game_->Navigate(direction > 0 ? app::NavigationAction::NextMove
                                      : app::NavigationAction::PreviousMove);
    });
    connect(text_, &GameTextWidget::plyClicked, this, &MainWindow::GoToPly);
    connect(text_, &GameTextWidget::playerActivated, this, [this](bool white) {
        if (!session_.HasGame() || edit_->Entry() != nullptr) return;
        player_cards_->ShowPlayerCard(session_.Header().CurrentHeader().Get(
            white ? pgn::HeaderField::White : pgn::HeaderField::Black));
    });

    file_status_ = new QLabel(this);
    file_status_->setObjectName(QStringLiteral("FileStatus"));
    game_status_ = new QLabel(this);
    game_status_->setObjectName(QStringLiteral("GameStatus"));
    mode_status_ = new QLabel(this);
    mode_status_->setObjectName(QStringLiteral("ModeStatus"));
    statusBar()->addWidget(file_status_);
    statusBar()->addWidget(game_status_);
    database_status_ = new QLabel(this);
    database_status_->setObjectName(QStringLiteral("DatabaseStatus"));
    database_status_->setContentsMargins(0, 0, 16, 0);
    statusBar()->addPermanentWidget(database_status_);
    statusBar()->addPermanentWidget(mode_status_);

    screen_height_ = AvailableScreenHeight();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::availableGeometryChanged, this,
                [this](const QRect& geometry) { FitBoardToScreen(geometry.height()); });
    }
    ApplyOptions();
    PlaceWindow();
    // The first run saves the window's place at once, so the file never lacks one.
    if (state_.first_run) {
        RememberWindowRectangle();
        SaveOptions();
    }
    Redraw(WindowPart::All);
}

MainWindow::~MainWindow() {
    // The worker reports to the controllers until it has stopped.
    runner_->Shutdown();
}

void MainWindow::BuildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("BoardArea"));
    central->setAutoFillBackground(true);

    board_ = new BoardWidget(PiecesFolder(ToQPath(state_.app_folder)), central);
    move_line_ = new QLabel(central);
    move_line_->setObjectName(QStringLiteral("MoveLine"));
    opening_line_ = new QLabel(central);
    opening_line_->setObjectName(QStringLiteral("OpeningLine"));
    // The text is fitted to the board's width; it must never widen the column.
    opening_line_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    result_line_ = new QLabel(central);
    result_line_->setObjectName(QStringLiteral("ResultLine"));

    auto* under_board = new QHBoxLayout;
    under_board->addWidget(move_line_, 1);
    under_board->addWidget(result_line_);
    auto* left = new QVBoxLayout;
    left->addWidget(board_, 0, Qt::AlignLeft | Qt::AlignTop);
    left->addLayout(under_board);
    left->addWidget(opening_line_);
    left->addStretch(1);

    text_ = new GameTextWidget(central);
    connect(text_, &GameTextWidget::widthChanged, this, [this] { Redraw(WindowPart::Text); });
    actual_text_ = new QPlainTextEdit(central);
    actual_text_->setReadOnly(true);
    actual_text_->setObjectName(ToQString(ActualTextTitle));
    text_stack_ = new QStackedWidget(central);
    text_stack_->addWidget(text_);
    text_stack_->addWidget(actual_text_);

    comments_ = new QTextBrowser(central);
    comments_->setObjectName(QStringLiteral("Comments"));
    comments_->setMaximumHeight(120);
    comments_->setFrameShape(QFrame::StyledPanel);

    // The game scroll bar runs over the games of the file; it loads a game when let go.
    game_bar_ = new QScrollBar(Qt::Horizontal, central);
    game_bar_->setObjectName(QStringLiteral("GameScrollBar"));
    game_bar_->setTracking(false);
    game_bar_->setRange(1, 1);
    game_bar_->setEnabled(false);
    connect(game_bar_, &QScrollBar::valueChanged, this, [this](int game) {
        // In the database mode it runs over the found games.
        if (const app::DatabaseSession* shown = database_->ShownGame()) {
            const auto position = static_cast<std::size_t>(game - 1);
            if (position != shown->ShownPosition()) database_->ShowGame(position);
            return;
        }
        if (game != session_.GameNumber()) ShowGame(game);
    });

    auto* right = new QVBoxLayout;
    right->addWidget(text_stack_, 1);
    right->addWidget(comments_);
    right->addWidget(game_bar_);

    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(10);
    columns->addLayout(left, 0);
    columns->addLayout(right, 1);
    setCentralWidget(central);
}

void MainWindow::BuildToolBars() {
    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("NavigationBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::array<std::pair<const char*, const char*>, 10> buttons = {{
        {"PreviousGame", "<< Game"},
        {"Start", "|<"},
        {"Back5", "<<"},
        {"PreviousMove", "<"},
        {"NextMove", ">"},
        {"Forward5", ">>"},
        {"End", ">|"},
        {"Middle", "Mid"},
        {"NextGame", "Game >>"},
        {"AutoPlay", nullptr},
    }};
    for (const auto& [name, label] : buttons) {
        QAction* action = Action(QString::fromLatin1(name));
        // A tool button shows the action's icon text; the menus keep the full text.
        if (label != nullptr) action->setIconText(QString::fromUtf8(label));
        bar->addAction(action);
    }
    bar->addSeparator();
    bar->addAction(Action(QStringLiteral("FlipBoard")));

    // The analysis replay row, shown only in that mode; a row of its own because the navigation
    // row is full on a small window.
    addToolBarBreak();
    replay_bar_ = addToolBar(tr("Analysis Replay"));
    replay_bar_->setObjectName(QStringLiteral("ReplayBar"));
    replay_bar_->setMovable(false);
    replay_bar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::array<std::pair<const char*, const char*>, 4> replay_buttons = {{
        {"ReplayNext", "Next"},
        {"ReplayPrevious", "Prev"},
        {"ReplayStart", "Start"},
        {"ReplayPromote", "Promote"},
    }};
    for (const auto& [name, label] : replay_buttons) {
        QAction* action = Action(QString::fromLatin1(name));
        action->setIconText(QString::fromUtf8(label));
        replay_bar_->addAction(action);
    }
    replay_bar_->addSeparator();
    replay_bar_->addAction(Action(QStringLiteral("AnalysisList")));
    replay_bar_->setVisible(false);
}

void MainWindow::Run(const app::CommandId& id) { binder_->Run(id); }

void MainWindow::Dispatch(const app::CommandId& id) {
    std::visit(Overloaded{
                   [this](app::FileCommand command) { file_->Run(command); },
                   [this](app::GameCommand command) {
                       // While a game is entered, the moves step through the entered moves;
                       // in the database mode, through the database game and its found games.
                       if (!edit_->Navigate(command) && !database_->Navigate(command)) {
                           game_->Run(command);
                       }
                   },
                   [this](app::EditCommand command) { edit_->Run(command); },
                   [this](app::AnalysisCommand command) { game_->Run(command); },
                   [this](app::SearchCommand command) { search_->Run(command); },
                   [this](app::TreeCommand command) { tree_->Run(command); },
                   [this](app::OpeningsCommand command) {
                       // The Find Opening commands work on the line of a line mode.
                       if (!lines_->FindOpening(command)) openings_->Run(command);
                   },
                   [this](app::OptionsCommand command) { options_->Run(command); },
                   [this](app::OutputCommand command) { output_->Run(command); },
                   [this](app::HelpCommand command) { help_->Run(command); },
                   [this](app::DirectoryCommand command) { directory_->Run(command); },
                   [this](app::DatabaseCommand command) { database_->Run(command); },
                   [this](app::AnnotationCommand command) { annotation_->Run(command); },
                   [this](app::UtilitiesCommand command) { utilities_->Run(command); },
                   [this](app::LineCommand command) { lines_->Run(command); },
                   [this](app::EcoEditCommand command) { lines_->Run(command); },
                   [this](app::EngineCommand command) { engine_->Run(command); },
                   [this](app::StatisticsCommand command) { statistics_->Run(command); },
                   [this](app::SideCommand command) { side_->Run(command); },
               },
               id);
    Redraw(WindowPart::Commands);
}

app::ShellState MainWindow::State() const {
    const bool has_game =
        session_.HasGame() || edit_->Entry() != nullptr || database_->ShownGame() != nullptr;
    return {session_.File().IsOpen(), has_game, runner_->Busy(), session_.Modes().Current(),
            database_->Database().IsOpen()};
}

void MainWindow::RunCommand(Command command) {
    switch (command) {
        case Command::OpenFile:
            if (!start_open_done_) {
                start_open_done_ = true;
                file_->OpenAtStart();
                edit_->OfferRecovery();
            } else {
                Run(app::FileCommand::Open);
            }
            return;
        case Command::OperationEnded:
            // The operation runner receives its own; this one came through the window's Ui.
            return;
    }
}

QAction* MainWindow::Action(const QString& name) const { return binder_->Action(name); }

QMenu* MainWindow::Menu(app::MenuId menu) const { return binder_->Menu(menu); }

bool MainWindow::ShowGame(std::int32_t game_number) { return game_->ShowGame(game_number); }

bool MainWindow::OpenFile(const std::string& path) { return file_->OpenPath(ToQPath(path)); }

void MainWindow::GoToPly(std::int32_t ply) {
    if (edit_->Entry() != nullptr) {
        edit_->ShowHalfMove(ply);
    } else if (!database_->GoToPly(ply)) {
        game_->GoToPly(ply);
    }
}

void MainWindow::ShowOpenedFile(std::int32_t game_number, std::int32_t ply) {
    game_->StopAutoPlay();
    for (Controller* controller : std::initializer_list<Controller*>{
             file_.get(), game_.get(), search_.get(), openings_.get(), tree_.get(),
             utilities_.get(), statistics_.get()}) {
        controller->FileOpened();
    }
    rendered_key_.clear();
    const std::int32_t count = session_.GameCount();
    if (state_.options.AutoDisplayGame != 0 && count > 0) {
        if (ShowGame(std::clamp(game_number, 1, count)) && ply > 0) GoToPly(ply);
    }
    // A file without games leaves an empty board, not the last file's position.
    Redraw(WindowPart::All);
}

void MainWindow::Redraw(WindowPart parts) {
    if (Has(parts, WindowPart::Layout)) ApplyOptions();
    // Switching the analysis replay mode off in the options ends a walk: the main line returns.
    if (state_.options.AnalysisReplayActive == 0 && session_.Replay().Started()) {
        session_.ReplayStop();
    }
    if (Has(parts, WindowPart::Board)) DrawBoard();
    if (Has(parts, WindowPart::OpeningLine)) DrawOpeningLine();
    if (Has(parts, WindowPart::MoveLines) || Has(parts, WindowPart::Board)) DrawMoveLines();
    if (Has(parts, WindowPart::Text)) DrawText();
    if (Has(parts, WindowPart::Status)) DrawStatus();
    if (Has(parts, WindowPart::Title)) DrawTitle();
    if (Has(parts, WindowPart::Commands)) DrawCommandStates();
    if (Has(parts, WindowPart::Board) || Has(parts, WindowPart::MoveLines)) {
        game_->PositionChanged();
        if (engine_) engine_->PositionChanged();
    }
}

void MainWindow::ApplyOptions() {
    const app::OptionsRecord& options = state_.options;
    app::OptionsRecord shown = options;
    shown.BoardSize = ShownBoardSize();
    board_->ApplyOptions(shown);
    const int size = shown.BoardSize;
    text_->SetBoardSize(size);
    text_->SetColours(FromRecordColour(options.MoveHighlightColour), QColor(0x80, 0x00, 0x00));
    QPalette palette = centralWidget()->palette();
    palette.setColor(QPalette::Window, FromRecordColour(options.BackgroundColour));
    const bool dark = FromRecordColour(options.BackgroundColour).lightness() < 128;
    palette.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
    centralWidget()->setPalette(palette);
    QFont move_font = move_line_->font();
    move_font.setPixelSize(MoveLinePixels[static_cast<std::size_t>(size)]);
    move_font.setBold(true);
    move_line_->setFont(move_font);
    result_line_->setFont(move_font);
    move_line_->setMinimumWidth(board_->sizeHint().width() / 2);
    comments_->setMaximumHeight(CommentPixels[static_cast<std::size_t>(size)]);
    session_.View().actual_text = options.DisplayActualText != 0;
    rendered_key_.clear();
    for (Controller* controller : std::initializer_list<Controller*>{
             game_.get(), search_.get(), openings_.get(), options_.get()}) {
        if (controller != nullptr) controller->OptionsChanged();
    }
}

void MainWindow::DrawBoard() {
    board_->SetFlipped(session_.View().flipped);
    if (engine_ && engine_->DrawBoard(*board_)) return;
    if (const app::GameEntry* entry = edit_->Entry()) {
        edit_->Input().Draw(*board_, *entry);
        return;
    }
    board_->SetMarks(std::nullopt, {});
    if (const app::DatabaseSession* shown = database_->ShownGame()) {
        board_->SetPosition(shown->Chess().CurrentBoard(), shown->LastMoveSquares());
        return;
    }
    board_->SetPosition(session_.CurrentBoard(),
                        session_.HasGame() ? session_.LastMoveSquares() : app::MoveSquares{});
}

app::ShownGame MainWindow::Shown() const {
    const app::GameEntry* played = engine_ ? engine_->PlayEntry() : nullptr;
    return app::ShownGame(session_, played != nullptr ? played : edit_->Entry(),
                          database_->ShownGame());
}

void MainWindow::DrawMoveLines() {
    move_line_->setText(MoveLineText());
    result_line_->setText(ResultLineText());
    QString comment;
    // An entered game or a database game has no annotations of the file.
    const bool entering = Shown().FileGameHidden();
    if (session_.HasGame() && !entering) {
        comment = ToQString(app::CommentLineText(
            session_.Lines().AnnotationText(session_.Navigation().currentPly)));
    }
    comments_->setPlainText(comment);

    const bool mode_on = state_.options.AnalysisReplayActive != 0;
    if (replay_bar_->isVisibleTo(this) != mode_on) replay_bar_->setVisible(mode_on);
    const app::AnalysisReplay& replay = session_.Replay();
    if (session_.HasGame() && !entering && replay.OnBoard()) {
        move_line_->setText(ToQString(app::AnalysisMoveText(
            replay.HalfMove(), replay.Move().view(), session_.TextSource().start_move_number)));
        const std::uint32_t colour = state_.options.ReplayVariationColour != 0
                                         ? state_.options.ReplayVariationColour
                                         : 0xA80054u;
        move_line_->setStyleSheet(
            QStringLiteral("color: %1;").arg(FromRecordColour(colour).name()));
        DrawReplayText();
    } else {
        move_line_->setStyleSheet(QString());
    }
}

// The annotations after the main-line move as the file has them, with the analysis move on the
// board marked.
void MainWindow::DrawReplayText() {
    const app::MarkedAnnotation marked =
        app::MarkWalkInAnnotation(session_.Lines(), session_.Replay());
    if (!marked.found) return;
    const app::OptionsRecord& options = state_.options;
    std::uint32_t colour = options.MoveHighlightColour;
    if (options.ReplayHighlightOn != 0) {
        colour = options.ReplayHighlightColour != 0 ? options.ReplayHighlightColour : 0xA0A0A0u;
    }
    QString text = ToQString(marked.before).toHtmlEscaped();
    if (!marked.marked.empty()) {
        text += QStringLiteral(
                    "<a name=\"walk\"></a><span style=\"background-color: %1; "
                    "font-weight: bold;\">%2</span>")
                    .arg(FromRecordColour(colour).name(), ToQString(marked.marked).toHtmlEscaped());
    }
    text += ToQString(marked.after).toHtmlEscaped();
    comments_->setHtml(text);
    // Long annotations scroll: keep the marked move in view.
    if (!marked.marked.empty()) comments_->scrollToAnchor(QStringLiteral("walk"));
}

void MainWindow::DrawOpeningLine() {
    std::string text;
    if (state_.options.DisplayOpening != 0 && !Shown().FileGameHidden()) {
        text = session_.OpeningText();
    }
    const QFontMetrics metrics(opening_line_->font());
    const int width = std::max(board_->sizeHint().width(), 100);
    opening_line_->setText(
        ToQString(openings::FitOpeningText(text, width, [&metrics](std::string_view part) {
            return metrics.horizontalAdvance(ToQString(part));
        })));
}

void MainWindow::DrawText() {
    const app::OptionsRecord& options = state_.options;
    const app::ShownGame shown = Shown();
    // An entered game has no file text yet, nor has a database game: their moves are shown
    // however the file's game is.
    const bool actual_text = session_.View().actual_text && !shown.FileGameHidden();
    text_stack_->setCurrentIndex(actual_text ? 1 : 0);
    if (actual_text) actual_text_->setPlainText(ToQString(session_.ActualGameText()));
    const std::int32_t ply = shown.Ply();
    // The moves being entered are never hidden: the user is making them. Study mode belongs to
    // the file's games.
    const std::int32_t hidden_limit =
        shown.FileGameHidden() ? -1 : session_.HiddenMovesLimit(options.HideGameText != 0);
    const bool hiding = hidden_limit >= 0;
    const std::string letters = app::DisplayPieceLetters(options);
    const bool columns = options.ColumnFormat != 0 && !hiding;
    const app::GameTextSource source = shown.TextSource();

    // Lines are broken again only when what they depend on changed.
    const std::string key =
        shown.Key() + '/' + std::to_string(text_->width()) + '/' + std::to_string(hidden_limit) +
        '/' + letters + '/' + std::to_string(ShownBoardSize()) + '/' +
        std::to_string(text_->TextWidth("0123456789")) + '/' + session_.File().CurrentPath();
    if (key != rendered_key_) {
        app::GameTextLayout layout;
        layout.panel_width = text_->width();
        layout.board_size = ShownBoardSize();
        layout.measure = [this](std::string_view text) { return text_->TextWidth(text); };
        layout.hide_moves = hiding;
        layout.hide_limit = std::max(0, hidden_limit);
        layout.piece_letters = letters;
        rendered_ = app::RenderGameText(source, layout);
        rendered_key_ = key;
    }

    GameTextView view;
    for (const std::string& line : shown.HeaderLines(options.DisplayGameButtons != 0, hiding)) {
        view.header << ToQString(line);
    }
    view.text = rendered_;
    view.columns = columns;
    if (columns) {
        const int page = std::max(1, app::ColumnPlaceOf(ply, source.full_moves).page);
        view.column_page = app::RenderColumns(source, page, letters);
        view.column_pages = app::ColumnPageCount(source.full_moves);
    }
    view.ply = ply;
    view.figurines = options.FigurineNotation != 0;
    view.annotated.assign(static_cast<std::size_t>(2 * source.full_moves + 1), false);
    if (session_.HasGame() && !shown.FileGameHidden()) {
        for (std::size_t half = 1; half < view.annotated.size(); ++half) {
            view.annotated[half] = session_.Lines().AnnotationIndex(static_cast<int>(half)).kind !=
                                   pgn::AnnotationKind::None;
        }
    }
    text_->SetView(std::move(view), options.AutoPageGameText != 0);
    if (columns) {
        // The column format shows the page of the current move.
        const int page = app::ColumnPlaceOf(ply, source.full_moves).page;
        if (page > 0) text_->SetPage(page);
    }
}

void MainWindow::DrawStatus() {
    file_status_->setText(FileStatusText());
    const app::DatabaseSession* database_game = database_->ShownGame();
    std::int32_t count = session_.GameCount();
    std::int32_t shown = session_.HasGame() ? session_.GameNumber() : 0;
    if (database_game != nullptr) {
        count = static_cast<std::int32_t>(database_game->Found().size());
        shown = static_cast<std::int32_t>(database_game->ShownPosition()) + 1;
    }
    {
        const QSignalBlocker blocker(game_bar_);
        game_bar_->setRange(1, std::max(1, count));
        game_bar_->setEnabled(count > 1);
        if (shown > 0) game_bar_->setValue(shown);
    }
    // An entered game is no game of the file yet; a database game counts among the found games.
    QString counter;
    if (database_game != nullptr) {
        counter = ToQString(database_game->CounterText());
    } else if (edit_->Entry() == nullptr) {
        counter = ToQString(session_.GameCounterText());
    }
    game_status_->setText(counter);
    mode_status_->setText(ToQString(session_.Modes().Traits().name));
    database_status_->setText(database_->StatusText());
}

void MainWindow::DrawTitle() {
    QString title = WindowTitle;
    if (session_.File().IsOpen()) {
        title = WindowTitle + QStringLiteral(" - ") +
                ToQPath(platform::NameOf(session_.File().CurrentPath()));
    }
    setWindowTitle(title);
}

void MainWindow::DrawCommandStates() {
    binder_->UpdateEnabled();
    const app::OptionsRecord& options = state_.options;
    const search::SearchCriteria& criteria = session_.Search().Criteria();
    const std::array<std::pair<const char*, bool>, 6> checked = {{
        {"StudyMode", session_.Navigation().studyMode != 0},
        {"FlipBoard", session_.View().flipped},
        {"DisplayOpening", options.DisplayOpening != 0},
        {"ExactVariation", criteria.exact},
        {"ForceMatch", criteria.force_match},
        {"MoveSound", options.MoveSound != 0},
    }};
    for (const auto& [name, on] : checked) {
        QAction* action = Action(QString::fromLatin1(name));
        const QSignalBlocker blocker(action);
        action->setChecked(on);
    }
    QAction* auto_play = Action(QStringLiteral("AutoPlay"));
    const QString label =
        ToQString(session_.Navigation().autoPlay ? StopAutoPlayLabel : AutoPlayLabel);
    auto_play->setText(label);
    auto_play->setIconText(label);
}

QImage MainWindow::BoardImage() { return board_->grab().toImage(); }

QString MainWindow::FileStatusText() const {
    if (!session_.File().IsOpen()) return {};
    return ToQString(FillMessage(
        pgn::FileStatus, pgn::DisplayStem(platform::NameOf(session_.File().CurrentPath()))));
}

QString MainWindow::GameStatusText() const { return game_status_->text(); }

QString MainWindow::DatabaseStatusText() const { return database_status_->text(); }

QString MainWindow::MoveLineText() const {
    const app::ShownGame shown = Shown();
    if (!shown.FileGameHidden() && !session_.HasGame()) return {};
    return ToQString(app::MoveLineText(shown.TextSource(), shown.Ply(),
                                       app::DisplayPieceLetters(state_.options)));
}

QString MainWindow::ResultLineText() const {
    const app::ShownGame shown = Shown();
    if (shown.Entry() != nullptr) return {};
    if (const app::DatabaseSession* database_game = shown.Database()) {
        const app::NavigationState& navigation = database_game->Navigation();
        if (navigation.currentPly != navigation.lastPly) return {};
        return ToQString(database_game->ResultText());
    }
    const app::NavigationState& navigation = session_.Navigation();
    if (!session_.HasGame() || navigation.currentPly != navigation.lastPly) return {};
    return ToQString(session_.ResultText());
}

QString MainWindow::OpeningLineText() const { return opening_line_->text(); }

QString MainWindow::CommentLineText() const { return comments_->toPlainText(); }

int MainWindow::ShownBoardSize() const {
    return app::EffectiveBoardSize(state_.options.BoardSize, screen_height_);
}

void MainWindow::FitBoardToScreen(int available_height) {
    if (available_height == screen_height_) return;
    screen_height_ = available_height;
    Redraw(WindowPart::All);
    // Grows to fit a larger board; never shrinks a window the user made larger.
    resize(size().expandedTo(sizeHint()));
}

void MainWindow::PlaceWindow() {
    const app::ScreenSize screen = PrimaryScreenSize();
    app::WindowRect rect = app::WindowRectangle(state_.options, screen, false);
    // A first start uses most of the screen rather than a small window in its corner.
    if (!app::HasSavedWindowRectangle(state_.options, screen, false)) {
        rect.width = std::max(rect.width, screen.width * 4 / 5);
        rect.height = std::max(rect.height, screen.height * 4 / 5);
        rect.x = std::max(0, (screen.width - rect.width) / 2);
        rect.y = std::max(0, (screen.height - rect.height) / 2);
    }
    move(rect.x, rect.y);
    resize(rect.width, rect.height);
}

void MainWindow::RememberWindowRectangle() {
    app::WindowRect rect{x(), y(), width(), height()};
    app::StoreWindowRectangle(state_.options, PrimaryScreenSize(), false, rect);
}

void MainWindow::SaveOptions() { (void)app::SaveOptions(state_.options_path, state_.options); }

void MainWindow::closeEvent(QCloseEvent* event) {
    // A game against an engine becomes an entered game, so the question below covers it.
    engine_->Stop();
    // Entered moves are never dropped without the user's word.
    if (!edit_->Leave() || !lines_->Leave()) {
        event->ignore();
        return;
    }
    statistics_->FlushPrintListOnExit();
    game_->StopAutoPlay();
    runner_->Shutdown();
    // Shut-down: the next start returns to the game on display.
    state_.options.PreviousGameNumber = session_.GameNumber();
    RememberWindowRectangle();
    SaveOptions();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (file_->OpenDropped(*event->mimeData())) event->acceptProposedAction();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) runner_->WindowMinimised(isMinimized());
}

}  // namespace qorvale::gui
