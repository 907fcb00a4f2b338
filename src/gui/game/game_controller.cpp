#include "gui/game/game_controller.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "app/game_text.h"
#include "app/messages.h"
#include "base/message.h"
#include "gui/game/analysis_list_box.h"
#include "gui/game/game_list_box.h"
#include "gui/shell/messages.h"
#include "gui/shell/move_sound.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

GameController::GameController(ShellContext& context, MoveSound& sound)
    : Controller(context), sound_(sound) {
    auto_play_timer_ = new QTimer(this);
    connect(auto_play_timer_, &QTimer::timeout, this, [this] {
        if (!session().Navigation().autoPlay) return;
        Navigate(app::NavigationAction::NextMove);
        if (session().Navigation().currentPly >= session().Navigation().lastPly) StopAutoPlay();
    });
    OptionsChanged();
}

void GameController::Run(app::GameCommand command) {
    using Nav = app::NavigationAction;
    switch (command) {
        case app::GameCommand::StartOfGame:
            // The Start button returns to a stored start position when there is one.
            Navigate(session().Navigation().startPly > 0 ? Nav::NewStartPosition
                                                         : Nav::StartOfGame);
            return;
        case app::GameCommand::Back5:
            Navigate(Nav::Back5);
            return;
        case app::GameCommand::PreviousMove:
            Navigate(Nav::PreviousMove);
            return;
        case app::GameCommand::NextMove:
            Navigate(Nav::NextMove);
            return;
        case app::GameCommand::Forward5:
            Navigate(Nav::Forward5);
            return;
        case app::GameCommand::EndOfGame:
            Navigate(Nav::EndOfGame);
            return;
        case app::GameCommand::MiddleOfGame:
            Navigate(Nav::MiddleOfGame);
            return;
        case app::GameCommand::SetNewStart:
            app::SetNewStartPosition(session().Navigation());
            return;
        case app::GameCommand::AutoPlay:
            ToggleAutoPlay();
            return;
        case app::GameCommand::StudyMode:
            session().Navigation().studyMode = session().Navigation().studyMode != 0 ? 0 : 1;
            window().Redraw(WindowPart::Text | WindowPart::Commands);
            return;
        case app::GameCommand::SelectGame:
            ShowGameList();
            return;
        case app::GameCommand::NextGame:
            NextGame();
            return;
        case app::GameCommand::PreviousGame:
            PreviousGame();
            return;
        case app::GameCommand::PreviousShownGame:
            if (session().PreviousShownGame() > 0) ShowGame(session().PreviousShownGame());
            return;
        case app::GameCommand::GoToGame:
            GoToGameNumber();
            return;
        case app::GameCommand::FlipBoard:
            session().View().flipped = !session().View().flipped;
            window().Redraw(WindowPart::Board | WindowPart::Commands);
            return;
        case app::GameCommand::ActualText:
            ShowActualText();
            return;
    }
}

void GameController::Run(app::AnalysisCommand command) {
    if (command == app::AnalysisCommand::Lines) {
        ShowAnalysisList();
        return;
    }
    if (!ReplayModeOn()) return;
    switch (command) {
        case app::AnalysisCommand::Next:
            (void)session().ReplayNext(ui());
            break;
        case app::AnalysisCommand::Previous:
            if (session().ReplayPrevious() == app::AnalysisReplay::Outcome::Nothing) return;
            break;
        case app::AnalysisCommand::Start:
            session().ReplayStart();
            break;
        case app::AnalysisCommand::Promote:
        case app::AnalysisCommand::Lines:
            return;
    }
    window().Redraw(WindowPart::Board | WindowPart::MoveLines);
}

bool GameController::ShowGame(std::int32_t game_number) {
    StopAutoPlay();
    if (Error loaded = session().LoadGame(game_number, ui()); !loaded.ok()) {
        ui().explain(loaded);
        return false;
    }
    CheckReplayMode();
    loaded_once_ = true;
    window().Redraw(WindowPart::Game);
    return true;
}

void GameController::CheckReplayMode() {
    app::OptionsRecord& record = options();
    app::ReplayCheckInput input;
    input.mode = record.AnalysisReplayMode;
    input.active = record.AnalysisReplayActive != 0;
    input.annotations = session().Lines().AnnotationCount();
    input.auto_replay_count = record.AutoReplayCount;
    input.hide_game_text = record.HideGameText != 0;
    input.first_load = !loaded_once_;
    input.hint_shown = record.AnalysisReplaySetting != 0;
    switch (app::CheckAnalysisReplay(input)) {
        case app::ReplayCheck::SwitchOn:
            record.AnalysisReplayActive = 1;
            break;
        case app::ReplayCheck::SwitchOff:
            record.AnalysisReplayActive = 0;
            break;
        case app::ReplayCheck::ShowHint:
            ui().report(app::ReplayHint);
            record.AnalysisReplaySetting = 1;
            SaveOptions();
            break;
        case app::ReplayCheck::None:
            break;
    }
}

void GameController::Navigate(app::NavigationAction action) {
    if (!session().HasGame()) return;
    const app::NavigationStep step = session().Go(action, ui());
    Moved(step);
}

void GameController::GoToPly(std::int32_t ply) {
    if (!session().HasGame()) return;
    app::NavigationStep step = session().GoToPly(ply);
    step.single_step = false;
    Moved(step);
}

void GameController::Moved(const app::NavigationStep& step) {
    if (!step.moved) return;
    if (step.single_step) sound_.Play();
    // Past the opening the last name stays on display.
    WindowPart parts = WindowPart::Board | WindowPart::Text | WindowPart::MoveLines;
    if (step.classify) parts = parts | WindowPart::OpeningLine;
    window().Redraw(parts);
}

void GameController::BoardClicked(int file, int rank) {
    if (std::optional<app::NavigationAction> action = app::ActionForBoardClick(file, rank)) {
        Navigate(*action);
    }
}

void GameController::ToggleAutoPlay() {
    if (session().Navigation().autoPlay) {
        StopAutoPlay();
        return;
    }
    session().Navigation().autoPlay = true;
    window().Redraw(WindowPart::Commands);
    auto_play_timer_->start();
    Navigate(app::NavigationAction::NextMove);
}

void GameController::StopAutoPlay() {
    const bool was_playing = session().Navigation().autoPlay;
    session().Navigation().autoPlay = false;
    auto_play_timer_->stop();
    if (was_playing) window().Redraw(WindowPart::Commands);
}

void GameController::NextGame() {
    const std::int32_t current = session().GameNumber();
    if (auto next = session().Games().Next(current, session().GameCount())) ShowGame(*next);
}

void GameController::PreviousGame() {
    const std::int32_t current = session().GameNumber();
    if (auto previous = session().Games().Previous(current, session().GameCount())) {
        ShowGame(*previous);
    }
}

void GameController::GoToGameNumber() {
    const std::int32_t count = session().GameCount();
    if (count <= 0) return;
    bool ok = false;
    const int number =
        QInputDialog::getInt(window().DialogParent(), ToQString(GoToGameTitle), tr("Game number"),
                             std::max(1, session().GameNumber()), 1, count, 1, &ok);
    if (ok) ShowGame(number);
}

void GameController::ShowGameList() {
    if (session().GameCount() <= 0) return;
    GameListContent content;
    content.opening_names = session().OpeningNames(context_.state.app_folder, ui());
    const app::NavigationList& games = session().Games();
    if (games.FromSearch()) {
        content.from_search = true;
        const std::int32_t count = games.Count(session().GameCount());
        content.games.reserve(static_cast<std::size_t>(count));
        for (std::int32_t k = 0; k < count; ++k) {
            content.games.push_back(games.GameAt(static_cast<std::size_t>(k)));
        }
        content.classified = session().Search().EcoDifferenceCodes();
    }
    // The openings files list their opening names and make no records.
    const std::vector<app::GameListRecord> no_records;
    const std::vector<app::GameListRecord>& records =
        content.opening_names != nullptr ? no_records : session().GameList(ui());
    GameListBox box(records, std::move(content), options().GameListSettings[0],
                    session().GameNumber(), window().DialogParent());
    const bool chosen = box.exec() == QDialog::Accepted;
    if (box.Layout() != options().GameListSettings[0]) {
        options().GameListSettings[0] = box.Layout();
        SaveOptions();
    }
    if (chosen && box.ChosenGame() > 0) ShowGame(box.ChosenGame());
}

void GameController::ShowActualText() {
    app::ViewState& view = session().View();
    view.actual_text = !view.actual_text;
    window().Redraw(WindowPart::Text);
}

bool GameController::ReplayModeOn() {
    if (options().AnalysisReplayActive != 0) return true;
    ui().report(app::ReplayOnlyWhenEnabled);
    return false;
}

void GameController::ReplayLine(int index) {
    if (!ReplayModeOn() || !session().HasGame()) return;
    if (index < 0 || static_cast<std::size_t>(index) >= analysis_lines_.size()) return;
    StopAutoPlay();
    session().ReplayStart(analysis_lines_[static_cast<std::size_t>(index)].text_offset);
    (void)session().ReplayNext(ui());
    window().Redraw(WindowPart::Board | WindowPart::MoveLines);
}

void GameController::ShowAnalysisList() {
    if (analysis_list_ == nullptr) {
        QWidget* parent = window().DialogParent();
        analysis_list_ = new AnalysisListBox(parent);
        connect(analysis_list_, &AnalysisListBox::lineChosen, this, &GameController::ReplayLine);
        // Beside the window where the screen has room, so that the board stays in view.
        analysis_list_->adjustSize();
        const QRect frame = parent->frameGeometry();
        QPoint place(frame.right() + 8, frame.top());
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect room = screen->availableGeometry();
            if (place.x() + analysis_list_->width() > room.right()) {
                place = QPoint(frame.left(), frame.bottom() + 8);
            }
            if (place.y() + analysis_list_->height() > room.bottom()) {
                place.setY(std::max(room.top(), room.bottom() - analysis_list_->height()));
            }
        }
        analysis_list_->move(place);
    }
    analysis_list_->show();
    analysis_list_->raise();
    RefreshAnalysisList();
}

void GameController::PositionChanged() { RefreshAnalysisList(); }

void GameController::OptionsChanged() {
    auto_play_timer_->setInterval(
        app::AutoPlayInterval(app::ParseAutoPlayDelay(app::GetText(options().AutoPlayDelay))));
    sound_.SetEnabled(options().MoveSound != 0);
}

void GameController::RefreshAnalysisList() {
    if (analysis_list_ == nullptr || !analysis_list_->isVisible()) return;
    const int ply = session().HasGame() ? session().Navigation().currentPly : 0;
    const chess::ChessState& chess = session().Chess();
    const int first_number = chess.StartsFromFen() && chess.StartMoveNumber() > 1
                                 ? static_cast<int>(chess.StartMoveNumber())
                                 : 1;
    analysis_lines_.clear();
    if (session().HasGame()) {
        analysis_lines_ = pgn::AnalysisLinesAfter(session().Lines(), ply, first_number);
    }
    QStringList rows;
    std::vector<QStringList> details;
    int number = 1;
    for (const pgn::AnalysisLine& line : analysis_lines_) {
        rows << ToQString(
            app::FormatAnalysisLine(number++, line.move_number, line.white_first, line.half_moves));
        QStringList detail;
        for (const std::string& row :
             app::FormatAnalysisDetail(line.move_number, line.white_first, line.half_moves)) {
            detail << ToQString(row);
        }
        details.push_back(detail);
    }
    QString heading;
    if (!session().HasGame()) {
        heading = QString();
    } else if (analysis_lines_.empty()) {
        heading = ToQString(AnalysisListNone);
    } else if (ply == 0) {
        heading = ToQString(AnalysisListHeadingStart);
    } else {
        heading = ToQString(FillMessage(AnalysisListHeadingAfter,
                                        app::CurrentMoveText(session().TextSource(), ply)));
    }
    analysis_list_->SetLines(heading, rows, details);
}

}  // namespace qorvale::gui
