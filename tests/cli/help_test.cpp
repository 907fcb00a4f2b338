#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/run_tool.h"

namespace qorvale::test {
namespace {

TEST(Tool, HelpListsTheCommandsWithinEightyColumns) {
    ToolRun help = RunTool({"help"});
    EXPECT_EQ(help.exit_code, 0);
    for (const char* usage : {"\n  help\n", "\n  search FILE [--event T]", "\n  list FILE"}) {
        EXPECT_NE(help.out.find(usage), std::string::npos) << usage;
    }
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
    // A bracketed option is never split over two lines.
    EXPECT_NE(help.out.find("[--specific-move T]"), std::string::npos);

    ToolRun unknown = RunTool({"no-such-command"});
    EXPECT_EQ(unknown.exit_code, 2);
    EXPECT_NE(unknown.err.find("unknown command"), std::string::npos);
}

}  // namespace
}  // namespace qorvale::test
