#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "engines/engine_channel.h"
#include "engines/engine_output.h"

namespace qorvale::engines {

// What both protocols do with an engine's pipes: write commands the way the program writes
// them, read its output into lines, and end it.
class EngineConnection {
  public:
    using Clock = std::chrono::steady_clock;
    // How long an engine has to end by itself after it was told to.
    static constexpr std::chrono::milliseconds QuitGrace{500};

    explicit EngineConnection(std::unique_ptr<EngineChannel> channel);
    ~EngineConnection();

    // SendEngineCommand: writes `text` and "\n". "exit" (any case) is followed by "\n." before
    // the "\n"; "help" (any case) by a further "\n\n.\n", and the next read is then cut after
    // its last 's' (Crafty's help pager). False when the engine can no longer be written to.
    bool SendEngineCommand(std::string_view text);
    // Whether a command sent as typed told the engine to end ("exit" or "quit"): its end is
    // then no failure.
    bool ToldToEnd() const { return told_to_end_; }
    // SendPreparedCommand: writes `text` and "\n" as it is.
    bool SendPreparedCommand(std::string_view text);

    // Reads what the engine has written (at most EngineOutputSize bytes) without waiting.
    ReadStatus Read() { return Read(WaitMode::Check, {.settle = std::chrono::milliseconds(0)}); }
    ReadStatus Read(WaitMode wait, const EngineOutputReader::Pauses& pauses);
    const EngineOutputReader& Output() const { return reader_; }

    // Waits at most `timeout` for output; for front ends that may block (the tool).
    bool WaitForOutput(std::chrono::milliseconds timeout);
    int OutputHandle() const;

    // Ending the engine without waiting: after the protocol's own command to end it, each
    // FinishStop() reaps it once it has ended and kills it once `deadline` has passed. True
    // when it is gone.
    bool FinishStop(Clock::time_point now, Clock::time_point deadline);
    // Closes the engine's input (the way Crafty is told to end).
    void CloseInput();
    // Ending it at once, waiting up to QuitGrace for it to end by itself.
    void Close();
    bool Closed() const { return channel_ == nullptr; }

  private:
    std::unique_ptr<EngineChannel> channel_;
    EngineOutputReader reader_;
    bool told_to_end_ = false;
};

}  // namespace qorvale::engines
