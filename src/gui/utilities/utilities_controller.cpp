#include "gui/utilities/utilities_controller.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <memory>
#include <optional>
#include <utility>

#include "app/file_dialogs.h"
#include "app/file_utilities.h"
#include "chess/move_text.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "gui/utilities/duplicate_settings_box.h"
#include "gui/utilities/fix_tags_box.h"
#include "gui/utilities/list_window.h"
#include "utilities/adjust_file.h"
#include "utilities/fix_tags.h"
#include "utilities/messages.h"
#include "utilities/split_file.h"

namespace qorvale::gui {

namespace msg = utilities::messages;

namespace {

// The fields of the two fix dialogs.
const std::pair<QString, QString> DateLabels = {QStringLiteral("Fix Date"),
                                                QStringLiteral("To Date")};
const std::pair<QString, QString> NameLabels = {QStringLiteral("Fix Name"),
                                                QStringLiteral("To Name")};

// What a duplicate check that did not start hands the runner; it is never shown, the check
// has said why itself.
const Error NotStarted{std::string("duplicate check not started")};

QStringList ToQStrings(const std::vector<std::string>& lines) {
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) shown << ToQString(line);
    return shown;
}

}  // namespace

UtilitiesController::UtilitiesController(ShellContext& context) : Controller(context) {}

void UtilitiesController::Run(app::UtilitiesCommand command) {
    switch (command) {
        case app::UtilitiesCommand::CheckFile:
            StartCheck(app::CheckFileCommand::CheckFile);
            return;
        case app::UtilitiesCommand::DeleteFenGames:
            StartCheck(app::CheckFileCommand::DeleteFenGames);
            return;
        case app::UtilitiesCommand::DeleteSearchListGames:
            StartCheck(app::CheckFileCommand::DeleteListedGames);
            return;
        case app::UtilitiesCommand::DuplicateGames:
            FindDuplicates();
            return;
        case app::UtilitiesCommand::CurrentGameDuplicates:
            FindCurrentGameDuplicates();
            return;
        case app::UtilitiesCommand::DuplicateSettings:
            EditDuplicateSettings();
            return;
        case app::UtilitiesCommand::AdjustFile:
            StartAdjust(0);
            return;
        case app::UtilitiesCommand::TrimMoves:
            AskTrimLimit();
            return;
        case app::UtilitiesCommand::SplitFile:
            ChooseFileToSplit();
            return;
        case app::UtilitiesCommand::FixDates:
            FixDates();
            return;
        case app::UtilitiesCommand::FixNames:
            FixNames();
            return;
    }
}

void UtilitiesController::FileOpened() {
    for (ListWindow* shown : {error_window_, duplicates_window_}) {
        if (shown != nullptr) shown->hide();
    }
}

void UtilitiesController::Reopen(std::int32_t game_number) {
    // The rewrite put a new file in place of the old one, which the open handle still reads.
    const std::string path = session().File().CurrentPath();
    if (Error opened = session().OpenFile(path, ui()); !opened.ok()) {
        ui().explain(opened);
        window().Redraw(WindowPart::All);
        return;
    }
    window().ShowOpenedFile(game_number, 0);
}

void UtilitiesController::StartCheck(app::CheckFileCommand command) {
    std::vector<std::int32_t> listed;
    if (command == app::CheckFileCommand::DeleteListedGames)
        listed = session().Search().FoundGames();
    const std::optional<utilities::CheckMode> mode = app::ChooseCheckMode(command, listed, ui());
    if (!mode) return;
    utilities::CheckFileRequest request =
        app::CheckRequestFor(session().File(), *mode, std::move(listed));
    auto result = std::make_shared<utilities::CheckFileResult>();
    (void)context_.runner.Start(
        [&request, result](utilities::Worker& worker) {
            return utilities::StartCheckFile(worker, std::move(request), result);
        },
        [this, result](const utilities::WorkerOutcome& outcome) {
            if (result->replaced) {
                Reopen(1);
            } else {
                window().Redraw(WindowPart::All);
            }
            if (outcome.completion == utilities::Completion::ShowErrorList) ShowErrorList(*result);
        });
}

void UtilitiesController::ShowErrorList(const utilities::CheckFileResult& result) {
    errors_ = app::ErrorList(result);
    if (error_window_ == nullptr) {
        error_window_ = new ListWindow(ToQString(msg::ErrorListWindow), window().DialogParent());
        error_window_->AddButton(tr("Close"), QDialogButtonBox::RejectRole);
        connect(error_window_, &ListWindow::rowChosen, this, &UtilitiesController::ShowErrorGame);
    }
    error_window_->ShowLines(ToQString(errors_.Title()), ToQStrings(errors_.Lines()));
}

void UtilitiesController::ShowErrorGame(int row) {
    if (row < 0) return;
    const std::optional<std::int32_t> game = errors_.GameForRow(static_cast<std::size_t>(row));
    if (game && *game <= session().GameCount()) window().ShowGame(*game);
}

void UtilitiesController::FindDuplicates() {
    const utilities::DuplicateSettings settings = app::DuplicateSettingsFrom(options());
    auto begin = app::DuplicateCheck::Begin::Declined;
    (void)context_.runner.Start(
        [this, &settings, &begin](utilities::Worker& worker) {
            begin = duplicates_.Start(worker, session().File(), settings, ui());
            return begin == app::DuplicateCheck::Begin::Started ? Error::Ok() : NotStarted;
        },
        [this](const utilities::WorkerOutcome&) {
            duplicates_.Finished();
            if (duplicates_.HasResult() && !duplicates_.Result().duplicates.empty()) {
                ShowDuplicates();
            }
        });
    if (begin == app::DuplicateCheck::Begin::Remembered) ShowDuplicates();
}

void UtilitiesController::FindCurrentGameDuplicates() {
    const pgn::GameLines& lines = session().Lines();
    Error error = duplicates_.FindCurrentGameDuplicates(
        session().File(), lines.Moves(), lines.FullMoves(), app::DuplicateSettingsFrom(options()));
    if (!error.ok()) {
        ui().explain(error);
        return;
    }
    if (duplicates_.Result().duplicates.empty()) {
        ui().report(msg::NoDuplicatesFound);
        return;
    }
    ShowDuplicates();
}

void UtilitiesController::ShowDuplicates() {
    if (duplicates_window_ == nullptr) {
        duplicates_window_ =
            new ListWindow(ToQString(msg::TitleDuplicates), window().DialogParent());
        connect(duplicates_window_->AddButton(ToQString(msg::DeleteButton),
                                              QDialogButtonBox::ActionRole),
                &QPushButton::clicked, this, &UtilitiesController::DeleteDuplicates);
        connect(
            duplicates_window_->AddButton(ToQString(msg::ViewButton), QDialogButtonBox::ActionRole),
            &QPushButton::clicked, this, &UtilitiesController::ViewDuplicates);
        // Cancel keeps the check: the next "Duplicate Games" on this file offers it again.
        duplicates_window_->AddButton(ToQString(msg::CancelButton), QDialogButtonBox::RejectRole);
    }
    duplicates_window_->ShowLines(ToQString(duplicates_.Title()), ToQStrings(duplicates_.Lines()));
}

void UtilitiesController::DeleteDuplicates() {
    if (context_.runner.RefuseWhileBusy()) return;
    if (!duplicates_.Delete(session().File(), ui())) return;
    duplicates_window_->hide();
    Reopen(1);
}

void UtilitiesController::ViewDuplicates() {
    session().Search().TakeList(duplicates_.ViewList());
    session().UseSearchResults();
    duplicates_window_->hide();
    if (std::optional<app::SearchLanding> landing = session().Search().Landing()) {
        window().ShowGame(landing->game_number);
    }
    window().Redraw(WindowPart::Status | WindowPart::Commands);
}

void UtilitiesController::EditDuplicateSettings() {
    DuplicateSettingsBox box(app::DuplicateSettingsFrom(options()), window().DialogParent());
    if (box.exec() != QDialog::Accepted) return;
    app::StoreDuplicateSettings(box.Settings(), options());
    SaveOptions();
}

void UtilitiesController::StartAdjust(int trim_limit) {
    const std::int32_t shown = session().GameNumber();
    std::optional<utilities::AdjustRequest> request =
        app::ConfirmAdjust(session().File(), trim_limit, ui());
    if (!request) return;
    auto result = std::make_shared<utilities::AdjustResult>();
    (void)context_.runner.Start(
        [&request, result](utilities::Worker& worker) {
            return utilities::StartAdjustFile(worker, std::move(*request), result);
        },
        [this, result, shown](const utilities::WorkerOutcome&) {
            if (result->replaced) {
                Reopen(shown);
            } else {
                window().Redraw(WindowPart::All);
            }
        });
}

void UtilitiesController::AskTrimLimit() {
    if (!app::AskTrim(ui())) return;
    bool ok = false;
    const int limit = QInputDialog::getInt(
        window().DialogParent(), ToQString(msg::SetMaxMovesTitle), ToQString(msg::SetMaxMovesLabel),
        last_trim_limit_, 1, chess::MaxHalfMoves, 1, &ok);
    if (!ok) return;
    last_trim_limit_ = limit;
    StartAdjust(limit);
}

void UtilitiesController::ChooseFileToSplit() {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::SplitPgn);
    const QString chosen = QFileDialog::getOpenFileName(
        window().DialogParent(), ToQString(text.title),
        ToQPath(app::GetText(options().CurrentFolder)), ToQString(text.filter));
    if (!chosen.isEmpty()) SplitFile(chosen);
}

void UtilitiesController::SplitFile(const QString& path) {
    utilities::SplitRequest request{FromQPath(path), std::nullopt};
    auto result = std::make_shared<utilities::SplitResult>();
    // The questions of the split come from the worker; the runner answers them here.
    (void)context_.runner.Start(
        [&request, result](utilities::Worker& worker) {
            return utilities::StartSplitFile(worker, std::move(request), result);
        },
        [this](const utilities::WorkerOutcome&) { window().Redraw(WindowPart::Commands); });
}

void UtilitiesController::FixDates() {
    QString shown_date;
    if (session().HasGame()) {
        shown_date = ToQString(session().Header().CurrentHeader().Get(pgn::HeaderField::Date));
    }
    FixTagsBox box(
        ToQString(msg::FixDateTitle), DateLabels, shown_date,
        [this](const QString& fix, const QString& to) {
            Error invalid = utilities::ValidateFixDates(fix.toStdString(), to.toStdString());
            if (!invalid.ok()) ui().explain(invalid);
            return invalid.ok();
        },
        window().DialogParent());
    if (box.exec() != QDialog::Accepted) return;
    const std::int32_t shown = session().GameNumber();
    const utilities::FixOutcome outcome =
        utilities::FixGameDates(app::FixTargetFor(session().File()), box.FixText().toStdString(),
                                box.ToText().toStdString(), ui());
    if (outcome.replaced) Reopen(shown);
}

void UtilitiesController::FixNames() {
    QString shown_name;
    if (session().HasGame()) {
        shown_name = ToQString(session().Header().CurrentHeader().Get(pgn::HeaderField::White));
    }
    std::optional<utilities::FixNames> names;
    FixTagsBox box(
        ToQString(msg::FixNameTitle), NameLabels, shown_name,
        [this, &names](const QString& fix, const QString& to) {
            names = utilities::PrepareFixNames(fix.toStdString(), to.toStdString(), ui());
            return names.has_value();
        },
        window().DialogParent());
    if (box.exec() != QDialog::Accepted || !names) return;
    const std::int32_t shown = session().GameNumber();
    const utilities::FixOutcome outcome =
        utilities::FixPlayerNames(app::FixTargetFor(session().File()), *names, ui());
    if (outcome.replaced) Reopen(shown);
}

}  // namespace qorvale::gui
