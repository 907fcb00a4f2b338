#include "gui/database/database_controller.h"

#include <QFileDialog>
#include <memory>

#include "app/app_folder.h"
#include "app/file_dialogs.h"
#include "app/options_file.h"
#include "app/session.h"
#include "chess/board.h"
#include "gui/database/database_game_list_box.h"
#include "gui/database/database_searchbox.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "search/database_search.h"
#include "search/messages.h"
#include "search/ser_file.h"
#include "utilities/make_database_operation.h"

namespace qorvale::gui {

DatabaseController::DatabaseController(ShellContext& context) : Controller(context) {}

DatabaseController::~DatabaseController() = default;

void DatabaseController::Run(app::DatabaseCommand command) {
    switch (command) {
        case app::DatabaseCommand::Open: {
            const QString chosen = ChooseDatabase(false);
            if (!chosen.isEmpty()) OpenDatabase(FromQPath(chosen));
            return;
        }
        case app::DatabaseCommand::Close:
            CloseDatabase();
            return;
        case app::DatabaseCommand::StartNew: {
            // The build asks before it overwrites a database.
            const QString chosen = ChooseDatabase(true);
            if (!chosen.isEmpty()) {
                MakeDatabase(search::WithExtension(FromQPath(chosen), ".dbg"),
                             search::DbBuildMode::StartNew);
            }
            return;
        }
        case app::DatabaseCommand::AddTo: {
            const std::string path = DatabaseToUse();
            if (!path.empty()) MakeDatabase(path, search::DbBuildMode::Add);
            return;
        }
        case app::DatabaseCommand::SearchOptions: {
            if (!database_.IsOpen() && !OpenDatabase(DatabaseToUse())) return;
            DatabaseSearchbox box(database_.Criteria(), window().DialogParent());
            if (box.exec() != QDialog::Accepted) return;
            SearchDatabase(box.Criteria(), box.FromPositionEdit(), box.FromGamePosition());
            return;
        }
        case app::DatabaseCommand::SelectGame:
            if (!database_.IsOpen() && !OpenDatabase(DatabaseToUse())) return;
            SelectGame();
            return;
        case app::DatabaseCommand::CopyGames: {
            const std::string target = ChooseCopyTarget();
            if (!target.empty()) (void)CopyGames(target);
            return;
        }
        case app::DatabaseCommand::CopyToBuffer: {
            const search::CopyOutcome outcome =
                database_.CopyShownToBuffer(app::AppPath(app_folder(), app::GameBufferFileName));
            if (!outcome.message.empty()) ui().report(outcome.message);
            return;
        }
        case app::DatabaseCommand::Check: {
            const std::string path = DatabaseToUse();
            if (!path.empty()) CheckDatabase(path);
            return;
        }
        case app::DatabaseCommand::LeaveMode:
            LeaveMode();
            return;
    }
}

QString DatabaseController::ChooseDatabase(bool save) {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::Database);
    const QString folder = ToQPath(app::GetText(options().CurrentFolder));
    if (save) {
        return QFileDialog::getSaveFileName(window().DialogParent(), ToQString(text.title), folder,
                                            ToQString(text.filter), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
    return QFileDialog::getOpenFileName(window().DialogParent(), ToQString(text.title), folder,
                                        ToQString(text.filter));
}

std::string DatabaseController::DatabaseToUse() {
    if (database_.IsOpen()) return database_.Data().Names().dbg;
    return FromQPath(ChooseDatabase(false));
}

bool DatabaseController::OpenDatabase(const std::string& dbg_path) {
    if (dbg_path.empty()) return false;
    CloseDatabase();
    const bool opened = database_.Open(dbg_path, ui()).ok();
    window().Redraw(WindowPart::Status | WindowPart::Commands);
    return opened;
}

void DatabaseController::CloseDatabase() {
    database_.Close();
    if (InMode()) {
        LeaveMode();
        return;
    }
    window().Redraw(WindowPart::Status | WindowPart::Commands);
}

QString DatabaseController::StatusText() const { return ToQString(database_.StatusText()); }

bool DatabaseController::MakeDatabase(const std::string& dbg_path, search::DbBuildMode mode) {
    const pgn::PgnFile& file = session().File();
    if (!file.IsOpen()) return false;
    search::DbBuildRequest build;
    build.db_path = dbg_path;
    build.mode = mode;
    build.pgn_path = file.CurrentPath();
    build.game_count = file.GameCount();
    const search::DbBuildPlan plan = search::PlanDatabaseBuild(build, ui());
    if (!plan.go) return false;
    utilities::MakeDatabaseRequest request{build, plan.make_fast_file, {}};
    if (plan.make_fast_file) {
        const auto offsets = file.Index().Offsets();
        request.offsets.assign(offsets.begin(), offsets.end());
    }
    // The files change under the open database: it is closed while they are written.
    if (database_.IsOpen() && database_.Data().Names().dbg == dbg_path) CloseDatabase();
    auto result = std::make_shared<utilities::MakeDatabaseResult>();
    const Error started = context_.runner.Start(
        [&request, result](utilities::Worker& worker) {
            return utilities::StartMakeDatabase(worker, std::move(request), result);
        },
        [this, result, dbg_path](const utilities::WorkerOutcome&) {
            if (result->outcome.error.ok()) OpenDatabase(dbg_path);
        });
    return started.ok();
}

int DatabaseController::SearchDatabase(const search::DbSearchCriteria& criteria,
                                       bool from_position_edit, bool from_game_position) {
    if (!database_.IsOpen()) return -1;
    search::DbSearchCriteria& kept = database_.Criteria();
    kept = criteria;
    if (from_position_edit) {
        // The search position's entries, as the position search took them last.
        chess::Board64 board{};
        if (!search::BoardFromPositionCriteria(session().Search().Criteria().position, board)) {
            ui().report(search::messages::InvalidPositionEntry);
            return -1;
        }
        kept.position = board;
    } else if (from_game_position) {
        // The board on display: the database game's in the database mode.
        if (const app::DatabaseSession* shown = ShownGame()) {
            kept.position = chess::ToBoard64(shown->Chess().CurrentBoard());
        } else if (session().HasGame()) {
            kept.position = chess::ToBoard64(session().CurrentBoard());
        }
    }
    const int found = database_.Search(ui());
    if (found > 0) SelectGame();
    return found;
}

void DatabaseController::SelectGame() {
    if (database_.Found().empty()) return;
    std::vector<app::DatabaseGameRow> rows;
    rows.reserve(database_.Found().size());
    for (std::size_t at = 0; at < database_.Found().size(); ++at) rows.push_back(database_.Row(at));
    const int current = database_.HasGame() ? static_cast<int>(database_.ShownPosition()) : 0;
    DatabaseGameListBox box(ToQString(database_.ListTitle()), rows, current,
                            window().DialogParent());
    list_box_ = &box;
    const bool chosen = box.exec() == QDialog::Accepted;
    list_box_ = nullptr;
    if (chosen && box.ChosenRow() >= 0) ShowGame(static_cast<std::size_t>(box.ChosenRow()));
}

bool DatabaseController::ShowGame(std::size_t position) {
    if (!session().Modes().Enter(app::Mode::Database)) return false;
    if (!database_.ShowGame(position, ui()).ok() && !database_.HasGame()) {
        LeaveMode();
        return false;
    }
    window().Redraw(WindowPart::Game);
    return true;
}

bool DatabaseController::InMode() const {
    return session().Modes().Current() == app::Mode::Database;
}

void DatabaseController::LeaveMode() {
    if (InMode()) session().Modes().Leave();
    window().Redraw(WindowPart::Game);
}

const app::DatabaseSession* DatabaseController::ShownGame() const {
    return InMode() && database_.HasGame() ? &database_ : nullptr;
}

bool DatabaseController::Navigate(app::GameCommand command) {
    if (ShownGame() == nullptr) return false;
    if (std::optional<app::NavigationAction> action = app::MoveActionOf(command)) {
        Moved(database_.Go(*action));
        return true;
    }
    switch (command) {
        case app::GameCommand::NextGame:
        case app::GameCommand::PreviousGame: {
            const bool next = command == app::GameCommand::NextGame;
            if (next ? database_.NextGame(ui()) : database_.PreviousGame(ui())) {
                window().Redraw(WindowPart::Game);
            }
            return true;
        }
        case app::GameCommand::SelectGame:
            SelectGame();
            return true;
        case app::GameCommand::StartOfGame:
        case app::GameCommand::Back5:
        case app::GameCommand::PreviousMove:
        case app::GameCommand::NextMove:
        case app::GameCommand::Forward5:
        case app::GameCommand::EndOfGame:
        case app::GameCommand::MiddleOfGame:
        case app::GameCommand::SetNewStart:
        case app::GameCommand::AutoPlay:
        case app::GameCommand::StudyMode:
        case app::GameCommand::PreviousShownGame:
        case app::GameCommand::GoToGame:
        case app::GameCommand::FlipBoard:
        case app::GameCommand::ActualText:
            return false;
    }
    return false;
}

bool DatabaseController::BoardClicked(int file, int rank) {
    if (ShownGame() == nullptr) return false;
    if (std::optional<app::NavigationAction> action = app::ActionForBoardClick(file, rank)) {
        Moved(database_.Go(*action));
    }
    return true;
}

bool DatabaseController::GoToPly(std::int32_t ply) {
    if (ShownGame() == nullptr) return false;
    Moved(database_.GoToPly(ply));
    return true;
}

void DatabaseController::Moved(const app::NavigationStep& step) {
    if (step.moved) window().Redraw(WindowPart::Board | WindowPart::Text | WindowPart::MoveLines);
}

search::CopyOutcome DatabaseController::CopyGames(const std::string& target) {
    const std::string current = session().File().IsOpen() ? session().File().CurrentPath() : "";
    search::CopyOutcome outcome = database_.CopyFound(target, false, current, ui());
    if (!outcome.message.empty()) ui().report(outcome.message);
    return outcome;
}

void DatabaseController::CheckDatabase(const std::string& dbg_path) {
    const search::DbCheckResult checked = search::CheckDatabase(dbg_path);
    for (const std::string& message : checked.messages) ui().report(message);
}

}  // namespace qorvale::gui
