#include <gtest/gtest.h>

#include <string>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

// The positions command reads games through the window's load sequence (the reference corpus
// itself is checked against that sequence in the pgn tests).
TEST(PositionsCommand, PrintsOneGameOrFailsOnAMissingOne) {
    TempDir dir;
    std::string path =
        dir.Write("games.pgn", ReadWholeFile(TestDataPath("lines/short_annotated.pgn")));
    ToolRun second = RunTool({"positions", path, "--game", "2"});
    EXPECT_EQ(second.exit_code, 0);
    // The placeholder of a game Black begins is not printed; the FEN start is moved from.
    EXPECT_EQ(second.out, "2\t2\tRd1#\t6k1/5ppp/8/8/8/8/5PPP/3r2K1\n");
    ToolRun missing = RunTool({"positions", path, "--game", "3"});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_EQ(missing.err, "Error finding game.\n");
}

}  // namespace
}  // namespace qorvale::test
