#include "gui/file/file_controller.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "app/file_dialogs.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "platform/folder.h"

namespace qorvale::gui {

FileController::FileController(ShellContext& context, QMenu* recent_menu)
    : Controller(context),
      recent_(app::RecentFilesPath(context.state.app_folder)),
      recent_menu_(recent_menu) {
    opener_ = std::make_unique<app::GameFileOpener>(session().MutableFile(), saved_files_,
                                                    static_cast<app::GameFileHost&>(*this), ui());
    recent_.Load();
    recent_menu_->setObjectName(QStringLiteral("RecentFilesMenu"));
    connect(recent_menu_, &QMenu::aboutToShow, this, &FileController::FillRecentMenu);
    FillRecentMenu();
}

void FileController::Run(app::FileCommand command) {
    switch (command) {
        case app::FileCommand::Open:
            Choose();
            return;
        case app::FileCommand::Reload:
            Reload();
            return;
        case app::FileCommand::PreviousFile:
            SwitchToPrevious();
            return;
        case app::FileCommand::Exit:
            window().DialogParent()->close();
            return;
    }
}

void FileController::FillRecentMenu() {
    recent_menu_->clear();
    int number = 1;
    for (const std::string& path : recent_.Paths()) {
        const QString shown = ToQPath(path);
        // "&1 games.pgn": the number is the key; the whole path is in the tool tip.
        QAction* action = recent_menu_->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(QFileInfo(shown).fileName()));
        action->setToolTip(shown);
        action->setStatusTip(shown);
        connect(action, &QAction::triggered, this, [this, shown] {
            if (context_.runner.RefuseWhileBusy()) return;
            OpenPath(shown);
        });
    }
    recent_menu_->setEnabled(!recent_.Paths().empty());
}

void FileController::OpenAtStart() {
    const app::StartUpState& state = context_.state;
    if (!state.command_line_path.empty()) {
        OpenPath(ToQPath(state.command_line_path));
        return;
    }
    const std::string name = app::GetText(options().CurrentFileName);
    if (name.empty()) return;
    const std::string path = platform::JoinPath(app::GetText(options().CurrentFolder), name);
    // A last file that has gone since is no error: the program starts without a file.
    if (!QFileInfo::exists(ToQPath(path))) return;
    const int remembered = options().PreviousGameNumber;
    OpenPath(ToQPath(path));
    // The game on display at the last exit comes back; the field is then used up.
    if (remembered > 1 && remembered <= session().GameCount()) window().ShowGame(remembered);
    options().PreviousGameNumber = 1;
}

bool FileController::OpenPath(const QString& path) {
    LoadSavedFields();
    // Kept absolute: the remembered folder must not depend on where the next start runs from.
    const std::string absolute = FromQPath(QFileInfo(path).absoluteFilePath());
    // The file on display becomes the previous file: remember where the user stood in it.
    const app::SavedFileFields before = saved_files_;
    if (session().HasGame()) {
        saved_files_.PreviousGameNumber = session().GameNumber();
        saved_files_.PreviousPly = session().Navigation().currentPly;
    }
    if (opener_->OpenPath(absolute) != 0) {
        saved_files_ = before;
        SaveOptions(saved_files_);
        recent_.Remove(absolute);
        return false;
    }
    Opened(1, 0);
    return true;
}

bool FileController::OpenDropped(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return false;
    if (context_.runner.RefuseWhileBusy()) return false;
    return OpenPath(urls.front().toLocalFile());
}

bool FileController::SwitchToPrevious() {
    LoadSavedFields();
    if (opener_->OpenGameFile(app::OpenMode::SwitchToPrevious, {}) != 0) return false;
    Opened(opener_->GameToShow(), opener_->PlyToShow());
    return true;
}

void FileController::Choose() {
    LoadSavedFields();
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::OpenPgn);
    if (opener_->OpenGameFile(app::OpenMode::ChooseAndOpen, text.title) != 0) return;
    Opened(1, 0);
}

void FileController::Reload() {
    const std::int32_t game = session().GameNumber();
    const std::int32_t ply = session().Navigation().currentPly;
    if (!session().Reload(ui())) return;
    window().Redraw(WindowPart::Status);
    if (game > 0 && game <= session().GameCount() && window().ShowGame(game)) window().GoToPly(ply);
}

void FileController::Opened(std::int32_t game_number, std::int32_t ply) {
    session().FileOpened();
    const std::string stored = session().File().CurrentPath();
    // The folder and name of a file re-wrapped during the scan.
    app::SetText(options().CurrentFolder, platform::FolderOf(stored));
    app::SetText(options().CurrentFileName, platform::NameOf(stored));
    Controller::SaveOptions();
    recent_.Add(stored);
    window().ShowOpenedFile(game_number, ply);
}

void FileController::LoadSavedFields() {
    const app::OptionsRecord& record = options();
    saved_files_.CurrentFolder = app::GetText(record.CurrentFolder);
    saved_files_.CurrentFileName = app::GetText(record.CurrentFileName);
    saved_files_.PreviousFolder = app::GetText(record.PreviousFolder);
    saved_files_.PreviousFileName = app::GetText(record.PreviousFileName);
    saved_files_.PreviousGameNumber = record.PreviousGameNumber;
    saved_files_.PreviousPly = record.PreviousPly;
}

void FileController::SaveOptions(const app::SavedFileFields& fields) {
    app::OptionsRecord& record = options();
    app::SetText(record.CurrentFolder, fields.CurrentFolder);
    app::SetText(record.CurrentFileName, fields.CurrentFileName);
    app::SetText(record.PreviousFolder, fields.PreviousFolder);
    app::SetText(record.PreviousFileName, fields.PreviousFileName);
    record.PreviousGameNumber = fields.PreviousGameNumber;
    record.PreviousPly = fields.PreviousPly;
    Controller::SaveOptions();
}

std::optional<std::string> FileController::ChooseFile(app::OpenMode, std::string_view title) {
    const std::string folder = app::GetText(options().CurrentFolder);
    const std::string name = app::GetText(options().CurrentFileName);
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::OpenPgn);
    const QString chosen = QFileDialog::getOpenFileName(
        window().DialogParent(), ToQString(title.empty() ? text.title : title),
        ToQPath(platform::JoinPath(folder, name)), ToQString(text.filter));
    if (chosen.isEmpty()) return std::nullopt;
    return FromQPath(QFileInfo(chosen).absoluteFilePath());
}

void FileController::ResetGameState() { session().ForgetGame(); }

std::int32_t FileController::DisplayedPly() const { return session().Navigation().currentPly; }

}  // namespace qorvale::gui
