#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

TEST(ShowCommand, PrintsHeaderMovesAndAnnotationsAsTheWindowShowsThem) {
    TempDir dir;
    std::string path = dir.CopyData("lines/short_annotated.pgn", "games.pgn");
    struct Row {
        const char* game;
        std::vector<std::string> lines;
    };
    auto columns = [](std::string label, std::string first, std::string second) {
        first.resize(30, ' ');
        return label + first + second;
    };
    const Row rows[] = {
        {"1",
         {columns("Event:  ", "Club championship", "Site:  Leiden"),
          columns("Date:   ", "1999.03.14", "Round: 4"),
          columns("White:  ", "de Vries, Anna", "Black: Jansen, Piet"),
          columns("Result: ", "1-0", "ECO:   C33"), "", "{King's gambit}", "1. e4 e5",
          "2. f4 $Good move$ exf4 (2... d5 3. exd5)", "3. Bc4 Qh4+",
          "4. Kf1 b5 $Questionable move$", "5. Bxb5 Nf6", "6. Nf3 { a line comment} Qh6", "7. d3"}},
        // A study from move 31 with Black to move: numbers follow the FEN.
        {"2",
         {columns("Event:  ", "Training", "Site:  ?"),
          columns("Date:   ", "2001.??.??", "Round: ?"),
          columns("White:  ", "Black to move", "Black: Study"), columns("Result: ", "0-1", ""), "",
          "31... Rd1#"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.game);
        ToolRun run = RunTool({"show", path, row.game});
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.err, "");
        std::string expected;
        for (const std::string& line : row.lines) expected += line + "\n";
        EXPECT_EQ(run.out, expected);
    }
}

TEST(ShowCommand, RefusesBadArgumentsAndMissingGames) {
    TempDir dir;
    std::string path = dir.CopyData("lines/short_annotated.pgn", "games.pgn");
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
        std::string err;
    };
    const Row rows[] = {
        {"game past the end", {"show", path, "3"}, 1, "Error finding game.\n"},
        {"game zero", {"show", path, "0"}, 2, "usage: qorvale-tool show FILE N\n"},
        {"not a number", {"show", path, "two"}, 2, "usage: qorvale-tool show FILE N\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST(CheckLoadCommand, SummarisesEveryGameOfTheFile) {
    struct Row {
        const char* data;
        const char* summary;
    };
    // Counted by hand from the files: 13 and 2 half-moves (the black-first place counts), one
    // game annotated; the longest game cut
    // at 200 moves; black2move's long castling is not allowed in its position.
    const Row rows[] = {
        {"lines/short_annotated.pgn",
         "games 2  half-moves 15  annotated 1  cut-at-200 0  unplayable 0\n"},
        {"lines/FIDE_longest_possible_game.pgn",
         "games 1  half-moves 400  annotated 0  cut-at-200 1  unplayable 0\n"},
        {"lines/black2move.pgn",
         "games 1  half-moves 4  annotated 0  cut-at-200 0  unplayable 1\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.data);
        TempDir dir;
        ToolRun run = RunTool({"check-load", dir.CopyData(row.data, "games.pgn")});
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.out, row.summary);
    }
}

}  // namespace
}  // namespace qorvale::test
