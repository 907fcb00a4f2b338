#include "gui/main_window.h"

#include <QCloseEvent>
#include <QColor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QStatusBar>

#include "app/messages.h"
#include "app/options_file.h"
#include "app/window_placement.h"
#include "gui/message_box_ui.h"
#include "pgn/display_stem.h"
#include "pgn/messages.h"
#include "platform/folder.h"

namespace qorvale::gui {

namespace {

const QString WindowTitle = QStringLiteral("Qorvale");

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Colours in the record are 0x00BBGGRR.
QColor FromRecordColour(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

app::ScreenSize PrimaryScreenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {1024, 768};
    return {screen->geometry().width(), screen->geometry().height()};
}

}  // namespace

MainWindow::MainWindow(app::StartUpState& state, QWidget* parent)
    : QMainWindow(parent), state_(state) {
    own_ui_ = std::make_unique<MessageBoxUi>(this, [this](Command command) { RunCommand(command); });
    ui_ = own_ui_.get();
    setWindowTitle(WindowTitle);

    auto* board_area = new QWidget(this);
    board_area->setAutoFillBackground(true);
    QPalette palette = board_area->palette();
    palette.setColor(QPalette::Window, FromRecordColour(state_.options.BackgroundColour));
    board_area->setPalette(palette);
    setCentralWidget(board_area);

    QMenu* file_menu = menuBar()->addMenu(tr("&File"));
    file_menu->addAction(tr("&Open..."), QKeySequence::Open, this, &MainWindow::ChooseGameFile);
    file_menu->addSeparator();
    file_menu->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close);

    file_status_ = new QLabel(this);
    game_status_ = new QLabel(this);
    statusBar()->addWidget(file_status_);
    statusBar()->addWidget(game_status_);

    PlaceWindow();
    // The first run saves the window's place at once, so the file never lacks one.
    if (state_.first_run) {
        RememberWindowRectangle();
        SaveOptions();
    }
}

MainWindow::~MainWindow() = default;

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
    OpenGameFile(ToQString(path));
}

bool MainWindow::OpenGameFile(const QString& path) {
    Error opened = pgn_file_.Open(path.toStdString());
    if (opened) {
        ui_->report(opened.message());
        return false;
    }
    current_path_ = ToQString(pgn_file_.CurrentPath());
    ShowGameCount(pgn_file_.ScanGameFile(false, *ui_));
    // A re-wrap during the scan gives the file a new name.
    current_path_ = ToQString(pgn_file_.CurrentPath());

    std::string stored = pgn_file_.CurrentPath();
    app::SetText(state_.options.CurrentFolder, platform::FolderOf(stored));
    app::SetText(state_.options.CurrentFileName, platform::NameOf(stored));
    SaveOptions();

    setWindowTitle(WindowTitle + QStringLiteral(" - ") + ToQString(platform::NameOf(stored)));
    file_status_->setText(ToQString(pgn::FillMessage(pgn::FileStatus, pgn::DisplayStem(platform::NameOf(stored)))));
    game_number_ = 0;
    if (state_.options.AutoDisplayGame != 0 && game_count_ > 0 && pgn_file_.LoadGame(1, *ui_)) {
        ShowGameNumber(1);
    } else {
        UpdateGameStatus();
    }
    return true;
}

void MainWindow::ShowGameCount(int game_count) {
    game_count_ = game_count;
    UpdateGameStatus();
}

void MainWindow::ShowGameNumber(int game_number) {
    game_number_ = game_number;
    UpdateGameStatus();
}

void MainWindow::UpdateGameStatus() {
    if (game_number_ <= 0) {
        game_status_->clear();
    } else if (game_count_ > 0) {
        game_status_->setText(QString::asprintf(app::GameOfCountStatus.data(), game_number_, game_count_));
    } else {
        game_status_->setText(ToQString(pgn::FillMessage(pgn::GameStatus, game_number_)));
    }
}

void MainWindow::ChooseGameFile() {
    std::string folder = app::GetText(state_.options.CurrentFolder);
    std::string name = app::GetText(state_.options.CurrentFileName);
    QString chosen = QFileDialog::getOpenFileName(this, ToQString(pgn::SelectPgnFileTitle),
                                                  ToQString(platform::JoinPath(folder, name)),
                                                  QStringLiteral("*.pgn"));
    if (!chosen.isEmpty()) OpenGameFile(chosen);
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
    // Shut-down: the next start returns to the game on display.
    state_.options.PreviousGameNumber = game_number_;
    RememberWindowRectangle();
    SaveOptions();
    event->accept();
}

}  // namespace qorvale::gui
