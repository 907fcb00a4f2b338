#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "base/result.h"

namespace qorvale::engines {

// What one look at an engine's output found.
enum class ReadStatus {
    Data,     // bytes were appended
    Nothing,  // nothing is waiting now
    Ended,    // the engine closed its output (it ended); nothing more will come
};

// The two pipes to an engine, as the protocols see them. The real engine process is one
// implementation (ProcessChannel), a scripted engine in the tests is another. Used by one
// thread at a time.
class EngineChannel {
  public:
    virtual ~EngineChannel() = default;

    // Writes the bytes as given. False when the engine can no longer be written to.
    virtual bool Write(std::string_view text) = 0;
    // Appends at most `max` bytes of the engine's output to `out` without waiting.
    virtual ReadStatus Read(std::string& out, std::size_t max) = 0;
    // Waits at most `timeout` for output; true when some (or its end) is there.
    virtual bool WaitForOutput(std::chrono::milliseconds timeout) = 0;
    // Closes the engine's input: it reads the end of its commands.
    virtual void CloseInput() = 0;
    // Whether the engine has ended; never waits.
    virtual bool HasEnded() = 0;
    // Ends the engine now; nothing of it stays behind.
    virtual void Kill() = 0;
    // Ends the engine the patient way: closes its input, waits up to `grace` for it to end by
    // itself, then terminates it. Blocks for at most `grace` and a little more.
    virtual void Close(std::chrono::milliseconds grace) = 0;
    // The handle an event loop can watch for output; -1 when there is none.
    virtual int OutputHandle() const { return -1; }
};

// Which protocol an engine speaks; decides how it is started and spoken to.
enum class EngineKind { Crafty, Uci };

// Starts the engine at `path` as a child process in the engine's own folder: a UCI engine with
// no arguments, Crafty with the argument "/xboard". Fails with "Stdout pipe creation failed.",
// "Stdin pipe creation failed.", or "Could not start UCI engine." / "Could not start Crafty."
// (also when the path names no executable file).
Result<std::unique_ptr<EngineChannel>> StartEngineProcess(EngineKind kind, const std::string& path);

}  // namespace qorvale::engines
