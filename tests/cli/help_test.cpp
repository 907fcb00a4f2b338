#include <gtest/gtest.h>

#include "support/run_tool.h"

namespace qorvale::test {
namespace {

TEST(Tool, HelpListsCommandsAndUnknownCommandFails) {
    ToolRun help = RunTool({"help"});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("help"), std::string::npos);
    ToolRun unknown = RunTool({"no-such-command"});
    EXPECT_EQ(unknown.exit_code, 2);
    EXPECT_NE(unknown.err.find("unknown command"), std::string::npos);
}

}  // namespace
}  // namespace qorvale::test
