#include <utility>
#include <vector>

#include "engines/engine_channel.h"
#include "engines/messages.h"
#include "platform/child_process.h"
#include "platform/folder.h"

namespace qorvale::engines {

namespace {

// An engine running as a child process of this program.
class ProcessChannel final : public EngineChannel {
  public:
    explicit ProcessChannel(platform::ChildProcess process) : process_(std::move(process)) {}

    bool Write(std::string_view text) override { return process_.Write(text); }
    ReadStatus Read(std::string& out, std::size_t max) override {
        std::int64_t got = process_.ReadAvailable(out, max);
        return got > 0 ? ReadStatus::Data : got == 0 ? ReadStatus::Nothing : ReadStatus::Ended;
    }
    bool WaitForOutput(std::chrono::milliseconds timeout) override {
        return process_.WaitReadable(timeout);
    }
    void CloseInput() override { process_.CloseInput(); }
    bool HasEnded() override { return process_.HasExited(); }
    void Kill() override { process_.Kill(); }
    void Close(std::chrono::milliseconds grace) override { process_.Stop(grace); }
    int OutputHandle() const override { return process_.OutputHandle(); }

  private:
    platform::ChildProcess process_;
};

}  // namespace

Result<std::unique_ptr<EngineChannel>> StartEngineProcess(EngineKind kind,
                                                          const std::string& path) {
    // Crafty is told on its command line that a program, not a person, talks to it.
    std::vector<std::string> arguments;
    if (kind == EngineKind::Crafty) arguments.emplace_back("/xboard");
    std::string executable = platform::FindExecutable(path);
    platform::StartFailure failure = platform::StartFailure::None;
    platform::ChildProcess process = platform::ChildProcess::Start(
        path, arguments, platform::FolderOf(executable.empty() ? path : executable), failure);
    switch (failure) {
        case platform::StartFailure::None:
            return std::unique_ptr<EngineChannel>(
                std::make_unique<ProcessChannel>(std::move(process)));
        case platform::StartFailure::OutputPipe:
            return Error(std::string(messages::StdoutPipeFailed));
        case platform::StartFailure::InputPipe:
            return Error(std::string(messages::StdinPipeFailed));
        case platform::StartFailure::NotExecutable:
        case platform::StartFailure::Spawn:
            break;
    }
    return Error(std::string(kind == EngineKind::Uci ? messages::CouldNotStartUci
                                                     : messages::CouldNotStartCrafty));
}

}  // namespace qorvale::engines
