#include "gui/search/directory_controller.h"

#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <memory>

#include "app/app_folder.h"
#include "app/file_dialogs.h"
#include "gui/search/search_controller.h"
#include "gui/search/select_filebox.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "search/directory_search.h"
#include "search/messages.h"
#include "search/ser_file.h"
#include "utilities/directory_search_operation.h"

namespace qorvale::gui {

DirectoryController::DirectoryController(ShellContext& context, SearchController& search)
    : Controller(context), search_(search) {
    connect(&search_, &SearchController::DirectorySearchAsked, this,
            [this](search::DirectorySearchKind kind) {
                // The dialogs search one kind alone; a line is searched as combination 1.
                SearchDirectory(kind, kind == search::DirectorySearchKind::Variation ? 1 : 0);
            });
}

void DirectoryController::Run(app::DirectoryCommand command) {
    const app::SearchParts parts = session().Search().LastParts();
    switch (command) {
        case app::DirectoryCommand::SearchHeader:
            // The menu searches with the criteria in use, combined as the last search was.
            SearchDirectory(
                search::DirectorySearchKind::Header,
                parts.header ? static_cast<std::uint32_t>(app::CombinationOf(parts)) : 0);
            return;
        case app::DirectoryCommand::SearchVariation:
            SearchDirectory(search::DirectorySearchKind::Variation, parts.position ? 3 : 1);
            return;
        case app::DirectoryCommand::SearchPosition:
            SearchDirectory(search::DirectorySearchKind::Position, 0);
            return;
        case app::DirectoryCommand::ShowResults:
            ShowResults();
            return;
        case app::DirectoryCommand::SaveResults: {
            const QString chosen = ChooseDirFile(true);
            if (!chosen.isEmpty())
                (void)SaveResults(search::WithExtension(FromQPath(chosen), ".dir"));
            return;
        }
        case app::DirectoryCommand::LoadResults: {
            const QString chosen = ChooseDirFile(false);
            if (!chosen.isEmpty()) (void)LoadResults(FromQPath(chosen));
            return;
        }
        case app::DirectoryCommand::CopyGames: {
            const std::string target = ChooseCopyTarget();
            if (!target.empty()) (void)CopyGames(target);
            return;
        }
        case app::DirectoryCommand::SelectAllGames:
            search_.SelectAllGames();
            return;
    }
}

std::string DirectoryController::ResultsPath() const {
    return app::AppPath(app_folder(), app::SearchListFileName);
}

void DirectoryController::SearchDirectory(search::DirectorySearchKind kind,
                                          std::uint32_t combination) {
    const QString folder =
        QFileDialog::getExistingDirectory(window().DialogParent(), tr("Search Directory"),
                                          ToQPath(app::GetText(options().CurrentFolder)));
    if (!folder.isEmpty()) SearchFolder(kind, combination, FromQPath(folder));
}

bool DirectoryController::SearchFolder(search::DirectorySearchKind kind, std::uint32_t combination,
                                       const std::string& folder) {
    search::DirectorySearchRequest request;
    request.folder = folder;
    request.results_path = ResultsPath();
    request.kind = kind;
    request.combination = combination;
    request.criteria = session().Search().Criteria();
    auto result = std::make_shared<utilities::DirectorySearchResult>();
    const Error started = context_.runner.Start(
        [&request, result](utilities::Worker& worker) {
            return utilities::StartSearchDirectory(worker, std::move(request), result);
        },
        [this, result](const utilities::WorkerOutcome&) {
            // Nothing found, or a refusal: the operation has said so.
            if (!result->summary.results_written) return;
            if (ui().ask(search::messages::ViewResultsNow)) ShowResults();
        });
    return started.ok();
}

void DirectoryController::ShowResults() {
    if (!results_.Load(ResultsPath(), ui())) return;
    session().Search().Criteria() = results_.Criteria();
    window().Redraw(WindowPart::Commands);
    SelectFilebox box(results_.Results(), results_.TotalLine(), window().DialogParent());
    connect(box.OkButton(), &QPushButton::clicked, &box, [this, &box] {
        if (OpenChosen(box.ChosenIndex())) box.accept();
    });
    select_filebox_ = &box;
    box.exec();
    select_filebox_ = nullptr;
}

bool DirectoryController::OpenChosen(int index) {
    std::optional<app::DirectoryResultsSession::Choice> choice = results_.Choose(index, ui());
    if (!choice) return false;
    if (!window().OpenFile(choice->pgn_path)) return false;
    session().Search().TakeList(app::KeptGames(choice->list, session().GameCount()));
    search_.ShowFound();
    return true;
}

Error DirectoryController::SaveResults(const std::string& path) {
    Error saved = search::SaveDirectoryResults(ResultsPath(), path);
    if (!saved.ok()) ui().explain(saved);
    return saved;
}

Error DirectoryController::LoadResults(const std::string& path) {
    Error loaded = search::LoadDirectoryResults(path, ResultsPath());
    if (!loaded.ok()) ui().explain(loaded);
    return loaded;
}

search::CopyOutcome DirectoryController::CopyGames(const std::string& target) {
    search::DirectoryCopyRequest request;
    request.results_path = ResultsPath();
    request.target = target;
    request.current_file = session().File().IsOpen() ? session().File().CurrentPath() : "";
    search::CopyOutcome outcome = search::CopyDirectoryGames(request, ui());
    if (!outcome.message.empty()) ui().report(outcome.message);
    return outcome;
}

QString DirectoryController::ChooseDirFile(bool save) {
    // The search criteria files' dialog, for the results of a directory search.
    const QString title = ToQString(app::DialogText(app::FileDialogId::SearchCriteria).title);
    const QString folder = ToQPath(app::GetText(options().CurrentFolder));
    const QString filter = QStringLiteral("*.dir");
    return save ? QFileDialog::getSaveFileName(window().DialogParent(), title, folder, filter)
                : QFileDialog::getOpenFileName(window().DialogParent(), title, folder, filter);
}

}  // namespace qorvale::gui
