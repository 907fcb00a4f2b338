#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "openings/opening_files.h"
#include "platform/file.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace qorvale::test {
namespace {

const std::string DataFolder = QORVALE_DATA_DIR;
const std::string Usage =
    "usage: qorvale-tool eco FILE|--line L [--game N] [--mode M] [--table DIR] [--summary]\n";

// Capablanca - Corzo 1901 reaches a Four Knights line by the Scotch order and leaves it at move
// 7; Carlsen - Morozevich 2011 reaches the Queen's Gambit from 1.Nf3; the third game has no moves.
TEST(EcoCommand, NamesEachGamesOpeningOrSaysWhyNot) {
    // A copy: the tool writes the offset cache beside the file it reads.
    TempDir dir;
    const std::string games = dir.CopyData("eco/three_games.pgn", "three_games.pgn");
    TempDir empty;
    struct Row {
        std::vector<std::string> arguments;
        int exit_code;
        std::string out, err;
    } rows[] = {
        {{"eco", games, "--table", DataFolder},
         0,
         "1\tC45\tScotch Game: Schmidt Variation\n2\tD24\tQueen's Gambit Accepted\n3\t\t\n",
         ""},
        {{"eco", games, "--game", "2", "--table", DataFolder, "--summary"},
         0,
         "2\tD24\tQueen's Gambit Accepted\n",
         "games 1  named 1  tagged 1  agree 0 (0.0%)\n"},
        // Whole games are longer than every line: the exact-length modes find nothing.
        {{"eco", games, "--mode", "exact", "--table", DataFolder}, 0, "1\t\t\n2\t\t\n3\t\t\n", ""},
        {{"eco", games, "--table", empty.path()}, 1, "", "ECO table corruption.\n"},
        {{"eco", games, "--game", "4", "--table", DataFolder},
         1,
         "",
         "qorvale-tool: the file has 3 games\n"},
        {{"eco", games, "--mode", "best"}, 2, "", Usage},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments[2]);
        ToolRun run = RunTool(row.arguments);
        EXPECT_EQ(run.exit_code, row.exit_code);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, row.err);
    }
}

TEST(EcoBuildCommand, WritesTheTableThatEcoExportInstalls) {
    TempDir dir;
    std::string long_line = "1. Nf3 Nf6";
    for (int move = 2; move <= 31; ++move) long_line += " " + std::to_string(move) + ". Nc3 Nc6";
    std::string list = dir.Write("x.tsv",
                                 "eco\tname\tpgn\n"
                                 "C20\tKing's Pawn Game\t1. e4 e5\n"
                                 "B00\tIllegal\t1. e4 e5 2. Ke3\n"
                                 "A00\tToo long\t" +
                                     long_line +
                                     "\n"
                                     "A01\tNimzo-Larsen Attack\t1. b3\n");
    ToolRun run = RunTool({"eco-build", list, dir.File("table")});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "2 entries, 2 dropped\n");
    EXPECT_TRUE(run.err.starts_with("dropped x.tsv:3: ")) << run.err;
    EXPECT_NE(run.err.find("\ndropped x.tsv:4: longer than 30 moves (62 half-moves)\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadWholeFile(dir.File("table/qorvale.eco")), "C20\r\nA01\r\n");
    EXPECT_EQ(ReadWholeFile(dir.File("table/qorvale.ecn")),
              "King's Pawn Game\r\nNimzo-Larsen Attack\r\n");
    EXPECT_EQ(ReadWholeFile(dir.File("table/qorvale.ecm")), "1.e4 e5\r\n1.b3\r\n");

    TempDir home;
    ToolRun exported =
        RunTool({"eco-export", "--table", dir.File("table")}, {"QORVALE_HOME=" + home.path()});
    EXPECT_EQ(exported.exit_code, 0);
    EXPECT_EQ(exported.out, "2 entries\n");
    EXPECT_TRUE(platform::FileExists(openings::OpeningsFilePath(home.path(), "Ecocodes.pgn")));
    EXPECT_EQ(RunTool({"eco-build", "a.tsv"}).err,
              "usage: qorvale-tool eco-build TSV... OUT_DIR\n");
}

}  // namespace
}  // namespace qorvale::test
