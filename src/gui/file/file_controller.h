#pragma once

#include <QString>
#include <memory>

#include "app/commands.h"
#include "app/file_opener.h"
#include "app/recent_files.h"
#include "gui/shell/controller.h"

class QMenu;
class QMimeData;

namespace qorvale::gui {

// The File menu's files: opening a PGN file (the dialog, a dropped file, the command line, the
// recent files), reloading it, switching back to the previous file, and exiting.
class FileController : public Controller, private app::GameFileHost {
    Q_OBJECT

  public:
    // `recent_menu` is the File menu's "Recent Files" submenu, filled from the list.
    FileController(ShellContext& context, QMenu* recent_menu);

    void Run(app::FileCommand command);

    // Opens `path` as the file on display and shows its first game (with "Auto Display Game");
    // false after "Error opening file." with the old file kept on display.
    bool OpenPath(const QString& path);
    // A file dragged onto the window: its first local file.
    bool OpenDropped(const QMimeData& data);
    // Back to the file open before, at the game and half-move shown there.
    bool SwitchToPrevious();
    // Start-up's File/Open: the command-line file or the last file, else nothing.
    void OpenAtStart();

    const app::RecentFiles& Recent() const { return recent_; }

  private:
    // What the file opener asks of the window.
    std::optional<std::string> ChooseFile(app::OpenMode mode, std::string_view title) override;
    void SaveOptions(const app::SavedFileFields& fields) override;
    void ResetGameState() override;
    std::int32_t DisplayedPly() const override;

    void Choose();
    void Reload();
    void LoadSavedFields();
    // After the opener opened a file: remember it and show it.
    void Opened(std::int32_t game_number, std::int32_t ply);
    void FillRecentMenu();

    app::SavedFileFields saved_files_;
    std::unique_ptr<app::GameFileOpener> opener_;
    app::RecentFiles recent_;
    QMenu* recent_menu_;
};

}  // namespace qorvale::gui
