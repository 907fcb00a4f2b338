#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorvale::platform {

// Why a child process could not be started.
enum class StartFailure {
    None,
    OutputPipe,     // the pipe for its standard output
    InputPipe,      // the pipe for its standard input
    NotExecutable,  // no such file, not a plain file, or not executable by this user
    Spawn,          // the system refused to start it
};

// A program started with its standard input and output on pipes; standard error stays this
// process's. Reads never wait unless asked to and writes wait at most WriteTimeout, so a thread
// that drives a child stays responsive whatever the child does. Move-only; the destructor ends
// and reaps a child that still runs. One thread at a time uses an object.
class ChildProcess {
  public:
    // How long a write may wait for a child that does not read its input.
    static constexpr std::chrono::milliseconds WriteTimeout{2000};

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `path` with `arguments` (argv[1] on) in `folder` ("" keeps this process's folder).
    // The path is used as given (no extension is added); a name without a '/' that is not a
    // file of the current folder is looked up on PATH. On failure the object is not running
    // and `failure` says why.
    static ChildProcess Start(const std::string& path, const std::vector<std::string>& arguments,
                              const std::string& folder, StartFailure& failure);

    bool Started() const { return pid_ > 0; }
    // The child's process id while it has not been reaped, else -1.
    pid_t Pid() const { return pid_; }

    // Writes all of `text`. False when the child's input is closed (it ended) or it took
    // nothing for WriteTimeout.
    bool Write(std::string_view text);

    // Appends at most `max` bytes of the child's output that can be read now; never waits.
    // Returns the bytes appended, 0 when nothing is waiting, -1 once the output has ended
    // (the child closed it or ended) and nothing is left.
    std::int64_t ReadAvailable(std::string& out, std::size_t max);

    // Waits up to `timeout` until output can be read or has ended; true when it can.
    bool WaitReadable(std::chrono::milliseconds timeout);

    // The read end of the child's output, for an event loop that watches it; -1 when closed.
    int OutputHandle() const { return output_; }

    // Closes the child's input; it reads the end of it.
    void CloseInput();

    // Whether the child has ended; reaps it when it has. Never waits.
    bool HasExited();

    // Ends the child: closes its input, waits up to `grace` for it to end by itself, then
    // terminates it (SIGTERM, a short wait, SIGKILL) and reaps it. Waits at most `grace` plus
    // a quarter of a second. Closes both pipes.
    void Stop(std::chrono::milliseconds grace);

    // Kills the child at once (SIGKILL) and reaps it; closes both pipes.
    void Kill();

  private:
    void ClosePipes();
    bool WaitExit(std::chrono::milliseconds timeout);

    pid_t pid_ = -1;
    int input_ = -1;   // the write end of the child's standard input
    int output_ = -1;  // the read end of the child's standard output
};

// The executable a path names: `path` itself when it contains a '/' or is a file of the
// current folder, else the first match on PATH; "" when none is an executable plain file.
std::string FindExecutable(const std::string& path);

}  // namespace qorvale::platform
