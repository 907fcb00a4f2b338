#include "gui/tree/tree_controller.h"

#include <QFileDialog>
#include <QKeySequence>
#include <QPushButton>

#include "app/tree_settings.h"
#include "gui/database/database_controller.h"
#include "gui/panels/board_widget.h"
#include "gui/panels/piece_set.h"
#include "gui/search/search_controller.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "gui/tree/board_list_window.h"
#include "gui/tree/move_stats_list.h"
#include "gui/tree/tree_settings_box.h"
#include "openings/tree_merge.h"
#include "platform/folder.h"
#include "search/database_files.h"
#include "search/fast_file.h"
#include "utilities/fast_file_operation.h"

namespace qorvale::gui {

namespace {

// The squares of the last move of `line`, for the board's highlight.
app::MoveSquares LastMoveOf(const openings::LinePosition& line) {
    if (line.HalfMoves() == 0) return {};
    const search::MoveCode code = line.Codes().back();
    const int from = code & 0x3F;
    const int to = (code >> 8) & 0x3F;
    return {from / 8 + 1, from % 8 + 1, to / 8 + 1, to % 8 + 1};
}

const QString MergeFilter = QStringLiteral("Tree merge files (*.trm);;All files (*)");

}  // namespace

TreeController::TreeController(ShellContext& context, SearchController& search,
                               const DatabaseController& database)
    : Controller(context), search_(search), database_(database) {}

TreeController::~TreeController() { tree_.Close(); }

void TreeController::Run(app::TreeCommand command) {
    const pgn::PgnFile& file = session().File();
    switch (command) {
        case app::TreeCommand::MakeFastFile: {
            const std::span<const std::uint32_t> offsets = file.Index().Offsets();
            utilities::MakeFastFileRequest request{
                file.CurrentPath(), {offsets.begin(), offsets.end()}, false, {}};
            // A refusal has already been shown.
            (void)context_.runner.Start(
                [&request](utilities::Worker& worker) {
                    return utilities::StartMakeFastFile(worker, std::move(request));
                },
                [this](const utilities::WorkerOutcome&) { window().Redraw(WindowPart::All); });
            return;
        }
        case app::TreeCommand::CheckFastFile:
            (void)search::CheckFastFile(file.CurrentPath(), file.GameCount(), ui());
            return;
        case app::TreeCommand::DeleteFastFile:
            (void)search::DeleteFastFile(file.CurrentPath(), ui());
            return;
        case app::TreeCommand::OpenTree:
            (void)OpenTree(app::FileTreeSource(file));
            return;
        case app::TreeCommand::OpenEcoTree: {
            openings::TreeSourceRequest request;
            request.kind = openings::TreeSourceKind::EcoTable;
            request.path = app_folder();
            request.eco_table = &session().Eco();
            (void)OpenTree(request);
            return;
        }
        case app::TreeCommand::OpenMergeTree: {
            const QString chosen =
                QFileDialog::getOpenFileName(window().DialogParent(), tr("Open Merge File Tree"),
                                             ToQPath(app_folder()), MergeFilter);
            if (!chosen.isEmpty()) (void)OpenMergeTree(chosen);
            return;
        }
        case app::TreeCommand::OpenDatabaseTree: {
            openings::TreeSourceRequest request;
            request.kind = openings::TreeSourceKind::Database;
            request.path = database_.Database().Data().Names().dbg;
            (void)OpenTree(request);
            return;
        }
        case app::TreeCommand::RebuildTree:
            (void)OpenTree(openings::TreeSourceRequest(request_), true);
            return;
        case app::TreeCommand::CloseTree:
            CloseTree();
            return;
        case app::TreeCommand::TreeSettings:
            EditSettings();
            return;
        case app::TreeCommand::MakeMergeFile:
        case app::TreeCommand::AddToMergeFile: {
            const bool append = command == app::TreeCommand::AddToMergeFile;
            const QString folder = ToQPath(platform::FolderOf(file.CurrentPath()));
            const QString chosen =
                append ? QFileDialog::getOpenFileName(window().DialogParent(),
                                                      tr("Add to Merge File"), folder, MergeFilter)
                       : QFileDialog::getSaveFileName(window().DialogParent(),
                                                      tr("Make Merge File"), folder, MergeFilter);
            if (!chosen.isEmpty()) (void)MakeMergeFile(chosen, append);
            return;
        }
    }
}

bool TreeController::OpenTree(const openings::TreeSourceRequest& request, bool rebuild) {
    if (tree_.IsOpen()) tree_.Close();
    bool help_shown = app::TreeHelpShown(options());
    const bool help_before = help_shown;
    if (tree_.Open(request, app::TreeOptionsFrom(options()), ui(), &help_shown, rebuild)) {
        if (window_ != nullptr && !tree_.IsOpen()) CloseTree();
        return false;
    }
    if (help_shown && !help_before) {
        app::SetTreeHelpShown(options());
        SaveOptions();
    }
    request_ = request;
    if (session().Modes().Current() != app::Mode::Tree &&
        !session().Modes().Enter(app::Mode::Tree)) {
        tree_.Close();
        return false;
    }
    ShowTreeWindow();
    DrawTree();
    window().Redraw(WindowPart::Status | WindowPart::Commands);
    return true;
}

bool TreeController::OpenMergeTree(const QString& chosen) {
    Result<std::string> path = openings::ChooseMergeFile(FromQPath(chosen), true, ui());
    if (!path) return false;
    openings::TreeSourceRequest request;
    request.kind = openings::TreeSourceKind::MergeFile;
    request.path = *path;
    return OpenTree(request);
}

void TreeController::CloseTree() {
    tree_.Close();
    if (window_ != nullptr) window_->hide();
    if (session().Modes().Current() == app::Mode::Tree) session().Modes().Leave();
    window().Redraw(WindowPart::All);
}

bool TreeController::MakeMergeFile(const QString& chosen, bool append) {
    Result<std::string> merge_path = openings::ChooseMergeFile(FromQPath(chosen), append, ui());
    if (!merge_path) return false;
    const pgn::PgnFile& file = session().File();
    const std::span<const std::uint32_t> offsets = file.Index().Offsets();
    utilities::MakeFastFileRequest request{
        file.CurrentPath(), {offsets.begin(), offsets.end()}, true, {*merge_path, append}};
    return !context_.runner.Start(
        [&request](utilities::Worker& worker) {
            return utilities::StartMakeFastFile(worker, std::move(request));
        },
        [this](const utilities::WorkerOutcome&) { window().Redraw(WindowPart::Commands); });
}

void TreeController::ShowTreeWindow() {
    if (window_ == nullptr) {
        window_ = new BoardListWindow(tr("Opening Tree"), PiecesFolder(ToQPath(app_folder())),
                                      window().DialogParent());
        window_->setObjectName(QStringLiteral("TreeWindow"));
        QPushButton* back = window_->AddButton(QStringLiteral("TreeBack"), tr("< Back"));
        back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
        connect(back, &QPushButton::clicked, this, &TreeController::Back);
        QPushButton* forward = window_->AddButton(QStringLiteral("TreeForward"), tr("Forward >"));
        forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
        connect(forward, &QPushButton::clicked, this, &TreeController::Forward);
        connect(window_->AddButton(QStringLiteral("TreeUp"), tr("Up")), &QPushButton::clicked, this,
                &TreeController::StepBack);
        connect(window_->AddButton(QStringLiteral("TreeSettings"), tr("Settings...")),
                &QPushButton::clicked, this, &TreeController::EditSettings);
        MoveStatsList* list = window_->moves();
        connect(list, &MoveStatsList::rowEntered, this, &TreeController::EnterRow);
        connect(list, &MoveStatsList::stepBack, this, &TreeController::StepBack);
        connect(list, &MoveStatsList::gamesAsked, this, &TreeController::GamesOfRow);
        connect(window_, &BoardListWindow::closeAsked, this, &TreeController::CloseTree);
    }
    const bool eco = request_.kind == openings::TreeSourceKind::EcoTable;
    window_->setWindowTitle(tr("Opening Tree") + QStringLiteral(" - ") +
                            (eco ? tr("ECO table") : ToQPath(platform::NameOf(request_.path))));
    // The games behind a move are games of the open file only.
    window_->moves()->SetGamesMenu(request_.kind == openings::TreeSourceKind::PgnFile);
    window_->board()->ApplyOptions(options());
    window_->show();
    window_->raise();
    window_->moves()->setFocus();
}

void TreeController::DrawTree() {
    if (window_ == nullptr) return;
    const openings::LinePosition& line = tree_.Line();
    window_->board()->SetFlipped(session().View().flipped);
    window_->board()->SetPosition(line.Chess().CurrentBoard(), LastMoveOf(line));
    window_->SetLineText(ToQString(tree_.LineText()));
    window_->SetOpeningText(ToQString(tree_.OpeningText(session().Eco())));
    window_->moves()->SetRows(tree_.Rows(), tree_.SelectedRow(), options().FigurineNotation != 0);
    window_->Button(QStringLiteral("TreeBack"))->setEnabled(tree_.CanGoBack());
    window_->Button(QStringLiteral("TreeForward"))->setEnabled(tree_.CanGoForward());
    window_->Button(QStringLiteral("TreeUp"))->setEnabled(tree_.Depth() > 1);
}

void TreeController::EnterRow(int row) {
    if (!tree_.IsOpen()) return;
    app::TreeStep step = tree_.Enter(row, ui());
    DrawTree();
    if (step.kind != app::TreeStep::Kind::EndOfBranch) return;
    switch (step.end) {
        case openings::EndOfBranchAction::ShowGame:
            if (window().ShowGame(step.game_number) && step.half_move > 0) {
                window().GoToPly(step.half_move);
            }
            return;
        case openings::EndOfBranchAction::ShowGameList:
            ShowGames(std::move(step.games));
            return;
        case openings::EndOfBranchAction::Message:
        case openings::EndOfBranchAction::Nothing:
            return;
    }
}

void TreeController::StepBack() {
    if (tree_.IsOpen() && tree_.StepBack(ui())) DrawTree();
}

void TreeController::Back() {
    if (tree_.IsOpen() && tree_.Back(ui())) DrawTree();
}

void TreeController::Forward() {
    if (tree_.IsOpen() && tree_.Forward(ui())) DrawTree();
}

void TreeController::GamesOfRow(int row) {
    if (!tree_.IsOpen()) return;
    Result<search::SearchList> games = tree_.GamesOfRow(row, ui());
    if (games) ShowGames(std::move(*games));
}

void TreeController::ShowGames(search::SearchList games) {
    session().Search().TakeList(std::move(games));
    search_.ShowFound();
}

void TreeController::EditSettings() {
    TreeSettingsBox box(app::TreeOptionsFrom(options()), window().DialogParent());
    if (box.exec() == QDialog::Accepted) ApplySettings(box.Options());
}

void TreeController::ApplySettings(const openings::TreeOptions& settings) {
    app::StoreTreeOptions(settings, options());
    SaveOptions();
    if (!tree_.IsOpen()) return;
    (void)tree_.SetOptions(settings, ui());
    DrawTree();
}

}  // namespace qorvale::gui
