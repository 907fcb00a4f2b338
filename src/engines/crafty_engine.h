#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "engines/crafty_commands.h"
#include "engines/engine_connection.h"
#include "engines/engine_list.h"

namespace qorvale::engines {

// What one CraftyEngine::Poll found.
struct CraftyPollResult {
    bool started = false;  // the greeting came and the start commands went in this poll
    bool stopped = false;  // the engine is gone since this poll
    Error failure;         // why, when it ended without being asked to
    int rows_added = 0;
    std::vector<std::string> engine_moves;  // play mode: the moves of "move" lines
    std::vector<ProfilePoint> profile;      // analysis mode: the points of "->" lines
};

// Crafty over a channel: its greeting, the start commands of the mode, the lines it writes (all
// shown), the engine's moves and the evaluation profile. Nothing waits; see UciEngine.
class CraftyEngine {
  public:
    using Clock = EngineConnection::Clock;
    // An engine that says nothing at start gets its start commands after this.
    static constexpr std::chrono::milliseconds GreetingWait{2000};

    explicit CraftyEngine(std::unique_ptr<EngineChannel> channel);
    ~CraftyEngine();

    // Waits (in Poll) for the greeting, then sends `start_commands`, one write each.
    void Start(CraftyMode mode, std::vector<std::string> start_commands, Clock::time_point now);
    CraftyPollResult Poll(Clock::time_point now);
    std::optional<Clock::time_point> Deadline() const;

    // A move made on the board, or any command, as SendEngineCommand sends it.
    bool Send(std::string_view command) { return connection_.SendEngineCommand(command); }
    bool SendPrepared(std::string_view command) { return connection_.SendPreparedCommand(command); }
    // A command typed in the engine window: sent, or refused with the message returned.
    std::string_view Type(std::string_view text);
    // The typed-move state of analysis mode.
    MoveEntry& Entry() { return entry_; }

    // Closes Crafty's input; Poll() then reaps it, or kills it once QuitGrace has passed.
    void BeginStop(Clock::time_point now);
    // The same, waiting here.
    void StopNow();

    CraftyMode Mode() const { return mode_; }
    bool Running() const { return state_ != State::Stopped; }
    const EngineList& List() const { return list_; }
    bool WaitForOutput(std::chrono::milliseconds timeout) {
        return connection_.WaitForOutput(timeout);
    }
    int OutputHandle() const { return connection_.OutputHandle(); }

  private:
    enum class State { AwaitGreeting, Running, Stopping, Stopped };

    EngineConnection connection_;
    State state_ = State::AwaitGreeting;
    CraftyMode mode_ = CraftyMode::Direct;
    std::vector<std::string> start_commands_;
    Clock::time_point deadline_{};
    MoveEntry entry_ = MoveEntry::Open;
    EngineList list_;
};

}  // namespace qorvale::engines
