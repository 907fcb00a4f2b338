#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

TEST(SearchCommand, PrintsGamesThenStatistics) {
    TempDir dir;
    std::string pgn = dir.CopyData("search/crafted.pgn", "games.pgn");
    struct Step {
        std::vector<std::string> arguments;
        int exit_code;
        std::string out;
        std::string err_line;  // a line stderr must hold
    };
    const Step steps[] = {
        {{"--white", "Kasparov,", "--black", "*"}, 0, "1\n2\n4\n5\n6\n", "Performance: 3.5  70.0%"},
        {{"--line", "1.d4 Nf6 2.c4 e6"}, 0, "1\n2\n", "White wins: 1  50.0%"},
        {{"--position", "W:Kg1 B:Kg8", "--move-number", ">=8"},
         0,
         "4\t16\n5\t15\n",
         "Draws: 1  50.0%"},
        {{"--site", "Leiden", "--line", "1.e4", "--position", "W:Kg1 B:Kg8"},
         0,
         "4\t16\n",
         "Number of games found: 1"},
        {{"--line", "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.d3 b5 7.Bb3", "--force"},
         0,
         "4\n5\n",
         "Matched half-moves: 10"},
        {{"--line", "1.e4 e5 2.Ke3"}, 1, "", "the line cannot be played"},
        {{"--date", ">"}, 2, "", "A comparison needs a value."},
        {{"--white-elo", "2600-2500"}, 2, "", "The end of a range must not be below its start."},
        {{"--event", std::string(80, 'x')}, 2, "", "Search criterion longer than 79 characters."},
        {{"--position", "W:Kg1,Nf3,Bg2,Rf1,Qd1,a2,b2,c2,d2,e2,f2,g2,h2,toolong1"},
         2,
         "",
         "Invalid position entry."},
        {{}, 2, "", "usage: qorvale-tool search"},
    };
    for (const Step& step : steps) {
        for (bool text_path : {false, true}) {
            std::vector<std::string> arguments = {"search", pgn};
            arguments.insert(arguments.end(), step.arguments.begin(), step.arguments.end());
            if (text_path) arguments.push_back("--no-fast-file");
            std::string name;
            for (const std::string& word : arguments) name += word + " ";
            SCOPED_TRACE(name);
            ToolRun run = RunTool(arguments);
            EXPECT_EQ(run.exit_code, step.exit_code) << run.err;
            EXPECT_EQ(run.out, step.out);
            EXPECT_NE(run.err.find(step.err_line), std::string::npos) << run.err;
        }
        // The fast file is made once the text path has been seen to work.
        if (&step == &steps[0]) {
            ASSERT_EQ(RunTool({"fastfile", "make", pgn}).exit_code, 0);
        }
    }
}

TEST(SearchCommand, SavedCriteriaSearchAgain) {
    TempDir dir;
    std::string pgn = dir.CopyData("search/crafted.pgn", "games.pgn");
    std::string ser = dir.File("kasparov.ser");
    ToolRun first = RunTool({"search", pgn, "--white", "Kasparov", "--line", "1.e4", "--position",
                             "W:Kg1 B:Kg8", "--save-ser", ser});
    ASSERT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(first.out, "5\t14\n");
    ToolRun again = RunTool({"search", pgn, "--ser", ser});
    EXPECT_EQ(again.exit_code, 0) << again.err;
    EXPECT_EQ(again.out, first.out);

    std::string bad = dir.Write("bad.ser", std::string(7, '\0'));
    ToolRun refused = RunTool({"search", pgn, "--ser", bad});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_NE(refused.err.find("Invalid search file."), std::string::npos) << refused.err;
}

TEST(SearchCommand, EcoDifferenceNeedsBothFastFiles) {
    TempDir dir;
    std::string pgn = dir.CopyData("search/crafted.pgn", "games.pgn");
    std::string lines = dir.CopyData("search/ecocodes.pgn", "ecocodes.pgn");
    const std::vector<std::string> search = {"search", pgn,           "--eco",
                                             "*",      "--eco-lines", dir.File("ecocodes.TRF")};
    ToolRun refused = RunTool(search);
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_NE(refused.err.find("ECO diff requires a fast file."), std::string::npos) << refused.err;
    ASSERT_EQ(RunTool({"fastfile", "make", pgn}).exit_code, 0);
    ToolRun missing = RunTool(search);
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_NE(missing.err.find("Missing Ecocodes fast file."), std::string::npos) << missing.err;
    ASSERT_EQ(RunTool({"fastfile", "make", lines}).exit_code, 0);
    ToolRun found = RunTool(search);
    EXPECT_EQ(found.exit_code, 0) << found.err;
    EXPECT_EQ(found.out, "4\n6\n7\n");
    ToolRun combined = RunTool({"search", pgn, "--eco", "*", "--line", "1.e4"});
    EXPECT_NE(
        combined.err.find("Sorry, ECO diff is not supported for combination or directory search."),
        std::string::npos)
        << combined.err;
}

}  // namespace
}  // namespace qorvale::test
