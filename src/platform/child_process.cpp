#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <utility>

extern char** environ;

namespace qorvale::platform {

namespace {

using Clock = std::chrono::steady_clock;

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

void CloseHandle(int& handle) {
    if (handle >= 0) ::close(handle);
    handle = -1;
}

bool SetNonBlocking(int handle) {
    int flags = ::fcntl(handle, F_GETFL);
    return flags >= 0 && ::fcntl(handle, F_SETFL, flags | O_NONBLOCK) == 0;
}

// SIGPIPE would end this whole program when a child has closed its input; it is blocked for
// the calling thread during a write, and the one a failed write raised is taken back.
class SigpipeBlock {
  public:
    SigpipeBlock() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        ::sigpending(&pending);
        already_pending_ = sigismember(&pending, SIGPIPE) == 1;
        ::pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~SigpipeBlock() {
        if (raised_ && !already_pending_) {
            timespec no_wait{};
            while (::sigtimedwait(&pipe_, nullptr, &no_wait) < 0 && errno == EINTR) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    void Raised() { raised_ = true; }

  private:
    sigset_t pipe_;
    sigset_t previous_;
    bool already_pending_ = false;
    bool raised_ = false;
};

}  // namespace

std::string FindExecutable(const std::string& path) {
    if (path.empty()) return "";
    if (path.find('/') != std::string::npos || IsExecutableFile(path)) {
        return IsExecutableFile(path) ? path : "";
    }
    const char* search = std::getenv("PATH");
    std::string_view folders = search != nullptr ? search : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        std::size_t colon = folders.find(':');
        std::string_view folder = folders.substr(0, colon);
        std::string candidate =
            (folder.empty() ? std::string(".") : std::string(folder)) + "/" + path;
        if (IsExecutableFile(candidate)) return candidate;
        if (colon == std::string_view::npos) return "";
        folders.remove_prefix(colon + 1);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) Kill();
    ClosePipes();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      input_(std::exchange(other.input_, -1)),
      output_(std::exchange(other.output_, -1)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        if (pid_ > 0) Kill();
        ClosePipes();
        pid_ = std::exchange(other.pid_, -1);
        input_ = std::exchange(other.input_, -1);
        output_ = std::exchange(other.output_, -1);
    }
    return *this;
}

ChildProcess ChildProcess::Start(const std::string& path, const std::vector<std::string>& arguments,
                                 const std::string& folder, StartFailure& failure) {
    ChildProcess child;
    std::string program = FindExecutable(path);
    if (program.empty()) {
        failure = StartFailure::NotExecutable;
        return child;
    }
    // The child changes to `folder` before it runs the program, so a relative path would be
    // looked up from there.
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(program, ignored);
    if (!absolute.empty()) program = absolute.string();

    int output_pipe[2] = {-1, -1};
    if (::pipe2(output_pipe, O_CLOEXEC) != 0) {
        failure = StartFailure::OutputPipe;
        return child;
    }
    int input_pipe[2] = {-1, -1};
    if (::pipe2(input_pipe, O_CLOEXEC) != 0) {
        ::close(output_pipe[0]);
        ::close(output_pipe[1]);
        failure = StartFailure::InputPipe;
        return child;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input_pipe[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output_pipe[1], STDOUT_FILENO);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

    // The child starts with no blocked signals and the default handling of those that end a
    // program, whatever this process has set for itself.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal_number : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD}) {
        sigaddset(&defaults, signal_number);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(program.data());
    std::vector<std::string> words = arguments;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    int spawned = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(input_pipe[0]);
    ::close(output_pipe[1]);
    if (spawned != 0) {
        ::close(input_pipe[1]);
        ::close(output_pipe[0]);
        failure = StartFailure::Spawn;
        return child;
    }
    child.pid_ = pid;
    child.input_ = input_pipe[1];
    child.output_ = output_pipe[0];
    SetNonBlocking(child.input_);
    SetNonBlocking(child.output_);
    failure = StartFailure::None;
    return child;
}

bool ChildProcess::Write(std::string_view text) {
    if (input_ < 0) return false;
    SigpipeBlock block;
    const Clock::time_point deadline = Clock::now() + WriteTimeout;
    while (!text.empty()) {
        ssize_t written = ::write(input_, text.data(), text.size());
        if (written > 0) {
            text.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno == EAGAIN) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return false;
            pollfd wanted{input_, POLLOUT, 0};
            ::poll(&wanted, 1, static_cast<int>(left.count()));
            continue;
        }
        if (written < 0 && errno == EPIPE) block.Raised();
        return false;
    }
    return true;
}

std::int64_t ChildProcess::ReadAvailable(std::string& out, std::size_t max) {
    if (output_ < 0) return -1;
    std::size_t appended = 0;
    char chunk[16384];
    while (appended < max) {
        std::size_t wanted = max - appended < sizeof chunk ? max - appended : sizeof chunk;
        ssize_t got = ::read(output_, chunk, wanted);
        if (got > 0) {
            out.append(chunk, static_cast<std::size_t>(got));
            appended += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got == 0 && appended == 0) return -1;
        break;  // nothing more now (EAGAIN), or the end after what was appended
    }
    return static_cast<std::int64_t>(appended);
}

bool ChildProcess::WaitReadable(std::chrono::milliseconds timeout) {
    if (output_ < 0) return true;
    pollfd wanted{output_, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&wanted, 1, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

void ChildProcess::CloseInput() { CloseHandle(input_); }

bool ChildProcess::HasExited() {
    if (pid_ <= 0) return true;
    int status = 0;
    pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_ || (done < 0 && errno == ECHILD)) {
        pid_ = -1;
        return true;
    }
    return false;
}

bool ChildProcess::WaitExit(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!HasExited()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void ChildProcess::Stop(std::chrono::milliseconds grace) {
    CloseHandle(input_);
    if (pid_ > 0 && !WaitExit(grace)) {
        ::kill(pid_, SIGTERM);
        if (!WaitExit(std::chrono::milliseconds(250))) Kill();
    }
    ClosePipes();
}

void ChildProcess::Kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    ClosePipes();
}

void ChildProcess::ClosePipes() {
    CloseHandle(input_);
    CloseHandle(output_);
}

}  // namespace qorvale::platform
