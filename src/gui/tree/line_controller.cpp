#include "gui/tree/line_controller.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/start_up.h"
#include "app/tree_settings.h"
#include "gui/panels/board_widget.h"
#include "gui/panels/piece_set.h"
#include "gui/shell/operation_runner.h"
#include "gui/shell/qt_text.h"
#include "gui/tree/board_list_window.h"
#include "gui/tree/move_stats_list.h"

namespace qorvale::gui {

namespace {

app::LineMode LineModeOf(app::Mode mode) {
    if (mode == app::Mode::Analyze) return app::LineMode::Analyze;
    if (mode == app::Mode::EcoEdit) return app::LineMode::EcoEdit;
    return app::LineMode::VariationEdit;
}

std::optional<openings::FindOpeningMode> FindModeOf(app::OpeningsCommand command) {
    switch (command) {
        case app::OpeningsCommand::FindClosestMatch:
            return openings::FindOpeningMode::ClosestMatch;
        case app::OpeningsCommand::FindExactNumberOfMoves:
            return openings::FindOpeningMode::ExactNumberOfMoves;
        case app::OpeningsCommand::FindExactVariation:
            return openings::FindOpeningMode::ExactVariation;
        case app::OpeningsCommand::ShowOpening:
        case app::OpeningsCommand::DisplayOpening:
            return std::nullopt;
    }
    return std::nullopt;
}

// An ECO table entry as its list shows it.
QString EntryText(const openings::EcoTable& table, std::int32_t entry) {
    return ToQString(table.Code(entry)) + QStringLiteral("  ") + ToQString(table.Name(entry)) +
           QStringLiteral("  ") + ToQString(table.Moves(entry));
}

}  // namespace

LineController::LineController(ShellContext& context)
    : Controller(context), input_(context.window.DialogParent(), context.ui) {}

LineController::~LineController() = default;

void LineController::Run(app::LineCommand command) {
    switch (command) {
        case app::LineCommand::VariationEdit:
            Start(app::Mode::VariationEdit);
            return;
        case app::LineCommand::Analyze:
            Start(app::Mode::Analyze);
            return;
        case app::LineCommand::TakeBack:
            TakeBack();
            return;
        case app::LineCommand::Leave:
            (void)Leave();
            return;
        case app::LineCommand::ShowNextMoves:
            ShowNextMoves(false);
            return;
        case app::LineCommand::ShowManeuvers:
            ShowNextMoves(true);
            return;
        case app::LineCommand::LookAhead: {
            openings::TreeOptions tree = app::TreeOptionsFrom(options());
            bool ok = false;
            const int count = QInputDialog::getInt(
                window().DialogParent(), tr("Maneuvers Look Ahead Count"),
                tr("Number of moves to look ahead"), tree.maneuver_look_ahead, 1, 99, 1, &ok);
            if (!ok) return;
            tree.maneuver_look_ahead = count;
            app::StoreTreeOptions(tree, options());
            SaveOptions();
            if (next_shown_ && maneuvers_) Rescan();
            return;
        }
    }
}

void LineController::Run(app::EcoEditCommand command) {
    if (command == app::EcoEditCommand::Enter) {
        Start(app::Mode::EcoEdit);
        return;
    }
    if (!editor_ || !line_) return;
    const openings::EcoNameDialog ask_name = [this](std::string_view preset) {
        return AskName(preset);
    };
    bool changed = false;
    switch (command) {
        case app::EcoEditCommand::Enter:
            return;
        case app::EcoEditCommand::AddLine:
            changed = editor_->AddLine(line_->Position(), ask_name, ui());
            break;
        case app::EcoEditCommand::ModifyLine:
            changed = editor_->ModifyLine(line_->Position(), ui());
            break;
        case app::EcoEditCommand::RenameLine:
            changed = editor_->RenameLine(line_->Position(), ask_name, ui());
            break;
        case app::EcoEditCommand::DeleteLine:
            changed = editor_->DeleteLine(ui());
            break;
        case app::EcoEditCommand::Check:
            (void)editor_->Check(ui());
            return;
        case app::EcoEditCommand::RestorePrevious: {
            openings::EcoDataOptions data = app::EcoDataOptionsOf(context_.state);
            if (editor_->RestorePrevious(data, ui())) End();
            return;
        }
        case app::EcoEditCommand::LeaveSaving:
            (void)LeaveEco(true);
            return;
        case app::EcoEditCommand::LeaveWithoutSaving:
            (void)LeaveEco(false);
            return;
    }
    if (changed) {
        DrawEntries();
        DrawLine();
    }
}

bool LineController::FindOpening(app::OpeningsCommand command) {
    const std::optional<openings::FindOpeningMode> find = FindModeOf(command);
    if (!line_ || !find) return false;
    const std::int32_t entry = line_->FindOpening(session().Eco(), *find, ui());
    found_ = entry >= 0 ? EntryText(session().Eco(), entry) : QString();
    DrawLine();
    return true;
}

void LineController::Start(app::Mode mode) {
    if (line_ || !session().Modes().Enter(mode)) return;
    line_.emplace(LineModeOf(mode));
    if (mode == app::Mode::Analyze && session().HasGame()) {
        (void)line_->StartFrom(session().Lines().Moves(), session().Navigation().currentPly);
    }
    if (mode == app::Mode::EcoEdit) {
        editor_.emplace(app_folder(), session().Eco());
        if (!editor_->Enter(ui())) {
            End();
            return;
        }
    }
    found_.clear();
    next_shown_ = false;
    SyncEntry();
    ShowLineWindow();
    DrawEntries();
    DrawLine();
    window().Redraw(WindowPart::Status | WindowPart::Commands);
}

void LineController::End() {
    line_.reset();
    editor_.reset();
    next_shown_ = false;
    input_.Reset();
    if (window_ != nullptr) window_->hide();
    const app::Mode mode = session().Modes().Current();
    if (mode == app::Mode::VariationEdit || mode == app::Mode::Analyze ||
        mode == app::Mode::EcoEdit) {
        session().Modes().Leave();
    }
    window().Redraw(WindowPart::All);
}

bool LineController::Leave() {
    if (!line_) return true;
    if (editor_) return LeaveEco(false);
    End();
    return true;
}

bool LineController::LeaveEco(bool saving) {
    if (saving) {
        openings::EcoDataOptions data = app::EcoDataOptionsOf(context_.state);
        if (!editor_->LeaveSaving(data, ui())) return false;
    } else if (!editor_->LeaveWithoutSaving(ui())) {
        return false;
    }
    End();
    return true;
}

void LineController::ShowLineWindow() {
    const app::Mode mode = session().Modes().Current();
    if (window_ == nullptr) {
        window_ = new BoardListWindow(QString(), PiecesFolder(ToQPath(app_folder())),
                                      window().DialogParent());
        window_->setObjectName(QStringLiteral("LineWindow"));
        connect(window_->board(), &BoardWidget::squareClicked, this, &LineController::BoardClicked);
        connect(window_->board(), &BoardWidget::squareDropped, this, &LineController::PieceDropped);
        connect(window_->AddButton(QStringLiteral("TakeBack"), tr("Take Back")),
                &QPushButton::clicked, this, &LineController::TakeBack);
        connect(window_->AddButton(QStringLiteral("NextMoves"), tr("Next Moves")),
                &QPushButton::clicked, this, [this] { ShowNextMoves(false); });
        connect(window_->AddButton(QStringLiteral("Maneuvers"), tr("Maneuvers")),
                &QPushButton::clicked, this, [this] { ShowNextMoves(true); });
        const std::pair<const char*, app::EcoEditCommand> eco_buttons[] = {
            {"Add Line", app::EcoEditCommand::AddLine},
            {"Modify", app::EcoEditCommand::ModifyLine},
            {"Rename", app::EcoEditCommand::RenameLine},
            {"Delete", app::EcoEditCommand::DeleteLine},
            {"Save and Leave", app::EcoEditCommand::LeaveSaving},
        };
        for (const auto& [text, command] : eco_buttons) {
            QPushButton* button = window_->AddButton(
                QStringLiteral("Eco") + QString::fromLatin1(text).remove(QLatin1Char(' ')),
                tr(text));
            connect(button, &QPushButton::clicked, this,
                    [this, command = command] { Run(command); });
        }
        MoveStatsList* list = window_->moves();
        connect(list, &MoveStatsList::rowEntered, this, &LineController::ChooseNextMove);
        connect(list, &MoveStatsList::stepBack, this, &LineController::StepBackNextMoves);
        connect(window_->entries(), &QListWidget::currentRowChanged, this,
                &LineController::SelectEntry);
        connect(window_, &BoardListWindow::closeAsked, this, [this] { (void)Leave(); });
    }
    const bool eco = mode == app::Mode::EcoEdit;
    window_->setWindowTitle(ToQString(app::TraitsOf(mode).name));
    for (const char* name : {"NextMoves", "Maneuvers"}) {
        window_->Button(QString::fromLatin1(name))->setVisible(!eco);
    }
    for (const char* name :
         {"EcoAddLine", "EcoModify", "EcoRename", "EcoDelete", "EcoSaveandLeave"}) {
        window_->Button(QString::fromLatin1(name))->setVisible(eco);
    }
    window_->ShowEntries(eco);
    window_->ShowMoves(!eco);
    window_->moves()->clear();
    window_->board()->ApplyOptions(options());
    window_->show();
    window_->raise();
}

void LineController::DrawLine() {
    if (window_ == nullptr || !line_) return;
    window_->board()->SetFlipped(session().View().flipped);
    input_.Draw(*window_->board(), entry_);
    window_->SetLineText(ToQString(line_->MovesText()));
    QString opening = ToQString(line_->OpeningName(session().Eco()));
    if (!found_.isEmpty()) opening += QStringLiteral("\n") + tr("Found: ") + found_;
    window_->SetOpeningText(opening);
    if (next_shown_) {
        window_->moves()->SetRows(next_.Rows(), next_.Rows().empty() ? -1 : 0,
                                  options().FigurineNotation != 0);
    }
}

void LineController::DrawEntries() {
    if (window_ == nullptr || !editor_) return;
    QListWidget* list = window_->entries();
    const QSignalBlocker blocker(list);
    list->clear();
    const openings::EcoTable& table = session().Eco();
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        list->addItem(EntryText(table, entry));
    }
    list->setCurrentRow(editor_->Selected());
}

void LineController::SyncEntry() {
    entry_ = app::GameEntry();
    entry_.StartNewGame();
    if (line_ && line_->HalfMoves() > 0) {
        (void)entry_.StartFromMoves({}, line_->Position().Moves(), line_->HalfMoves());
    }
    input_.Reset();
}

void LineController::TakeEnteredMove() {
    const int half = entry_.HalfMoves();
    if (half <= line_->HalfMoves()) return;
    const auto full = static_cast<std::size_t>((half - 1) / 2);
    const chess::MoveText& text =
        half % 2 == 1 ? entry_.Moves().WhiteMoves[full] : entry_.Moves().BlackMoves[full];
    if (!line_->PlayText(text.view(), ui())) {
        (void)entry_.TakeBack();
        return;
    }
    found_.clear();
    if (next_shown_) Rescan();
}

void LineController::BoardClicked(int file, int rank) {
    if (!line_) return;
    (void)input_.Click(entry_, file, rank);
    TakeEnteredMove();
    DrawLine();
}

void LineController::PieceDropped(int file, int rank) {
    if (!line_) return;
    if (!input_.Drop(entry_, file, rank)) return;
    TakeEnteredMove();
    DrawLine();
}

bool LineController::PlayMove(std::string_view text) {
    if (!line_ || !line_->PlayText(text, ui())) return false;
    found_.clear();
    SyncEntry();
    if (next_shown_) Rescan();
    DrawLine();
    return true;
}

void LineController::TakeBack() {
    if (!line_ || !line_->TakeBack()) return;
    found_.clear();
    SyncEntry();
    if (next_shown_) Rescan();
    DrawLine();
}

void LineController::ShowNextMoves(bool maneuvers) {
    if (!line_ || editor_ || !session().File().IsOpen()) return;
    if (context_.runner.RefuseWhileBusy()) return;
    next_shown_ = true;
    maneuvers_ = maneuvers;
    Rescan();
    DrawLine();
    window_->moves()->setFocus();
}

void LineController::Rescan() {
    // A scan that finds nothing has said so; the list is left empty.
    (void)next_.Start(app::FileTreeSource(session().File()), line_->Position(), maneuvers_,
                      app::TreeOptionsFrom(options()), ui());
}

void LineController::ChooseNextMove(int row) {
    if (!line_ || !next_shown_ || maneuvers_) return;
    // A move with nothing after it is still played; the scan has said that the branch ends.
    (void)next_.Choose(row, ui());
    FollowNextMoves();
}

void LineController::StepBackNextMoves() {
    if (!line_ || !next_shown_) return;
    (void)next_.StepBack(ui());
    FollowNextMoves();
}

void LineController::FollowNextMoves() {
    const openings::LinePosition& played = next_.Line();
    if (played.HalfMoves() == line_->HalfMoves()) return;
    (void)line_->StartFrom(played.Moves(), played.HalfMoves());
    found_.clear();
    SyncEntry();
    DrawLine();
}

void LineController::SelectEntry(int entry) {
    if (editor_) editor_->Select(entry);
}

std::optional<std::string> LineController::AskName(std::string_view preset) {
    if (scripted_names_) {
        if (name_answers_.empty()) return std::nullopt;
        std::optional<std::string> answer = name_answers_.front();
        name_answers_.pop_front();
        return answer;
    }
    bool ok = false;
    const QString name =
        QInputDialog::getText(window().DialogParent(), tr("ECO Line Name"), tr("Name:"),
                              QLineEdit::Normal, ToQString(preset), &ok);
    if (!ok) return std::nullopt;
    return name.toUtf8().toStdString();
}

}  // namespace qorvale::gui
