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
using Offsets = std::vector<std::uint32_t>;

std::string Players() { return ReadWholeFile(test::TestDataPath("scan/players_crlf.pgn")); }

Offsets IndexOf(const PgnFile& file) {
    return {file.Index().Offsets().begin(), file.Index().Offsets().end()};
}

std::string Cache(std::size_t size, const Offsets& offsets, std::size_t count) {
    std::vector<std::uint8_t> bytes;
    AppendU32(bytes, static_cast<std::uint32_t>(size));
    AppendU32(bytes, static_cast<std::uint32_t>(count));
    for (std::uint32_t offset : offsets) AppendU32(bytes, offset);
    return {bytes.begin(), bytes.end()};
}

TEST(OffsetCache, WrittenByTheScanAndTrustedWhileTheSizeMatches) {
    TempDir dir;
    std::string content = Players();
    std::string path = dir.Write("players.pgn", content);
    PgnFile file;
    ASSERT_TRUE(file.Open(path).ok());
    RecordingUi ui;
    std::int32_t count = file.ScanGameFile(false, ui);
    EXPECT_EQ(ReadWholeFile(dir.File("players.PGO")), Cache(content.size(), IndexOf(file), count));
    // Same size, other offsets: believed, since only the size is compared; a forced scan
    // ignores it.
    dir.Write("players.PGO", Cache(content.size(), {0, 7, 9}, 3));
    EXPECT_EQ(file.ScanGameFile(false, ui), 3);
    EXPECT_EQ(IndexOf(file), (Offsets{0, 7, 9}));
    EXPECT_EQ(file.ScanGameFile(true, ui), count);
    EXPECT_FALSE(file.LastScan().from_cache);
    EXPECT_TRUE(ui.reports.empty());
}

TEST(OffsetCache, DamagedOrStaleCacheMeansARescan) {
    std::string content = Players();
    auto size = static_cast<std::uint32_t>(content.size());
    using S = OffsetCacheRead::State;
    struct Row {
        const char* name;
        std::string cache;
        S state;
    } rows[] = {
        {"stale size", Cache(size + 1, {0, 9}, 2), S::Stale},
        {"short offsets", Cache(size, {0, 9}, 3), S::Corrupt},
        {"short header", "\1\2\3", S::Corrupt},
        {"out of order", Cache(size, {0, 9, 5}, 3), S::Corrupt},
        {"past the end", Cache(size, {0, size}, 2), S::Corrupt},
        {"too many games", Cache(size, {0}, MaxGamesPerFile + 1), S::Corrupt},
        {"good", Cache(size, {0, 9}, 2), S::Current},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write("players.pgn", content);
        dir.Write("players.PGO", row.cache);
        GameIndex index;
        EXPECT_EQ(ReadOffsetCache(dir.File("players.PGO"), size, index).state, row.state);
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        SilentUi ui;
        EXPECT_EQ(file.ScanGameFile(false, ui), row.state == S::Current ? 2 : 40);
    }
}

TEST(PgnFile, RescanDeletesDerivedCachesAsTheirOwnersRequire) {
    struct Row {
        const char* name;
        std::size_t cached_count;
        bool same_size;
        std::string left;  // extensions of the files left beside players.pgn
    } rows[] = {{"count changed", 39, false, "DBG PGO TRM pgn"},
                {"count kept", 40, false, "DBG PGO TRE TRM TRX pgn"},
                {"answered from the cache", 40, true, "DBG PGO TRE TRM TRX pgn pgq pgs pgx"}};
    std::string content = Players();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write("players.pgn", content);
        Offsets offsets(row.cached_count);
        for (std::size_t game = 0; game < offsets.size(); ++game)
            offsets[game] = static_cast<std::uint32_t>(game);
        dir.Write("players.PGO", Cache(content.size() + !row.same_size, offsets, offsets.size()));
        for (const char* extension : {"pgs", "pgq", "pgx", "TRE", "TRX", "TRM", "DBG"}) {
            dir.Write(std::string("players.") + extension, "x");
        }
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        SilentUi ui;
        file.ScanGameFile(false, ui);
        std::string left;
        for (const std::string& name : platform::ListFolder(dir.path(), "*")) {
            left += (left.empty() ? "" : " ") + name.substr(name.find('.') + 1);
        }
        EXPECT_EQ(left, row.left);
    }
}

TEST(PgnFile, StopsAtTheGameLimitAndWarns) {
    const std::string game = "[Event \"\"]\n\n";
    std::string content;
    for (int copy = 0; copy < MaxGamesPerFile + 2; ++copy) content += game;
    TempDir dir;
    std::string path = dir.Write("many.pgn", content);
    for (bool from_cache : {false, true}) {
        SCOPED_TRACE(from_cache);
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        RecordingUi ui;
        EXPECT_EQ(file.ScanGameFile(false, ui), MaxGamesPerFile);
        EXPECT_EQ(file.LastScan().from_cache, from_cache);
        EXPECT_EQ(ui.reports,
                  std::vector<std::string>{"Warning: Maximum number 200000 games exceeded."});
        EXPECT_EQ(file.Index().Offset(MaxGamesPerFile), game.size() * (MaxGamesPerFile - 1));
        // Games past the index are still found by counting.
        ASSERT_TRUE(file.LoadGame(MaxGamesPerFile + 2, ui));
        EXPECT_EQ(file.GameFileHandle().Tell(),
                  static_cast<std::int64_t>(game.size() * (MaxGamesPerFile + 1)));
    }
}

std::string NextRecord(PgnFile& file) {
    std::string_view text;
    file.Reader().ReadRecord(file.GameFileHandle(), text);
    return std::string(text);
}

TEST(PgnFile, LoadGameAndCountingAgreeOnEveryGame) {
    TempDir dir;
    std::string content = Players();
    PgnFile file;
    ASSERT_TRUE(file.Open(dir.Write("twic1200.pgn", content)).ok());
    RecordingUi ui;
    std::int32_t count = file.ScanGameFile(false, ui);
    for (std::int32_t game = 1; game <= count; ++game) {
        std::uint32_t offset = file.Index().Offset(game);
        std::string line = content.substr(offset, content.find('\r', offset) - offset);
        ASSERT_TRUE(file.LoadGame(game, ui));
        EXPECT_EQ(NextRecord(file), line);
        ASSERT_NE(file.FindGameByCounting(game, ui), 0);
        EXPECT_EQ(NextRecord(file), line);
    }
    ASSERT_TRUE(file.LoadGame(7, ui));
    EXPECT_EQ(file.Status().file + "|" + file.Status().game + "|" + file.Status().game_short,
              "File:  Twic1200|Game:  7|Game: 7");
    EXPECT_TRUE(ui.reports.empty());
    for (std::int32_t missing : {0, count + 1}) {
        EXPECT_FALSE(file.LoadGame(missing, ui));
        EXPECT_EQ(file.CurrentGameNumber(), 7);
    }
    EXPECT_EQ(ui.reports, std::vector<std::string>(2, std::string(ErrorFindingGame)));
}

TEST(PgnFile, OpenFailureKeepsTheOldFileAndReloadRescans) {
    TempDir dir;
    std::string path = dir.Write("a.pgn", "[Event \"1\"]\n\n1. e4 *\n");
    PgnFile file;
    RecordingUi ui;
    EXPECT_FALSE(file.ReloadGameFile(ui));
    ASSERT_TRUE(file.Open(path).ok());
    EXPECT_EQ(file.ScanGameFile(false, ui), 1);
    for (const std::string& bad : {dir.File("missing.pgn"), dir.path()}) {
        EXPECT_EQ(file.Open(bad).message(), ErrorOpeningFile);
        EXPECT_EQ(file.CurrentPath(), path);
        EXPECT_EQ(file.GameCount(), 1);
    }
    dir.Write("a.pgn", "[Event \"1\"]\n\n[Event \"2\"]\n\n");  // same size
    ASSERT_TRUE(file.ReloadGameFile(ui));
    EXPECT_EQ(file.GameCount(), 2);
    EXPECT_EQ(ui.reports, (std::vector<std::string>{std::string(MustOpenAFile),
                                                    std::string(FileHasBeenReloaded)}));
}

TEST(PgnFile, SurvivesBadInput) {
    std::string players = Players();
    std::size_t last_event = players.rfind("[Event ");
    const std::string game = "[Event \"a\"]\n\n1. e4 *\n\n";
    std::mt19937 random(1234);
    std::string garbage(200000, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random());
    std::string cr_only;
    for (int copy = 0; copy < 20; ++copy) cr_only += "[Event \"a\"]\r\r1. e4 *\r\r";
    // Asked whether to re-wrap long lines, the user says No: every file is read as it is.
    struct Row {
        const char* name;
        std::string content;
        std::int32_t games;  // -1: any number
    } rows[] = {
        {"empty", "", 0},
        {"nul bytes", std::string("[Event \"a\0b\"]\n\n1. e4\0 *\n\n", 25) + game, 2},
        // Without a line feed the file is one line: a tag and the moves after it.
        {"cr-only line ends", "[Event \"a\"]\r\r1. e4 *\r", 1},
        {"cr-only line ends, long", cr_only, 1},
        {"ten megabyte line", game + std::string(10 << 20, 'x') + "\n\n" + game, 2},
        {"last game cut in movetext", players.substr(0, last_event + 300), 40},
        {"last game cut in its first tag", players.substr(0, last_event + 5), 39},
        {"binary garbage", garbage, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.Write("bad.pgn", row.content);
        PgnFile file;
        ASSERT_TRUE(file.Open(path).ok());
        SilentUi ui;
        std::int32_t count = file.ScanGameFile(false, ui);
        EXPECT_TRUE(row.games < 0 || count == row.games) << count;
        EXPECT_FALSE(file.LastScan().rewrapped);
        EXPECT_EQ(file.CurrentPath(), path);
        std::string now = ReadWholeFile(file.CurrentPath());
        EXPECT_TRUE(now == row.content);
        // Whatever the input, every game starts at the start of a line holding a tag line.
        for (std::uint32_t offset : file.Index().Offsets()) {
            ASSERT_LT(offset, now.size());
            EXPECT_TRUE(offset == 0 || now[offset - 1] == '\n') << offset;
            EXPECT_EQ(now[now.find_first_not_of(' ', offset)], '[') << offset;
        }
    }
}

}  // namespace
}  // namespace qorvale::pgn
