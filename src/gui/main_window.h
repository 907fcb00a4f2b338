#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "app/start_up.h"
#include "base/ui.h"
#include "pgn/pgn_file.h"

class QLabel;

namespace qorvale::gui {

// The main window: for now the file on display, its status texts and the window's place on the
// screen, all kept in the options record of start-up.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `state` is the outcome of start-up; the window changes its options record and saves it, so
    // it must outlive the window.
    explicit MainWindow(app::StartUpState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The Ui the window reports through: message boxes unless a test put another in place.
    Ui& ui() { return *ui_; }
    void SetUi(Ui& ui) { ui_ = &ui; }

    // Opens `path` as the file on display: the title names it, the status bar shows its stem and
    // the options record remembers it for the next start. Reports "Error opening file." and
    // keeps the file on display when it cannot be opened.
    bool OpenGameFile(const QString& path);
    const QString& CurrentPath() const { return current_path_; }

    // The window's commands, posted through ui().post or run directly.
    void RunCommand(Command command);

public slots:
    // The number of games in the file, from the game scanner.
    void ShowGameCount(int game_count);
    // The game on display (1-based); 0 when none.
    void ShowGameNumber(int game_number);
    // File/Open: the "Select PGN File" dialog, preset to the remembered folder and file.
    void ChooseGameFile();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ReopenOnStart();
    void PlaceWindow();
    void RememberWindowRectangle();
    void SaveOptions();
    void UpdateGameStatus();

    app::StartUpState& state_;
    pgn::PgnFile pgn_file_;
    std::unique_ptr<Ui> own_ui_;
    Ui* ui_ = nullptr;
    QLabel* file_status_ = nullptr;
    QLabel* game_status_ = nullptr;
    QString current_path_;
    int game_count_ = 0;
    int game_number_ = 0;
    bool start_open_done_ = false;
};

}  // namespace qorvale::gui
