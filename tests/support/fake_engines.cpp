#include "support/fake_engines.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace qorvale::test {

std::string InstallEngine(const TempDir& folder, std::string_view name) {
    std::string path = folder.CopyData("engines/" + std::string(name), name);
    ::chmod(path.c_str(), 0755);
    return path;
}

std::vector<int> ChildProcesses() {
    std::vector<int> children;
    const pid_t self = ::getpid();
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        // /proc/<pid>/stat: "pid (command) state ppid ..."; the command may hold blanks.
        std::ifstream stat(entry.path() / "stat");
        std::string text;
        std::getline(stat, text);
        std::size_t close = text.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(text.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == self) {
            children.push_back(std::stoi(name));
        }
    }
    return children;
}

std::string InstalledEngine(std::string_view path) {
    std::string text(path);
    return ::access(text.c_str(), X_OK) == 0 ? text : "";
}

bool ScriptedChannel::Write(std::string_view text) {
    if (engine_->ended) return false;
    engine_->written += text;
    return true;
}

engines::ReadStatus ScriptedChannel::Read(std::string& out, std::size_t max) {
    if (engine_->output.empty()) {
        return engine_->ended ? engines::ReadStatus::Ended : engines::ReadStatus::Nothing;
    }
    std::string& chunk = engine_->output.front();
    std::size_t taken = chunk.size() < max ? chunk.size() : max;
    out.append(chunk, 0, taken);
    chunk.erase(0, taken);
    if (chunk.empty()) engine_->output.pop_front();
    return engines::ReadStatus::Data;
}

bool ScriptedChannel::WaitForOutput(std::chrono::milliseconds) {
    return !engine_->output.empty() || engine_->ended;
}

}  // namespace qorvale::test
