#include "app/file_opener.h"

#include <utility>

#include "app/game_list.h"
#include "pgn/display_stem.h"
#include "pgn/messages.h"
#include "pgn/offset_cache.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::app {

Error OpenGameFile(pgn::PgnFile& file, const OpenRequest& request, Ui& ui) {
    if (platform::FileExists(pgn::DerivedFilePath(request.path, "TRM"))) {
        ui.report(pgn::TreeMergeFileWarning);
    }
    if (platform::FileExists(pgn::DerivedFilePath(request.path, "DBG"))) {
        ui.report(pgn::DatabaseWarning);
    }
    if (Error error = file.Open(request.path); !error.ok()) return error;
    if (!request.scan) return Error::Ok();
    if (request.before_scan) request.before_scan();
    const std::int32_t count = file.ScanGameFile(request.force_scan, ui);
    if (!file.IsOpen()) return Error(std::string(pgn::ErrorOpeningFile));
    // The list records kept beside the file describe the index they were built on.
    if (!file.LastScan().from_cache) DeleteListCaches(file.CurrentPath());
    if (count == 0 && request.warn_empty) ui.report(NoGamesInFile);
    return Error::Ok();
}

namespace {

// The saved folder field holds fewer than 200 bytes; a longer folder is not remembered.
constexpr std::size_t MaxSavedFolder = 200;

bool HasExtension(std::string_view path) {
    std::string name = platform::NameOf(path);
    return name.find('.') != std::string::npos;
}

std::string WithPgnExtension(std::string path) {
    if (!path.empty() && !HasExtension(path)) path += ".pgn";
    return path;
}

}  // namespace

GameFileOpener::GameFileOpener(pgn::PgnFile& file, SavedFileFields& saved, GameFileHost& host,
                               Ui& ui)
    : file_(file), saved_(saved), host_(host), ui_(ui) {}

void GameFileOpener::TakePreviousFromSaved() {
    if (!dialog_shown_ && previous_path_.empty() && !saved_.PreviousFileName.empty()) {
        previous_path_ =
            platform::JoinPath(saved_.PreviousFolder, WithPgnExtension(saved_.PreviousFileName));
    }
}

int GameFileOpener::OpenGameFile(OpenMode mode, std::string_view title) {
    if (mode == OpenMode::SwitchToPrevious) return SwitchToPrevious();
    TakePreviousFromSaved();
    std::optional<std::string> chosen = host_.ChooseFile(mode, title);
    if (!chosen)
        return mode == OpenMode::ChooseNewFile ? SaveDialogCancelled : OpenCancelledOrFailed;
    return OpenChosen(mode, WithPgnExtension(*chosen), true);
}

int GameFileOpener::OpenPath(const std::string& path) {
    TakePreviousFromSaved();
    return OpenChosen(OpenMode::ChooseAndOpen, WithPgnExtension(path), false);
}

int GameFileOpener::OpenChosen(OpenMode mode, std::string path, bool from_dialog) {
    const SavedFileFields before = saved_;
    const std::string name = platform::NameOf(path);
    const std::string folder = platform::FolderOf(path);
    // Until the first dialog, the open file is the saved one.
    const bool first_dialog = !dialog_shown_;
    if (from_dialog) dialog_shown_ = true;

    if (folder.size() < MaxSavedFolder) saved_.CurrentFolder = folder;
    // The file that was open becomes the previous one. Right after start-up the open file is
    // the saved one, whose game and half-move the saved fields already hold.
    if (first_dialog) {
        if (name != saved_.CurrentFileName && !saved_.CurrentFileName.empty()) {
            previous_path_ = platform::JoinPath(before.CurrentFolder, before.CurrentFileName);
            saved_.PreviousFolder = before.CurrentFolder;
            saved_.PreviousFileName = before.CurrentFileName;
        }
    } else if (file_.IsOpen() && file_.CurrentPath() != path) {
        previous_path_ = file_.CurrentPath();
        saved_.PreviousFolder = platform::FolderOf(previous_path_);
        saved_.PreviousFileName = platform::NameOf(previous_path_);
        saved_.PreviousGameNumber = file_.CurrentGameNumber();
        saved_.PreviousPly = host_.DisplayedPly();
    }
    saved_.CurrentFileName = name;
    host_.SaveOptions(saved_);

    if (mode == OpenMode::ChooseNewFile) {
        // A file to save into: one that does not exist yet is the usual case, not a failure.
        if (!platform::FileExists(path)) return OpenCancelledOrFailed;
        return OpenAndScan(path, false) == 0 ? 0 : OpenCancelledOrFailed;
    }
    if (OpenAndScan(path, mode == OpenMode::ChooseAndOpen) != 0) {
        saved_.CurrentFolder = before.CurrentFolder;
        saved_.CurrentFileName = before.CurrentFileName;
        host_.SaveOptions(saved_);
        return OpenCancelledOrFailed;
    }
    return 0;
}

int GameFileOpener::SwitchToPrevious() {
    if (previous_path_.empty() && !saved_.PreviousFileName.empty()) {
        previous_path_ =
            platform::JoinPath(saved_.PreviousFolder, WithPgnExtension(saved_.PreviousFileName));
    }
    if (previous_path_.empty()) {
        ui_.report(pgn::ErrorOpeningFile);
        return OpenCancelledOrFailed;
    }
    const SavedFileFields before = saved_;
    const std::string before_previous = previous_path_;
    std::string target = previous_path_;
    previous_path_ = file_.IsOpen()
                         ? file_.CurrentPath()
                         : platform::JoinPath(saved_.CurrentFolder, saved_.CurrentFileName);
    std::swap(saved_.CurrentFolder, saved_.PreviousFolder);
    std::swap(saved_.CurrentFileName, saved_.PreviousFileName);
    game_to_show_ = saved_.PreviousGameNumber > 0 ? saved_.PreviousGameNumber : 1;
    ply_to_show_ = saved_.PreviousPly;
    saved_.PreviousGameNumber = file_.CurrentGameNumber();
    saved_.PreviousPly = host_.DisplayedPly();
    saved_.CurrentFolder = platform::FolderOf(target);
    saved_.CurrentFileName = platform::NameOf(target);
    host_.SaveOptions(saved_);
    if (OpenAndScan(target, true) != 0) {
        saved_ = before;
        previous_path_ = before_previous;
        host_.SaveOptions(saved_);
        return OpenCancelledOrFailed;
    }
    return 0;
}

int GameFileOpener::OpenAndScan(const std::string& path, bool scan) {
    OpenRequest request;
    request.path = path;
    request.scan = scan;
    request.before_scan = [this, &path] {
        host_.ResetGameState();
        const std::string folder = platform::FolderOf(path);
        pgn::GameIndex probe;
        const bool cache_current =
            pgn::ReadOffsetCache(pgn::OffsetCachePath(path), platform::FileSize(path), probe)
                .state == pgn::OffsetCacheRead::State::Current;
        if (!cache_current && folder != last_scan_folder_) host_.BeforeLongScan();
        last_scan_folder_ = folder;
    };
    if (Error error = app::OpenGameFile(file_, request, ui_); !error.ok()) {
        ui_.explain(error);
        return OpenCancelledOrFailed;
    }
    if (scan && file_.LastScan().rewrapped) {
        // The re-wrap gave the file its capitalised name; remember that one.
        saved_.CurrentFileName = platform::NameOf(file_.CurrentPath());
        host_.SaveOptions(saved_);
    }
    return 0;
}

}  // namespace qorvale::app
