#include "pgn/pgn_file.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "base/bytes.h"
#include "pgn/messages.h"
#include "pgn/offset_cache.h"
#include "platform/folder.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using qorvale::test::ReadWholeFile;
using qorvale::test::RecordingUi;
using qorvale::test::TempDir;

std::string Players() {
    return ReadWholeFile(qorvale::test::TestDataPath("scan/players_crlf.pgn"));
}

std::vector<std::uint32_t> Offsets(const PgnFile& file) {
    return {file.Index().Offsets().begin(), file.Index().Offsets().end()};
}

std::vector<std::uint8_t> CacheBytes(std::uint32_t size, const std::vector<std::uint32_t>& offsets,
                                     std::uint32_t count) {
    std::vector<std::uint8_t> bytes;
    AppendU32(bytes, size);
    AppendU32(bytes, count);
    for (std::uint32_t offset : offsets) AppendU32(bytes, offset);
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    platform::File file = platform::File::Create(path);
    ASSERT_TRUE(file.Write(bytes.data(), static_cast<std::int64_t>(bytes.size())));
}

TEST(OffsetCache, ScanWritesItAndTheNextOpenTrustsIt) {
    TempDir dir;
    std::string content = Players();
    std::string path = dir.Write("players.pgn", content);
    PgnFile file;
    ASSERT_TRUE(file.Open(path).ok());
    RecordingUi ui;
    std::int32_t count = file.ScanGameFile(false, ui);
    EXPECT_FALSE(file.LastScan().from_cache);
    std::string cache = ReadWholeFile(dir.File("players.PGO"));
    auto expected = CacheBytes(static_cast<std::uint32_t>(content.size()), Offsets(file),
                               static_cast<std::uint32_t>(count));
    EXPECT_EQ(cache, std::string(expected.begin(), expected.end()));

    // Same size, other offsets: the cache is believed, as only the size is compared.
    std::vector<std::uint32_t> fake = {0, 7, 9};
    WriteBytes(dir.File("players.PGO"),
               CacheBytes(static_cast<std::uint32_t>(content.size()), fake, 3));
    PgnFile reopened;
    ASSERT_TRUE(reopened.Open(path).ok());
    EXPECT_EQ(reopened.ScanGameFile(false, ui), 3);
    EXPECT_TRUE(reopened.LastScan().from_cache);
    EXPECT_EQ(Offsets(reopened), fake);
    // A forced scan ignores it.
    EXPECT_EQ(reopened.ScanGameFile(true, ui), count);
    EXPECT_FALSE(reopened.LastScan().from_cache);
    EXPECT_TRUE(ui.reports.empty());
}

TEST(OffsetCache, DamagedOrStaleCacheMeansARescan) {
    std::string content = Players();
    auto size = static_cast<std::uint32_t>(content.size());
    std::vector<std::uint32_t> good = {0, 100, 200};
    struct Row {
        const char* name;
        std::vector<std::uint8_t> cache;
        OffsetCacheRead::State state;
    } rows[] = {
        {"stale size", CacheBytes(size + 1, good, 3), OffsetCacheRead::State::Stale},
        {"short offsets", CacheBytes(size, good, 4), OffsetCacheRead::State::Corrupt},
        {"short header", {1, 2, 3}, OffsetCacheRead::State::Corrupt},
        {"empty file", {}, OffsetCacheRead::State::Corrupt},
        {"offsets out of order", CacheBytes(size, {0, 200, 100}, 3),
         OffsetCacheRead::State::Corrupt},
        {"offset past the end", CacheBytes(size, {0, size}, 2), OffsetCacheRead::State::Corrupt},
        {"too many games", CacheBytes(size, good, MaxGamesPerFile + 1),
         OffsetCacheRead::State::Corrupt},
        {"good", CacheBytes(size, good, 3), OffsetCacheRead::State::Current},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write("players.pgn", content);
        WriteBytes(dir.File("players.PGO"), row.cache);
        GameIndex index;
        EXPECT_EQ(ReadOffsetCache(dir.File("players.PGO"), size, index).state, row.state);
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        RecordingUi ui;
        std::int32_t count = file.ScanGameFile(false, ui);
        bool current = row.state == OffsetCacheRead::State::Current;
        EXPECT_EQ(file.LastScan().from_cache, current);
        if (!current) {
            EXPECT_EQ(count, 40);
            EXPECT_NE(ReadWholeFile(dir.File("players.PGO")),
                      std::string(row.cache.begin(), row.cache.end()));
        }
    }
}

TEST(PgnFile, RescanDeletesDerivedCachesAsTheirOwnersRequire) {
    struct Row {
        const char* name;
        std::int32_t cached_count;  // -1: no cache at all
        bool same_size;
        std::vector<std::string> left;
    } rows[] = {
        {"count changed", 39, false, {"players.DBG", "players.PGO", "players.TRM", "players.pgn"}},
        {"count kept",
         40,
         false,
         {"players.DBG", "players.PGO", "players.TRE", "players.TRM", "players.TRX",
          "players.pgn"}},
        {"no cache before",
         -1,
         false,
         {"players.DBG", "players.PGO", "players.TRM", "players.pgn"}},
        {"answered from the cache",
         40,
         true,
         {"players.DBG", "players.PGO", "players.TRE", "players.TRM", "players.TRX", "players.pgn",
          "players.pgq", "players.pgs", "players.pgx"}},
    };
    std::string content = Players();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write("players.pgn", content);
        for (const char* extension : {"pgs", "pgq", "pgx", "TRE", "TRX", "TRM", "DBG"}) {
            dir.Write(std::string("players.") + extension, "x");
        }
        if (row.cached_count >= 0) {
            PgnFile scanned;
            ASSERT_TRUE(scanned.Open(path).ok());
            GameIndex index;
            SilentUi silent;
            scanned.ScanGameFile(true, silent);
            std::vector<std::uint32_t> offsets = Offsets(scanned);
            offsets.resize(static_cast<std::size_t>(row.cached_count));
            auto size = static_cast<std::uint32_t>(content.size() + (row.same_size ? 0 : 1));
            WriteBytes(dir.File("players.PGO"),
                       CacheBytes(size, offsets, static_cast<std::uint32_t>(row.cached_count)));
            for (const char* extension : {"pgs", "pgq", "pgx", "TRE", "TRX"}) {
                dir.Write(std::string("players.") + extension, "x");
            }
        }
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        RecordingUi ui;
        file.ScanGameFile(false, ui);
        EXPECT_EQ(platform::ListFolder(dir.path(), "*"), row.left);
    }
}

TEST(PgnFile, StopsAtTheGameLimitAndWarns) {
    const std::string game = "[Event \"\"]\n\n";
    std::string content;
    content.reserve(game.size() * (MaxGamesPerFile + 2));
    for (int copy = 0; copy < MaxGamesPerFile + 2; ++copy) content += game;
    TempDir dir;
    std::string path = dir.Write("many.pgn", content);
    const std::string warning = "Warning: Maximum number 200000 games exceeded.";
    for (bool from_cache : {false, true}) {
        SCOPED_TRACE(from_cache ? "from cache" : "scan");
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        RecordingUi ui;
        EXPECT_EQ(file.ScanGameFile(false, ui), MaxGamesPerFile);
        EXPECT_EQ(file.LastScan().from_cache, from_cache);
        EXPECT_TRUE(file.LastScan().limit_reached);
        EXPECT_EQ(ui.reports, std::vector<std::string>{warning});
        EXPECT_EQ(file.Index().Offset(MaxGamesPerFile), game.size() * (MaxGamesPerFile - 1));
        // Games past the index are still found by counting.
        ASSERT_TRUE(file.LoadGame(MaxGamesPerFile + 2, ui));
        EXPECT_EQ(file.GameFileHandle().Tell(),
                  static_cast<std::int64_t>(game.size() * (MaxGamesPerFile + 1)));
    }
}

// The first record the header reader would see after LoadGame.
std::string NextRecord(PgnFile& file) {
    std::string_view text;
    file.Reader().ReadRecord(file.GameFileHandle(), text);
    return std::string(text);
}

TEST(PgnFile, LoadGameAndCountingAgreeOnEveryGame) {
    for (const char* name : {"scan/players_crlf.pgn", "scan/players_lf.pgn"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        std::string content = ReadWholeFile(qorvale::test::TestDataPath(name));
        PgnFile file;
        ASSERT_TRUE(file.Open(dir.Write("twic1200.pgn", content)).ok());
        RecordingUi ui;
        std::int32_t count = file.ScanGameFile(false, ui);
        for (std::int32_t game = 1; game <= count; ++game) {
            ASSERT_TRUE(file.LoadGame(game, ui));
            std::uint32_t offset = file.Index().Offset(game);
            std::string line =
                content.substr(offset, content.find_first_of("\r\n", offset) - offset);
            EXPECT_EQ(NextRecord(file), line);
            ASSERT_NE(file.FindGameByCounting(game, ui), 0);
            EXPECT_EQ(file.GameFileHandle().Tell(), offset);
            EXPECT_EQ(NextRecord(file), line);
        }
        ASSERT_TRUE(file.LoadGame(7, ui));
        EXPECT_EQ(file.Status().file, "File:  Twic1200");
        EXPECT_EQ(file.Status().game, "Game:  7");
        EXPECT_EQ(file.Status().game_short, "Game: 7");
        EXPECT_EQ(file.CurrentGameNumber(), 7);
        EXPECT_TRUE(ui.reports.empty());
        for (std::int32_t missing : {0, -1, count + 1}) {
            SCOPED_TRACE(missing);
            RecordingUi failing;
            EXPECT_FALSE(file.LoadGame(missing, failing));
            EXPECT_EQ(failing.reports, std::vector<std::string>{std::string(ErrorFindingGame)});
            EXPECT_EQ(file.CurrentGameNumber(), 7);
        }
    }
}

TEST(PgnFile, EcoTableFilesAreRecognisedByStem) {
    struct Row {
        const char* name;
        bool eco;
    } rows[] = {{"ecocodes.pgn", true},
                {"EcoMoves.PGN", true},
                {"ECONAMES.txt", true},
                {"eco.pgn", false},
                {"ecocodes2.pgn", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        PgnFile file;
        ASSERT_TRUE(file.Open(dir.Write(row.name, "[Event \"x\"]\n\n1. e4 *\n")).ok());
        SilentUi ui;
        file.ScanGameFile(false, ui);
        ASSERT_TRUE(file.LoadGame(1, ui));
        EXPECT_EQ(file.IsEcoFile(), row.eco);
    }
}

TEST(PgnFile, OpenFailureKeepsTheOldFileAndReloadRescans) {
    TempDir dir;
    std::string path = dir.Write("a.pgn", "[Event \"1\"]\n\n1. e4 *\n");
    PgnFile file;
    RecordingUi ui;
    EXPECT_FALSE(file.ReloadGameFile(ui));
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(MustOpenAFile)});
    ASSERT_TRUE(file.Open(path).ok());
    EXPECT_EQ(file.ScanGameFile(false, ui), 1);
    for (const std::string& bad : {dir.File("missing.pgn"), dir.path()}) {
        Error error = file.Open(bad);
        EXPECT_EQ(error.message(), ErrorOpeningFile);
        EXPECT_EQ(file.CurrentPath(), path);
        EXPECT_EQ(file.GameCount(), 1);
    }
    // Same size, new content: only a reload sees it.
    dir.Write("a.pgn", "[Event \"1\"]\n\n[Event \"2\"]\n\n");
    ui.reports.clear();
    ASSERT_TRUE(file.ReloadGameFile(ui));
    EXPECT_EQ(file.GameCount(), 2);
    EXPECT_EQ(ui.reports, std::vector<std::string>{std::string(FileHasBeenReloaded)});
}

std::string Garbage(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xff);
    return bytes;
}

TEST(PgnFile, SurvivesBadInput) {
    std::string players = Players();
    std::size_t last_event = players.rfind("[Event ");
    const std::string game = "[Event \"a\"]\n\n1. e4 *\n\n";
    struct Row {
        const char* name;
        std::string content;
        std::int32_t games;  // -1: any number
        bool rewraps;        // long records: the file is rewritten as Bad.pgn
    } rows[] = {
        {"empty", "", 0, false},
        {"nul bytes", std::string("[Event \"a\0b\"]\n\n1. e4\0 *\n\n", 25) + game, 2, false},
        {"cr-only line ends, short", "[Event \"a\"]\r\r1. e4 *\r", 0, false},
        {"cr-only line ends, long",
         std::string(40, 'x') +
             [] {
                 std::string text;
                 for (int copy = 0; copy < 20; ++copy) text += "[Event \"a\"]\r\r1. e4 *\r\r";
                 return text;
             }(),
         -1, true},
        {"ten megabyte line", game + std::string(10 << 20, 'x') + "\n\n" + game, 2, true},
        {"last game cut inside its movetext", players.substr(0, last_event + 300), 40, false},
        {"last game cut inside its first tag line", players.substr(0, last_event + 5), 39, false},
        {"binary garbage", Garbage(200000, 1234), -1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write("bad.pgn", row.content);
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        RecordingUi ui;
        std::int32_t count = file.ScanGameFile(false, ui);
        if (row.games >= 0) {
            EXPECT_EQ(count, row.games);
        }
        EXPECT_EQ(file.LastScan().rewrapped, row.rewraps);
        if (!row.rewraps) {
            EXPECT_TRUE(ReadWholeFile(path) == row.content);
        } else {
            EXPECT_EQ(file.CurrentPath(), dir.File("Bad.pgn"));
        }
        // Whatever the input, every game starts at the start of a line holding a tag line.
        std::string now = ReadWholeFile(file.CurrentPath());
        for (std::uint32_t offset : file.Index().Offsets()) {
            ASSERT_LT(offset, now.size());
            EXPECT_TRUE(offset == 0 || now[offset - 1] == '\n') << offset;
            EXPECT_EQ(now[now.find_first_not_of(' ', offset)], '[') << offset;
        }
    }
}

TEST(PgnFile, VanishedFileStillScansThroughItsHandle) {
    TempDir dir;
    std::string path = dir.Write("gone.pgn", Players());
    PgnFile file;
    ASSERT_TRUE(file.Open(path).ok());
    ASSERT_TRUE(platform::DeleteFile(path));
    RecordingUi ui;
    EXPECT_EQ(file.ScanGameFile(false, ui), 40);
    ASSERT_TRUE(file.LoadGame(40, ui));
    EXPECT_EQ(NextRecord(file).substr(0, 7), "[Event ");
}

}  // namespace
}  // namespace qorvale::pgn
