#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/ui.h"
#include "pgn/pgn_file.h"

namespace qorvale::app {

// Messages of opening a file that the program adds to its own fixed texts.
inline constexpr std::string_view NoGamesInFile = "There are no games in this file.";

// How a front end wants a file opened.
struct OpenRequest {
    std::string path;
    bool force_scan = false;  // ignore the offset cache (Reload)
    bool warn_empty = true;   // say so when the file holds no games
    bool scan = true;         // false: only open (a file to save into)
    // Runs once the file is open, before it is scanned: the window forgets the old file's game.
    std::function<void()> before_scan = {};
};

// Opens and scans a PGN file the one way every front end does: the warnings about a tree merge
// file or a database of the same name, the open itself ("Error opening file.", the file that
// was open stays open), the scan with its questions and warnings through `ui`, and "There are
// no games in this file." for a file without games. A scan that had to close the file (its
// re-wrap failed half-way) is a failure too. On success `file` is open and indexed; its
// CurrentPath() follows a re-wrap to the file's new name.
Error OpenGameFile(pgn::PgnFile& file, const OpenRequest& request, Ui& ui);

// The fields of the options record that remember the open and the previous file. The app layer
// copies them from and back into its options record; the core never sees the record itself.
struct SavedFileFields {
    std::string CurrentFolder;  // folder of the open file, no trailing separator
    std::string CurrentFileName;
    std::string PreviousFolder;
    std::string PreviousFileName;
    std::int32_t PreviousGameNumber = 0;
    std::int32_t PreviousPly = 0;  // 0 unless a game was being browsed
};

enum class OpenMode : int {
    ChooseAndOpen = 0,      // File/Open
    ChooseForAppend = 1,    // pick an existing file to append a game to
    ChooseNewFile = 2,      // pick a file to save into
    SwitchToPrevious = 99,  // back to the file that was open before
};

// Return values of OpenGameFile besides success (0).
inline constexpr int OpenCancelledOrFailed = -1;  // also: mode 2 chose a file that does not exist
inline constexpr int SaveDialogCancelled = -2;

// What the window does for the opener: the file dialogs and the things around a scan.
class GameFileHost {
  public:
    virtual ~GameFileHost() = default;
    // The file-open dialog (modes 0 and 1) or file-save dialog (mode 2) with the default
    // extension ".pgn"; nullopt when cancelled.
    virtual std::optional<std::string> ChooseFile(OpenMode mode, std::string_view title) = 0;
    // The saved fields changed: write the options record.
    virtual void SaveOptions(const SavedFileFields& fields) = 0;
    // Clears the navigation lists and the per-game caches before a new file is scanned.
    virtual void ResetGameState() = 0;
    // A full scan of a file in another folder is about to start: show the wait display.
    virtual void BeforeLongScan() {}
    // The half-move on display, 0 when no game is being browsed.
    virtual std::int32_t DisplayedPly() const = 0;
};

// Opening PGN files the way the File menu does, keeping the current and previous file in the
// saved fields. It owns nothing: the PgnFile, the saved fields, the host and the Ui belong to the
// caller and must outlive it.
class GameFileOpener {
  public:
    GameFileOpener(pgn::PgnFile& file, SavedFileFields& saved, GameFileHost& host, Ui& ui);

    // Modes 0-2 show the dialog titled `title`; mode 99 switches to the previous file. Modes 0
    // and 99 reset the game state and scan the new file (cache allowed). Returns 0 when a file
    // was opened; -1 when the dialog was cancelled or the file could not be opened ("Error
    // opening file.", the old file stays open); in mode 2, -2 when cancelled, 0 when the chosen
    // file exists (the caller reports "File already exists.") and -1 when it does not (the
    // caller creates it).
    int OpenGameFile(OpenMode mode, std::string_view title);

    // Opens and scans `path` as File/Open does, without the dialog: the file named on the
    // command line, or the last file reopened at start-up. Returns 0 or -1 as above.
    int OpenPath(const std::string& path);

    const std::string& PreviousPath() const { return previous_path_; }
    // After mode 99: the game and half-move to show in the file switched to.
    std::int32_t GameToShow() const { return game_to_show_; }
    std::int32_t PlyToShow() const { return ply_to_show_; }

  private:
    void TakePreviousFromSaved();
    int OpenChosen(OpenMode mode, std::string path, bool from_dialog);
    int SwitchToPrevious();
    int OpenAndScan(const std::string& path, bool scan);

    pgn::PgnFile& file_;
    SavedFileFields& saved_;
    GameFileHost& host_;
    Ui& ui_;
    std::string previous_path_;
    bool dialog_shown_ = false;
    std::string last_scan_folder_;
    std::int32_t game_to_show_ = 1;
    std::int32_t ply_to_show_ = 0;
};

}  // namespace qorvale::app
