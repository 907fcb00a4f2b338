#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engines/engine_channel.h"
#include "support/temp_dir.h"

namespace qorvale::test {

// An executable copy of the engine script tests/data/engines/<name> in `folder` (an engine runs
// in its own folder, so each test's files stay in its temporary folder). Returns its path.
std::string InstallEngine(const TempDir& folder, std::string_view name);

// The processes whose parent is this process, zombies included: empty once every engine a test
// started has been reaped.
std::vector<int> ChildProcesses();

// Where a real engine is installed, or "" (the test is then skipped).
std::string InstalledEngine(std::string_view path);

// What a ScriptedChannel and its test share: the bytes written to the engine, the chunks of
// output it hands out (one per read), and whether its output has ended.
struct ScriptedEngine {
    std::string written;
    std::deque<std::string> output;
    bool ended = false;
    bool killed = false;
};

// An engine for protocol tests without a process: it hands out its output chunk by chunk, at
// most the reader's limit at a time, and records what is written to it.
class ScriptedChannel final : public engines::EngineChannel {
  public:
    explicit ScriptedChannel(std::shared_ptr<ScriptedEngine> engine) : engine_(std::move(engine)) {}

    bool Write(std::string_view text) override;
    engines::ReadStatus Read(std::string& out, std::size_t max) override;
    bool WaitForOutput(std::chrono::milliseconds) override;
    void CloseInput() override { engine_->ended = true; }
    bool HasEnded() override { return engine_->ended; }
    void Kill() override { engine_->killed = engine_->ended = true; }
    void Close(std::chrono::milliseconds) override { engine_->ended = true; }

  private:
    std::shared_ptr<ScriptedEngine> engine_;
};

}  // namespace qorvale::test
