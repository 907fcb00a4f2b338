#include "support/run_tool.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/temp_dir.h"

namespace qorvale::test {

namespace {

std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment) {
    TempDir scratch;
    std::string command = "env";
    for (const std::string& setting : environment) command += " " + Quote(setting);
    command += " " + Quote(QORVALE_TOOL_PATH);
    for (const std::string& word : arguments) command += " " + Quote(word);
    command +=
        " >" + Quote(scratch.File("out")) + " 2>" + Quote(scratch.File("err")) + " </dev/null";
    ToolRun run;
    int status = std::system(command.c_str());
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadWholeFile(scratch.File("out"));
    run.err = ReadWholeFile(scratch.File("err"));
    return run;
}

std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        out.append(chunk, got);
    }
    ::pclose(pipe);
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace qorvale::test
