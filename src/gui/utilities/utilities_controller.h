#pragma once

#include <QString>
#include <cstdint>

#include "app/commands.h"
#include "app/duplicate_check.h"
#include "app/error_list.h"
#include "app/file_utilities.h"
#include "gui/shell/controller.h"
#include "utilities/check_file.h"

namespace qorvale::gui {

class ListWindow;

// The file utilities of the File menu: the file check with its deleting modes and the "Errors"
// window, the duplicate check with its settings and the "Duplicate Games" window, adjusting,
// trimming, splitting, and fixing dates and player names. The long ones run on the worker; any
// of them that rewrote the open file opens it again and shows it.
class UtilitiesController : public Controller {
    Q_OBJECT

  public:
    explicit UtilitiesController(ShellContext& context);

    void Run(app::UtilitiesCommand command);

    // Splits `path` on the worker, as the command does after its file dialog.
    void SplitFile(const QString& path);

    // The two list windows; null until first shown.
    ListWindow* errorList() const { return error_window_; }
    ListWindow* duplicateGames() const { return duplicates_window_; }

    // The windows belong to the file they were made for.
    void FileOpened() override;

  private:
    void StartCheck(app::CheckFileCommand command);
    void CheckEnded(const utilities::CheckFileResult& result);
    void ShowErrorList(const utilities::CheckFileResult& result);
    void ShowErrorGame(int row);

    void FindDuplicates();
    void FindCurrentGameDuplicates();
    void ShowDuplicates();
    void DeleteDuplicates();
    void ViewDuplicates();
    void EditDuplicateSettings();

    void StartAdjust(int trim_limit);
    void AskTrimLimit();
    void ChooseFileToSplit();
    void FixDates();
    void FixNames();

    // The open file was rewritten: opens it again and shows game `game_number`.
    void Reopen(std::int32_t game_number);

    app::ErrorList errors_;
    app::DuplicateCheck duplicates_;
    ListWindow* error_window_ = nullptr;
    ListWindow* duplicates_window_ = nullptr;
    int last_trim_limit_ = 40;
};

}  // namespace qorvale::gui
