// How fast the engine session shows what a UCI engine writes.
//
//   engine_bench [ROUNDS]
//
// The session reads from a real pipe whose other end this program writes as the engine would.
// 1. Latency: one info line (ten-move principal variation) is written, and the time until the
//    session has it as a parsed analysis line is taken, ROUNDS times (default 2000); median
//    and worst are printed.
// 2. Flood: a megabyte of distinct info lines is written at once; the time of each poll (at
//    most 100,000 bytes) is printed as median and worst, with the lines per second parsed.
// The signature (rows shown, lines parsed) does not change between runs.

#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/engine_session.h"
#include "engines/engine_channel.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace qorvale;

double Microseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

// The session's end of a pipe; what it writes to the engine is dropped.
class PipeChannel final : public engines::EngineChannel {
  public:
    explicit PipeChannel(int read_end) : read_end_(read_end) {}
    ~PipeChannel() override { ::close(read_end_); }
    bool Write(std::string_view) override { return true; }
    engines::ReadStatus Read(std::string& out, std::size_t max) override {
        char chunk[65536];
        std::size_t wanted = std::min(max, sizeof chunk);
        ssize_t got = ::read(read_end_, chunk, wanted);
        if (got > 0) {
            out.append(chunk, static_cast<std::size_t>(got));
            return engines::ReadStatus::Data;
        }
        return got == 0 ? engines::ReadStatus::Ended : engines::ReadStatus::Nothing;
    }
    bool WaitForOutput(std::chrono::milliseconds timeout) override {
        pollfd wanted{read_end_, POLLIN, 0};
        return ::poll(&wanted, 1, static_cast<int>(timeout.count())) > 0;
    }
    void CloseInput() override {}
    bool HasEnded() override { return false; }
    void Kill() override {}
    void Close(std::chrono::milliseconds) override {}
    int OutputHandle() const override { return read_end_; }

  private:
    int read_end_;
};

std::string InfoLine(int number) {
    return "info depth 20 seldepth 30 multipv 1 score cp " + std::to_string(number % 2000 - 1000) +
           " nodes " + std::to_string(number) +
           " nps 1000000 time 123 pv e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7\n";
}

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written <= 0) std::exit(1);
        done += static_cast<std::size_t>(written);
    }
}

// The CPU time this thread has used, in microseconds: on a loaded machine the wall clock
// counts the time other programs had.
double ThreadCpuMicroseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 2000;
    int pipe_ends[2];
    if (::pipe2(pipe_ends, O_CLOEXEC) != 0) return 1;
    ::fcntl(pipe_ends[0], F_SETFL, O_NONBLOCK);
    // Room for the whole flood, so that it is written before the first read.
    ::fcntl(pipe_ends[1], F_SETPIPE_SZ, 1 << 20);
    const int engine_end = pipe_ends[1];

    SilentUi ui;
    app::EngineSession session(ui, [&](engines::EngineKind, const std::string&) {
        return Result<std::unique_ptr<engines::EngineChannel>>(
            std::make_unique<PipeChannel>(pipe_ends[0]));
    });
    app::EngineStart start;
    start.path = "pipe";
    if (!session.Start(start, Clock::now()).ok()) return 1;
    WriteAll(engine_end, "uciok\nreadyok\n");
    while (!session.Poll(Clock::now()).started)
        session.WaitForOutput(std::chrono::milliseconds(10));

    // 1. Latency of one line.
    std::vector<double> latencies;
    for (int round = 0; round < rounds; ++round) {
        const Clock::time_point written = Clock::now();
        WriteAll(engine_end, InfoLine(round));
        while (true) {
            session.WaitForOutput(std::chrono::milliseconds(100));
            if (session.Poll(Clock::now()).lines) break;
        }
        latencies.push_back(Microseconds(Clock::now() - written));
    }

    // 2. A flood of a megabyte.
    std::string flood;
    int flood_lines = 0;
    while (flood.size() < 1000000) flood += InfoLine(rounds + flood_lines++);
    const std::uint64_t rows_before = session.List()->TotalAdded();
    WriteAll(engine_end, flood);
    std::vector<double> polls;
    std::vector<double> poll_cpu;
    const double flood_cpu_start = ThreadCpuMicroseconds();
    std::uint64_t rows = 0;
    while (rows < static_cast<std::uint64_t>(flood_lines)) {
        const Clock::time_point before = Clock::now();
        const double cpu_before = ThreadCpuMicroseconds();
        session.Poll(before);
        poll_cpu.push_back(ThreadCpuMicroseconds() - cpu_before);
        polls.push_back(Microseconds(Clock::now() - before));
        rows = session.List()->TotalAdded() - rows_before;
    }
    const double flood_cpu_seconds = (ThreadCpuMicroseconds() - flood_cpu_start) / 1e6;
    ::close(engine_end);

    std::printf("first info line to parsed line: median %.1f us, worst %.1f us (%d lines)\n",
                Median(latencies), *std::max_element(latencies.begin(), latencies.end()), rounds);
    std::printf(
        "flood of %zu bytes: %zu polls; per poll median %.2f ms, worst %.2f ms (wall), "
        "median %.2f ms, worst %.2f ms (CPU); %.0f lines per CPU second\n",
        flood.size(), polls.size(), Median(polls) / 1000.0,
        *std::max_element(polls.begin(), polls.end()) / 1000.0, Median(poll_cpu) / 1000.0,
        *std::max_element(poll_cpu.begin(), poll_cpu.end()) / 1000.0,
        flood_lines / flood_cpu_seconds);
    std::printf("signature: %d + %d lines, last row \"%s\"\n", rounds, flood_lines,
                session.List()->Rows().back().c_str());
    session.StopNow();
    return 0;
}
