#include "app/game_list.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "search/header_file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

GameListRecord Record(std::string_view white, std::string_view black, std::string_view result,
                      std::string_view round = "1", std::string_view white_elo = "",
                      std::string_view black_elo = "", std::string_view eco = "B33") {
    return MakeGameListRecord(
        {white, black, result, "1990.01.02", eco, white_elo, black_elo, round, "Linares", "Spain"});
}

template <std::size_t N>
std::string Field(const std::array<char, N>& field) {
    return std::string(field.data());
}

TEST(GameListTest, RecordFields) {
    struct Row {
        const char* name;
        GameListValues values;
        std::string white, result, round, event;
        std::int32_t white_elo, black_elo;
    };
    const std::vector<Row> rows = {
        {"plain",
         {"Kasparov, G", "Karpov, A", "1-0", "1985", "B44", "2700", "2720", "16", "WCh", "Moscow"},
         "Kasparov, G",
         "1-0",
         "16",
         "WCh",
         2700,
         2720},
        {"long names are cut to 19",
         {"Abcdefghijklmnopqrstuvwxyz", "B", "1/2-1/2 (adj)", "", "", "", "", "4.1",
          "A very long event name", ""},
         "Abcdefghijklmnopqrs",
         "1/2-1/2",
         "4",
         "A very long event n",
         0,
         0},
        {"round with a word",
         {"A", "B", "*", "", "", "?", "x", "R3", "", ""},
         "A",
         "*",
         "3",
         "",
         0,
         0},
        {"unknown round", {"A", "B", "*", "", "", "", "", "?", "", ""}, "A", "*", "?", "", 0, 0},
        {"long round", {"A", "B", "*", "", "", "", "", "1234", "", ""}, "A", "*", "123", "", 0, 0},
        {"round 12.3", {"A", "B", "*", "", "", "", "", "12.3", "", ""}, "A", "*", "12", "", 0, 0},
        {"elo with text",
         {"A", "B", "*", "", "", " 2650?", "-5", "", "", ""},
         "A",
         "*",
         "",
         "",
         2650,
         -5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameListRecord record = MakeGameListRecord(row.values);
        EXPECT_EQ(Field(record.White), row.white);
        EXPECT_EQ(Field(record.Result), row.result);
        EXPECT_EQ(Field(record.Round), row.round);
        EXPECT_EQ(Field(record.Event), row.event);
        EXPECT_EQ(record.WhiteElo, row.white_elo);
        EXPECT_EQ(record.BlackElo, row.black_elo);
        // The record survives its 120 bytes.
        std::array<std::uint8_t, GameListRecordSize> bytes{};
        EncodeGameListRecord(record, bytes.data());
        GameListRecord back = DecodeGameListRecord(bytes.data());
        EXPECT_EQ(GameListLine(back, 7, 0), GameListLine(record, 7, 0));
        EXPECT_EQ(GameListLine(back, 7, 1), GameListLine(record, 7, 1));
        EXPECT_EQ(back.BlackElo, record.BlackElo);
    }
}

TEST(GameListTest, RecordBytesAreLittleEndianAtTheirOffsets) {
    GameListRecord record = Record("White", "Black", "0-1", "9", "2801", "258");
    std::array<std::uint8_t, GameListRecordSize> bytes{};
    EncodeGameListRecord(record, bytes.data());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 20), "Black");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 40), "0-1");
    EXPECT_EQ(bytes[68], 2801 & 0xFF);
    EXPECT_EQ(bytes[69], 2801 >> 8);
    EXPECT_EQ(bytes[72], 258 & 0xFF);
    EXPECT_EQ(bytes[73], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 76), "9");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 80), "Linares");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 100), "Spain");
}

TEST(GameListTest, LineLayouts) {
    GameListRecord record =
        Record("Topalov, Veselin", "Kramnik, Vladimir", "1/2-1/2", "4", "2813", "2750");
    struct Row {
        int layout;
        std::int32_t number;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {0, 12, "  12  Topalov, Veselin     Kramnik, Vladimir    1/2-1/2   1990.01.02   B33    "},
        {1, 12, "  12  Topalov, Veselin 2813  Kramnik, Vladimi 2750  1/2   4  ???              "},
        {2, 12, "  12  Topalov, Veselin     Kramnik, Vladimir     1/2   4   Linares            "},
        {3, 9999, "9999  Topalov, Veselin     Kramnik, Vladimir     1/2   4   Spain              "},
        {3, 10000,
         "10000 Topalov, Veselin     Kramnik, Vladimir     1/2   4   Spain              "},
        {0, 200000,
         "200000 Topalov, Veselin     Kramnik, Vladimir    1/2-1/2   1990.01.02   B33    "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.layout << " " << row.number);
        EXPECT_EQ(GameListLine(record, row.number, row.layout), row.expected);
    }
    // Without an Elo the name stands alone.
    GameListRecord no_elo = Record("Anand, V", "Short, N", "1-0", "10");
    EXPECT_EQ(GameListLine(no_elo, 1, 1, "Sicilian"),
              "   1  Anand, V               Short, N               1-0  10  Sicilian         ");
}

TEST(GameListTest, OpeningNamesAndSegments) {
    EXPECT_EQ(OpeningNamesLine(3, "B12", "Caro-Kann", "Advance"), "   3 B12 Caro-Kann-Advance");
    EXPECT_EQ(OpeningNamesLine(3, "B12", "Caro-Kann", ""), "   3 B12 Caro-Kann");
    struct Row {
        int segment;
        std::int32_t lines;
        std::int32_t first, last;
    };
    const std::vector<Row> rows = {
        {0, 500, 1, 500},          {0, 200000, 1, 130000},   {1, 200000, 1, 32500},
        {2, 200000, 32501, 65000}, {3, 70000, 65001, 70000}, {4, 200000, 97501, 200000},
        {4, 90000, 97501, 90000},  {1, 100, 1, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.segment << " of " << row.lines);
        auto [first, last] = GameListSegmentRange(row.segment, row.lines);
        EXPECT_EQ(first, row.first);
        EXPECT_EQ(last, row.last);
    }
    EXPECT_EQ(GameListCachePath("/games/twic.pgn"), "/games/twic.pgs");
}

// A file of `games` short real-looking games, each with its own White name and round.
std::string WriteGames(const test::TempDir& folder, std::string_view name, int games) {
    std::string text;
    for (int game = 1; game <= games; ++game) {
        text += "[Event \"Club\"]\n[Site \"Here\"]\n[Date \"2001.02.03\"]\n[Round \"" +
                std::to_string(game % 7 + 1) + "\"]\n[White \"Player " + std::to_string(game) +
                "\"]\n[Black \"Other\"]\n[Result \"1-0\"]\n[WhiteElo \"" +
                std::to_string(2000 + game % 500) +
                "\"]\n\n1. e4 e5 2. Nf3 {a comment\n[not a tag]} Nc6 1-0\n\n";
    }
    return folder.Write(name, text);
}

TEST(GameListTest, CacheIsWrittenAboveAThousandGames) {
    struct Row {
        int games;
        bool cache;
    };
    for (const Row& row : std::vector<Row>{{1000, false}, {1001, true}}) {
        SCOPED_TRACE(row.games);
        test::TempDir folder;
        const std::string path = WriteGames(folder, "club.pgn", row.games);
        pgn::PgnFile file;
        test::RecordingUi ui;
        ASSERT_FALSE(file.Open(path));
        ASSERT_EQ(file.ScanGameFile(false, ui), row.games);
        GameListBuild build = BuildGameListRecords(file, ui);
        EXPECT_EQ(build.source, GameListSource::PgnText);
        ASSERT_EQ(build.records.size(), static_cast<std::size_t>(row.games));
        EXPECT_EQ(Field(build.records[0].White), "Player 1");
        EXPECT_EQ(Field(build.records.back().White), "Player " + std::to_string(row.games));
        EXPECT_EQ(build.records[41].WhiteElo, 2042);
        EXPECT_EQ(build.cache_written, row.cache);
        EXPECT_EQ(platform::FileExists(folder.File("club.pgs")), row.cache);
        if (!row.cache) continue;
        EXPECT_EQ(platform::FileSize(folder.File("club.pgs")), 1001 * 120);
        GameListBuild again = BuildGameListRecords(file, ui);
        EXPECT_EQ(again.source, GameListSource::Cache);
        EXPECT_EQ(GameListLine(again.records[500], 501, 2),
                  GameListLine(build.records[500], 501, 2));
        EXPECT_TRUE(ui.reports.empty());
    }
}

TEST(GameListTest, CacheOfTheWrongSizeIsRewritten) {
    test::TempDir folder;
    const std::string path = WriteGames(folder, "club.pgn", 1200);
    folder.Write("club.pgs", std::string(1199 * 120, 'x'));
    pgn::PgnFile file;
    test::RecordingUi ui;
    ASSERT_FALSE(file.Open(path));
    file.ScanGameFile(false, ui);
    GameListBuild build = BuildGameListRecords(file, ui);
    EXPECT_EQ(build.source, GameListSource::PgnText);
    EXPECT_EQ(Field(build.records[1199].White), "Player 1200");
    EXPECT_EQ(platform::FileSize(folder.File("club.pgs")), 1200 * 120);
}

TEST(GameListTest, HeaderFileIsUsedWhenCurrent) {
    test::TempDir folder;
    const std::string path = WriteGames(folder, "club.pgn", 3);
    struct Row {
        const char* name;
        std::uint32_t stored_count;
        GameListSource source;
        bool warned;
    };
    const std::vector<Row> rows = {
        {"current", 3, GameListSource::HeaderFile, false},
        {"stale", 2, GameListSource::PgnText, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::uint8_t> bytes;
        AppendU32(bytes, row.stored_count);
        for (std::uint32_t game = 1; game <= row.stored_count; ++game) {
            search::HeaderValues values = {"From Fast " + std::to_string(game),
                                           "Other",
                                           "0-1",
                                           "2001",
                                           "C20",
                                           "2100",
                                           "",
                                           "R5",
                                           "Club",
                                           "Here"};
            search::AppendHeaderRecord(bytes, values);
        }
        platform::File header = platform::File::Create(search::DerivedPath(path, "TRH"));
        ASSERT_TRUE(header.Write(bytes.data(), static_cast<std::int64_t>(bytes.size())));
        header.Close();
        pgn::PgnFile file;
        test::RecordingUi ui;
        ASSERT_FALSE(file.Open(path));
        file.ScanGameFile(false, ui);
        GameListBuild build = BuildGameListRecords(file, ui);
        EXPECT_EQ(build.source, row.source);
        ASSERT_EQ(build.records.size(), 3u);
        EXPECT_EQ(Field(build.records[0].White),
                  row.source == GameListSource::HeaderFile ? "From Fast 1" : "Player 1");
        if (row.source == GameListSource::HeaderFile) {
            EXPECT_EQ(Field(build.records[2].Round), "5");
            EXPECT_EQ(build.records[2].WhiteElo, 2100);
        }
        EXPECT_EQ(ui.reports.size(), row.warned ? 1u : 0u);
        if (row.warned) {
            EXPECT_EQ(ui.reports[0], "Warning: You need to run 'Make Fast File' again.");
        }
    }
}

}  // namespace
}  // namespace qorvale::app
