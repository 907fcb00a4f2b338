#include "pgn/game_file_edit.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "base/bytes.h"
#include "pgn/file_change.h"
#include "pgn/messages.h"
#include "pgn/offset_cache.h"
#include "platform/file.h"
#include "support/faulty_file_system.h"
#include "support/pgn_extract.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using test::ReadWholeFile;
using test::RecordingUi;
using test::TempDir;
using Games = std::vector<std::string>;
using Offsets = std::vector<std::uint32_t>;

Offsets IndexOf(const PgnFile& file) {
    return {file.Index().Offsets().begin(), file.Index().Offsets().end()};
}

// The index a scan that ignores every cache finds.
Offsets ScannedIndex(const std::string& path) {
    SilentUi ui;
    PgnFile file;
    if (!file.Open(path).ok()) return {};
    file.ScanGameFile(true, ui);
    return IndexOf(file);
}

std::string CacheBytes(std::size_t size, const Offsets& offsets) {
    std::vector<std::uint8_t> bytes;
    AppendU32(bytes, static_cast<std::uint32_t>(size));
    AppendU32(bytes, static_cast<std::uint32_t>(offsets.size()));
    for (std::uint32_t offset : offsets) AppendU32(bytes, offset);
    return {bytes.begin(), bytes.end()};
}

// `games` with game `index` taken out (`game` empty), put in, or put in its place.
Games Edited(Games games, std::size_t index, const std::string& game, bool replace) {
    if (replace || game.empty()) games.erase(games.begin() + static_cast<std::ptrdiff_t>(index));
    if (!game.empty()) games.insert(games.begin() + static_cast<std::ptrdiff_t>(index), game);
    return games;
}

// A copy of a real file opened and scanned as the window opens it, with game `shown` on display,
// and its games as pgn-extract reads them.
struct OpenCopy {
    TempDir dir;
    std::string path;
    std::string original;
    RecordingUi ui;
    PgnFile file;
    Games games;

    explicit OpenCopy(const char* data = "scan/players_crlf.pgn", std::int32_t shown = 5)
        : path(dir.CopyData(data, "games.pgn")), original(ReadWholeFile(path)) {
        games = test::PgnExtractGames(path);
        EXPECT_TRUE(file.Open(path).ok());
        file.ScanGameFile(false, ui);
        file.SetCurrentGameNumber(shown);
    }
    std::int64_t Offset(std::int32_t game) const {
        return game <= file.GameCount() ? file.Index().Offset(game) : original.size();
    }
};

// Game `number` of a tests/data file, as the game buffer would hold it.
std::string GameText(const char* data, std::int32_t number) {
    OpenCopy copy(data, number);
    Result<std::string> text = GameFileEditor(copy.file, copy.ui).GameRecords(number);
    EXPECT_TRUE(text.ok());
    return text.ok() ? *text : std::string();
}

std::string ExtractedGame(const std::string& text) {
    TempDir dir;
    Games games = test::PgnExtractGames(dir.Write("one.pgn", text));
    EXPECT_EQ(games.size(), 1u);
    return games.empty() ? std::string() : games[0];
}

TEST(GameFileEditor, SaveModesPutTheGameWhereTheModeSays) {
    ASSERT_TRUE(test::HavePgnExtract());
    const std::string long_game = GameText("lines/immortal-games.pgn", 3);
    const std::string short_game = GameText("lines/short_annotated.pgn", 2);
    struct Row {
        const char* name;
        const char* data;
        SaveMode mode;
        const std::string& text;
    } rows[] = {
        {"append, CR LF file", "scan/players_crlf.pgn", SaveMode::Append, short_game},
        {"append, LF file", "scan/players_lf.pgn", SaveMode::Append, long_game},
        {"insert before the game on display", "scan/players_crlf.pgn", SaveMode::Insert, long_game},
        {"insert, LF file", "scan/players_lf.pgn", SaveMode::Insert, short_game},
        {"overwrite last, longer", "scan/players_lf.pgn", SaveMode::OverwriteLast, long_game},
        {"overwrite last, shorter", "scan/players_crlf.pgn", SaveMode::OverwriteLast, short_game},
        {"new file", "scan/players_lf.pgn", SaveMode::NewFile, short_game},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenCopy copy(row.data);
        const std::int64_t last = copy.Offset(40);
        const std::int64_t fifth = copy.Offset(5);
        const std::string new_path = copy.dir.File("new.pgn");
        GameFileEditor editor(copy.file, copy.ui);
        Result<EditDone> done = editor.SaveGameText(row.text, row.mode, new_path);
        ASSERT_TRUE(done.ok()) << done.error().message();
        const std::string game = ExtractedGame(row.text);

        std::string expected = copy.original.substr(0, last) + row.text;
        Games expected_games = Edited(copy.games, 39, game, true);
        std::int32_t shown = 40;
        if (row.mode == SaveMode::Append) {
            expected = copy.original + "\r\n" + row.text;
            expected_games = Edited(copy.games, 40, game, false);
            shown = 41;
        } else if (row.mode == SaveMode::Insert) {
            expected =
                copy.original.substr(0, fifth) + row.text + "\r\n" + copy.original.substr(fifth);
            expected_games = Edited(copy.games, 4, game, false);
            shown = 5;
        } else if (row.mode == SaveMode::NewFile) {
            expected = row.text;
            expected_games = {game};
            shown = 1;
        }
        const std::string& path = copy.file.CurrentPath();
        EXPECT_EQ(path, row.mode == SaveMode::NewFile ? new_path : copy.path);
        EXPECT_TRUE(ReadWholeFile(path) == expected);
        if (!expected_games.empty()) {
            EXPECT_EQ(test::PgnExtractGames(path), expected_games);
        }
        EXPECT_EQ(done->game_to_show, shown);
        // After an append, an overwrite or a new file the index comes from the updated cache,
        // and it is what a scan finds.
        EXPECT_EQ(copy.file.LastScan().from_cache, row.mode != SaveMode::Insert);
        EXPECT_EQ(IndexOf(copy.file), ScannedIndex(path));
        EXPECT_TRUE(ReadWholeFile(OffsetCachePath(path)) ==
                    CacheBytes(expected.size(), IndexOf(copy.file)));
        EXPECT_FALSE(platform::FileExists(ChangeJournalPath(path)));
        EXPECT_FALSE(platform::FileExists(copy.dir.File("tempqqqq.xyz")));
        EXPECT_TRUE(copy.ui.reports.empty());
    }
}

TEST(GameFileEditor, DeleteAndReplaceKeepEveryOtherGameByteForByte) {
    ASSERT_TRUE(test::HavePgnExtract());
    const std::string replacement = GameText("lines/immortal-games.pgn", 7);
    struct Row {
        const char* name;
        const char* data;
        std::int32_t game;
        bool replace;
        std::deque<bool> answers;
    } rows[] = {
        {"delete the first", "scan/players_crlf.pgn", 1, false, {true, true}},
        {"delete in the middle", "scan/players_lf.pgn", 5, false, {true, true}},
        {"delete the last", "scan/players_crlf.pgn", 40, false, {true, true}},
        {"delete the last, LF", "scan/players_lf.pgn", 40, false, {true, true}},
        {"delete the only game", "lines/calgames_07.pgn", 1, false, {true, true}},
        {"delete answered No", "scan/players_lf.pgn", 5, false, {true, false}},
        {"replace the first", "scan/players_lf.pgn", 1, true, {}},
        {"replace in the middle", "scan/players_crlf.pgn", 17, true, {}},
        {"replace the last", "scan/players_crlf.pgn", 40, true, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenCopy copy(row.data, row.game);
        const std::int32_t count = copy.file.GameCount();
        const std::int64_t start = copy.Offset(row.game);
        const std::int64_t end = copy.Offset(row.game + 1);
        copy.ui.answers = row.answers;
        GameFileEditor editor(copy.file, copy.ui);
        Result<EditDone> done =
            row.replace ? editor.ReplaceCurrentGame(replacement) : editor.DeleteCurrentGame();
        ASSERT_TRUE(done.ok()) << done.error().message();
        const auto index = static_cast<std::size_t>(row.game - 1);
        const std::string now = ReadWholeFile(copy.path);
        if (row.replace) {
            EXPECT_TRUE(copy.ui.questions.empty());
            EXPECT_TRUE(now == copy.original.substr(0, start) +
                                   NormaliseGameText(replacement, false) +
                                   copy.original.substr(end));
            EXPECT_EQ(test::PgnExtractGames(copy.path),
                      Edited(copy.games, index, ExtractedGame(replacement), true));
            EXPECT_EQ(done->game_to_show, row.game);
        } else if (!row.answers.back()) {
            EXPECT_TRUE(done->cancelled);
            EXPECT_TRUE(now == copy.original);
            continue;
        } else {
            EXPECT_EQ(copy.ui.questions,
                      (Games{std::string(DeleteGameQuestion), std::string(AreYouSure)}));
            // The last game takes the line end before it along (two bytes at most, and line-end
            // bytes only); no other byte goes.
            std::int64_t cut = start;
            while (row.game == count && cut > start - 2 && cut > 0 &&
                   (copy.original[cut - 1] == '\n' || copy.original[cut - 1] == '\r')) {
                --cut;
            }
            EXPECT_TRUE(now == copy.original.substr(0, cut) + copy.original.substr(end));
            EXPECT_EQ(test::PgnExtractGames(copy.path), Edited(copy.games, index, "", false));
            EXPECT_EQ(done->game_to_show, row.game == count ? row.game - 1 : row.game);
            EXPECT_TRUE(done->navigation_reset);
        }
        EXPECT_EQ(IndexOf(copy.file), ScannedIndex(copy.path));
        EXPECT_FALSE(copy.file.LastScan().from_cache);
        EXPECT_TRUE(ReadWholeFile(OffsetCachePath(copy.path)) ==
                    CacheBytes(now.size(), IndexOf(copy.file)));
    }
}

TEST(GameFileEditor, CopiesTakeTheGamesInListOrder) {
    ASSERT_TRUE(test::HavePgnExtract());
    struct Row {
        const char* name;
        std::vector<std::int32_t> games;
        bool append;
        bool target_exists;
        std::string_view question;
    } rows[] = {
        {"new file", {3, 7, 10, 11, 12}, false, false, ContinueQuestion},
        {"over an existing file", {12, 3}, false, true, OverwriteFileQuestion},
        {"appended", {40, 1}, true, true, ContinueQuestion},
    };
    const std::string existing = GameText("lines/short_annotated.pgn", 2);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenCopy copy;
        const std::string target = copy.dir.File("target.pgn");
        if (row.target_exists) {
            copy.dir.Write("target.pgn", existing);
            copy.dir.Write("target.PGO", "stale");
        }
        copy.ui.answers = {true};
        Result<EditDone> done =
            GameFileEditor(copy.file, copy.ui).CopyNavigationGames(row.games, target, row.append);
        ASSERT_TRUE(done.ok()) << done.error().message();
        EXPECT_EQ(copy.ui.questions, Games{std::string(row.question)});
        EXPECT_EQ(copy.ui.reports, Games{std::string(CopyGamesComplete)});
        Games expected;
        if (row.append) expected.push_back(ExtractedGame(existing));
        for (std::int32_t game : row.games)
            expected.push_back(copy.games[static_cast<std::size_t>(game - 1)]);
        EXPECT_EQ(test::PgnExtractGames(target), expected);
        EXPECT_FALSE(platform::FileExists(copy.dir.File("target.PGO")));
        if (row.append) {
            EXPECT_TRUE(ReadWholeFile(target).starts_with(existing + "\r\n"));
        }
        EXPECT_TRUE(ReadWholeFile(copy.path) == copy.original);
    }
}

TEST(GameFileEditor, GameRecordsAsTheBufferHoldsThem) {
    struct Row {
        const char* name;
        std::string file;
        std::string records;  // of game 1
    } rows[] = {
        {"leading spaces and trailing blank lines go",
         "[Event \"a\"]\n  [Site \"b\"]\n\n  1. e4 e5\n\n\n",
         "[Event \"a\"]\r\n[Site \"b\"]\r\n\r\n1. e4 e5\r\n"},
        {"blank lines inside the movetext stay",
         "[Event \"a\"]\r\n\r\n1. e4 {x}\r\n\r\ne5 *\r\n\r\n[Event \"b\"]\r\n\r\n1. d4 *\r\n",
         "[Event \"a\"]\r\n\r\n1. e4 {x}\r\n\r\ne5 *\r\n"},
        {"a last line without a line end is kept", "[Event \"a\"]\n\n1. e4 *",
         "[Event \"a\"]\r\n\r\n1. e4 *\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        SilentUi ui;
        PgnFile file;
        ASSERT_TRUE(file.Open(dir.Write("g.pgn", row.file)).ok());
        file.ScanGameFile(false, ui);
        Result<std::string> records = GameFileEditor(file, ui).GameRecords(1);
        ASSERT_TRUE(records.ok());
        EXPECT_EQ(*records, row.records);
    }
}

TEST(GameFileEditor, GameBufferCarriesAGameToAnotherFile) {
    OpenCopy source("scan/players_lf.pgn", 9);
    const std::string buffer = source.dir.File("gameqqqq.xyz");
    GameFileEditor from(source.file, source.ui);
    EXPECT_FALSE(CheckGameBuffer(buffer, source.ui));
    EXPECT_EQ(from.SaveGameBuffer(buffer, SaveMode::Append).error().message(), GameBufferEmpty);
    ASSERT_TRUE(from.MoveGameToBuffer(buffer).ok());
    EXPECT_EQ(source.ui.reports,
              (Games{std::string(GameBufferEmpty), std::string(GameMovedToBuffer)}));

    OpenCopy target("scan/players_crlf.pgn", 20);
    Result<EditDone> done =
        GameFileEditor(target.file, target.ui).SaveGameBuffer(buffer, SaveMode::Insert);
    ASSERT_TRUE(done.ok());
    // After an insert from the buffer the first game is shown.
    EXPECT_EQ(done->game_to_show, 1);
    Games games = test::PgnExtractGames(target.path);
    ASSERT_EQ(games.size(), 41u);
    EXPECT_EQ(games[19], source.games[8]);
}

// A change that is refused, or that fails half-way through the file seam (a read-only file or
// folder, a disk that fills at some point, a rename that fails), leaves every file as it was.
TEST(GameFileEditor, RefusedOrFailedChangesLeaveEveryFileAsItWas) {
    using Fault = test::FaultyFileSystem::Fault;
    const std::string game = GameText("lines/immortal-games.pgn", 3);
    const std::string long_game = GameText("lines/FIDE_longest_possible_game.pgn", 1);
    enum class Act {
        Append,
        Insert,
        Overwrite,
        NewFile,
        Delete,
        Replace,
        Copy,
        CopyAppend,
        Entered
    };
    struct Row {
        const char* name;
        Act act;
        Fault fault;
        std::int64_t disk_bytes;
        std::string_view message;
        const char* target = "copied.pgn";
    } rows[] = {
        {"append, read-only", Act::Append, Fault::ReadOnly, 0, ErrorOpeningFile},
        {"append, disk full", Act::Append, Fault::DiskFull, 0, ErrorSavingGame},
        {"append, disk full after the journal", Act::Append, Fault::DiskFull, 200, ErrorSavingGame},
        {"overwrite, disk full in the game", Act::Overwrite, Fault::DiskFull, 5000,
         ErrorSavingGame},
        {"insert, read-only", Act::Insert, Fault::ReadOnly, 0, ErrorOpeningFile},
        {"insert, disk full", Act::Insert, Fault::DiskFull, 5000, ErrorInsertingGame},
        {"insert, rename fails", Act::Insert, Fault::RenameFails, 0, ErrorInsertingGame},
        {"new file, read-only folder", Act::NewFile, Fault::ReadOnly, 0, ErrorCreatingFile},
        {"new file over a file", Act::NewFile, Fault::None, 0, FileAlreadyExists, "target.pgn"},
        {"delete, read-only", Act::Delete, Fault::ReadOnly, 0, ErrorOpeningToChangeSize},
        {"delete, disk full", Act::Delete, Fault::DiskFull, 20000, ErrorSavingGame},
        {"delete, rename fails", Act::Delete, Fault::RenameFails, 0, ErrorChangingFileSize},
        {"replace, disk full", Act::Replace, Fault::DiskFull, 1000, ErrorSavingGame},
        {"copy, read-only folder", Act::Copy, Fault::ReadOnly, 0, ErrorCreatingNewFile},
        {"copy, disk full", Act::Copy, Fault::DiskFull, 100, ErrorCreatingNewFile},
        {"copy onto the file itself", Act::Copy, Fault::None, 0, SameAsCurrentFile, "games.pgn"},
        {"copy append, read-only target", Act::CopyAppend, Fault::ReadOnly, 0, ErrorOpeningFile,
         "target.pgn"},
        {"copy append, disk full", Act::CopyAppend, Fault::DiskFull, 300, ErrorSavingGame,
         "target.pgn"},
        {"copy append, no target", Act::CopyAppend, Fault::None, 0, FileDoesNotExist},
        {"an entered game without moves", Act::Entered, Fault::None, 0, NoMovesEntered},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenCopy copy;
        copy.dir.Write("target.pgn", game);
        const auto before = test::FolderContents(copy.dir.path());
        test::FaultyFileSystem file_system(row.fault, row.disk_bytes);
        GameFileEditor editor(copy.file, copy.ui, file_system);
        copy.ui.answers = {true, true};
        const std::string target = copy.dir.File(row.target);
        const std::vector<std::int32_t> games = {1, 2};
        Result<EditDone> done = [&]() -> Result<EditDone> {
            switch (row.act) {
                case Act::Append:
                    return editor.SaveGameText(game, SaveMode::Append);
                case Act::Insert:
                    return editor.SaveGameText(game, SaveMode::Insert);
                case Act::Overwrite:
                    return editor.SaveGameText(long_game, SaveMode::OverwriteLast);
                case Act::NewFile:
                    return editor.SaveGameText(game, SaveMode::NewFile, target);
                case Act::Delete:
                    return editor.DeleteCurrentGame();
                case Act::Replace:
                    return editor.ReplaceCurrentGame(game);
                case Act::Copy:
                    return editor.CopyNavigationGames(games, target, false);
                case Act::CopyAppend:
                    return editor.CopyNavigationGames(games, target, true);
                case Act::Entered:
                    return editor.SaveGameToFile(EnteredGame{}, SaveMode::Append);
            }
            return Error(std::string("unknown change"));
        }();
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().message(), row.message);
        auto expected = before;
        // The caches that describe the old content go just before the rename; a rename that
        // then fails costs the next open a rescan, never a game.
        if (row.fault == Fault::RenameFails) expected.erase("games.PGO");
        EXPECT_EQ(test::FolderDifference(expected, test::FolderContents(copy.dir.path())), "");
    }
}

TEST(GameFileEditor, AFileAtTheGameLimitIsLeftAlone) {
    TempDir dir;
    const std::string one = "[Event \"x\"]\n\n1.e4 *\n\n";
    std::string content;
    content.reserve(one.size() * MaxGamesPerFile);
    for (std::int32_t game = 0; game < MaxGamesPerFile; ++game) content += one;
    const std::string path = dir.Write("full.pgn", content);
    RecordingUi ui;
    PgnFile file;
    ASSERT_TRUE(file.Open(path).ok());
    ASSERT_EQ(file.ScanGameFile(false, ui), MaxGamesPerFile);
    file.SetCurrentGameNumber(1);
    GameFileEditor editor(file, ui);
    for (SaveMode mode : {SaveMode::Append, SaveMode::Insert, SaveMode::OverwriteLast}) {
        EXPECT_EQ(editor.SaveGameText(one, mode).error().message(),
                  FillMessage(MaximumGamesExceeded, MaxGamesPerFile));
    }
    EXPECT_EQ(platform::FileSize(path), static_cast<std::int64_t>(content.size()));
}

}  // namespace
}  // namespace qorvale::pgn
