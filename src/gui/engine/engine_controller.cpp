#include "gui/engine/engine_controller.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSocketNotifier>
#include <algorithm>
#include <chrono>

#include "app/file_dialogs.h"
#include "engines/crafty_files.h"
#include "engines/messages.h"
#include "gui/edit/edit_controller.h"
#include "gui/engine/engine_boxes.h"
#include "gui/engine/engine_window.h"
#include "gui/panels/board_widget.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

using Clock = app::EngineSession::Clock;
using engines::EngineKind;

// What a move on the board or the engine's reply redraws.
constexpr WindowPart PlayParts =
    WindowPart::Board | WindowPart::Text | WindowPart::MoveLines | WindowPart::Commands;

bool SamePosition(const engines::EnginePosition& a, const engines::EnginePosition& b) {
    if (a.from_fen != b.from_fen || a.black_first != b.black_first || a.fen != b.fen ||
        a.start != b.start || a.moves.size() != b.moves.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.moves.size(); ++i) {
        if (a.moves[i].view() != b.moves[i].view()) return false;
    }
    return true;
}

// The game search command of "Analyse the game": a fixed depth keeps each position short.
constexpr std::string_view GameAnalysisGo = "go depth 12";

}  // namespace

EngineController::EngineController(ShellContext& context, EditController& edit)
    : Controller(context),
      edit_(edit),
      session_(context.ui),
      input_(context.window.DialogParent(), context.ui) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &EngineController::Pump);
    window_ = new EngineWindow(window().DialogParent());
    profile_ = new ProfileWindow(window().DialogParent());
    connect(window_, &EngineWindow::stopRequested, this, &EngineController::Stop);
    connect(window_, &EngineWindow::multiPvChosen, this, [this](int count) {
        app::EngineSettings settings = Settings();
        settings.analysis_lines = count;
        StoreSettings(settings);
        (void)session_.SetMultiPv(count);
        Show(app::EngineUpdate{.lines = true});
        Arm();
    });
    connect(window_, &EngineWindow::insertLineRequested, this,
            [this](int row) { (void)InsertLine(row); });
    connect(window_, &EngineWindow::commandTyped, this, [this](const QString& text) {
        session_.TypeCommand(text.toStdString());
        Arm();
    });
}

// The session's destructor stops the engine and reaps it.
EngineController::~EngineController() = default;

void EngineController::Run(app::EngineCommand command) {
    switch (command) {
        case app::EngineCommand::AnalyseUci:
            (void)StartAnalysis(EngineKind::Uci);
            return;
        case app::EngineCommand::PlayUci:
            (void)StartPlay(EngineKind::Uci);
            return;
        case app::EngineCommand::AnalyseGame:
            (void)AnalyseGame();
            return;
        case app::EngineCommand::Stop:
            Stop();
            return;
        case app::EngineCommand::TakeBack:
            GameMenu(engines::GameMenuCommand::TakeBack);
            return;
        case app::EngineCommand::ForceMove:
            GameMenu(engines::GameMenuCommand::ForceMove);
            return;
        case app::EngineCommand::NewGame:
            GameMenu(engines::GameMenuCommand::NewGame);
            return;
        case app::EngineCommand::SavePlayedGame:
            SavePlayedGame();
            return;
        case app::EngineCommand::SelectUci:
            (void)ChooseEngine(EngineKind::Uci, true);
            return;
        case app::EngineCommand::UciOptions:
            ShowUciOptions();
            return;
        case app::EngineCommand::DisplayOptions:
            DisplayOptions();
            return;
        case app::EngineCommand::AnalyseCrafty:
            (void)StartAnalysis(EngineKind::Crafty);
            return;
        case app::EngineCommand::PlayCrafty:
            (void)StartPlay(EngineKind::Crafty);
            return;
        case app::EngineCommand::SelectCrafty:
            (void)ChooseEngine(EngineKind::Crafty, true);
            return;
        case app::EngineCommand::CraftyGameInfo:
            CraftyGameInfo();
            return;
        case app::EngineCommand::SaveCraftyPosition:
            SaveCraftyPosition();
            return;
        case app::EngineCommand::ConvertCanFile:
            ConvertCanFile();
            return;
        case app::EngineCommand::Score:
            GameMenu(engines::GameMenuCommand::Score);
            return;
        case app::EngineCommand::Clock:
            GameMenu(engines::GameMenuCommand::Clock);
            return;
        case app::EngineCommand::Resign:
            GameMenu(engines::GameMenuCommand::Resign);
            return;
        case app::EngineCommand::Draw:
            GameMenu(engines::GameMenuCommand::Draw);
            return;
    }
}

// ---- Starting and driving the engine --------------------------------------------------------

std::string EngineController::ChooseEngine(EngineKind kind, bool force) {
    std::string path = app::EnginePath(options(), kind);
    if (!path.empty() && !force) return path;
    const app::FileDialogText& text =
        app::DialogText(kind == EngineKind::Uci ? app::FileDialogId::UciEngine
                                                : app::FileDialogId::CraftyExecutable);
    // Engines on Linux have no extension, so the dialog lists every file.
    const QString chosen =
        QFileDialog::getOpenFileName(window().DialogParent(), ToQString(text.title),
                                     ToQPath(path.empty() ? std::string("/usr/games") : path));
    if (chosen.isEmpty()) return {};
    path = FromQPath(QFileInfo(chosen).absoluteFilePath());
    if (app::SetEnginePath(options(), kind, path)) SaveOptions();
    return path;
}

app::EngineSettings EngineController::Settings() const {
    return app::ReadEngineSettings(options());
}

void EngineController::StoreSettings(const app::EngineSettings& settings) {
    app::WriteEngineSettings(settings, options());
    SaveOptions();
}

engines::EnginePosition EngineController::ShownPosition() const {
    return engines::EnginePositionFromGame(session().Chess(), session().Lines().Moves(),
                                           session().Navigation().currentPly);
}

bool EngineController::Launch(app::EngineStart start) {
    if (start.path.empty()) return false;
    if (start.kind == EngineKind::Uci) start.options = uci_options_;
    if (notifier_ != nullptr) {
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    entry_.reset();
    input_.Reset();
    analysed_.reset();
    analysing_game_ = false;
    starting_path_ = start.path;
    ready_ = false;
    const Error started = session_.Start(start, Clock::now());
    if (!started.ok()) {
        // A program that cannot be started is not offered again; refusals keep the path.
        if (started.message() == engines::messages::CouldNotStartUci ||
            started.message() == engines::messages::CouldNotStartCrafty) {
            if (app::SetEnginePath(options(), start.kind, "")) SaveOptions();
        }
        starting_path_.clear();
        Arm();
        return false;
    }
    const app::Mode mode =
        start.mode == app::EngineMode::Play ? app::Mode::EnginePlay : app::Mode::EngineAnalysis;
    if (session().Modes().Current() != mode) {
        session().Modes().Leave();
        (void)session().Modes().Enter(mode);
    }
    if (start.mode == app::EngineMode::Play) {
        entry_.emplace();
        SyncEntry();
    } else {
        analysed_ = start.position;
    }
    const app::EngineSettings settings = Settings();
    window_->Begin(start.kind, start.mode, start.multipv, settings.EngineFixedFont);
    if (!window_placed_) {
        // First shown over the lower right of the main window, clear of the board.
        const QRect main = window().DialogParent()->frameGeometry();
        window_->move(main.right() - window_->width() - 16, main.bottom() - window_->height() - 40);
        profile_->move(main.right() - profile_->width() - 16, main.top() + 80);
        window_placed_ = true;
    }
    window_->show();
    if (start.profile) {
        profile_->SetPoints({}, settings.EngineProfileColors,
                            FromRecordColour(options().LightSquareColour),
                            FromRecordColour(options().DarkSquareColour));
        profile_->show();
    }
    Arm();
    window().Redraw(WindowPart::All);
    return true;
}

void EngineController::Arm() {
    const int handle = session_.OutputHandle();
    if (notifier_ != nullptr && static_cast<int>(notifier_->socket()) != handle) {
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (notifier_ == nullptr && handle >= 0) {
        notifier_ = new QSocketNotifier(handle, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &EngineController::Pump);
    }
    if (const std::optional<Clock::time_point> when = session_.NextDeadline()) {
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(*when - Clock::now()).count();
        deadline_.start(static_cast<int>(std::clamp<long long>(wait + 1, 0, 60'000)));
    } else {
        deadline_.stop();
    }
}

void EngineController::Pump() {
    Show(session_.Poll(Clock::now()));
    Arm();
}

void EngineController::Show(const app::EngineUpdate& update) {
    if (update.started) ready_ = true;
    if (update.best_move && analysing_game_ && --game_positions_left_ <= 0) {
        analysing_game_ = false;
        analysed_.reset();
    }
    window_->Show(session_, update);
    if (update.profile || update.lines) {
        const app::EngineSettings settings = Settings();
        profile_->SetPoints(session_.Profile(), settings.EngineProfileColors,
                            FromRecordColour(options().LightSquareColour),
                            FromRecordColour(options().DarkSquareColour));
    }
    if (update.board && entry_) {
        SyncEntry();
        window().Redraw(PlayParts);
    }
    if (update.stopped) Ended();
}

void EngineController::Ended() {
    // An engine that never became ready is not offered again.
    if (!ready_ && !starting_path_.empty()) {
        if (app::SetEnginePath(options(), session_.Kind(), "")) SaveOptions();
    }
    starting_path_.clear();
    window_->hide();
    profile_->hide();
    analysed_.reset();
    analysing_game_ = false;
    const app::Mode mode = session().Modes().Current();
    if (mode == app::Mode::EnginePlay || mode == app::Mode::EngineAnalysis) {
        session().Modes().Leave();
    }
    // The game played so far stays on the board as an entered game, to be saved or dropped.
    std::optional<app::GameEntry> played = std::move(entry_);
    entry_.reset();
    input_.Reset();
    if (played && played->HalfMoves() > 0) (void)edit_.EnterGame(std::move(*played));
    window().Redraw(WindowPart::All);
}

void EngineController::Stop() {
    starting_path_.clear();
    if (session_.Running()) session_.Stop(Clock::now());
    Ended();
    Arm();
}

// ---- Analysis -------------------------------------------------------------------------------

bool EngineController::StartAnalysis(EngineKind kind) {
    if (session_.Running() && session_.Kind() == kind &&
        session_.Mode() == app::EngineMode::Analyse) {
        // Already analysing: the engine window comes forward.
        window_->show();
        window_->raise();
        return true;
    }
    app::EngineStart start;
    start.kind = kind;
    start.mode = app::EngineMode::Analyse;
    start.position = ShownPosition();
    const app::EngineSettings settings = Settings();
    start.multipv = std::max(1, settings.analysis_lines);
    start.profile = settings.EngineEvalProfile;
    if (kind == EngineKind::Crafty) {
        start.follows_replay = true;
        start.program_folder = app_folder();
        if (start.position.HalfMoves() == 0) {
            std::optional<chess::EnginePositionInfo> info = AskPositionInfo();
            if (!info) return false;
            start.setup = *info;
        }
    }
    start.path = ChooseEngine(kind, false);
    return Launch(std::move(start));
}

bool EngineController::AnalyseGame() {
    if (!session().HasGame()) return false;
    if (!(session_.Running() && session_.Kind() == EngineKind::Uci &&
          session_.Mode() == app::EngineMode::Analyse)) {
        app::EngineStart start;
        start.kind = EngineKind::Uci;
        start.mode = app::EngineMode::Analyse;
        start.position = ShownPosition();
        start.multipv = std::max(1, Settings().analysis_lines);
        start.profile = true;
        start.path = ChooseEngine(EngineKind::Uci, false);
        if (!Launch(std::move(start))) return false;
    }
    const engines::EnginePosition game = engines::EnginePositionFromGame(
        session().Chess(), session().Lines().Moves(), session().Navigation().lastPly);
    analysing_game_ = true;
    game_positions_left_ = game.HalfMoves() + 1 - (game.black_first ? 1 : 0);
    Show(session_.AnalyseGame(game, std::string(GameAnalysisGo)));
    profile_->show();
    Arm();
    return true;
}

void EngineController::PositionChanged() {
    if (!session_.Running() || session_.Mode() != app::EngineMode::Analyse || analysing_game_ ||
        session().Modes().Current() != app::Mode::EngineAnalysis || !session().HasGame()) {
        return;
    }
    engines::EnginePosition position = ShownPosition();
    if (analysed_ && SamePosition(*analysed_, position)) return;
    analysed_ = position;
    Show(session_.AnalysePosition(position));
    Arm();
}

bool EngineController::InsertLine(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= session_.Lines().size() ||
        !session().HasGame() || session().Modes().Current() != app::Mode::EngineAnalysis) {
        return false;
    }
    // A copy: saving the game redraws the board, which may send the engine a new position.
    const engines::InfoLine line = session_.Lines()[static_cast<std::size_t>(row)];
    if (line.pv.empty()) return false;
    const std::int32_t ply = session().Navigation().currentPly;
    const bool saved = edit_.AddVariation(line.pv_ply, [&line](app::GameEntry& variation) {
        for (const chess::CoordinateMove& move : line.pv) {
            const std::optional<engines::CoordinateSquares> squares =
                engines::ParseCoordinateMove(move.view());
            if (!squares ||
                variation.MakeMove(squares->from_file, squares->from_rank, squares->to_file,
                                   squares->to_rank,
                                   squares->promotion != 0 ? squares->promotion : chess::Queen) !=
                    app::GameEntry::MoveOutcome::Made) {
                return;
            }
        }
    });
    // The game shown again where it was.
    if (saved) window().GoToPly(ply);
    return saved;
}

// ---- Play -----------------------------------------------------------------------------------

bool EngineController::StartPlay(EngineKind kind) {
    app::EngineStart start;
    start.kind = kind;
    start.mode = app::EngineMode::Play;
    const app::EngineSettings settings = Settings();
    if (kind == EngineKind::Uci) {
        start.ask_who_moves_first = true;
        start.play_go = app::PlaySearchCommand(settings);
    } else {
        start.crafty = settings.crafty;
        start.program_folder = app_folder();
        for (std::size_t tag = 0; tag < pgn::TagCount; ++tag) {
            const std::string& line =
                session().Header().TagLines().Line(static_cast<pgn::Tag>(tag));
            if (!line.empty()) start.header_lines.push_back(line);
        }
        if (settings.crafty.CraftyContinueGame && session().HasGame()) {
            start.position = ShownPosition();
        }
    }
    start.path = ChooseEngine(kind, false);
    return Launch(std::move(start));
}

void EngineController::SyncEntry() {
    // The session's board is the game; the entry follows it move by move from the start.
    if (!entry_) return;
    entry_->StartNewGame();
    for (const chess::CoordinateMove& move : session_.PlayBoard().Position().moves) {
        const std::optional<engines::CoordinateSquares> squares =
            engines::ParseCoordinateMove(move.view());
        if (!squares) break;
        if (entry_->MakeMove(squares->from_file, squares->from_rank, squares->to_file,
                             squares->to_rank,
                             squares->promotion != 0 ? squares->promotion : chess::Queen) !=
            app::GameEntry::MoveOutcome::Made) {
            break;
        }
    }
    input_.Reset();
}

bool EngineController::BoardClicked(int file, int rank) {
    if (!entry_) return false;
    const int before = entry_->HalfMoves();
    (void)input_.Click(*entry_, file, rank);
    AfterUserMove(before);
    return true;
}

bool EngineController::PieceDropped(int file, int rank) {
    if (!entry_) return false;
    const int before = entry_->HalfMoves();
    (void)input_.Drop(*entry_, file, rank);
    AfterUserMove(before);
    return true;
}

void EngineController::AfterUserMove(int half_moves_before) {
    if (entry_->HalfMoves() == half_moves_before + 1) {
        const app::MoveSquares move = input_.LastMove();
        engines::CoordinateSquares squares{move.from_file, move.from_rank, move.to_file,
                                           move.to_rank, 0};
        // A pawn that reached its last rank became the piece now standing there.
        const std::uint32_t moved =
            session_.PlayBoard().Board()[static_cast<std::size_t>(move.from_file)]
                                        [static_cast<std::size_t>(move.from_rank)];
        if (moved % 10 == chess::Pawn && (move.to_rank == 1 || move.to_rank == 8)) {
            squares.promotion = entry_->Board()[static_cast<std::size_t>(move.to_file)]
                                               [static_cast<std::size_t>(move.to_rank)] %
                                10;
        }
        // A move the session refuses (not the user's turn) is taken off the board again.
        (void)session_.UserMove(squares);
        SyncEntry();
    } else if (entry_->HalfMoves() != half_moves_before) {
        SyncEntry();
    }
    window().Redraw(PlayParts);
    Arm();
}

bool EngineController::DrawBoard(BoardWidget& board) const {
    if (!entry_) return false;
    input_.Draw(board, *entry_);
    app::MoveSquares last;
    const auto& moves = session_.PlayBoard().Position().moves;
    if (!moves.empty()) {
        if (const auto squares = engines::ParseCoordinateMove(moves.back().view())) {
            last = {squares->from_file, squares->from_rank, squares->to_file, squares->to_rank};
        }
    }
    board.SetPosition(entry_->Board(), last);
    return true;
}

void EngineController::GameMenu(engines::GameMenuCommand command) {
    if (!entry_) return;
    Show(session_.GameMenu(command, Clock::now()));
    SyncEntry();
    window().Redraw(PlayParts);
    Arm();
}

void EngineController::SavePlayedGame() {
    if (!entry_) return;
    // The game becomes an entered game, which the save dialog then writes where the user says.
    Stop();
    if (edit_.Entry() != nullptr) edit_.Run(app::EditCommand::SaveGame);
}

// ---- Options and Crafty's files ------------------------------------------------------------

void EngineController::ShowUciOptions() {
    const std::string* list = session_.UciOptionList();
    if (list == nullptr) {
        ui().report(engines::messages::UciNotStarted);
        return;
    }
    UciOptionsBox box(window().DialogParent(), session_.UciOptions());
    if (box.exec() != QDialog::Accepted) return;
    for (const auto& [name, value] : box.Changed()) {
        if (!session_.SetUciOption(name, value)) continue;
        // Chosen values hold for the later starts of this window's engine too.
        auto kept = std::find_if(uci_options_.begin(), uci_options_.end(),
                                 [&name](const auto& option) { return option.first == name; });
        if (kept != uci_options_.end()) {
            kept->second = value;
        } else {
            uci_options_.emplace_back(name, value);
        }
    }
    Arm();
}

void EngineController::DisplayOptions() {
    const bool crafty = session_.Running() && session_.Kind() == EngineKind::Crafty;
    EngineDisplayBox box(window().DialogParent(),
                         ToQString(crafty ? engines::messages::CraftyDisplayOptionsTitle
                                          : engines::messages::UciDisplayOptionsTitle),
                         Settings());
    if (box.exec() != QDialog::Accepted) return;
    StoreSettings(box.Settings(Settings()));
    ui().report(engines::messages::RestartForOptions);
}

void EngineController::CraftyGameInfo() {
    app::EngineSettings settings = Settings();
    CraftyGameInfoBox box(window().DialogParent(), settings.crafty);
    if (box.exec() != QDialog::Accepted) return;
    settings.crafty = box.Settings();
    StoreSettings(settings);
}

std::optional<chess::EnginePositionInfo> EngineController::AskPositionInfo() {
    CraftyPositionInfoBox box(window().DialogParent(), position_info_);
    while (box.exec() == QDialog::Accepted) {
        if (chess::ValidateEnginePositionInfo(box.Info(), position_info_, ui()) != 0) {
            return position_info_;
        }
    }
    return std::nullopt;
}

void EngineController::SaveCraftyPosition() {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::CraftyPosition);
    const QString chosen = QFileDialog::getSaveFileName(
        window().DialogParent(), ToQString(text.title), QString(), ToQString(text.filter));
    if (chosen.isEmpty()) return;
    const std::optional<chess::EnginePositionInfo> info = AskPositionInfo();
    if (!info) return;
    const std::string path = engines::PositionFileName(FromQPath(chosen));
    const Error written = engines::WritePositionFile(
        path, engines::BuildSetboardText(session().CurrentBoard(), *info));
    if (!written.ok()) ui().explain(written);
}

void EngineController::ConvertCanFile() {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::CraftyAnnotation);
    const QString chosen = QFileDialog::getOpenFileName(
        window().DialogParent(), ToQString(text.title), QString(), ToQString(text.filter));
    if (chosen.isEmpty()) return;
    const std::string path = engines::CanFileName(FromQPath(chosen));
    const Error converted = engines::ConvertCanFile(path);
    if (!converted.ok()) {
        ui().explain(converted);
        return;
    }
    // The converted games are shown at once.
    (void)window().OpenFile(engines::ConvertedCanPath(path));
}

}  // namespace qorvale::gui
