#include "app/engine_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engines/crafty_engine.h"
#include "engines/crafty_files.h"
#include "engines/messages.h"
#include "engines/uci_engine.h"
#include "platform/child_process.h"
#include "platform/folder.h"

namespace qorvale::app {

using engines::CraftyMode;
using engines::EngineKind;
using engines::EnginePosition;
namespace messages = engines::messages;

namespace {

// The position after the first `half_moves` half-moves of `game`.
EnginePosition Prefix(const EnginePosition& game, int half_moves) {
    EnginePosition prefix = game;
    int moves = half_moves - (game.black_first ? 1 : 0);
    if (moves < 0) moves = 0;
    if (static_cast<std::size_t>(moves) < prefix.moves.size()) {
        prefix.moves.resize(static_cast<std::size_t>(moves));
    }
    return prefix;
}

// Whether `shorter` is `longer` without some of its last moves.
bool StartsLike(const EnginePosition& longer, const EnginePosition& shorter) {
    if (longer.from_fen != shorter.from_fen || longer.black_first != shorter.black_first ||
        longer.start != shorter.start || shorter.moves.size() > longer.moves.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shorter.moves.size(); ++i) {
        if (longer.moves[i].view() != shorter.moves[i].view()) return false;
    }
    return true;
}

}  // namespace

EngineUpdate& EngineUpdate::operator|=(const EngineUpdate& other) {
    list = list || other.list;
    lines = lines || other.lines;
    profile = profile || other.profile;
    board = board || other.board;
    started = started || other.started;
    stopped = stopped || other.stopped;
    best_move = best_move || other.best_move;
    return *this;
}

double EvaluationBarShare(int white_centipawns) {
    // A logistic curve: a pawn is a clear edge, four pawns nearly all of the bar.
    return 1.0 / (1.0 + std::exp(-static_cast<double>(white_centipawns) / 250.0));
}

std::string ProfileToolTip(const engines::ProfilePoint& point) {
    // Ply 2n - 1 is White's move n, ply 2n Black's.
    const int number = (point.ply + 1) / 2;
    char text[48];
    const char* dots = point.ply % 2 == 1 ? "." : "...";
    if (point.mate != 0) {
        std::snprintf(text, sizeof text, "%d%s Mate %d", number, dots, point.mate);
    } else {
        std::snprintf(text, sizeof text, "%d%s %+.2f", number, dots, point.centipawns / 100.0);
    }
    return text;
}

EngineSession::EngineSession(Ui& ui, Launcher launcher) : ui_(ui), launcher_(std::move(launcher)) {}

EngineSession::~EngineSession() { StopNow(); }

bool EngineSession::Running() const {
    return (uci_ != nullptr && uci_->Running()) || (crafty_ != nullptr && crafty_->Running());
}

Error EngineSession::Report(Error error) {
    if (!error.ok()) ui_.report(error.message());
    return error;
}

Error EngineSession::Start(const EngineStart& start, Clock::time_point now) {
    if (Running() && kind_ != start.kind) {
        return Report(
            Error(std::string(start.kind == EngineKind::Uci ? messages::CannotRunUciWithCrafty
                                                            : messages::CannotRunCraftyWithUci)));
    }
    if (start.kind == EngineKind::Uci &&
        (start.mode == EngineMode::Direct || start.mode == EngineMode::Score)) {
        return Report(Error(std::string(messages::NotSupportedForUci)));
    }
    StopNow();
    uci_.reset();
    crafty_.reset();
    start_ = start;
    kind_ = start.kind;
    lines_.clear();
    profile_.clear();
    best_move_text_.clear();
    game_analysis_.reset();
    pending_stops_ = 0;
    force_count_ = 0;
    play_board_.Set(EnginePosition{});
    play_start_half_moves_ = 0;
    return start.kind == EngineKind::Uci ? StartUci(start, now) : StartCrafty(start, now);
}

Error EngineSession::StartUci(const EngineStart& start, Clock::time_point now) {
    engine_moves_first_ = start.engine_moves_first;
    if (start.mode == EngineMode::Play && start.ask_who_moves_first) {
        engine_moves_first_ = !ui_.ask(messages::AskMoveFirst);
    }
    Result<std::unique_ptr<engines::EngineChannel>> channel =
        launcher_(EngineKind::Uci, start.path);
    if (!channel.ok()) return Report(channel.error());
    uci_ = std::make_unique<engines::UciEngine>(std::move(*channel));
    mode_ = start.mode;
    if (mode_ == EngineMode::Play) {
        play_board_.Set(start.position);
        play_start_half_moves_ = play_board_.HalfMove();
    }
    uci_->Start(now);
    return Error::Ok();
}

Error EngineSession::WriteCraftyAnalysisGame() {
    std::string path = platform::JoinPath(crafty_folder_, engines::AnalysisGameName);
    return engines::WriteAnalysisGame(
        path, engines::AnalysisGameText(crafty_board_.SanMoves(), crafty_board_.HalfMove()));
}

Error EngineSession::StartCrafty(const EngineStart& start, Clock::time_point now) {
    const std::string executable = platform::FindExecutable(start.path);
    crafty_folder_ = platform::FolderOf(executable.empty() ? start.path : executable);
    engine_moves_first_ = start.crafty.CraftyMovesFirst;
    crafty_board_.Set(start.position);
    const CraftyMode mode = static_cast<CraftyMode>(start.mode);
    engines::CraftyStart commands;
    chess::EnginePositionInfo setup = start.setup;
    // The board holds moves: the side to move is theirs, not the set-up dialog's.
    if (crafty_board_.HalfMove() > 0) {
        setup.black_to_move = crafty_board_.SideToMove() == chess::Side::Black;
    }
    commands.setboard = engines::BuildSetboardText(crafty_board_.Board(), setup);
    commands.black_to_move = crafty_board_.SideToMove() == chess::Side::Black;
    switch (mode) {
        case CraftyMode::Play:
            if (start.crafty.CraftyContinueGame) {
                play_board_.Set(start.position);
                play_start_half_moves_ = play_board_.HalfMove();
                // A game from a set-up position cannot be read from a PGN file without its FEN.
                commands.setup_position = start.position.from_fen;
                if (!commands.setup_position) {
                    commands.continue_game_path =
                        platform::JoinPath(start.program_folder, engines::ContinueGameName);
                    Error written = engines::WriteContinueGame(
                        commands.continue_game_path,
                        engines::ContinueGameText(start.header_lines, play_board_.SanMoves()));
                    if (!written.ok()) return Report(written);
                }
            }
            break;
        case CraftyMode::Analyse: {
            // A game from a set-up position cannot be read from crafanal.pgn either.
            analysis_start_half_moves_ = crafty_board_.HalfMove();
            analysis_from_setup_ = start.position.from_fen || analysis_start_half_moves_ == 0;
            commands.analyse_from_setup = analysis_from_setup_;
            if (!analysis_from_setup_) {
                if (Error written = WriteCraftyAnalysisGame(); !written.ok())
                    return Report(written);
            }
            if (start.follows_replay) {
                commands.reset = engines::CraftyStartReset(analysis_start_half_moves_ % 2 == 1,
                                                           analysis_start_half_moves_);
            }
            break;
        }
        case CraftyMode::Direct:
        case CraftyMode::Score:
            break;
    }
    Result<std::unique_ptr<engines::EngineChannel>> channel =
        launcher_(EngineKind::Crafty, start.path);
    if (!channel.ok()) return Report(channel.error());
    crafty_ = std::make_unique<engines::CraftyEngine>(std::move(*channel));
    crafty_->Entry() = start.follows_replay ? engines::MoveEntry::Locked : engines::MoveEntry::Open;
    mode_ = start.mode;
    crafty_->Start(mode, engines::CraftyStartCommands(mode, start.crafty, commands), now);
    return Error::Ok();
}

EngineUpdate EngineSession::Poll(Clock::time_point now) {
    EngineUpdate update;
    Error failure;
    bool stopped = false;
    if (uci_ != nullptr) {
        engines::UciPollResult result = uci_->Poll(now);
        update.list = result.rows_added > 0;
        if (result.ready) {
            update.started = true;
            OnUciReady(update);
        }
        for (const engines::InfoLine& info : result.infos) OnInfo(info, update);
        if (result.best_move) OnBestMove(*result.best_move, update);
        failure = result.failure;
        stopped = result.stopped;
    } else if (crafty_ != nullptr) {
        engines::CraftyPollResult result = crafty_->Poll(now);
        update.list = result.rows_added > 0;
        update.started = result.started;
        for (const std::string& move : result.engine_moves) OnCraftyMove(move, update);
        if (mode_ == EngineMode::Analyse && start_.profile) {
            for (const engines::ProfilePoint& point : result.profile) {
                AddProfilePoint(point, update);
            }
        }
        failure = result.failure;
        stopped = result.stopped;
    }
    if (!failure.ok()) ui_.report(failure.message());
    if (stopped) {
        update.stopped = true;
        mode_ = EngineMode::None;
        game_analysis_.reset();
    }
    return update;
}

std::optional<EngineSession::Clock::time_point> EngineSession::NextDeadline() const {
    if (uci_ != nullptr) return uci_->Deadline();
    if (crafty_ != nullptr) return crafty_->Deadline();
    return std::nullopt;
}

int EngineSession::OutputHandle() const {
    if (uci_ != nullptr) return uci_->OutputHandle();
    if (crafty_ != nullptr) return crafty_->OutputHandle();
    return -1;
}

bool EngineSession::WaitForOutput(std::chrono::milliseconds timeout) {
    if (uci_ != nullptr) return uci_->WaitForOutput(timeout);
    if (crafty_ != nullptr) return crafty_->WaitForOutput(timeout);
    return true;
}

void EngineSession::OnUciReady(EngineUpdate& update) {
    for (const auto& [name, value] : start_.options) (void)uci_->SetOption(name, value);
    if (start_.multipv > 1 && uci_->FindOption("MultiPV") != nullptr) {
        (void)uci_->SetOption("MultiPV", std::to_string(start_.multipv));
    }
    if (mode_ == EngineMode::Analyse) {
        if (game_analysis_) {
            NextGamePosition();
        } else {
            (void)uci_->Analyse(start_.position, start_.analysis_go);
        }
    } else if (mode_ == EngineMode::Play) {
        uci_->SetAnalysedPosition(play_board_.Position());
        if (EngineToMove()) SendPlayPosition();
    }
    update.lines = true;
}

void EngineSession::OnInfo(const engines::InfoLine& info, EngineUpdate& update) {
    auto line =
        std::lower_bound(lines_.begin(), lines_.end(), info.multipv,
                         [](const engines::InfoLine& l, int number) { return l.multipv < number; });
    if (line != lines_.end() && line->multipv == info.multipv) {
        *line = info;
    } else {
        lines_.insert(line, info);
    }
    update.lines = true;
    if (mode_ == EngineMode::Analyse && (start_.profile || game_analysis_) && info.multipv == 1 &&
        info.score.kind != engines::EngineScore::Kind::None) {
        engines::ProfilePoint point;
        point.ply = info.pv_ply;
        point.centipawns = info.score.WhiteCentipawns(info.to_move);
        if (info.score.kind == engines::EngineScore::Kind::Mate) point.mate = info.score.value;
        AddProfilePoint(point, update);
    }
}

void EngineSession::AddProfilePoint(const engines::ProfilePoint& point, EngineUpdate& update) {
    auto at = std::lower_bound(profile_.begin(), profile_.end(), point.ply,
                               [](const engines::ProfilePoint& p, int ply) { return p.ply < ply; });
    if (at != profile_.end() && at->ply == point.ply) {
        *at = point;
    } else {
        profile_.insert(at, point);
    }
    update.profile = true;
}

void EngineSession::OnBestMove(const engines::BestMove& best, EngineUpdate& update) {
    best_move_text_ = best.text;
    update.best_move = true;
    if (mode_ == EngineMode::Play && EngineToMove()) {
        if (play_board_.Play(best.move)) {
            update.board = true;
            uci_->SetAnalysedPosition(play_board_.Position());
        }
    } else if (mode_ == EngineMode::Analyse && game_analysis_) {
        ++game_analysis_ply_;
        NextGamePosition();
    }
}

void EngineSession::OnCraftyMove(std::string_view move, EngineUpdate& update) {
    if (mode_ != EngineMode::Play || !EngineToMove()) return;
    if (play_board_.PlayEngineMove(move)) update.board = true;
}

chess::Side EngineSession::EngineSide() const {
    chess::Side at_start =
        play_start_half_moves_ % 2 == 0 ? chess::Side::White : chess::Side::Black;
    return engine_moves_first_ ? at_start : chess::Opponent(at_start);
}

bool EngineSession::EngineToMove() const {
    return mode_ == EngineMode::Play && engines::EngineToMove(EngineSide(), play_board_.HalfMove());
}

void EngineSession::SendPlayPosition() {
    uci_->SetAnalysedPosition(play_board_.Position());
    (void)uci_->SendPrepared(
        engines::UciPlayCommand(play_board_.Position(), pending_stops_, start_.play_go));
}

bool EngineSession::UserMove(const engines::CoordinateSquares& move) {
    if (mode_ != EngineMode::Play || !Running() || EngineToMove()) return false;
    std::string san;
    if (!play_board_.Play(move, &san)) return false;
    lines_.clear();
    if (uci_ != nullptr) {
        SendPlayPosition();
    } else {
        (void)crafty_->Send(san);
    }
    return true;
}

engines::PlayState EngineSession::CurrentPlayState() const {
    engines::PlayState state;
    state.half_moves = play_board_.HalfMove();
    state.engine_to_move = EngineToMove();
    state.force_count = force_count_;
    state.moves_first = engine_moves_first_;
    state.display_general = start_.crafty.CraftyDisplayGeneral;
    return state;
}

EngineUpdate EngineSession::GameMenu(engines::GameMenuCommand command, Clock::time_point now) {
    EngineUpdate update;
    if (mode_ != EngineMode::Play || !Running()) return update;
    const engines::PlayState state = CurrentPlayState();
    engines::GameMenuStep step = kind_ == EngineKind::Uci ? engines::UciGameMenu(command, state)
                                                          : engines::CraftyGameMenu(command, state);
    if (!step.refusal.empty()) {
        ui_.report(step.refusal);
        return update;
    }
    if (!step.question.empty() && !ui_.ask(step.question)) return update;
    if (step.stop_engine) {
        Stop(now);
        return update;
    }
    if (!step.command.empty()) {
        if (uci_ != nullptr) {
            (void)uci_->SendPrepared(step.command);
        } else {
            (void)crafty_->SendPrepared(step.command);
        }
    }
    if (step.counts_force) ++force_count_;
    if (step.take_back > 0) {
        play_board_.TakeBack(step.take_back);
        update.board = true;
    }
    if (step.new_game) {
        play_board_.Set(EnginePosition{});
        play_start_half_moves_ = 0;
        force_count_ = 0;
        pending_stops_ = 0;
        update.board = true;
        // An engine with the first move gets the start position as it did at the handshake.
        if (uci_ != nullptr && EngineToMove()) SendPlayPosition();
    }
    if (step.send_position) {
        pending_stops_ = 2;
        SendPlayPosition();
    }
    if (update.board) lines_.clear();
    return update;
}

EngineUpdate EngineSession::AnalysePosition(const EnginePosition& position) {
    EngineUpdate update;
    if (mode_ != EngineMode::Analyse || !Running()) return update;
    lines_.clear();
    update.lines = true;
    game_analysis_.reset();
    if (crafty_ != nullptr) {
        CraftyFollow(position);
        return update;
    }
    start_.position = position;
    if (uci_->GetState() == engines::UciEngine::State::Ready) {
        (void)uci_->Analyse(position, start_.analysis_go);
    }
    return update;
}

void EngineSession::CraftyFollow(const EnginePosition& position) {
    const EnginePosition before = crafty_board_.Position();
    const int before_half_moves = crafty_board_.HalfMove();
    crafty_board_.Set(position);
    const int half_moves = crafty_board_.HalfMove();
    const std::vector<std::string>& san = crafty_board_.SanMoves();
    if (start_.follows_replay) {
        // White's move n of the game, for the table's one case that sends it.
        const std::size_t white_index = static_cast<std::size_t>(((half_moves + 1) / 2 - 1) * 2);
        std::string_view white_move = white_index < san.size() ? san[white_index] : "";
        (void)crafty_->SendPrepared(
            engines::CraftyResetCommand(analysis_start_half_moves_ % 2 == 1, half_moves,
                                        analysis_start_half_moves_, white_move));
        return;
    }
    if (half_moves == before_half_moves + 1 && StartsLike(crafty_board_.Position(), before) &&
        !san.empty()) {
        (void)crafty_->Send(san.back());
    } else if (half_moves < before_half_moves && StartsLike(before, crafty_board_.Position())) {
        const int back =
            analysis_from_setup_ ? std::max(1, half_moves - 1) : before_half_moves - half_moves;
        (void)crafty_->SendPrepared("back " + std::to_string(back));
    } else if (analysis_from_setup_ || half_moves == 0) {
        chess::EnginePositionInfo setup = start_.setup;
        if (half_moves > 0) setup.black_to_move = crafty_board_.SideToMove() == chess::Side::Black;
        (void)crafty_->SendPrepared(engines::BuildSetboardText(crafty_board_.Board(), setup));
    } else if (Error written = WriteCraftyAnalysisGame(); written.ok()) {
        (void)crafty_->SendPrepared("read crafanal.pgn");
    } else {
        ui_.report(written.message());
    }
}

EngineUpdate EngineSession::AnalyseGame(const EnginePosition& game, std::string go) {
    EngineUpdate update;
    if (mode_ != EngineMode::Analyse || uci_ == nullptr || !Running()) return update;
    game_analysis_ = game;
    game_analysis_go_ = std::move(go);
    game_analysis_ply_ = game.black_first ? 1 : 0;
    profile_.clear();
    update.profile = true;
    if (uci_->GetState() == engines::UciEngine::State::Ready) NextGamePosition();
    return update;
}

void EngineSession::NextGamePosition() {
    if (!game_analysis_ || game_analysis_ply_ > game_analysis_->HalfMoves()) {
        game_analysis_.reset();
        return;
    }
    lines_.clear();
    (void)uci_->Analyse(Prefix(*game_analysis_, game_analysis_ply_), game_analysis_go_);
}

bool EngineSession::SetMultiPv(int count) {
    start_.multipv = count < 1 ? 1 : count;
    if (uci_ == nullptr || uci_->GetState() != engines::UciEngine::State::Ready ||
        uci_->FindOption("MultiPV") == nullptr) {
        return false;
    }
    (void)uci_->SendPrepared("stop");
    if (!uci_->SetOption("MultiPV", std::to_string(start_.multipv))) return false;
    lines_.clear();
    if (mode_ == EngineMode::Analyse && !game_analysis_) {
        (void)uci_->Analyse(start_.position, start_.analysis_go);
    }
    return true;
}

const engines::EngineBoard* EngineSession::AnalysedBoard() const {
    if (uci_ != nullptr) return &uci_->AnalysedBoard();
    if (crafty_ != nullptr) return &crafty_board_;
    return nullptr;
}

void EngineSession::TypeCommand(std::string_view text) {
    if (uci_ != nullptr && uci_->Running()) {
        (void)uci_->Send(text);
    } else if (crafty_ != nullptr && crafty_->Running()) {
        std::string_view refusal = crafty_->Type(text);
        if (!refusal.empty()) ui_.report(refusal);
    }
}

const engines::EngineList* EngineSession::List() const {
    if (uci_ != nullptr) return &uci_->List();
    if (crafty_ != nullptr) return &crafty_->List();
    return nullptr;
}

std::optional<int> EngineSession::WhiteEvaluation() const {
    if (lines_.empty() || lines_.front().score.kind == engines::EngineScore::Kind::None) {
        return std::nullopt;
    }
    return lines_.front().score.WhiteCentipawns(lines_.front().to_move);
}

const std::string* EngineSession::UciOptionList() const {
    return uci_ != nullptr ? &uci_->UciOptionList() : nullptr;
}

const std::vector<engines::UciOption>& EngineSession::UciOptions() const {
    static const std::vector<engines::UciOption> none;
    return uci_ != nullptr ? uci_->Options() : none;
}

bool EngineSession::SetUciOption(std::string_view name, std::string_view value) {
    return uci_ != nullptr && uci_->Running() && uci_->SetOption(name, value);
}

void EngineSession::Stop(Clock::time_point now) {
    if (uci_ != nullptr) uci_->BeginStop(now);
    if (crafty_ != nullptr) crafty_->BeginStop(now);
}

void EngineSession::StopNow() {
    if (uci_ != nullptr && uci_->Running()) uci_->StopNow();
    if (crafty_ != nullptr && crafty_->Running()) crafty_->StopNow();
    mode_ = EngineMode::None;
}

}  // namespace qorvale::app
