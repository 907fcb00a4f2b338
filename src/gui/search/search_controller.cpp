#include "gui/search/search_controller.h"

#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <memory>

#include "app/file_dialogs.h"
#include "gui/edit/setup_box.h"
#include "gui/panels/piece_set.h"
#include "gui/search/position_searchbox.h"
#include "gui/search/searchbox.h"
#include "gui/search/variation_searchbox.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "openings/opening_files.h"
#include "search/ser_file.h"
#include "search/variation_search.h"
#include "utilities/eco_difference_operation.h"

namespace qorvale::gui {

SearchController::SearchController(ShellContext& context) : Controller(context) {}

void SearchController::Run(app::SearchCommand command) {
    search::SearchCriteria& criteria = session().Search().Criteria();
    switch (command) {
        case app::SearchCommand::Header: {
            Searchbox box(criteria.header, session().File().IsOpen(), window().DialogParent());
            const int ended = box.exec();
            if (ended == QDialog::Accepted) RunHeaderSearch(box.Criteria());
            if (ended == SearchDirResult) {
                criteria.header = box.Criteria();
                emit DirectorySearchAsked(search::DirectorySearchKind::Header);
            }
            return;
        }
        case app::SearchCommand::Variation: {
            VariationSearchbox box(session().File().IsOpen(), window().DialogParent());
            const int ended = box.exec();
            const QString line = box.MovesField()->text();
            if (ended == QDialog::Rejected || line.trimmed().isEmpty()) return;
            if (ended == QDialog::Accepted) RunVariationSearch(line);
            if (ended == SearchDirResult && TakeVariation(line)) {
                emit DirectorySearchAsked(search::DirectorySearchKind::Variation);
            }
            return;
        }
        case app::SearchCommand::Position: {
            PositionSearchbox box(session().File().IsOpen(), window().DialogParent());
            box.OfferSetUp([this, &box]() -> std::optional<chess::Board> {
                // The set-up starts from the position on the board.
                app::SetupPosition start;
                start.Clear();
                const chess::Board& shown = session().CurrentBoard();
                for (int file = 1; file <= 8; ++file) {
                    for (int rank = 1; rank <= 8; ++rank) {
                        start.Place(
                            file, rank,
                            shown[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)]);
                    }
                }
                SetupBox setup(&box, PiecesFolder(ToQPath(app_folder())), options(), start, ui());
                if (setup.exec() != QDialog::Accepted) return std::nullopt;
                return setup.Position().Board();
            });
            const int ended = box.exec();
            const QString white = box.WhiteField()->text();
            const QString black = box.BlackField()->text();
            const QString move_number = box.MoveNumberField()->text();
            if (ended == QDialog::Accepted) RunPositionSearch(white, black, move_number);
            if (ended == SearchDirResult && TakePosition(white, black, move_number)) {
                emit DirectorySearchAsked(search::DirectorySearchKind::Position);
            }
            return;
        }
        case app::SearchCommand::ExactVariation:
            criteria.exact = !criteria.exact;
            window().Redraw(WindowPart::Commands);
            return;
        case app::SearchCommand::ForceMatch:
            criteria.force_match = !criteria.force_match;
            window().Redraw(WindowPart::Commands);
            return;
        case app::SearchCommand::Statistics:
            ShowStatistics();
            return;
        case app::SearchCommand::ResetNavigation:
            session().Games().Reset();
            window().Redraw(WindowPart::Status);
            return;
        case app::SearchCommand::Save:
            SaveSearch();
            return;
        case app::SearchCommand::Load:
            LoadSearch();
            return;
    }
}

search::SearchSource SearchController::SourceOfFile() const {
    const pgn::PgnFile& file = session().File();
    search::SearchSource source;
    source.pgn_path = file.CurrentPath();
    source.offsets = file.Index().Offsets();
    source.game_count = file.GameCount();
    return source;
}

int SearchController::RunHeaderSearch(const search::HeaderCriteria& criteria) {
    if (!session().File().IsOpen()) return -1;
    app::SearchSession& search = session().Search();
    search.Criteria().header = criteria;
    const app::SearchParts parts{true, false, false};
    if (search.IsEcoDifference(parts)) {
        if (Error checked = search::CheckHeaderCriteria(criteria); !checked.ok()) {
            ui().report(checked.message());
            return -1;
        }
        // The ECO difference search classifies every game: it runs in the background.
        auto result = std::make_shared<utilities::EcoDifferenceResult>();
        utilities::EcoDifferenceRequest request = search.EcoDifferenceRequestFor(
            SourceOfFile(), openings::EcoCodesFastFilePath(context_.state.app_folder));
        const Error started = context_.runner.Start(
            [&request, result](utilities::Worker& worker) {
                return utilities::StartSearchEcoDifference(worker, std::move(request), result);
            },
            [this, result](const utilities::WorkerOutcome&) {
                const int found = session().Search().TakeEcoDifference(std::move(*result));
                if (found >= 0) Finish(found);
            });
        return started.ok() ? 0 : -1;
    }
    return Finish(search.Run(SourceOfFile(), parts, ui()));
}

bool SearchController::TakeVariation(const QString& line) {
    Result<search::VariationCriteria> parsed = search::ParseSearchLine(line.toStdString());
    if (!parsed.ok()) {
        ui().report(parsed.error().message());
        return false;
    }
    session().Search().Criteria().line = *parsed;
    return true;
}

bool SearchController::TakePosition(const QString& white, const QString& black,
                                    const QString& move_number) {
    search::PositionCriteria position;
    if (Error parsed =
            search::ParsePositionEntries(white.toStdString(), black.toStdString(), position);
        !parsed.ok()) {
        ui().report(parsed.message());
        return false;
    }
    const std::string filter = move_number.trimmed().toStdString();
    if (Error checked = search::CheckMoveNumberFilter(filter); !checked.ok()) {
        ui().report(checked.message());
        return false;
    }
    search::SearchCriteria& criteria = session().Search().Criteria();
    criteria.position = position;
    criteria.move_number = search::ParseMoveNumberFilter(filter);
    return true;
}

int SearchController::RunVariationSearch(const QString& line) {
    if (!session().File().IsOpen() || !TakeVariation(line)) return -1;
    return Finish(session().Search().Run(SourceOfFile(), {false, true, false}, ui()));
}

int SearchController::RunPositionSearch(const QString& white, const QString& black,
                                        const QString& move_number) {
    if (!session().File().IsOpen() || !TakePosition(white, black, move_number)) return -1;
    return Finish(session().Search().Run(SourceOfFile(), {false, false, true}, ui()));
}

int SearchController::Finish(int found) {
    if (found < 0) return found;
    ShowFound();
    return found;
}

void SearchController::ShowFound() {
    session().UseSearchResults();
    if (std::optional<app::SearchLanding> landing = session().Search().Landing()) {
        // The board goes to where the searched line or position stands.
        if (window().ShowGame(landing->game_number) && landing->ply > 0) {
            window().GoToPly(landing->ply);
        }
    }
    window().Redraw(WindowPart::Status);
    ShowStatistics();
}

int SearchController::SelectAllGames() {
    if (!session().File().IsOpen()) return -1;
    return Finish(session().Search().SelectAll(SourceOfFile(), ui()));
}

void SearchController::ShowStatistics() {
    QStringList lines;
    for (const std::string& line : session().Search().List().FormatWinStatistics()) {
        lines << ToQString(line);
    }
    if (statistics_box_ == nullptr) {
        statistics_box_ = new QDialog(window().DialogParent());
        statistics_box_->setObjectName(QStringLiteral("SearchStatistics"));
        statistics_box_->setWindowTitle(tr("Search Statistics"));
        auto* label = new QLabel(statistics_box_);
        label->setObjectName(QStringLiteral("StatisticsText"));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* layout = new QVBoxLayout(statistics_box_);
        layout->addWidget(label);
    }
    statistics_box_->findChild<QLabel*>(QStringLiteral("StatisticsText"))
        ->setText(lines.join(QLatin1Char('\n')));
    statistics_box_->adjustSize();
    statistics_box_->show();
}

void SearchController::FileOpened() {
    // The statistics belong to the file they were counted on.
    if (statistics_box_ != nullptr) statistics_box_->hide();
}

Error SearchController::SaveSearchFile(const std::string& path) {
    Error saved = session().Search().Save(path);
    if (!saved.ok()) ui().explain(saved);
    return saved;
}

Error SearchController::LoadSearchFile(const std::string& path) {
    Error loaded = session().Search().Load(path);
    if (!loaded.ok()) ui().explain(loaded);
    window().Redraw(WindowPart::Commands);
    return loaded;
}

void SearchController::SaveSearch() {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::SearchCriteria);
    const QString chosen = QFileDialog::getSaveFileName(
        window().DialogParent(), ToQString(text.title),
        ToQPath(app::GetText(options().CurrentFolder)), ToQString(text.filter));
    if (chosen.isEmpty()) return;
    (void)SaveSearchFile(search::WithExtension(FromQPath(chosen), ".ser"));
}

void SearchController::LoadSearch() {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::SearchCriteria);
    const QString chosen = QFileDialog::getOpenFileName(
        window().DialogParent(), ToQString(text.title),
        ToQPath(app::GetText(options().CurrentFolder)), ToQString(text.filter));
    if (chosen.isEmpty()) return;
    (void)LoadSearchFile(FromQPath(chosen));
}

}  // namespace qorvale::gui
