#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_folder.h"
#include "app/game_list.h"
#include "base/bytes.h"
#include "openings/eco_line_trie.h"
#include "openings/eco_table.h"
#include "openings/opening_files.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "search/header_file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

std::string Eco(const GameListRecord& record) { return std::string(record.ECO.data()); }

openings::EcoTable ProgramTable() {
    openings::EcoTable table;
    test::RecordingUi ui;
    EXPECT_TRUE(
        openings::LoadEcoTable(openings::EcoTableFilesIn(ProgramDataFolder()), table, ui).ok());
    return table;
}

struct Game {
    const char* name;
    std::string text;   // the game's PGN text
    const char* eco;    // the list's ECO field
    const char* group;  // layout 1's opening group
};

std::string Tags(const std::string& white, const std::string& extra = "") {
    return "[Event \"Test\"]\n[White \"" + white + "\"]\n[Black \"B\"]\n[Result \"1-0\"]\n" + extra;
}

// One file with every case: the games read in one pass, each game's first movetext line seen
// only while skipping to the next game (and to the end of the file for the last one).
const std::vector<Game>& Games() {
    static const std::vector<Game> games = {
        {"ECO tag kept over its moves",
         Tags("Tagged", "[ECO \"C20\"]\n") + "\n1.e4 c5 2.Nf3 d6 3.d4 cxd4 1-0\n", "C20",
         "Open game"},
        {"Najdorf 7...Be7 without a tag",
         Tags("Najdorf") +
             "\n1.e4 c5 2.Nf3 d6 3.d4 cxd4 4.Nxd4 Nf6 5.Nc3 a6 6.Bg5 e6 7.f4 Be7\n8.Qf3 1-0\n",
         "B98", "Sicilian"},
        {"French Winawer 4.e5 c5, spaced numbers",
         Tags("Winawer") + "\n1. e4 e6 2. d4 d5 3. Nc3 Bb4 4. e5 c5 1-0\n", "C17", "French"},
        {"Nimzo-Indian with a comment",
         Tags("Nimzo") + "\n1.d4 Nf6 2.c4 {the usual} e6 3.Nc3 Bb4 4.e3 O-O 1-0\n", "E46",
         "Nimzo-Indian"},
        {"movetext right after the tags",
         Tags("NoBlank") + "1.e4 c6 2.d4 d5 3.Nc3 dxe4 4.Nxe4 Bf5 1-0\n", "B15", "Caro-Kann"},
        {"first line is an unclosed comment",
         Tags("Comment") + "\n{A long note that goes on\nover two lines} 1.e4 e5 1-0\n", "", "???"},
        {"empty ECO tag is no opening", Tags("Empty", "[ECO \"\"]\n") + "\n1.e4 c5 1-0\n", "",
         "???"},
        {"set-up position is not named",
         Tags("Setup", "[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]\n") + "\n1.e4 Kd7 1-0\n", "",
         "???"},
        {"last game without a tag", Tags("Last") + "\n1.d4 d5 2.c4 1-0\n", "D06", "QGD"},
    };
    return games;
}

TEST(GameListClassificationTest, GamesWithoutEcoGetTheCodeOfTheirFirstLine) {
    test::TempDir folder;
    std::string text;
    for (const Game& game : Games()) text += game.text + "\n";
    const std::string path = folder.Write("mixed.pgn", text);
    const openings::EcoTable table = ProgramTable();
    const openings::EcoLineTrie classifier(table);
    pgn::PgnFile file;
    test::RecordingUi ui;
    ASSERT_FALSE(file.Open(path));
    ASSERT_EQ(file.ScanGameFile(false, ui), static_cast<std::int32_t>(Games().size()));

    GameListBuild build = BuildGameListRecords(file, ui, &classifier);
    EXPECT_EQ(build.source, GameListSource::PgnText);
    ASSERT_EQ(build.records.size(), Games().size());
    for (std::size_t k = 0; k < Games().size(); ++k) {
        SCOPED_TRACE(Games()[k].name);
        EXPECT_EQ(Eco(build.records[k]), Games()[k].eco);
        const std::string line = GameListLine(build.records[k], static_cast<int>(k + 1), 1);
        EXPECT_EQ(line.substr(line.size() - 17),
                  (std::string(Games()[k].group) + "                 ").substr(0, 17));
    }
    // Without a classifier the records hold the tags only.
    GameListBuild plain = BuildGameListRecords(file, ui);
    EXPECT_EQ(Eco(plain.records[0]), "C20");
    EXPECT_EQ(Eco(plain.records[1]), "");
    EXPECT_TRUE(ui.reports.empty());
}

TEST(GameListClassificationTest, HeaderFileKeepsTheStoredTag) {
    test::TempDir folder;
    const std::string path =
        folder.Write("two.pgn", Games()[1].text + "\n" + Games()[0].text + "\n");
    std::vector<std::uint8_t> bytes;
    AppendU32(bytes, 2);
    for (const char* eco : {"", "C20"}) {
        search::HeaderValues values = {"W", "B", "1-0", "2001", eco, "", "", "1", "E", "S"};
        search::AppendHeaderRecord(bytes, values);
    }
    platform::File header = platform::File::Create(search::DerivedPath(path, "TRH"));
    ASSERT_TRUE(header.Write(bytes.data(), static_cast<std::int64_t>(bytes.size())));
    header.Close();
    const openings::EcoTable table = ProgramTable();
    const openings::EcoLineTrie classifier(table);
    pgn::PgnFile file;
    test::RecordingUi ui;
    ASSERT_FALSE(file.Open(path));
    file.ScanGameFile(false, ui);
    GameListBuild build = BuildGameListRecords(file, ui, &classifier);
    EXPECT_EQ(build.source, GameListSource::HeaderFile);
    ASSERT_EQ(build.records.size(), 2u);
    EXPECT_EQ(Eco(build.records[0]), "");
    EXPECT_EQ(Eco(build.records[1]), "C20");
}

TEST(GameListClassificationTest, EcoDifferenceColumn) {
    struct Row {
        const char* name;
        const char* eco;
        const char* classified;
        int layout;
        std::string column;  // the line's end
    };
    const std::vector<Row> rows = {
        {"code and found code", "B33", "B40", 0, "B33/B40"},
        {"longer tag cut to three", "B33a", "B32", 0, "B33/B32"},
        {"nothing found", "C20", "", 0, "C20/   "},
        {"no tag", "", "A00", 0, "/A00   "},
        {"other layouts unchanged", "B33", "B40", 1, "Sicilian         "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const GameListRecord record = MakeGameListRecord(
            {"White", "Black", "1-0", "1990.01.02", row.eco, "", "", "1", "Ev", "Si"});
        const std::string line = GameListLine(record, 7, row.layout, row.classified);
        EXPECT_EQ(line.substr(line.size() - row.column.size()), row.column);
        // Everything before the ECO column is the plain line's.
        const std::string plain = GameListLine(record, 7, row.layout);
        EXPECT_EQ(line.substr(0, 60), plain.substr(0, 60));
    }
}

// The openings files of an install folder: Ecocodes.pgn as exported, and Openings.pgn, whose
// games carry no Opening tag.
struct InstallFolder {
    test::TempDir home;
    std::string openings;

    InstallFolder() {
        openings = platform::JoinPath(home.path(), openings::OpeningsFolderName);
        EXPECT_TRUE(platform::CreateFolder(openings));
    }
    std::string Write(const std::string& name, const std::string& text) const {
        const std::string path = platform::JoinPath(openings, name);
        platform::File file = platform::File::Create(path);
        EXPECT_TRUE(file.Write(reinterpret_cast<const std::uint8_t*>(text.data()),
                               static_cast<std::int64_t>(text.size())));
        return path;
    }
};

const std::string EcoCodesText =
    "[ECO \"A00\"]\r\n[Opening \"Polish\"]\r\n\r\n1.b4\r\n\r\n"
    "[ECO \"B20\"]\r\n[Opening \"Sicilian\"]\r\n[Variation \"Wing Gambit\"]\r\n\r\n"
    "1.e4 c5 2.b4\r\n";

TEST(GameListClassificationTest, OpeningNamesModeIsForTheOpeningsFolder) {
    InstallFolder install;
    const std::string user_copy = install.home.Write("mine.pgn", EcoCodesText);
    struct Row {
        const char* name;
        std::string path;
        bool mode;
    };
    const std::vector<Row> rows = {
        {"exported names file", install.Write("Ecocodes.pgn", EcoCodesText), true},
        {"games without Opening tags",
         install.Write("Openings.pgn",
                       "[White \"White\"]\r\n[Black \"Black\"]\r\n[Result \"*\"]\r\n"
                       "[ECO \"A00\"]\r\n1.b4 *\r\n"),
         false},
        {"same tags outside the folder", user_copy, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(InOpeningsFolder(row.path, install.home.path()), row.path != user_copy);
        pgn::PgnFile file;
        test::RecordingUi ui;
        ASSERT_FALSE(file.Open(row.path));
        file.ScanGameFile(false, ui);
        EXPECT_EQ(UsesOpeningNames(file, install.home.path(), ui), row.mode);
        EXPECT_FALSE(UsesOpeningNames(file, "", ui));
    }
}

TEST(GameListClassificationTest, OpeningNamesLinesOfTheExportedFile) {
    InstallFolder install;
    const std::string path = install.Write("Ecocodes.pgn", EcoCodesText);
    pgn::PgnFile file;
    test::RecordingUi ui;
    ASSERT_FALSE(file.Open(path));
    ASSERT_EQ(file.ScanGameFile(false, ui), 2);
    const std::vector<std::string> lines = BuildOpeningNamesLines(file, ui);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"   1 A00 Polish", "   2 B20 Sicilian-Wing Gambit"}));
    // No records and so no list cache are made for it.
    EXPECT_FALSE(platform::FileExists(GameListCachePath(path)));
    EXPECT_TRUE(ui.reports.empty());
}

}  // namespace
}  // namespace qorvale::app
