#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

// The machine rows of `tree` output: the lines with tabs. Each must come after the list's rows,
// one per row, in the list's order.
std::vector<std::vector<std::string>> MachineRows(const std::string& out) {
    const std::vector<std::string> lines = Lines(out);
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find('\t') == std::string::npos) continue;
        std::vector<std::string> fields;
        std::size_t at = 0;
        while (true) {
            std::size_t tab = lines[i].find('\t', at);
            fields.push_back(lines[i].substr(at, tab - at));
            if (tab == std::string::npos) break;
            at = tab + 1;
        }
        EXPECT_EQ(fields.size(), 7u) << lines[i];
        // The list row of the same place names the same move.
        const std::size_t listed = i - lines.size() / 2;
        EXPECT_NE(lines[listed].find(" " + fields[0]), std::string::npos) << lines[listed];
        rows.push_back(fields);
    }
    EXPECT_EQ(rows.size() * 2, lines.size());
    return rows;
}

TEST(TreeCommand, ListsRowsThenMachineRowsOverEachSource) {
    TempDir dir;
    const std::string pgn = dir.CopyData("search/players.pgn", "games.pgn");
    const std::string merge = dir.File("games.trm");

    ToolRun root = RunTool({"tree", pgn});
    ASSERT_EQ(root.exit_code, 0) << root.err;
    const auto from_text = MachineRows(root.out);
    ASSERT_GT(from_text.size(), 3u);

    ASSERT_EQ(RunTool({"tree-merge", "make", merge, pgn}).exit_code, 0);
    EXPECT_EQ(RunTool({"tree", merge, "--source", "merge"}).out, root.out);
    ToolRun twice = RunTool({"tree-merge", "merge", dir.File("games"), pgn});
    EXPECT_EQ(twice.exit_code, 0) << twice.err;
    EXPECT_NE(twice.err.find("Merge file complete."), std::string::npos);

    struct Step {
        std::vector<std::string> arguments;
        int exit_code;
        std::string out_line;  // a line stdout must hold
        std::string err_line;  // a line stderr must hold
    };
    const Step steps[] = {
        {{"tree", pgn, "--line", "1.e4 e5", "--sort", "move"}, 0, "2. Nf3", ""},
        {{"tree", pgn, "--line", "1.e4 Ke7"}, 1, "", "Ke7 is not a legal move"},
        {{"tree", pgn, "--sort", "alphabet"}, 2, "", "usage: qorvale-tool tree"},
        {{"tree-merge", "merge", dir.File("none.trm"), pgn}, 1, "", "Merge file does not exist."},
        {{"tree", dir.File("none.trm"), "--source", "merge"},
         1,
         "",
         "Error opening tree merge file."},
        {{"tree", dir.File("x.dbg"), "--source", "db"}, 1, "", "Error opening database."},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.arguments[0] + " " + step.arguments.back());
        ToolRun run = RunTool(step.arguments);
        EXPECT_EQ(run.exit_code, step.exit_code) << run.err;
        EXPECT_NE(run.out.find(step.out_line), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(step.err_line), std::string::npos) << run.err;
    }
}

// The line commands' twins: next-moves lists what tree lists at the same line; eco --line names
// a line as Find Opening does.
TEST(LineCommands, NextMovesAndFindOpeningOfALine) {
    TempDir dir;
    const std::string pgn = dir.CopyData("search/players.pgn", "games.pgn");
    ToolRun next = RunTool({"next-moves", pgn, "--line", "1.e4"});
    ASSERT_EQ(next.exit_code, 0) << next.err;
    EXPECT_EQ(next.out, RunTool({"tree", pgn, "--line", "1.e4"}).out);
    EXPECT_NE(next.out.find("1...c5"), std::string::npos) << next.out;
    ToolRun maneuvers = RunTool({"next-moves", pgn, "--maneuvers", "--look-ahead", "2"});
    ASSERT_EQ(maneuvers.exit_code, 0) << maneuvers.err;
    EXPECT_EQ(maneuvers.out.rfind("   ", 0), 0u) << maneuvers.out;

    dir.Write("qorvale.eco", "A40\r\nD00\r\n");
    dir.Write("qorvale.ecn", "Queen's Pawn Game\r\nQueen's Pawn Game: Double\r\n");
    dir.Write("qorvale.ecm", "1.d4\r\n1.d4 d5\r\n");
    struct Step {
        std::string line;
        std::string mode;
        std::string out;
    };
    const Step steps[] = {
        {"1.d4 d5 2.c4", "closest", "D00\tQueen's Pawn Game: Double\t1.d4 d5\n"},
        {"1.d4", "exact", "A40\tQueen's Pawn Game\t1.d4\n"},
        {"1.d4 Nf6", "exact", ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.line);
        ToolRun run =
            RunTool({"eco", "--line", step.line, "--mode", step.mode, "--table", dir.path()});
        EXPECT_EQ(run.exit_code, step.out.empty() ? 1 : 0) << run.err;
        EXPECT_EQ(run.out, step.out);
    }
    ToolRun check = RunTool({"eco-edit", "check", "--table", dir.path()});
    EXPECT_EQ(check.exit_code, 0) << check.err;
    EXPECT_NE((check.out + check.err).find("The ECO table is OK and has 2 entries."),
              std::string::npos);
}

TEST(EcoEditCommand, AddsALineAndRestoresThePreviousTable) {
    TempDir dir;
    for (const char* name : {"qorvale.eco", "qorvale.ecn", "qorvale.ecm"}) {
        dir.Write(name, ReadWholeFile(std::string(QORVALE_DATA_DIR) + "/" + name));
    }
    const std::string codes = ReadWholeFile(dir.File("qorvale.eco"));
    ToolRun added = RunTool({"eco-edit", "add", "--line", "1.a3 a6 2.b4 b5 3.c4", "--name",
                             "Symmetry", "--table", dir.path()});
    ASSERT_EQ(added.exit_code, 0) << added.err;
    EXPECT_NE(added.err.find("The line has been added."), std::string::npos);
    EXPECT_EQ(ReadWholeFile(dir.File("qorvale.eco")).size(), codes.size() + 5);
    ToolRun tree = RunTool({"tree", dir.path(), "--source", "eco", "--line", "1.a3 a6 2.b4 b5"});
    EXPECT_NE(tree.out.find("c4\t1\t1\t0\t1\t0\t"), std::string::npos) << tree.out;

    EXPECT_EQ(RunTool({"eco-edit", "restore", "--table", dir.path()}).exit_code, 1);
    EXPECT_EQ(RunTool({"eco-edit", "restore", "--table", dir.path(), "--yes"}).exit_code, 0);
    EXPECT_EQ(ReadWholeFile(dir.File("qorvale.eco")), codes);
}

}  // namespace
}  // namespace qorvale::test
