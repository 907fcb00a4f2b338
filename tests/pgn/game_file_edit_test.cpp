#include "pgn/game_file_edit.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "base/bytes.h"
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

// The index a fresh scan of the file finds, ignoring every cache.
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

Games Without(Games games, std::size_t index) {
    games.erase(games.begin() + static_cast<std::ptrdiff_t>(index));
    return games;
}

Games With(Games games, std::size_t index, const std::string& game, bool replace) {
    if (replace) games.erase(games.begin() + static_cast<std::ptrdiff_t>(index));
    games.insert(games.begin() + static_cast<std::ptrdiff_t>(index), game);
    return games;
}

// A copy of a real file of 40 games, opened and scanned as the window opens it, with game
// `shown` on display.
struct OpenCopy {
    TempDir dir;
    std::string path;
    std::string original;
    RecordingUi ui;
    PgnFile file;
    Games games;  // the original's games as pgn-extract reads them

    explicit OpenCopy(const char* data = "scan/players_crlf.pgn", std::int32_t shown = 5)
        : path(dir.CopyData(data, "games.pgn")), original(ReadWholeFile(path)) {
        games = test::PgnExtractGames(path);
        EXPECT_TRUE(file.Open(path).ok());
        file.ScanGameFile(false, ui);
        file.SetCurrentGameNumber(shown);
    }
    std::string Now() const { return ReadWholeFile(path); }
};

// The text of game `number` of a tests/data file, as the game buffer would hold it.
std::string GameText(const char* data, std::int32_t number) {
    TempDir dir;
    SilentUi ui;
    PgnFile file;
    EXPECT_TRUE(file.Open(dir.CopyData(data, "source.pgn")).ok());
    file.ScanGameFile(false, ui);
    GameFileEditor editor(file, ui);
    Result<std::string> text = editor.GameRecords(number);
    EXPECT_TRUE(text.ok());
    return text.ok() ? *text : std::string();
}

// The game as pgn-extract reads it from a file of its own.
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
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenCopy copy(row.data);
        const std::int64_t size = static_cast<std::int64_t>(copy.original.size());
        const std::size_t count = copy.games.size();
        ASSERT_EQ(count, 40u);
        const std::int64_t last = copy.file.Index().Offset(40);
        const std::int64_t fifth = copy.file.Index().Offset(5);
        GameFileEditor editor(copy.file, copy.ui);
        Result<EditDone> done = editor.SaveGameText(row.text, row.mode);
        ASSERT_TRUE(done.ok()) << done.error().message();
        const std::string game = ExtractedGame(row.text);

        std::string expected;
        Games expected_games;
        std::int32_t shown = 0;
        switch (row.mode) {
            case SaveMode::Append:
                expected = copy.original + "\r\n" + row.text;
                expected_games = With(copy.games, count, game, false);
                shown = 41;
                break;
            case SaveMode::Insert:
                expected = copy.original.substr(0, fifth) + row.text + "\r\n" +
                           copy.original.substr(fifth);
                expected_games = With(copy.games, 4, game, false);
                shown = 5;
                break;
            default:
                // The file never shrinks: a shorter game leaves the old last game's tail behind.
                expected = copy.original.substr(0, last) + row.text;
                if (last + static_cast<std::int64_t>(row.text.size()) < size) {
                    expected += copy.original.substr(last + row.text.size());
                } else {
                    expected_games = With(copy.games, count - 1, game, true);
                }
                shown = 40;
                break;
        }
        EXPECT_TRUE(copy.Now() == expected);
        if (!expected_games.empty()) {
            EXPECT_EQ(test::PgnExtractGames(copy.path), expected_games);
        }
        EXPECT_EQ(done->game_to_show, shown);
        // The index matches a scan; after an append or overwrite it came from the updated cache.
        EXPECT_EQ(copy.file.LastScan().from_cache, row.mode != SaveMode::Insert);
        const Offsets scanned = ScannedIndex(copy.path);
        if (expected_games.empty()) {
            EXPECT_EQ(IndexOf(copy.file), Offsets(scanned.begin(), scanned.begin() + 40));
        } else {
            EXPECT_EQ(IndexOf(copy.file), scanned);
        }
        EXPECT_TRUE(ReadWholeFile(OffsetCachePath(copy.path)) ==
                    CacheBytes(expected.size(), IndexOf(copy.file)));
        EXPECT_FALSE(platform::FileExists(copy.dir.File("games.PGJ")));
        EXPECT_FALSE(platform::FileExists(copy.dir.File("tempqqqq.xyz")));
        EXPECT_TRUE(copy.ui.reports.empty());
    }
}

TEST(GameFileEditor, NewFileHoldsTheGameAlone) {
    OpenCopy copy;
    const std::string text = GameText("lines/short_annotated.pgn", 2);
    GameFileEditor editor(copy.file, copy.ui);
    const std::string target = copy.dir.File("new.pgn");
    Result<EditDone> done = editor.SaveGameText(text, SaveMode::NewFile, target);
    ASSERT_TRUE(done.ok());
    EXPECT_EQ(done->game_to_show, 1);
    EXPECT_EQ(copy.file.CurrentPath(), target);
    EXPECT_TRUE(copy.file.LastScan().from_cache);
    EXPECT_TRUE(ReadWholeFile(target) == text);
    EXPECT_TRUE(ReadWholeFile(copy.dir.File("new.PGO")) == CacheBytes(text.size(), {0}));
    // A second save under that name is refused.
    Result<EditDone> again = editor.SaveGameText(text, SaveMode::NewFile, target);
    EXPECT_EQ(again.error().message(), FileAlreadyExists);
    EXPECT_TRUE(ReadWholeFile(target) == text);
}

TEST(GameFileEditor, DeleteAndReplaceKeepEveryOtherGameByteForByte) {
    ASSERT_TRUE(test::HavePgnExtract());
    const std::string replacement = GameText("lines/immortal-games.pgn", 7);
    struct Row {
        const char* name;
        const char* data;
        std::int32_t game;
        bool replace;
    } rows[] = {
        {"delete the first", "scan/players_crlf.pgn", 1, false},
        {"delete in the middle", "scan/players_lf.pgn", 5, false},
        {"delete the last", "scan/players_crlf.pgn", 40, false},
        {"delete the last, LF", "scan/players_lf.pgn", 40, false},
        {"replace the first", "scan/players_lf.pgn", 1, true},
        {"replace in the middle", "scan/players_crlf.pgn", 17, true},
        {"replace the last", "scan/players_crlf.pgn", 40, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenCopy copy(row.data, row.game);
        const std::int64_t start = copy.file.Index().Offset(row.game);
        const std::int64_t end =
            row.game < 40 ? copy.file.Index().Offset(row.game + 1) : copy.original.size();
        copy.ui.answers = {true, true};
        GameFileEditor editor(copy.file, copy.ui);
        Result<EditDone> done =
            row.replace ? editor.ReplaceCurrentGame(replacement) : editor.DeleteCurrentGame();
        ASSERT_TRUE(done.ok()) << done.error().message();
        const std::size_t index = static_cast<std::size_t>(row.game - 1);
        if (row.replace) {
            EXPECT_TRUE(copy.ui.questions.empty());
            EXPECT_TRUE(copy.Now() == copy.original.substr(0, start) +
                                          NormaliseGameText(replacement, false) +
                                          copy.original.substr(end));
            EXPECT_EQ(test::PgnExtractGames(copy.path),
                      With(copy.games, index, ExtractedGame(replacement), true));
            EXPECT_EQ(done->game_to_show, row.game);
        } else {
            EXPECT_EQ(copy.ui.questions,
                      (Games{std::string(DeleteGameQuestion), std::string(AreYouSure)}));
            // The last game takes the line end before it along (two bytes at most, and line-end
            // bytes only); no other byte goes.
            std::int64_t cut = start;
            while (row.game == 40 && cut > start - 2 &&
                   (copy.original[cut - 1] == '\n' || copy.original[cut - 1] == '\r')) {
                --cut;
            }
            EXPECT_TRUE(copy.Now() == copy.original.substr(0, cut) + copy.original.substr(end));
            EXPECT_EQ(test::PgnExtractGames(copy.path), Without(copy.games, index));
            EXPECT_EQ(done->game_to_show, row.game == 40 ? 39 : row.game);
            EXPECT_TRUE(done->navigation_reset);
        }
        EXPECT_EQ(IndexOf(copy.file), ScannedIndex(copy.path));
        EXPECT_FALSE(copy.file.LastScan().from_cache);
        EXPECT_TRUE(ReadWholeFile(OffsetCachePath(copy.path)) ==
                    CacheBytes(copy.Now().size(), IndexOf(copy.file)));
    }
}

TEST(GameFileEditor, DeletingTheOnlyGameEmptiesTheFile) {
    TempDir dir;
    const std::string path = dir.CopyData("lines/castling.pgn", "one.pgn");
    RecordingUi ui;
    PgnFile file;
    ASSERT_TRUE(file.Open(path).ok());
    ASSERT_EQ(file.ScanGameFile(false, ui), 1);
    file.SetCurrentGameNumber(1);
    GameFileEditor editor(file, ui);
    for (bool first_answer : {false, true}) {
        // Either No leaves the file alone.
        ui.answers = {first_answer, false};
        Result<EditDone> cancelled = editor.DeleteCurrentGame();
        ASSERT_TRUE(cancelled.ok());
        EXPECT_TRUE(cancelled->cancelled);
        EXPECT_TRUE(ReadWholeFile(path) == ReadWholeFile(test::TestDataPath("lines/castling.pgn")));
    }
    ui.answers = {true, true};
    Result<EditDone> done = editor.DeleteCurrentGame();
    ASSERT_TRUE(done.ok());
    EXPECT_EQ(platform::FileSize(path), 0);
    EXPECT_EQ(file.GameCount(), 0);
    EXPECT_EQ(done->game_to_show, 0);
    EXPECT_EQ(editor.DeleteCurrentGame().error().message(), NoGamesInThisFile);
}

TEST(GameFileEditor, CopiesTakeTheGamesInListOrder) {
    ASSERT_TRUE(test::HavePgnExtract());
    struct Row {
        const char* name;
        std::vector<std::int32_t> games;
        bool append;
        bool target_exists;
        std::deque<bool> answers;
        std::vector<std::string_view> questions;
    } rows[] = {
        {"new file", {3, 7, 10, 11, 12}, false, false, {true}, {ContinueQuestion}},
        {"over an existing file", {12, 3}, false, true, {true}, {OverwriteFileQuestion}},
        {"appended", {40, 1}, true, true, {true}, {ContinueQuestion}},
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
        copy.ui.answers = row.answers;
        GameFileEditor editor(copy.file, copy.ui);
        Result<EditDone> done = editor.CopyNavigationGames(row.games, target, row.append);
        ASSERT_TRUE(done.ok()) << done.error().message();
        EXPECT_EQ(copy.ui.questions, Games(row.questions.begin(), row.questions.end()));
        EXPECT_EQ(copy.ui.reports, Games{std::string(CopyGamesComplete)});
        Games expected;
        if (row.append) expected.push_back(ExtractedGame(existing));
        for (std::int32_t game : row.games) {
            expected.push_back(copy.games[static_cast<std::size_t>(game - 1)]);
        }
        EXPECT_EQ(test::PgnExtractGames(target), expected);
        EXPECT_FALSE(platform::FileExists(copy.dir.File("target.PGO")));
        if (row.append) {
            EXPECT_TRUE(ReadWholeFile(target).starts_with(existing + "\r\n"));
        }
        EXPECT_TRUE(copy.Now() == copy.original);
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
        GameFileEditor editor(file, ui);
        Result<std::string> records = editor.GameRecords(1);
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
    EXPECT_TRUE(source.Now() == source.original);

    OpenCopy target("scan/players_crlf.pgn", 20);
    GameFileEditor into(target.file, target.ui);
    Result<EditDone> done = into.SaveGameBuffer(buffer, SaveMode::Insert);
    ASSERT_TRUE(done.ok());
    // After an insert from the buffer the first game is shown.
    EXPECT_EQ(done->game_to_show, 1);
    Games games = test::PgnExtractGames(target.path);
    ASSERT_EQ(games.size(), 41u);
    EXPECT_EQ(games[19], source.games[8]);
}

// Nothing the user cannot undo happens when a change is refused or fails half-way: every file of
// the folder keeps its bytes.
TEST(GameFileEditor, RefusedOrFailedChangesLeaveEveryFileAsItWas) {
    using Fault = test::FaultyFileSystem::Fault;
    const std::string game = GameText("lines/immortal-games.pgn", 3);
    const std::string long_game = GameText("lines/FIDE_longest_possible_game.pgn", 1);
    enum class Act { Append, Insert, Overwrite, NewFile, Delete, Replace, Copy, CopyAppend };
    struct Row {
        const char* name;
        Act act;
        Fault fault;
        std::int64_t disk_bytes;
        std::string_view message;
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
        {"delete, read-only", Act::Delete, Fault::ReadOnly, 0, ErrorOpeningToChangeSize},
        {"delete, disk full", Act::Delete, Fault::DiskFull, 20000, ErrorSavingGame},
        {"delete, rename fails", Act::Delete, Fault::RenameFails, 0, ErrorChangingFileSize},
        {"replace, disk full", Act::Replace, Fault::DiskFull, 1000, ErrorSavingGame},
        {"copy, read-only folder", Act::Copy, Fault::ReadOnly, 0, ErrorCreatingNewFile},
        {"copy, disk full", Act::Copy, Fault::DiskFull, 100, ErrorCreatingNewFile},
        {"copy append, read-only target", Act::CopyAppend, Fault::ReadOnly, 0, ErrorOpeningFile},
        {"copy append, disk full", Act::CopyAppend, Fault::DiskFull, 300, ErrorSavingGame},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenCopy copy;
        copy.dir.Write("target.pgn", game);
        const auto before = test::FolderContents(copy.dir.path());
        test::FaultyFileSystem file_system(row.fault, row.disk_bytes);
        GameFileEditor editor(copy.file, copy.ui, file_system);
        copy.ui.answers = {true, true};
        const std::string target = copy.dir.File("target.pgn");
        Result<EditDone> done = Error();
        switch (row.act) {
            case Act::Append:
                done = editor.SaveGameText(game, SaveMode::Append);
                break;
            case Act::Insert:
                done = editor.SaveGameText(game, SaveMode::Insert);
                break;
            case Act::Overwrite:
                done = editor.SaveGameText(long_game, SaveMode::OverwriteLast);
                break;
            case Act::NewFile:
                done = editor.SaveGameText(game, SaveMode::NewFile, copy.dir.File("new.pgn"));
                break;
            case Act::Delete:
                done = editor.DeleteCurrentGame();
                break;
            case Act::Replace:
                done = editor.ReplaceCurrentGame(game);
                break;
            case Act::Copy:
                done = editor.CopyNavigationGames(std::vector<std::int32_t>{1, 2},
                                                  copy.dir.File("copied.pgn"), false);
                break;
            case Act::CopyAppend:
                done = editor.CopyNavigationGames(std::vector<std::int32_t>{1, 2}, target, true);
                break;
        }
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().message(), row.message);
        auto expected = before;
        // The caches that describe the old content go just before the rename; a rename that
        // then fails costs the next open a rescan, never a game.
        if (row.fault == Fault::RenameFails) expected.erase("games.PGO");
        EXPECT_EQ(test::FolderDifference(expected, test::FolderContents(copy.dir.path())), "");
    }
}

TEST(GameFileEditor, RefusalsBeforeAnythingIsWritten) {
    const std::string game = GameText("lines/short_annotated.pgn", 2);
    OpenCopy copy;
    copy.dir.Write("target.pgn", game);
    const auto before = test::FolderContents(copy.dir.path());
    GameFileEditor editor(copy.file, copy.ui);
    std::vector<std::int32_t> none;
    EXPECT_EQ(editor.CopyNavigationGames(none, copy.dir.File("x.pgn"), false).error().message(),
              NoGamesToCopy);
    EXPECT_EQ(editor.CopyCurrentGame(copy.path, false).error().message(), SameAsCurrentFile);
    copy.ui.answers = {true};
    EXPECT_EQ(editor.CopyCurrentGame(copy.dir.File("missing.pgn"), true).error().message(),
              FileDoesNotExist);
    // Without the question, an overwrite is not done.
    copy.ui.answers.clear();
    Result<EditDone> declined = editor.CopyCurrentGame(copy.dir.File("target.pgn"), false);
    ASSERT_TRUE(declined.ok());
    EXPECT_TRUE(declined->cancelled);
    EXPECT_EQ(copy.ui.questions, Games{std::string(OverwriteFileQuestion)});
    EnteredGame entered;
    entered.header.Get(HeaderField::Result) = "1-0";
    EXPECT_EQ(editor.SaveGameToFile(entered, SaveMode::Append).error().message(), NoMovesEntered);
    EXPECT_EQ(test::FolderDifference(before, test::FolderContents(copy.dir.path())), "");
}

TEST(GameFileEditor, AFileAtTheGameLimitIsLeftAlone) {
    TempDir dir;
    std::string content;
    const std::string one = "[Event \"x\"]\n\n1.e4 *\n\n";
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
        Result<EditDone> done = editor.SaveGameText(one, mode);
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().message(), FillMessage(MaximumGamesExceeded, MaxGamesPerFile));
    }
    EXPECT_EQ(platform::FileSize(path), static_cast<std::int64_t>(content.size()));
}

}  // namespace
}  // namespace qorvale::pgn
