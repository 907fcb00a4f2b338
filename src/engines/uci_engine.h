#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "engines/engine_board.h"
#include "engines/engine_connection.h"
#include "engines/engine_list.h"
#include "engines/uci_output.h"

namespace qorvale::engines {

// What one UciEngine::Poll found.
struct UciPollResult {
    bool ready = false;                 // the handshake finished in this poll
    bool stopped = false;               // the engine is gone since this poll
    Error failure;                      // why it was stopped, when it did not end on request
    int rows_added = 0;                 // rows added to the engine window's list
    std::vector<InfoLine> infos;        // info lines with a score or a principal variation
    std::optional<BestMove> best_move;  // the last bestmove reply read
};

// A UCI engine over a channel: the handshake, the commands the program sends and the reading of
// the replies. Nothing waits: Poll() takes what the engine has written (at most EngineOutputSize
// bytes), and the handshake's and the stop's time limits are checked against the time each call
// is given. One thread at a time.
class UciEngine {
  public:
    using Clock = EngineConnection::Clock;
    // The program gives each handshake reply ten half-second reads.
    static constexpr std::chrono::milliseconds HandshakeWait{5000};

    enum class State { Idle, AwaitUciOk, AwaitReadyOk, Ready, Stopping, Stopped };

    explicit UciEngine(std::unique_ptr<EngineChannel> channel);
    // A running engine is told to quit and, after a grace period, terminated.
    ~UciEngine();

    // Sends "uci"; the handshake goes on in Poll().
    void Start(Clock::time_point now);
    // Reads and handles what the engine has written. A handshake reply that does not come in
    // HandshakeWait stops the engine with "Error starting UCI engine." (also when it ends
    // first); an engine that ends once ready gives "The UCI engine has stopped.".
    UciPollResult Poll(Clock::time_point now);
    // When Poll() must next be called even without output (a time limit), if any.
    std::optional<Clock::time_point> Deadline() const;

    // A command typed by the user, sent as SendEngineCommand sends it.
    bool Send(std::string_view command);
    // A command the program prepared ("stop\nposition ...\ngo").
    bool SendPrepared(std::string_view command);

    // Analysis: "stop\n", the position command and `go`; the replies are read against this
    // position from now on.
    bool Analyse(const EnginePosition& position, std::string_view go = "go");
    // The position that info and bestmove lines are read against, without sending anything.
    void SetAnalysedPosition(const EnginePosition& position) { board_.Set(position); }
    const EngineBoard& AnalysedBoard() const { return board_; }

    // Changes an option the engine offered: sends "setoption" with the value as the engine
    // must get it. False when there is no such option or the value cannot be sent.
    bool SetOption(std::string_view name, std::string_view value);

    // "quit"; Poll() then reaps the engine, or kills it once QuitGrace has passed.
    void BeginStop(Clock::time_point now);
    // "quit", then waits up to QuitGrace for the engine to end before terminating it.
    void StopNow();

    State GetState() const { return state_; }
    bool Running() const { return state_ != State::Idle && state_ != State::Stopped; }
    // UciOptionList: the text after "option name " of each option line, one per line.
    const std::string& UciOptionList() const { return option_list_; }
    const std::vector<UciOption>& Options() const { return options_; }
    const UciOption* FindOption(std::string_view name) const;
    const EngineList& List() const { return list_; }
    // BestMoveText: the text of the last bestmove reply.
    const std::string& BestMoveText() const { return parser_.BestMoveText(); }

    bool WaitForOutput(std::chrono::milliseconds timeout) {
        return connection_.WaitForOutput(timeout);
    }
    int OutputHandle() const { return connection_.OutputHandle(); }

  private:
    void HandshakeLine(std::string_view line, Clock::time_point now, UciPollResult& result);
    void Fail(std::string_view message, Clock::time_point now, UciPollResult& result);
    void CountSearches(std::string_view command);

    EngineConnection connection_;
    State state_ = State::Idle;
    Clock::time_point deadline_{};
    std::string option_list_;
    std::vector<UciOption> options_;
    EngineBoard board_;
    UciOutputParser parser_;
    EngineList list_;
    // Searches started ("go") whose bestmove has not come yet. Each search ends with exactly
    // one bestmove, so while more than one is open the replies read belong to a search that
    // was stopped for another position, and are not read against the new one.
    int open_searches_ = 0;
};

}  // namespace qorvale::engines
