#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/result.h"
#include "base/ui.h"
#include "chess/setup_validation.h"
#include "engines/crafty_commands.h"
#include "engines/engine_board.h"
#include "engines/engine_channel.h"
#include "engines/engine_list.h"
#include "engines/game_menu.h"
#include "engines/uci_output.h"

namespace qorvale::engines {
class UciEngine;
class CraftyEngine;
}  // namespace qorvale::engines

namespace qorvale::app {

// EngineMode: what the engine window is doing.
enum class EngineMode : int { None = 0, Play = 1, Direct = 2, Score = 3, Analyse = 4 };

// What the window redraws after a call into the session.
struct EngineUpdate {
    bool list = false;       // rows were added to the engine window's list
    bool lines = false;      // the analysis lines changed
    bool profile = false;    // the evaluation profile changed
    bool board = false;      // the game being played changed
    bool started = false;    // the engine is ready (handshake done, Crafty's start sent)
    bool stopped = false;    // the engine is gone: the engine window closes
    bool best_move = false;  // a bestmove reply came (BestMoveText)

    EngineUpdate& operator|=(const EngineUpdate& other);
};

// How an engine is started: which, in which mode, and what it starts from.
struct EngineStart {
    engines::EngineKind kind = engines::EngineKind::Uci;
    EngineMode mode = EngineMode::Analyse;
    std::string path;  // the engine's executable
    // The game on display up to the position to analyse or score, or the game to play on
    // from (UCI; Crafty with CraftyContinueGame, else from the standard position).
    engines::EnginePosition position;
    // UCI play: asks "Do you want to move first?" when set (No gives the engine the first
    // move); otherwise engine_moves_first says who begins.
    bool ask_who_moves_first = false;
    bool engine_moves_first = false;
    // UCI: the search commands ("go", "go depth 12", "go movetime 1000").
    std::string analysis_go = "go";
    std::string play_go = "go";
    int multipv = 1;
    // UCI options to set once the engine is ready (name, value).
    std::vector<std::pair<std::string, std::string>> options;
    // Crafty: the game settings; the "Crafty Position Info" that goes with a board without
    // moves to start from (analysis at the start, score, a continued game from a set-up); whether
    // the analysis follows the game being replayed; the program folder (craftyqq.pgn) and the
    // current game's header lines.
    engines::CraftyGameSettings crafty;
    chess::EnginePositionInfo setup;
    bool follows_replay = false;
    std::string program_folder;
    std::vector<std::string> header_lines;
    // EngineEvalProfile: collect the evaluation profile in analysis mode.
    bool profile = false;
};

// The evaluation bar's share of the board for White, 0 to 1, from a score from White's side.
double EvaluationBarShare(int white_centipawns);

// The tool tip of a profile point: "%d. %+.2f" for a White move, "%d... %+.2f" for a Black
// one, "Mate %d" in place of the score for a mate.
std::string ProfileToolTip(const engines::ProfilePoint& point);

// The engine the window works with, Qt-free: starting and stopping it, what it shows, the game
// played against it and the position it analyses. Nothing blocks: the window calls Poll() when
// the engine's output handle is readable and at NextDeadline(); Start() and Stop() return at
// once. Messages and questions go through the Ui. One thread (the window's) uses a session.
class EngineSession {
  public:
    using Clock = std::chrono::steady_clock;
    using Launcher = std::function<Result<std::unique_ptr<engines::EngineChannel>>(
        engines::EngineKind, const std::string&)>;

    // `launcher` starts an engine; the real one starts a child process.
    explicit EngineSession(Ui& ui, Launcher launcher = engines::StartEngineProcess);
    // A running engine is stopped, waiting for it.
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    // StartEngine. Refused with "Cannot run UCI engine while running Crafty." (or the other
    // way round) and, for Crafty's modes given to a UCI engine, "Function not supported for the
    // UCI engine."; start failures are the engine process's messages and Crafty's file errors.
    // Every failure is reported and returned. A running engine of the same kind is stopped.
    Error Start(const EngineStart& start, Clock::time_point now);
    // Reads what the engine has written and acts on it. Never waits.
    EngineUpdate Poll(Clock::time_point now);
    // When Poll() must next be called without output (a time limit), if any.
    std::optional<Clock::time_point> NextDeadline() const;
    // The engine's output handle, for a socket notifier; -1 when none.
    int OutputHandle() const;
    // Waits at most `timeout` for output (for the tool; the window never calls it).
    bool WaitForOutput(std::chrono::milliseconds timeout);

    bool Running() const;
    engines::EngineKind Kind() const { return kind_; }
    EngineMode Mode() const { return mode_; }

    // ---- Analysis ---------------------------------------------------------------------
    // The board shows another position of the game (a step, a jump or a move): the engine
    // analyses it from now on.
    EngineUpdate AnalysePosition(const engines::EnginePosition& position);
    // "Analyse the game": every position from the start to the end of `game` in turn, each with
    // `go` (a limited search), collecting the evaluation profile.
    EngineUpdate AnalyseGame(const engines::EnginePosition& game, std::string go);
    // UCI: the number of analysis lines; the analysis starts again with them.
    bool SetMultiPv(int count);
    // The analysed position (what the lines and the best move are read against).
    const engines::EngineBoard* AnalysedBoard() const;

    // ---- Play -------------------------------------------------------------------------
    // The user's move on the board. False (nothing sent) when it is the engine's turn or the
    // move is not legal.
    bool UserMove(const engines::CoordinateSquares& move);
    // A game-menu command, with its refusal or question through the Ui.
    EngineUpdate GameMenu(engines::GameMenuCommand command, Clock::time_point now);
    const engines::EngineBoard& PlayBoard() const { return play_board_; }
    bool EngineToMove() const;

    // ---- The engine window -----------------------------------------------------------
    // A command typed in the engine window's edit field (Crafty refuses typed moves in play
    // mode and while the analysis entry is locked).
    void TypeCommand(std::string_view text);
    // Rows of the engine window's list; null before the first start.
    const engines::EngineList* List() const;
    // The analysis lines: the newest info line of each MultiPV number, first line first.
    const std::vector<engines::InfoLine>& Lines() const { return lines_; }
    // The evaluation of the analysed position in centipawns from White's side (the first
    // line's score; a mate counts as EngineScore::MateScore less its moves), for the bar.
    std::optional<int> WhiteEvaluation() const;
    // The evaluation profile: one point per half-move, in half-move order.
    const std::vector<engines::ProfilePoint>& Profile() const { return profile_; }
    // BestMoveText of the last bestmove reply.
    const std::string& BestMoveText() const { return best_move_text_; }
    // UciOptionList for "UCI Options"; null (the window shows "The UCI engine has not been
    // started.") when no UCI engine has been started.
    const std::string* UciOptionList() const;
    // The options the UCI engine offered, for the options dialog; empty without one.
    const std::vector<engines::UciOption>& UciOptions() const;
    // Sets one of them ("setoption"); false when the engine has no such option or the value
    // cannot be sent.
    bool SetUciOption(std::string_view name, std::string_view value);

    // ---- Stopping ---------------------------------------------------------------------
    // StopEngine: UCI gets "quit", Crafty the end of its input; Poll() reaps the engine or
    // kills it after its grace period.
    void Stop(Clock::time_point now);
    // The same, waiting for it here (the tool, closing the program).
    void StopNow();

  private:
    Error StartUci(const EngineStart& start, Clock::time_point now);
    Error StartCrafty(const EngineStart& start, Clock::time_point now);
    Error Report(Error error);
    void OnUciReady(EngineUpdate& update);
    void OnInfo(const engines::InfoLine& info, EngineUpdate& update);
    void OnBestMove(const engines::BestMove& best, EngineUpdate& update);
    void OnCraftyMove(std::string_view move, EngineUpdate& update);
    void AddProfilePoint(const engines::ProfilePoint& point, EngineUpdate& update);
    void SendPlayPosition();
    void NextGamePosition();
    void CraftyFollow(const engines::EnginePosition& position);
    Error WriteCraftyAnalysisGame();
    engines::PlayState CurrentPlayState() const;
    chess::Side EngineSide() const;

    Ui& ui_;
    Launcher launcher_;
    engines::EngineKind kind_ = engines::EngineKind::Uci;
    EngineMode mode_ = EngineMode::None;
    EngineStart start_;
    std::unique_ptr<engines::UciEngine> uci_;
    std::unique_ptr<engines::CraftyEngine> crafty_;

    // Play.
    engines::EngineBoard play_board_;
    int play_start_half_moves_ = 0;
    bool engine_moves_first_ = false;
    int pending_stops_ = 0;
    int force_count_ = 0;

    // Analysis.
    engines::EngineBoard crafty_board_;  // the position Crafty analyses
    std::string crafty_folder_;
    int analysis_start_half_moves_ = 0;  // N0 of Crafty's reset table
    bool analysis_from_setup_ = false;
    std::vector<engines::InfoLine> lines_;
    std::vector<engines::ProfilePoint> profile_;
    std::string best_move_text_;
    std::optional<engines::EnginePosition> game_analysis_;
    int game_analysis_ply_ = 0;
    std::string game_analysis_go_;
};

}  // namespace qorvale::app
