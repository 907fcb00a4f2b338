#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "openings/eco_table.h"
#include "openings/opening_files.h"
#include "platform/file.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

const std::string DataFolder = QORVALE_DATA_DIR;

std::string Games() { return TestDataPath("eco/three_games.pgn"); }

// Capablanca - Corzo 1901 reaches a Four Knights line by the Scotch order and leaves it at move 7;
// Carlsen - Morozevich 2011 reaches the Queen's Gambit from 1.Nf3; the third game has no moves.
TEST(EcoCommand, NamesEachGamesOpening) {
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        std::string out;
    } rows[] = {
        {"closest match",
         {"eco", Games(), "--table", DataFolder},
         "1\tC45\tScotch Game: Schmidt Variation\n2\tD24\tQueen's Gambit Accepted\n3\t\t\n"},
        {"one game",
         {"eco", Games(), "--game", "2", "--table", DataFolder},
         "2\tD24\tQueen's Gambit Accepted\n"},
        // The whole games are longer than every line: the exact-length modes find nothing.
        {"exact variation",
         {"eco", Games(), "--mode", "exact", "--table", DataFolder},
         "1\t\t\n2\t\t\n3\t\t\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, "");
    }
    ToolRun summary = RunTool({"eco", Games(), "--table", DataFolder, "--summary"});
    // Two games carry a tag (C47, D37); neither agrees with the code the table gives.
    EXPECT_EQ(summary.err, "games 3  named 2  tagged 2  agree 0 (0.0%)\n");
}

TEST(EcoCommand, ReportsFailures) {
    TempDir dir;
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int exit_code;
        std::string err;
    } rows[] = {
        {"no table", {"eco", Games(), "--table", dir.path()}, 1, "ECO table corruption.\n"},
        {"no file",
         {"eco", dir.File("none.pgn"), "--table", DataFolder},
         1,
         "Error opening file.\n"},
        {"game beyond the file",
         {"eco", Games(), "--game", "4", "--table", DataFolder},
         1,
         "qorvale-tool: the file has 3 games\n"},
        {"unknown mode",
         {"eco", Games(), "--mode", "best"},
         2,
         "usage: qorvale-tool eco FILE [--game N] [--mode M] [--table DIR] [--summary]\n"},
        {"no game number",
         {"eco", Games(), "--game", "x"},
         2,
         "usage: qorvale-tool eco FILE [--game N] [--mode M] [--table DIR] [--summary]\n"},
        {"build without output",
         {"eco-build", "a.tsv"},
         2,
         "usage: qorvale-tool eco-build TSV... OUT_DIR\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST(EcoBuildCommand, WritesTheTableFilesAndListsDroppedRows) {
    TempDir dir;
    std::string list = dir.Write("x.tsv",
                                 "eco\tname\tpgn\n"
                                 "C20\tKing's Pawn Game\t1. e4 e5\n"
                                 "B00\tIllegal\t1. e4 e5 2. Ke3\n"
                                 "A01\tNimzo-Larsen Attack\t1. b3\n");
    ToolRun run = RunTool({"eco-build", list, dir.File("table")});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "2 entries, 1 dropped\n");
    EXPECT_TRUE(run.err.starts_with("dropped x.tsv:3: ")) << run.err;
    EXPECT_EQ(ReadWholeFile(dir.File("table/qorvale.eco")), "C20\r\nA01\r\n");
    EXPECT_EQ(ReadWholeFile(dir.File("table/qorvale.ecn")),
              "King's Pawn Game\r\nNimzo-Larsen Attack\r\n");
    EXPECT_EQ(ReadWholeFile(dir.File("table/qorvale.ecm")), "1.e4 e5\r\n1.b3\r\n");

    // The built table is what eco-export then installs.
    TempDir home;
    ToolRun exported =
        RunTool({"eco-export", "--table", dir.File("table")}, {"QORVALE_HOME=" + home.path()});
    EXPECT_EQ(exported.exit_code, 0);
    EXPECT_EQ(exported.out, "2 entries\n");
    for (std::string_view name : {"Ecocodes.pgn", "Ecomoves.pgn", "Econames.pgn", "Openings.pgn"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(platform::FileExists(openings::OpeningsFilePath(home.path(), name)));
    }
    EXPECT_EQ(platform::FileSize(openings::EcoCodesFastFilePath(home.path())),
              (2 + 1) * 2 + (1 + 1) * 2 + 2);  // 1.e4 e5 and 1.b3, result words, end mark
}

}  // namespace
}  // namespace qorvale::test
