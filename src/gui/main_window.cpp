#include "gui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/board_style.h"
#include "app/file_dialogs.h"
#include "app/game_text.h"
#include "app/messages.h"
#include "app/options_file.h"
#include "app/window_placement.h"
#include "gui/analysis_list_box.h"
#include "gui/board_widget.h"
#include "gui/game_list_box.h"
#include "gui/game_text_widget.h"
#include "gui/message_box_ui.h"
#include "gui/messages.h"
#include "gui/options_box.h"
#include "gui/piece_set.h"
#include "gui/progress_box.h"
#include "openings/opening_classification.h"
#include "pgn/display_stem.h"
#include "pgn/messages.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "openings/opening_files.h"
#include "search/header_search.h"
#include "search/ser_file.h"
#include "search/variation_search.h"
#include "gui/position_searchbox.h"
#include "gui/searchbox.h"
#include "search/position_search.h"
#include "utilities/fast_file_operation.h"

namespace qorvale::gui {

namespace {

const QString WindowTitle = QStringLiteral("Qorvale");

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

}  // namespace

MainWindow::MainWindow(app::StartUpState& state, QWidget* parent)
    : QMainWindow(parent), state_(state) {
    own_ui_ =
        std::make_unique<MessageBoxUi>(this, [this](Command command) { RunCommand(command); });
    ui_ = own_ui_.get();
    worker_ui_ = std::make_unique<GuiThreadUi>(
        this, current_ui_, [this](const ProgressCounters& counters) { ShowProgress(counters); },
        [this](Command command) { RunCommand(command); });
    worker_ = std::make_unique<utilities::Worker>(*worker_ui_);
    opener_ = std::make_unique<pgn::GameFileOpener>(
        session_.MutableFile(), saved_files_, static_cast<pgn::GameFileHost&>(*this), current_ui_);
    setWindowTitle(WindowTitle);
    setAcceptDrops(true);

    auto_play_timer_ = new QTimer(this);
    connect(auto_play_timer_, &QTimer::timeout, this, [this] {
        if (!session_.Navigation().autoPlay) return;
        Navigate(app::NavigationAction::NextMove);
        if (session_.Navigation().currentPly >= session_.Navigation().lastPly) StopAutoPlay();
    });

    BuildLayout();
    BuildActions();

    file_status_ = new QLabel(this);
    game_status_ = new QLabel(this);
    statusBar()->addWidget(file_status_);
    statusBar()->addWidget(game_status_);

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
    RefreshBoard();
    RefreshText();
}

MainWindow::~MainWindow() {
    // The worker's thread posts to this window until it ends.
    worker_->Wait();
}

void MainWindow::BuildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("BoardArea"));
    central->setAutoFillBackground(true);

    board_ = new BoardWidget(PiecesFolder(ToQString(state_.app_folder)), central);
    connect(board_, &BoardWidget::squareClicked, this, &MainWindow::OnBoardClick);
    connect(board_, &BoardWidget::wheelStep, this, [this](int direction) {
        Navigate(direction > 0 ? app::NavigationAction::NextMove
                               : app::NavigationAction::PreviousMove);
    });

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
    connect(text_, &GameTextWidget::plyClicked, this, &MainWindow::GoToPly);
    connect(text_, &GameTextWidget::widthChanged, this, [this] { RefreshText(); });
    actual_text_ = new QPlainTextEdit(central);
    actual_text_->setReadOnly(true);
    actual_text_->setObjectName(QString::fromLatin1(ActualTextTitle.data()));
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
        if (game != game_number_) ShowGame(game);
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

QAction* MainWindow::AddAction(const QString& name, const QString& text, std::string_view tip,
                               const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    if (!tip.empty()) {
        action->setToolTip(ToQString(tip));
        action->setStatusTip(ToQString(tip));
    }
    if (!keys.isEmpty()) action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    return action;
}

QAction* MainWindow::Action(const QString& name) const {
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void MainWindow::BuildActions() {
    using Nav = app::NavigationAction;
    auto nav = [this](Nav action) { return [this, action] { Navigate(action); }; };

    QMenu* file_menu = menuBar()->addMenu(tr("&File"));
    file_menu->setObjectName(QStringLiteral("FileMenu"));
    QAction* open = AddAction("Open", tr("&Open..."), {}, {QKeySequence::Open});
    connect(open, &QAction::triggered, this, &MainWindow::ChooseGameFile);
    QAction* reload = AddAction("Reload", tr("&Reload"), {}, {QKeySequence(Qt::Key_F5)});
    connect(reload, &QAction::triggered, this, &MainWindow::ReloadFile);
    QAction* options = AddAction("Options", tr("O&ptions..."), {}, {});
    connect(options, &QAction::triggered, this, &MainWindow::EditOptions);
    QAction* exit = AddAction("Exit", tr("E&xit"), {}, {QKeySequence::Quit});
    connect(exit, &QAction::triggered, this, &QWidget::close);
    QAction* previous_file = AddAction("PreviousFile", tr("Previous &File"), PreviousFileTip,
                                       {QKeySequence(Qt::CTRL | Qt::Key_P)});
    connect(previous_file, &QAction::triggered, this, &MainWindow::SwitchToPreviousFile);
    file_menu->addAction(open);
    file_menu->addAction(reload);
    file_menu->addAction(previous_file);
    file_menu->addSeparator();
    file_menu->addAction(options);
    file_menu->addSeparator();
    file_menu->addAction(exit);

    QAction* start =
        AddAction("Start", tr("&Start of Game"), StartTip, {QKeySequence(Qt::Key_Home)});
    // The Start button returns to a stored start position when there is one; Home goes to 0.
    connect(start, &QAction::triggered, this, [this] {
        Navigate(session_.Navigation().startPly > 0 ? Nav::NewStartPosition : Nav::StartOfGame);
    });
    QAction* back5 = AddAction("Back5", tr("&Back 5"), Back5Tip, {QKeySequence(Qt::Key_PageUp)});
    connect(back5, &QAction::triggered, this, nav(Nav::Back5));
    QAction* previous = AddAction("PreviousMove", tr("&Previous Move"), PreviousMoveTip,
                                  {QKeySequence(Qt::Key_Up)});
    connect(previous, &QAction::triggered, this, nav(Nav::PreviousMove));
    QAction* next =
        AddAction("NextMove", tr("&Next Move"), NextMoveTip, {QKeySequence(Qt::Key_Down)});
    connect(next, &QAction::triggered, this, nav(Nav::NextMove));
    QAction* forward5 =
        AddAction("Forward5", tr("&Forward 5"), Forward5Tip, {QKeySequence(Qt::Key_PageDown)});
    connect(forward5, &QAction::triggered, this, nav(Nav::Forward5));
    QAction* end = AddAction("End", tr("&End of Game"), EndTip, {QKeySequence(Qt::Key_End)});
    connect(end, &QAction::triggered, this, nav(Nav::EndOfGame));
    QAction* middle = AddAction("Middle", tr("&Middle of Game"), MiddleTip,
                                {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::Key_Delete)});
    connect(middle, &QAction::triggered, this, nav(Nav::MiddleOfGame));
    QAction* new_start = AddAction("SetNewStart", tr("Set new start position"), NewStartTip, {});
    connect(new_start, &QAction::triggered, this,
            [this] { app::SetNewStartPosition(session_.Navigation()); });
    QAction* auto_play =
        AddAction("AutoPlay", ToQString(AutoPlayLabel), AutoPlayTip, {QKeySequence(Qt::Key_Space)});
    connect(auto_play, &QAction::triggered, this, &MainWindow::ToggleAutoPlay);
    QAction* study = AddAction("StudyMode", tr("Stu&dy Mode"), StudyModeTip, {});
    study->setCheckable(true);
    connect(study, &QAction::toggled, this, [this](bool on) {
        session_.Navigation().studyMode = on ? 1 : 0;
        RefreshText();
    });
    QAction* next_game =
        AddAction("NextGame", tr("Next &Game"), NextGameTip, {QKeySequence(Qt::Key_Right)});
    connect(next_game, &QAction::triggered, this, &MainWindow::NextGame);
    QAction* previous_game = AddAction("PreviousGame", tr("P&revious Game"), PreviousGameTip,
                                       {QKeySequence(Qt::Key_Left)});
    connect(previous_game, &QAction::triggered, this, &MainWindow::PreviousGame);
    QAction* last_shown =
        AddAction("PreviousShownGame", tr("Return to Last Game"), PreviousShownGameTip, {});
    connect(last_shown, &QAction::triggered, this, [this] {
        if (previous_shown_game_ > 0) ShowGame(previous_shown_game_);
    });
    QAction* go_to =
        AddAction("GoToGame", tr("Go to Game..."), {}, {QKeySequence(Qt::CTRL | Qt::Key_G)});
    connect(go_to, &QAction::triggered, this, &MainWindow::GoToGameNumber);
    QAction* select_game = AddAction("SelectGame", tr("&Select Game..."), SelectGameTip,
                                     {QKeySequence(Qt::CTRL | Qt::Key_L)});
    connect(select_game, &QAction::triggered, this, &MainWindow::ShowGameList);
    QAction* flip =
        AddAction("FlipBoard", tr("&Flip Board"), {}, {QKeySequence(Qt::CTRL | Qt::Key_F)});
    flip->setCheckable(true);
    connect(flip, &QAction::toggled, this, [this](bool on) { board_->SetFlipped(on); });
    QAction* actual = AddAction("ActualText", ToQString(ActualTextTitle), {}, {});
    connect(actual, &QAction::triggered, this, &MainWindow::ShowActualText);

    QMenu* game_menu = menuBar()->addMenu(tr("&Game"));
    game_menu->setObjectName(QStringLiteral("GameMenu"));
    for (QAction* action : {start, back5, previous, next, forward5, end, middle}) {
        game_menu->addAction(action);
    }
    game_menu->addSeparator();
    game_menu->addAction(new_start);
    game_menu->addAction(auto_play);
    game_menu->addAction(study);
    game_menu->addSeparator();
    for (QAction* action : {select_game, next_game, previous_game, last_shown, go_to}) {
        game_menu->addAction(action);
    }
    QMenu* tree_menu = menuBar()->addMenu(tr("&Tree"));
    tree_menu->setObjectName(QStringLiteral("TreeMenu"));
    QAction* make_fast = AddAction("MakeFastFile", tr("Make Fast File"), {}, {});
    connect(make_fast, &QAction::triggered, this, &MainWindow::MakeFastFile);
    QAction* check_fast = AddAction("CheckFastFile", tr("Check Fast File"), {}, {});
    connect(check_fast, &QAction::triggered, this, &MainWindow::CheckFastFile);
    QAction* delete_fast = AddAction("DeleteFastFile", tr("Delete Fast File"), {}, {});
    connect(delete_fast, &QAction::triggered, this, &MainWindow::DeleteFastFile);
    for (QAction* action : {make_fast, check_fast, delete_fast}) tree_menu->addAction(action);

    QMenu* openings_menu = menuBar()->addMenu(tr("O&penings"));
    openings_menu->setObjectName(QStringLiteral("OpeningsMenu"));
    QAction* show_opening = AddAction("ShowOpening", tr("Show Opening"), {}, {});
    connect(show_opening, &QAction::triggered, this, &MainWindow::ShowOpening);
    openings_menu->addAction(show_opening);
    const std::array<std::pair<const char*, openings::FindOpeningMode>, 3> find_modes = {{
        {"FindOpeningClosestMatch", openings::FindOpeningMode::ClosestMatch},
        {"FindOpeningExactNumberOfMoves", openings::FindOpeningMode::ExactNumberOfMoves},
        {"FindOpeningExactVariation", openings::FindOpeningMode::ExactVariation},
    }};
    for (const auto& [name, mode] : find_modes) {
        QAction* find = AddAction(name, ToQString(openings::FindOpeningCaption(mode)), {}, {});
        connect(find, &QAction::triggered, this, [this, mode = mode] { FindOpening(mode); });
        openings_menu->addAction(find);
    }
    openings_menu->addSeparator();
    QAction* display_opening = AddAction("DisplayOpening", tr("Display Opening"), {}, {});
    display_opening->setCheckable(true);
    connect(display_opening, &QAction::toggled, this, &MainWindow::SetDisplayOpening);
    openings_menu->addAction(display_opening);

    QMenu* search_menu = menuBar()->addMenu(tr("&Search"));
    search_menu->setObjectName(QStringLiteral("SearchMenu"));
    QAction* search_header = AddAction("SearchHeader", tr("Search &Header..."), {},
                                       {QKeySequence(Qt::CTRL | Qt::Key_H)});
    connect(search_header, &QAction::triggered, this, &MainWindow::SearchHeaderCommand);
    QAction* search_line = AddAction("SearchVariation", tr("Search &Variation..."), {}, {});
    connect(search_line, &QAction::triggered, this, &MainWindow::SearchVariationCommand);
    QAction* search_position = AddAction("SearchPosition", tr("Search &Position..."), {}, {});
    connect(search_position, &QAction::triggered, this, &MainWindow::SearchPositionCommand);
    QAction* exact = AddAction("ExactVariation", tr("Exact Variation"), {}, {});
    exact->setCheckable(true);
    connect(exact, &QAction::toggled, this, [this](bool on) { search_criteria_.exact = on; });
    QAction* force = AddAction("ForceMatch", tr("Force Match"), {}, {});
    force->setCheckable(true);
    connect(force, &QAction::toggled, this, [this](bool on) { search_criteria_.force_match = on; });
    QAction* statistics = AddAction("SearchStatistics", tr("Search &Statistics"), {}, {});
    connect(statistics, &QAction::triggered, this, &MainWindow::ShowSearchStatistics);
    QAction* reset_navigation = AddAction("ResetNavigation", tr("Reset Navigation"),
                                          ResetNavigationTip, {});
    connect(reset_navigation, &QAction::triggered, this, &MainWindow::ResetNavigation);
    QAction* save_search = AddAction("SaveSearch", tr("Save Search..."), {}, {});
    connect(save_search, &QAction::triggered, this, &MainWindow::SaveSearch);
    QAction* load_search = AddAction("LoadSearch", tr("Load Search..."), {}, {});
    connect(load_search, &QAction::triggered, this, &MainWindow::LoadSearch);
    for (QAction* action : {search_header, search_line, search_position}) {
        search_menu->addAction(action);
    }
    search_menu->addAction(exact);
    search_menu->addAction(force);
    search_menu->addSeparator();
    search_menu->addAction(statistics);
    search_menu->addAction(reset_navigation);
    search_menu->addSeparator();
    search_menu->addAction(save_search);
    search_menu->addAction(load_search);

    QMenu* view_menu = menuBar()->addMenu(tr("&View"));
    view_menu->setObjectName(QStringLiteral("ViewMenu"));
    view_menu->addAction(flip);
    view_menu->addAction(actual);

    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("NavigationBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::array<std::pair<QAction*, const char*>, 10> buttons = {{
        {previous_game, "<< Game"},
        {start, "|<"},
        {back5, "<<"},
        {previous, "<"},
        {next, ">"},
        {forward5, ">>"},
        {end, ">|"},
        {middle, "Mid"},
        {next_game, "Game >>"},
        {auto_play, nullptr},
    }};
    for (const auto& [action, label] : buttons) {
        bar->addAction(action);
        if (label != nullptr) {
            if (QWidget* button = bar->widgetForAction(action)) {
                button->setProperty("text", QString::fromUtf8(label));
            }
        }
    }
    bar->addSeparator();
    bar->addAction(flip);
    BuildReplayActions();
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
    text_stack_->setCurrentIndex(options.DisplayActualText != 0 ? 1 : 0);
    auto_play_timer_->setInterval(
        app::AutoPlayInterval(app::ParseAutoPlayDelay(app::GetText(options.AutoPlayDelay))));
    rendered_key_.clear();
    if (QAction* display_opening = Action("DisplayOpening")) {
        const QSignalBlocker blocker(display_opening);
        display_opening->setChecked(options.DisplayOpening != 0);
    }
    UpdateOpeningLine();
}

void MainWindow::RunCommand(Command command) {
    switch (command) {
        case Command::OpenFile:
            if (!start_open_done_) {
                start_open_done_ = true;
                ReopenOnStart();
            } else {
                ChooseGameFile();
            }
            break;
        case Command::ShowGame:
            if (game_number_ > 0) ShowGame(game_number_);
            break;
        case Command::ShowGameList:
            ShowGameList();
            break;
        case Command::RefreshDisplay:
            RefreshBoard();
            RefreshText();
            break;
        case Command::CloseProgressBox:
            CloseProgressBox();
            break;
        case Command::ShowSearchResults:
            if (eco_difference_) {
                std::shared_ptr<utilities::EcoDifferenceResult> result =
                    std::move(eco_difference_);
                if (result->found >= 0) {
                    search_list_ = std::move(result->list);
                    pending_eco_difference_codes_ = std::move(result->classified);
                    ShowSearchResults(result->found);
                }
            }
            break;
        default:
            break;
    }
}

void MainWindow::ReopenOnStart() {
    if (!state_.command_line_path.empty()) {
        OpenGameFile(ToQString(state_.command_line_path));
        return;
    }
    std::string folder = app::GetText(state_.options.CurrentFolder);
    std::string name = app::GetText(state_.options.CurrentFileName);
    if (name.empty()) return;
    std::string path = platform::JoinPath(folder, name);
    // A last file that has gone since is no error: the program starts without a file.
    if (!QFileInfo::exists(ToQString(path))) return;
    const int remembered = state_.options.PreviousGameNumber;
    OpenGameFile(ToQString(path));
    // The game on display at the last exit comes back; the field is then used up.
    if (remembered > 1 && remembered <= game_count_) ShowGame(remembered);
    state_.options.PreviousGameNumber = 1;
}

bool MainWindow::OpenGameFile(const QString& path) {
    if (!NotBusy()) return false;
    StopAutoPlay();
    LoadSavedFields();
    // Kept absolute: the remembered folder must not depend on where the next start runs from.
    const std::string absolute =
        QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
    // The file on display becomes the previous file: remember where the user stood in it.
    const pgn::SavedFileFields before = saved_files_;
    if (session_.HasGame()) {
        saved_files_.PreviousGameNumber = session_.GameNumber();
        saved_files_.PreviousPly = session_.Navigation().currentPly;
    }
    if (opener_->OpenPath(absolute) != 0) {
        saved_files_ = before;
        SaveOptions(saved_files_);
        return false;
    }
    ShowOpenedFile(1, 0);
    return true;
}

bool MainWindow::SwitchToPreviousFile() {
    if (!NotBusy()) return false;
    StopAutoPlay();
    LoadSavedFields();
    if (opener_->OpenGameFile(pgn::OpenMode::SwitchToPrevious, {}) != 0) return false;
    ShowOpenedFile(opener_->GameToShow(), opener_->PlyToShow());
    return true;
}

void MainWindow::ShowOpenedFile(int game_number, int ply) {
    session_.FileOpened();
    // A search list belongs to the file it was made on.
    search_list_.Clear();
    const std::string stored = session_.File().CurrentPath();
    current_path_ = ToQString(stored);
    // The folder and name of a file re-wrapped during the scan.
    app::SetText(state_.options.CurrentFolder, platform::FolderOf(stored));
    app::SetText(state_.options.CurrentFileName, platform::NameOf(stored));
    SaveOptions();

    setWindowTitle(WindowTitle + QStringLiteral(" - ") + ToQString(platform::NameOf(stored)));
    file_status_->setText(FileStatusText());
    game_number_ = 0;
    previous_shown_game_ = 0;
    ShowGameCount(session_.GameCount());
    if (state_.options.AutoDisplayGame != 0 && game_count_ > 0) {
        ShowGame(std::clamp(game_number, 1, game_count_));
        if (ply > 0) GoToPly(ply);
    } else {
        UpdateOpeningLine();
        RefreshBoard();
        RefreshText();
    }
}

void MainWindow::LoadSavedFields() {
    const app::OptionsRecord& options = state_.options;
    saved_files_.CurrentFolder = app::GetText(options.CurrentFolder);
    saved_files_.CurrentFileName = app::GetText(options.CurrentFileName);
    saved_files_.PreviousFolder = app::GetText(options.PreviousFolder);
    saved_files_.PreviousFileName = app::GetText(options.PreviousFileName);
    saved_files_.PreviousGameNumber = options.PreviousGameNumber;
    saved_files_.PreviousPly = options.PreviousPly;
}

void MainWindow::SaveOptions(const pgn::SavedFileFields& fields) {
    app::OptionsRecord& options = state_.options;
    app::SetText(options.CurrentFolder, fields.CurrentFolder);
    app::SetText(options.CurrentFileName, fields.CurrentFileName);
    app::SetText(options.PreviousFolder, fields.PreviousFolder);
    app::SetText(options.PreviousFileName, fields.PreviousFileName);
    options.PreviousGameNumber = fields.PreviousGameNumber;
    options.PreviousPly = fields.PreviousPly;
    SaveOptions();
}

std::optional<std::string> MainWindow::ChooseFile(pgn::OpenMode, std::string_view title) {
    const std::string folder = app::GetText(state_.options.CurrentFolder);
    const std::string name = app::GetText(state_.options.CurrentFileName);
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::OpenPgn);
    QString chosen = QFileDialog::getOpenFileName(
        this, ToQString(title.empty() ? text.title : title),
        ToQString(platform::JoinPath(folder, name)), ToQString(text.filter));
    if (chosen.isEmpty()) return std::nullopt;
    return QFile::encodeName(QFileInfo(chosen).absoluteFilePath()).toStdString();
}

void MainWindow::ResetGameState() {
    StopAutoPlay();
    session_.ForgetGame();
}

std::int32_t MainWindow::DisplayedPly() const { return session_.Navigation().currentPly; }

bool MainWindow::ShowGame(int game_number) {
    StopAutoPlay();
    Error loaded = session_.LoadGame(game_number, *ui_);
    if (loaded) {
        ui_->report(loaded.message());
        return false;
    }
    if (game_number_ != game_number) previous_shown_game_ = game_number_;
    hide_reached_ = 0;
    ShowGameNumber(game_number);
    CheckReplayMode();
    UpdateOpeningLine();
    loaded_once_ = true;
    if (state_.options.DisplayActualText != 0)
        actual_text_->setPlainText(ToQString(session_.ActualGameText()));
    RefreshBoard();
    RefreshText();
    return true;
}

void MainWindow::CheckReplayMode() {
    app::OptionsRecord& options = state_.options;
    app::ReplayCheckInput input;
    input.mode = options.AnalysisReplayMode;
    input.active = options.AnalysisReplayActive != 0;
    input.annotations = session_.Lines().AnnotationCount();
    input.auto_replay_count = options.AutoReplayCount;
    input.hide_game_text = options.HideGameText != 0;
    input.first_load = !loaded_once_;
    input.hint_shown = options.AnalysisReplaySetting != 0;
    switch (app::CheckAnalysisReplay(input)) {
        case app::ReplayCheck::SwitchOn:
            options.AnalysisReplayActive = 1;
            break;
        case app::ReplayCheck::SwitchOff:
            options.AnalysisReplayActive = 0;
            break;
        case app::ReplayCheck::ShowHint:
            ui_->report(app::ReplayHint);
            options.AnalysisReplaySetting = 1;
            SaveOptions();
            break;
        case app::ReplayCheck::None:
            break;
    }
}

void MainWindow::UpdateOpeningLine() {
    std::string text;
    if (state_.options.DisplayOpening != 0) text = session_.OpeningText();
    const QFontMetrics metrics(opening_line_->font());
    const int width = std::max(board_->sizeHint().width(), 100);
    opening_line_->setText(
        ToQString(openings::FitOpeningText(text, width, [&metrics](std::string_view part) {
            return metrics.horizontalAdvance(
                QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
        })));
}

void MainWindow::Navigate(app::NavigationAction action) {
    if (!session_.HasGame()) return;
    app::NavigationStep step = session_.Go(action, *ui_);
    if (!step.moved) return;
    // Past the opening the last name stays on display.
    if (step.classify) UpdateOpeningLine();
    RefreshBoard();
    RefreshText();
}

void MainWindow::GoToPly(int ply) {
    if (!session_.HasGame()) return;
    if (!session_.GoToPly(ply).moved) return;
    UpdateOpeningLine();
    RefreshBoard();
    RefreshText();
}

void MainWindow::OnBoardClick(int file, int rank) {
    std::optional<app::NavigationAction> action = app::ActionForBoardClick(file, rank);
    if (action) Navigate(*action);
}

void MainWindow::RefreshBoard() {
    LeaveReplayWhenOff();
    board_->SetPosition(session_.CurrentBoard(),
                        session_.HasGame() ? session_.LastMoveSquares() : app::MoveSquares{});
    RefreshMoveLines();
}

void MainWindow::RefreshMoveLines() {
    move_line_->setText(MoveLineText());
    result_line_->setText(ResultLineText());
    const int ply = session_.Navigation().currentPly;
    QString comment;
    if (session_.HasGame()) {
        comment = ToQString(session_.Lines().AnnotationText(ply));
        // The braces only delimit comments in the file.
        comment.remove(QLatin1Char('{')).remove(QLatin1Char('}'));
        comment = comment.simplified();
    }
    comments_->setPlainText(comment);
    ShowReplayState();
}

std::string MainWindow::PieceLetters() const {
    const app::OptionsRecord& options = state_.options;
    if (options.FigurineNotation != 0 || options.CustomPieceLetters == 0) return {};
    return app::GetText(options.AlphaPieceLetters);
}

void MainWindow::RefreshText() {
    const app::OptionsRecord& options = state_.options;
    const app::NavigationState& navigation = session_.Navigation();
    const bool hiding = options.HideGameText != 0 || navigation.studyMode != 0;
    if (navigation.studyMode != 0) {
        hide_reached_ = navigation.currentPly;
    } else if (hiding) {
        hide_reached_ = std::max(hide_reached_, navigation.currentPly);
    }
    const std::string letters = PieceLetters();
    const bool columns = options.ColumnFormat != 0 && !hiding;
    app::GameTextSource source = session_.TextSource();

    // Lines are broken again only when what they depend on changed.
    std::string key = std::to_string(session_.GameNumber()) + '/' + std::to_string(text_->width()) +
                      '/' + std::to_string(hiding ? hide_reached_ : -1) + '/' + letters + '/' +
                      std::to_string(ShownBoardSize()) + '/' +
                      std::to_string(text_->TextWidth("0123456789")) + '/' +
                      current_path_.toStdString();
    if (key != rendered_key_) {
        app::GameTextLayout layout;
        layout.panel_width = text_->width();
        layout.board_size = ShownBoardSize();
        layout.measure = [this](std::string_view text) { return text_->TextWidth(text); };
        layout.hide_moves = hiding;
        layout.hide_limit = hide_reached_;
        layout.piece_letters = letters;
        rendered_ = app::RenderGameText(source, layout);
        rendered_key_ = key;
    }

    GameTextView view;
    if (session_.HasGame()) {
        const pgn::HeaderTags& header = session_.Header();
        const std::string& status = session_.GameStatus();
        for (const std::string& line : app::GameTextHeaderLines(
                 header.DisplayLines().white_black,
                 header.CurrentHeader().Get(pgn::HeaderField::Date), session_.ResultText(), status,
                 options.DisplayGameButtons != 0, hiding)) {
            view.header << ToQString(line);
        }
    }
    view.text = rendered_;
    view.columns = columns;
    if (columns) {
        const int page =
            std::max(1, app::ColumnPlaceOf(navigation.currentPly, source.full_moves).page);
        view.column_page = app::RenderColumns(source, page, letters);
        view.column_pages = app::ColumnPageCount(source.full_moves);
    }
    view.ply = navigation.currentPly;
    view.figurines = options.FigurineNotation != 0;
    view.annotated.assign(static_cast<std::size_t>(2 * source.full_moves + 1), false);
    if (session_.HasGame()) {
        for (std::size_t ply = 1; ply < view.annotated.size(); ++ply) {
            view.annotated[ply] = session_.Lines().AnnotationIndex(static_cast<int>(ply)).kind !=
                                  pgn::AnnotationKind::None;
        }
    }
    text_->SetView(std::move(view), options.AutoPageGameText != 0);
    if (columns) {
        // The column format shows the page of the current move.
        const int page = app::ColumnPlaceOf(navigation.currentPly, source.full_moves).page;
        if (page > 0) text_->SetPage(page);
    }
}

QString MainWindow::FileStatusText() const {
    if (current_path_.isEmpty()) return {};
    return ToQString(pgn::FillMessage(
        pgn::FileStatus, pgn::DisplayStem(platform::NameOf(current_path_.toStdString()))));
}

QString MainWindow::GameStatusText() const { return game_status_->text(); }

QString MainWindow::MoveLineText() const {
    if (!session_.HasGame()) return {};
    return ToQString(
        app::MoveLineText(session_.TextSource(), session_.Navigation().currentPly, PieceLetters()));
}

QString MainWindow::ResultLineText() const {
    const app::NavigationState& navigation = session_.Navigation();
    if (!session_.HasGame() || navigation.currentPly != navigation.lastPly) return {};
    return ToQString(session_.ResultText());
}

void MainWindow::ShowGameCount(int game_count) {
    game_count_ = game_count;
    UpdateGameStatus();
}

void MainWindow::ShowGameNumber(int game_number) {
    game_number_ = game_number;
    UpdateGameStatus();
}

void MainWindow::ShowGameList() {
    if (!session_.File().IsOpen() || game_count_ <= 0) return;
    GameListContent content = GameListContentNow();
    // The openings files list their opening names and make no records.
    const std::vector<app::GameListRecord> no_records;
    const std::vector<app::GameListRecord>& records =
        content.opening_names != nullptr ? no_records : session_.GameList(*ui_);
    GameListBox box(records, std::move(content), state_.options.GameListSettings[0],
                    game_number_, this);
    const bool chosen = box.exec() == QDialog::Accepted;
    if (box.Layout() != state_.options.GameListSettings[0]) {
        state_.options.GameListSettings[0] = box.Layout();
        SaveOptions();
    }
    if (chosen && box.ChosenGame() > 0) ShowGame(box.ChosenGame());
}

GameListContent MainWindow::GameListContentNow() {
    GameListContent content;
    content.opening_names = session_.OpeningNames(state_.app_folder, *ui_);
    const app::NavigationList& games = session_.Games();
    if (games.FromSearch()) {
        content.from_search = true;
        const std::int32_t count = games.Count(game_count_);
        content.games.reserve(static_cast<std::size_t>(count));
        for (std::int32_t k = 0; k < count; ++k) {
            content.games.push_back(games.GameAt(static_cast<std::size_t>(k)));
        }
        content.classified = eco_difference_codes_;
    }
    return content;
}

void MainWindow::UpdateGameStatus() {
    {
        const QSignalBlocker blocker(game_bar_);
        game_bar_->setRange(1, std::max(1, game_count_));
        game_bar_->setEnabled(game_count_ > 1);
        if (game_number_ > 0) game_bar_->setValue(game_number_);
    }
    if (game_number_ <= 0) {
        game_status_->clear();
    } else if (game_count_ > 0) {
        game_status_->setText(
            QString::asprintf(app::GameOfCountStatus.data(), game_number_, game_count_));
    } else {
        game_status_->setText(ToQString(pgn::FillMessage(pgn::GameStatus, game_number_)));
    }
}

void MainWindow::ToggleAutoPlay() {
    if (session_.Navigation().autoPlay) {
        StopAutoPlay();
        return;
    }
    if (!session_.HasGame()) return;
    session_.Navigation().autoPlay = true;
    Action("AutoPlay")->setText(ToQString(StopAutoPlayLabel));
    auto_play_timer_->start();
    Navigate(app::NavigationAction::NextMove);
}

void MainWindow::StopAutoPlay() {
    session_.Navigation().autoPlay = false;
    auto_play_timer_->stop();
    if (QAction* action = Action("AutoPlay")) action->setText(ToQString(AutoPlayLabel));
}

void MainWindow::NextGame() {
    if (game_number_ <= 0) return;
    if (auto next = session_.Games().Next(game_number_, game_count_)) ShowGame(*next);
}

void MainWindow::PreviousGame() {
    if (game_number_ <= 0) return;
    if (auto previous = session_.Games().Previous(game_number_, game_count_)) ShowGame(*previous);
}

void MainWindow::GoToGameNumber() {
    if (game_count_ <= 0) return;
    bool ok = false;
    int number = QInputDialog::getInt(this, ToQString(GoToGameTitle), tr("Game number"),
                                      std::max(1, game_number_), 1, game_count_, 1, &ok);
    if (ok) ShowGame(number);
}

void MainWindow::ReloadFile() {
    if (!NotBusy()) return;
    StopAutoPlay();
    const int game = game_number_;
    const int ply = session_.Navigation().currentPly;
    if (!session_.Reload(*ui_)) return;
    ShowGameCount(session_.GameCount());
    if (game > 0 && game <= game_count_ && ShowGame(game)) GoToPly(ply);
}

void MainWindow::ShowActualText() {
    if (!session_.HasGame()) return;
    actual_text_->setPlainText(ToQString(session_.ActualGameText()));
    const bool showing = text_stack_->currentIndex() == 1;
    text_stack_->setCurrentIndex(showing ? 0 : 1);
}

QString MainWindow::OpeningLineText() const { return opening_line_->text(); }

void MainWindow::EditOptions() {
    Optionsbox box(state_.options, *ui_, true, this);
    if (box.exec() != QDialog::Accepted) return;
    ApplyNewOptions(box.Result());
}

void MainWindow::ApplyNewOptions(const app::OptionsRecord& options) {
    state_.options = options;
    SaveOptions();
    ApplyOptions();
    if (state_.options.DisplayActualText != 0 && session_.HasGame()) {
        actual_text_->setPlainText(ToQString(session_.ActualGameText()));
    }
    adjustSize();
    RefreshBoard();
    RefreshText();
}

void MainWindow::ChooseGameFile() {
    if (!NotBusy()) return;
    StopAutoPlay();
    LoadSavedFields();
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::OpenPgn);
    if (opener_->OpenGameFile(pgn::OpenMode::ChooseAndOpen, text.title) != 0) return;
    ShowOpenedFile(1, 0);
}

void MainWindow::PlaceWindow() {
    app::WindowRect rect = app::WindowRectangle(state_.options, PrimaryScreenSize(), false);
    move(rect.x, rect.y);
    resize(rect.width, rect.height);
}

void MainWindow::RememberWindowRectangle() {
    app::WindowRect rect{x(), y(), width(), height()};
    app::StoreWindowRectangle(state_.options, PrimaryScreenSize(), false, rect);
}

void MainWindow::SaveOptions() { (void)app::SaveOptions(state_.options_path, state_.options); }

void MainWindow::closeEvent(QCloseEvent* event) {
    StopAutoPlay();
    // Shut-down: the next start returns to the game on display.
    state_.options.PreviousGameNumber = game_number_;
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
    if (OpenDroppedFile(*event->mimeData())) event->acceptProposedAction();
}

bool MainWindow::OpenDroppedFile(const QMimeData& data) {
    if (!NotBusy()) return false;
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return false;
    return OpenGameFile(urls.front().toLocalFile());
}

void MainWindow::InitialiseOpenings() {
    app::InitialiseOpenings(state_, session_.Eco(), *ui_);
    UpdateOpeningLine();
}

void MainWindow::SetDisplayOpening(bool on) {
    state_.options.DisplayOpening = on ? 1 : 0;
    SaveOptions();
    UpdateOpeningLine();
}

void MainWindow::ShowOpening() {
    // The half-moves up to the current move number, less Black's when Black has not moved.
    const int ply = session_.HasGame() ? session_.Navigation().currentPly : 0;
    const int half_moves =
        ply == 0 ? 0 : openings::ShowOpeningHalfMoves((ply + 1) / 2, ply % 2 == 0);
    (void)openings::ShowOpening(session_.Eco(), session_.OpeningMoves(), half_moves, *ui_);
}

void MainWindow::FindOpening(openings::FindOpeningMode mode) {
    // The window has only its Game mode, where these commands are refused with their message.
    const int ply = session_.HasGame() ? session_.Navigation().currentPly : 0;
    (void)openings::FindOpeningCommand(session_.Eco(), session_.OpeningMoves(), mode, ply, false, *ui_);
}

search::SearchSource MainWindow::SearchSourceOfFile() const {
    const pgn::PgnFile& file = session_.File();
    search::SearchSource source;
    source.pgn_path = file.CurrentPath();
    source.offsets = file.Index().Offsets();
    source.game_count = file.GameCount();
    return source;
}

void MainWindow::SearchHeaderCommand() {
    if (!NotBusy() || !session_.File().IsOpen()) return;
    Searchbox box(search_criteria_.header, this);
    if (box.exec() != QDialog::Accepted) return;
    RunHeaderSearch(box.Criteria());
}

int MainWindow::RunHeaderSearch(const search::HeaderCriteria& criteria) {
    if (!NotBusy() || !session_.File().IsOpen()) return -1;
    search_criteria_.header = criteria;
    if (Error checked = search::CheckHeaderCriteria(criteria)) {
        ui_->report(checked.message());
        return -1;
    }
    if (criteria.Get(search::HeaderCriterion::Eco) == "*" &&
        criteria.Get(search::HeaderCriterion::SpecificMove).empty()) {
        // The ECO difference search runs in the background and posts its results.
        const std::span<const std::uint32_t> offsets = session_.File().Index().Offsets();
        utilities::EcoDifferenceRequest request{
            session_.File().CurrentPath(), {offsets.begin(), offsets.end()}, search_criteria_,
            openings::EcoCodesFastFilePath(state_.app_folder)};
        auto result = std::make_shared<utilities::EcoDifferenceResult>();
        if (utilities::StartSearchEcoDifference(*worker_, std::move(request), result)) return -1;
        eco_difference_ = std::move(result);
        return 0;
    }
    search::SearchList found_list;
    const int found =
        search::SearchHeader(SearchSourceOfFile(), search_criteria_, search::Combination::Alone, found_list, *ui_);
    if (found < 0) return found;
    search_list_ = std::move(found_list);
    ShowSearchResults(found);
    return found;
}

void MainWindow::SearchVariationCommand() {
    if (!NotBusy() || !session_.File().IsOpen()) return;
    bool ok = false;
    const QString line = QInputDialog::getText(this, tr("Search Variation"), tr("Moves"),
                                               QLineEdit::Normal, QString(), &ok);
    if (ok && !line.trimmed().isEmpty()) RunVariationSearch(line);
}

int MainWindow::RunVariationSearch(const QString& line) {
    if (!NotBusy() || !session_.File().IsOpen()) return -1;
    Result<search::VariationCriteria> parsed = search::ParseSearchLine(line.toStdString());
    if (!parsed.ok()) {
        ui_->report(parsed.error().message());
        return -1;
    }
    search_criteria_.line = *parsed;
    search::SearchList found_list;
    const int found =
        search::SearchVariation(SearchSourceOfFile(), search_criteria_, search::Combination::WithVariation, found_list, *ui_);
    if (found < 0) return found;
    search_list_ = std::move(found_list);
    ShowSearchResults(found);
    return found;
}

void MainWindow::SearchPositionCommand() {
    if (!NotBusy() || !session_.File().IsOpen()) return;
    PositionSearchbox box(this);
    if (box.exec() != QDialog::Accepted) return;
    RunPositionSearch(box.WhiteField()->text(), box.BlackField()->text(),
                      box.MoveNumberField()->text());
}

int MainWindow::RunPositionSearch(const QString& white, const QString& black,
                                  const QString& move_number) {
    if (!NotBusy() || !session_.File().IsOpen()) return -1;
    search::PositionCriteria position;
    if (Error filled = FillPosition(white, black, position)) {
        ui_->report(filled.message());
        return -1;
    }
    const std::string filter = move_number.trimmed().toStdString();
    if (Error checked = search::CheckMoveNumberFilter(filter)) {
        ui_->report(checked.message());
        return -1;
    }
    search_criteria_.position = position;
    search_criteria_.move_number = search::ParseMoveNumberFilter(filter);
    search::SearchList found_list;
    const int found =
        search::SearchPosition(SearchSourceOfFile(), search_criteria_, found_list, *ui_);
    if (found < 0) return found;
    search_list_ = std::move(found_list);
    ShowSearchResults(found);
    return found;
}

void MainWindow::ShowSearchResults(int found) {
    // Only an ECO difference search leaves codes for the list; any other search drops them.
    eco_difference_codes_ = std::move(pending_eco_difference_codes_);
    pending_eco_difference_codes_.clear();
    if (found > 0) {
        std::vector<std::int32_t> games;
        for (const search::FoundGame& game : search_list_.Games()) {
            games.push_back(game.game_number);
        }
        session_.Games().SetSearchList(std::move(games));
        const search::FoundGame& first = search_list_.Games().front();
        if (ShowGame(first.game_number)) {
            // The board goes to where the searched line or position stands.
            const int ply = first.half_move > 0 ? first.half_move
                                                : search_list_.MatchedLineLength();
            if (ply > 0) GoToPly(ply);
        }
    } else {
        session_.Games().Reset();
    }
    ShowSearchStatistics();
}

void MainWindow::ResetNavigation() { session_.Games().Reset(); }

void MainWindow::ShowSearchStatistics() {
    QStringList lines;
    for (const std::string& line : search_list_.StatisticsLines()) lines << ToQString(line);
    if (statistics_box_ == nullptr) {
        statistics_box_ = new QDialog(this);
        statistics_box_->setObjectName(QStringLiteral("SearchStatistics"));
        statistics_box_->setWindowTitle(tr("Search Statistics"));
        auto* label = new QLabel(statistics_box_);
        label->setObjectName(QStringLiteral("StatisticsText"));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* layout = new QVBoxLayout(statistics_box_);
        layout->addWidget(label);
    }
    statistics_box_->findChild<QLabel*>(QStringLiteral("StatisticsText"))
        ->setText(lines.join(QLatin1Char('\n')));
    statistics_box_->adjustSize();
    statistics_box_->show();
}

Error MainWindow::SaveSearchFile(const std::string& path) {
    Error saved = search::SaveHeader(path, search_criteria_,
                                     search_criteria_.line.Any() ? search::Combination::WithVariation
                                                                 : search::Combination::Alone);
    if (saved) ui_->report(saved.message());
    return saved;
}

Error MainWindow::LoadSearchFile(const std::string& path) {
    search::SerKind kind = search::SerKind::Header;
    search::Combination combination = search::Combination::Alone;
    Error loaded = search::LoadAny(path, search_criteria_, kind, combination);
    if (loaded) ui_->report(loaded.message());
    if (QAction* exact = Action("ExactVariation")) exact->setChecked(search_criteria_.exact);
    if (QAction* force = Action("ForceMatch")) force->setChecked(search_criteria_.force_match);
    return loaded;
}

void MainWindow::SaveSearch() {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::SearchCriteria);
    const QString chosen =
        QFileDialog::getSaveFileName(this, ToQString(text.title),
                                     ToQString(app::GetText(state_.options.CurrentFolder)),
                                     ToQString(text.filter));
    if (chosen.isEmpty()) return;
    (void)SaveSearchFile(search::WithExtension(QFile::encodeName(chosen).toStdString(), ".ser"));
}

void MainWindow::LoadSearch() {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::SearchCriteria);
    const QString chosen =
        QFileDialog::getOpenFileName(this, ToQString(text.title),
                                     ToQString(app::GetText(state_.options.CurrentFolder)),
                                     ToQString(text.filter));
    if (chosen.isEmpty()) return;
    (void)LoadSearchFile(QFile::encodeName(chosen).toStdString());
}

bool MainWindow::NotBusy() { return !worker_->RefuseWhileBusy(); }

void MainWindow::MakeFastFile() {
    if (!NotBusy() || !session_.File().IsOpen()) return;
    const pgn::PgnFile& file = session_.File();
    std::span<const std::uint32_t> offsets = file.Index().Offsets();
    utilities::MakeFastFileRequest request{file.CurrentPath(), {offsets.begin(), offsets.end()},
                                           false, {}};
    // A refusal has already been shown by the worker.
    (void)utilities::StartMakeFastFile(*worker_, std::move(request));
}

void MainWindow::CheckFastFile() {
    if (!NotBusy() || !session_.File().IsOpen()) return;
    (void)search::CheckFastFile(session_.File().CurrentPath(), session_.GameCount(), *ui_);
}

void MainWindow::DeleteFastFile() {
    if (!NotBusy() || !session_.File().IsOpen()) return;
    (void)search::DeleteFastFile(session_.File().CurrentPath(), *ui_);
}

void MainWindow::ShowProgress(const ProgressCounters& counters) {
    if (progress_box_ == nullptr) {
        progress_box_ = new ProgressBox(this);
        connect(progress_box_, &ProgressBox::cancelRequested, this, [this] {
            if (worker_->CancelWorker()) CloseProgressBox();
        });
        progress_box_->show();
    }
    progress_box_->ShowProgress(counters);
}

void MainWindow::CloseProgressBox() {
    if (progress_box_ == nullptr) return;
    progress_box_->hide();
    progress_box_->deleteLater();
    progress_box_ = nullptr;
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    // While minimised the worker neither draws nor speaks; on restore its outcome is shown.
    worker_->SetQuiet(isMinimized());
    if (isMinimized()) return;
    const utilities::WorkerState state = worker_->State();
    if (state != utilities::WorkerState::QuietFindings &&
        state != utilities::WorkerState::QuietNothing) {
        return;
    }
    const std::string message = worker_->TakeQuietOutcome();
    if (!message.empty()) ui_->report(message);
}


// ---- Analysis replay ------------------------------------------------------------------------

void MainWindow::BuildReplayActions() {
    QAction* next = AddAction("ReplayNext", tr("&Next Analysis Move"), ReplayNextTip,
                              {QKeySequence(Qt::CTRL | Qt::Key_Down)});
    connect(next, &QAction::triggered, this, &MainWindow::ReplayNext);
    QAction* previous = AddAction("ReplayPrevious", tr("&Previous Analysis Move"),
                                  ReplayPreviousTip, {QKeySequence(Qt::CTRL | Qt::Key_Up)});
    connect(previous, &QAction::triggered, this, &MainWindow::ReplayPrevious);
    QAction* start = AddAction("ReplayStart", tr("&Start of Analysis"), ReplayStartTip,
                               {QKeySequence(Qt::CTRL | Qt::Key_Home)});
    connect(start, &QAction::triggered, this, &MainWindow::ReplayStart);
    // Promoting a line rewrites the game's text, which only the game editor does.
    QAction* promote = AddAction("ReplayPromote", tr("P&romote Line"), ReplayPromoteTip, {});
    promote->setEnabled(false);
    QAction* list = AddAction("AnalysisList", tr("Analysis &Lines..."), AnalysisListTip,
                              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)});
    connect(list, &QAction::triggered, this, &MainWindow::ShowAnalysisList);

    QMenu* menu = menuBar()->addMenu(tr("&Analysis"));
    menu->setObjectName(QStringLiteral("AnalysisMenu"));
    for (QAction* action : {next, previous, start, promote}) menu->addAction(action);
    menu->addSeparator();
    menu->addAction(list);

    // A row of its own: the navigation row is full on a small window.
    addToolBarBreak();
    replay_bar_ = addToolBar(tr("Analysis Replay"));
    replay_bar_->setObjectName(QStringLiteral("ReplayBar"));
    replay_bar_->setMovable(false);
    replay_bar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::array<std::pair<QAction*, const char*>, 4> buttons = {{
        {next, "Next"},
        {previous, "Prev"},
        {start, "Start"},
        {promote, "Promote"},
    }};
    for (const auto& [action, label] : buttons) {
        replay_bar_->addAction(action);
        if (QWidget* button = replay_bar_->widgetForAction(action)) {
            button->setProperty("text", QString::fromUtf8(label));
        }
    }
    replay_bar_->addSeparator();
    replay_bar_->addAction(list);
    replay_bar_->setVisible(false);
}

bool MainWindow::ReplayModeOn() {
    if (state_.options.AnalysisReplayActive != 0) return true;
    ui_->report(app::ReplayOnlyWhenEnabled);
    return false;
}

void MainWindow::LeaveReplayWhenOff() {
    if (state_.options.AnalysisReplayActive == 0 && session_.Replay().Started()) {
        session_.ReplayStop();
    }
}

void MainWindow::ReplayNext() {
    if (!ReplayModeOn() || !session_.HasGame()) return;
    StopAutoPlay();
    (void)session_.ReplayNext(*ui_);
    RefreshBoard();
}

void MainWindow::ReplayPrevious() {
    if (!ReplayModeOn() || !session_.HasGame()) return;
    StopAutoPlay();
    if (session_.ReplayPrevious() != app::AnalysisReplay::Outcome::Nothing) RefreshBoard();
}

void MainWindow::ReplayStart() {
    if (!ReplayModeOn() || !session_.HasGame()) return;
    StopAutoPlay();
    session_.ReplayStart();
    RefreshBoard();
}

void MainWindow::ReplayLine(int index) {
    if (!ReplayModeOn() || !session_.HasGame()) return;
    if (index < 0 || static_cast<std::size_t>(index) >= analysis_lines_.size()) return;
    StopAutoPlay();
    session_.ReplayStart(analysis_lines_[static_cast<std::size_t>(index)].text_offset);
    (void)session_.ReplayNext(*ui_);
    RefreshBoard();
}

void MainWindow::ShowReplayState() {
    const bool mode_on = state_.options.AnalysisReplayActive != 0;
    if (replay_bar_ != nullptr && replay_bar_->isVisibleTo(this) != mode_on) {
        replay_bar_->setVisible(mode_on);
    }
    const app::AnalysisReplay& replay = session_.Replay();
    if (session_.HasGame() && replay.OnBoard()) {
        move_line_->setText(ToQString(app::AnalysisMoveText(
            replay.HalfMove(), replay.Move().view(), session_.TextSource().start_move_number)));
        const std::uint32_t colour = state_.options.ReplayVariationColour != 0
                                         ? state_.options.ReplayVariationColour
                                         : 0xA80054u;
        move_line_->setStyleSheet(
            QStringLiteral("color: %1;").arg(FromRecordColour(colour).name()));
        ShowReplayText();
    } else {
        move_line_->setStyleSheet(QString());
    }
    RefreshAnalysisList();
}

// The annotations after the main-line move as the file has them, with the analysis move on the
// board marked.
void MainWindow::ShowReplayText() {
    const app::AnalysisReplay& replay = session_.Replay();
    const std::string_view buffer = session_.Lines().MovetextBuffer();
    const pgn::TextSpan span = pgn::AnnotationSpan(session_.Lines(), replay.StartPly());
    const std::size_t at = replay.TextPosition();
    if (span.empty() || at <= span.begin || at > span.end || at > buffer.size()) return;
    auto is_break = [](char c) {
        return c == '\0' || c == ' ' || c == '\t' || c == '(' || c == ')' || c == '}';
    };
    // A step back out of an inner line stands after its ")": nothing to mark.
    std::size_t token = at;
    while (token > span.begin && !is_break(buffer[token - 1])) --token;
    auto html = [&buffer](std::size_t from, std::size_t to) {
        std::string part(buffer.substr(from, to - from));
        for (char& c : part) {
            if (c == '\0') c = ' ';
        }
        return ToQString(part).toHtmlEscaped();
    };
    const app::OptionsRecord& options = state_.options;
    std::uint32_t colour = options.MoveHighlightColour;
    if (options.ReplayHighlightOn != 0) {
        colour = options.ReplayHighlightColour != 0 ? options.ReplayHighlightColour : 0xA0A0A0u;
    }
    QString text = html(span.begin, token);
    if (token < at) {
        text += QStringLiteral("<a name=\"walk\"></a><span style=\"background-color: %1; "
                               "font-weight: bold;\">%2</span>")
                    .arg(FromRecordColour(colour).name(), html(token, at));
    }
    text += html(at, span.end);
    comments_->setHtml(text);
    // Long annotations scroll: keep the marked move in view.
    if (token < at) comments_->scrollToAnchor(QStringLiteral("walk"));
}

void MainWindow::ShowAnalysisList() {
    if (analysis_list_ == nullptr) {
        analysis_list_ = new AnalysisListBox(this);
        connect(analysis_list_, &AnalysisListBox::lineChosen, this, &MainWindow::ReplayLine);
        // Beside the window where the screen has room, so that the board stays in view.
        analysis_list_->adjustSize();
        const QRect frame = frameGeometry();
        QPoint place(frame.right() + 8, frame.top());
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect room = screen->availableGeometry();
            if (place.x() + analysis_list_->width() > room.right()) {
                place = QPoint(frame.left(), frame.bottom() + 8);
            }
            if (place.y() + analysis_list_->height() > room.bottom()) {
                place.setY(std::max(room.top(), room.bottom() - analysis_list_->height()));
            }
        }
        analysis_list_->move(place);
    }
    analysis_list_->show();
    analysis_list_->raise();
    RefreshAnalysisList();
}

void MainWindow::RefreshAnalysisList() {
    if (analysis_list_ == nullptr || !analysis_list_->isVisible()) return;
    const int ply = session_.HasGame() ? session_.Navigation().currentPly : 0;
    const chess::ChessState& chess = session_.Chess();
    const int first_number = chess.StartsFromFen() && chess.StartMoveNumber() > 1
                                 ? static_cast<int>(chess.StartMoveNumber())
                                 : 1;
    analysis_lines_.clear();
    if (session_.HasGame()) {
        analysis_lines_ = pgn::AnalysisLinesAfter(session_.Lines(), ply, first_number);
    }
    QStringList rows;
    std::vector<QStringList> details;
    int number = 1;
    for (const pgn::AnalysisLine& line : analysis_lines_) {
        rows << ToQString(app::FormatAnalysisLine(number++, line.move_number, line.white_first,
                                                  line.half_moves));
        QStringList detail;
        for (const std::string& row :
             app::FormatAnalysisDetail(line.move_number, line.white_first, line.half_moves)) {
            detail << ToQString(row);
        }
        details.push_back(detail);
    }
    QString heading;
    if (!session_.HasGame()) {
        heading = QString();
    } else if (analysis_lines_.empty()) {
        heading = ToQString(AnalysisListNone);
    } else if (ply == 0) {
        heading = ToQString(AnalysisListHeadingStart);
    } else {
        heading = ToQString(AnalysisListHeadingAfter)
                      .replace(QStringLiteral("%s"),
                               ToQString(app::CurrentMoveText(session_.TextSource(), ply)));
    }
    analysis_list_->SetLines(heading, rows, details);
}

int MainWindow::ShownBoardSize() const {
    return app::EffectiveBoardSize(state_.options.BoardSize, screen_height_);
}

void MainWindow::FitBoardToScreen(int available_height) {
    if (available_height == screen_height_) return;
    screen_height_ = available_height;
    ApplyOptions();
    adjustSize();
    RefreshBoard();
    RefreshText();
}

}  // namespace qorvale::gui
