#include "openings/opening_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chess/chess_state.h"
#include "eco_test_table.h"
#include "openings/eco_position_file.h"
#include "platform/file.h"
#include "search/fast_file_reader.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::openings {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::RecordingUi;
using qorvale::test::TempDir;
using test::TableOf;

const std::string EightMoves = "1.a3 a6 2.b3 b6 3.c3 c6 4.d3 d6 5.e3 e6 6.f3 f6 7.g3 g6 8.h3 h6";

TEST(BreakMovesLines, BreaksLongLinesBeforeAMoveNumber) {
    std::string knight_dance;
    for (int move = 1; move < 60; move += 2) {
        if (move > 1) knight_dance += ' ';
        knight_dance += std::to_string(move) + ".Nf3 Nf6 " + std::to_string(move + 1) + ".Ng1 Ng8";
    }
    struct Row {
        const char* name;
        std::string moves;
        std::vector<std::string> lines;
    } rows[] = {
        {"75 characters", EightMoves + " 9.Nge2 Nge7", {EightMoves + " 9.Nge2 Nge7"}},
        {"76 characters", EightMoves + " 9.Nge2 Ngxe7", {EightMoves, " 9.Nge2 Ngxe7"}},
        {"three lines",
         "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 O-O 8.c3 d5 9.exd5 Nxd5 "
         "10.Nxe5 Nxe5 11.Rxe5 c6 12.d4 Bd6 13.Re1 Qh4 14.g3 Qh3 15.Be3 Bg4 16.Qd3 Rae8 17.Nd2 "
         "Re6 18.a4 Qh5",
         {"1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 O-O",
          " 8.c3 d5 9.exd5 Nxd5 10.Nxe5 Nxe5 11.Rxe5 c6 12.d4 Bd6 13.Re1 Qh4",
          " 14.g3 Qh3 15.Be3 Bg4 16.Qd3 Rae8 17.Nd2 Re6 18.a4 Qh5"}},
        {"no move number to break at", std::string(80, 'x'), {std::string(80, 'x')}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BreakMovesLines(row.moves), row.lines);
    }
    // Thirty knight moves out and back: three breaks, and the fourth line takes the rest whole.
    std::vector<std::string> lines = BreakMovesLines(knight_dance);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0] + lines[1] + lines[2] + lines[3], knight_dance);
    EXPECT_TRUE(lines[1].starts_with(" 8.") && lines[2].starts_with(" 14.") &&
                lines[3].starts_with(" 20."))
        << lines[1] << "|" << lines[2] << "|" << lines[3];
}

TEST(ExportedName, CutsNamesOf70CharactersAtASpace) {
    const std::string sixty_five(65, 'n');
    struct Row {
        const char* name;
        std::string in;
        std::string out;
    } rows[] = {
        {"69 characters", sixty_five + " abc", sixty_five + " abc"},
        {"70 characters", sixty_five + " abcd", sixty_five},
        {"space at index 69", std::string(69, 'n') + " b", std::string(69, 'n')},
        {"two spaces", "a " + sixty_five + " abcdef", "a " + sixty_five},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ExportedName(row.in), row.out);
    }
}

const std::vector<test::TableRow> ExportRows = {
    {"C20", "King's Pawn Game", "1.e4 e5"},
    {"A00", "Polish Opening", "1.b4"},
    {"C60", "Ruy Lopez", EightMoves + " 9.Nge2 Ngxe7"},
};

TEST(OpeningFileText, WritesTagsNamesAndMovesLines) {
    EcoTable table = TableOf(ExportRows);
    EXPECT_EQ(OpeningFileText(table, table.CodeOrder()),
              "[ECO \"A00\"]\r\n[Opening \"Polish Opening\"]\r\n\r\n1.b4\r\n\r\n"
              "[ECO \"C20\"]\r\n[Opening \"King's Pawn Game\"]\r\n\r\n1.e4 e5\r\n\r\n"
              "[ECO \"C60\"]\r\n[Opening \"Ruy Lopez\"]\r\n\r\n" +
                  EightMoves + "\r\n 9.Nge2 Ngxe7\r\n");
    const std::string tags =
        "[White \"White\"]\r\n[Black \"Black\"]\r\n[Date \"????.??.??\"]\r\n"
        "[Result \"*\"]\r\n";
    EXPECT_EQ(OpeningsGamesText(table), tags + "[ECO \"A00\"]\r\n1.b4 *\r\n\r\n" + tags +
                                            "[ECO \"C20\"]\r\n1.e4 e5 *\r\n\r\n" + tags +
                                            "[ECO \"C60\"]\r\n" + EightMoves +
                                            "\r\n 9.Nge2 Ngxe7 *\r\n");
}

// The boards of a table line played by the chess rules, one per half-move.
std::vector<chess::Board64> PlayedBoards(std::string_view moves) {
    OpeningGame game = test::GameOf(std::string(moves));
    chess::MainLineMoves line;
    for (int i = 0; i < game.WhiteCount(); ++i)
        line.WhiteMoves[static_cast<std::size_t>(i)] = game.White(i);
    for (int i = 0; i < game.BlackCount(); ++i)
        line.BlackMoves[static_cast<std::size_t>(i)] = game.Black(i);
    auto chess = std::make_unique<chess::ChessState>();
    chess->SetStartPosition();
    int plies = chess->ReplayToHalfMove(line, game.WhiteCount());
    std::vector<chess::Board64> boards;
    for (int ply = 1; ply <= plies; ++ply) {
        chess::Board64 board{};
        for (std::size_t square = 0; square < 64; ++square) {
            board[square] = static_cast<std::uint8_t>(chess->PositionHistory(ply)[square]);
        }
        boards.push_back(board);
    }
    return boards;
}

TEST(EcoPositionFile, HoldsTheBoardsOfEveryLineInCodeOrder) {
    TempDir dir;
    // Castling both ways, en passant and an under-promotion, so that every special case of the
    // position rules is written.
    EcoTable table = TableOf({
        {"C00", "Promotion", "1.e4 d5 2.exd5 c6 3.dxc6 Qb6 4.cxb7 Kd8 5.bxa8=N"},
        {"B00", "En passant", "1.e4 a6 2.e5 d5 3.exd6 Nc6 4.Nf3 Bg4 5.Be2 Qd7 6.O-O O-O-O"},
        {"A00", "Short", "1.b4"},
    });
    EcoDataOptions options;
    ExportOpeningFiles(table, dir.path(), options);
    RecordingUi ui;
    ASSERT_TRUE(RebuildEcoCodesFastFile(dir.path(), ui).ok());
    const std::string ecd = dir.File("qorvale.ecd");
    ASSERT_TRUE(BuildEcoPositionFile(EcoCodesFastFilePath(dir.path()), ecd, ui).ok());
    EXPECT_TRUE(ui.reports.empty());

    std::string expected;
    for (std::int32_t entry : table.CodeOrder()) {
        for (const chess::Board64& board : PlayedBoards(table.Moves(entry))) {
            expected.append(board.begin(), board.end());
        }
    }
    EXPECT_EQ(expected.size(), (1 + 9 + 12) * 64u);
    EXPECT_EQ(ReadWholeFile(ecd), expected);
}

TEST(EcoPositionFile, ReportsWhatStopsIt) {
    TempDir dir;
    RecordingUi ui;
    EXPECT_EQ(RebuildEcoCodesFastFile(dir.path(), ui).message(), "Error opening Ecocodes.pgn");
    std::vector<search::GameRecord> records(1);
    records[0].codes = {0x1B19};
    EXPECT_EQ(BuildEcoPositionFile(records, dir.File("no/such/qorvale.ecd"), ui).message(),
              "Initialization error.");
    EXPECT_EQ(ui.reports,
              (std::vector<std::string>{"Error opening Ecocodes.pgn", "Initialization error."}));
}

TEST(InitialiseEcoData, ExportsOnlyWhenTheDataIsStale) {
    struct Row {
        const char* name;
        std::int32_t ready, version, prepared;
        bool exported, games_written;
    } rows[] = {
        {"current", 1, 5, 1, false, false},
        {"never exported", 0, 5, 1, true, false},
        {"old version", 1, 4, 1, true, false},
        {"openings not prepared", 1, 5, 0, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        test::WriteTable(dir, test::TextsOf(ExportRows));
        dir.Write("qorvale.ecd", "old");
        std::int32_t ready = row.ready, version = row.version, prepared = row.prepared;
        int saves = 0;
        EcoDataOptions options{&ready, &version, &prepared, [&saves] { ++saves; }};
        EcoTable table;
        RecordingUi ui;
        InitialiseEcoData(table, dir.path(), options, ui);
        EXPECT_EQ(table.count(), 3);
        EXPECT_TRUE(ui.reports.empty());
        EXPECT_TRUE(ready == 1 && version == 5 && prepared == 1);
        EXPECT_EQ(saves, row.exported + row.games_written);
        EXPECT_EQ(platform::FileExists(EcoCodesFastFilePath(dir.path())), row.exported);
        EXPECT_EQ(platform::FileExists(dir.File("qorvale.ecd")), !row.exported);
        // Each file in its own order: by code, by moves (1.a3 first), by name.
        std::string first_tags;
        for (const char* file : {"Ecocodes.pgn", "Ecomoves.pgn", "Econames.pgn"}) {
            first_tags += ReadWholeFile(OpeningsFilePath(dir.path(), file)).substr(0, 13);
        }
        EXPECT_EQ(first_tags,
                  row.exported ? "[ECO \"A00\"]\r\n[ECO \"C60\"]\r\n[ECO \"C20\"]\r\n" : "");
        EXPECT_EQ(ReadWholeFile(OpeningsFilePath(dir.path(), "Openings.pgn")),
                  row.games_written ? OpeningsGamesText(table) : "");
    }
}

}  // namespace
}  // namespace qorvale::openings
