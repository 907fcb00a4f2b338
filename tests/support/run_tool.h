#pragma once

#include <string>
#include <vector>

namespace qorvale::test {

struct ToolRun {
    int exit_code = -1;
    std::string out;  // stdout
    std::string err;  // stderr
};

// Runs the built qorvale-tool with `arguments` and `environment` additions ("NAME=value"),
// capturing both streams.
ToolRun RunTool(const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment = {});

// What a shell command writes to its standard output (the reference tools: pgn-extract).
std::string CommandOutput(const std::string& command);

// The lines of a tool's output, without their line ends.
std::vector<std::string> Lines(const std::string& text);

}  // namespace qorvale::test
