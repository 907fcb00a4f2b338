// A change of a game file killed at any point leaves the file holding exactly the old games or
// exactly the new ones once it is opened again, and what that open finds through the caches left
// beside it agrees with a scan of the bytes.
#include <gtest/gtest.h>

#include <vector>

#include "pgn/file_change.h"
#include "pgn/game_file_edit.h"
#include "platform/file.h"
#include "support/kill_points.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using Offsets = std::vector<std::uint32_t>;

enum class Act {
    Append,
    Overwrite,
    OverwriteShorter,
    Insert,
    Delete,
    DeleteLast,
    Replace,
    Copy,
    CopyAppend
};

struct Row {
    const char* name;
    Act act;
    std::int32_t shown;
};

Offsets IndexOf(const PgnFile& file) {
    return {file.Index().Offsets().begin(), file.Index().Offsets().end()};
}

// Opens `path` as the program does (an interrupted change is mended), through its caches, and
// checks the index against a scan that ignores them.
void ExpectOpensConsistently(const std::string& path) {
    SilentUi ui;
    PgnFile cached;
    ASSERT_TRUE(cached.Open(path).ok());
    cached.ScanGameFile(false, ui);
    PgnFile scanned;
    ASSERT_TRUE(scanned.Open(path).ok());
    scanned.ScanGameFile(true, ui);
    EXPECT_EQ(IndexOf(cached), IndexOf(scanned));
    EXPECT_FALSE(platform::FileExists(ChangeJournalPath(path)));
}

void RunChange(Act act, const std::string& path, const std::string& target, std::int32_t shown,
               const std::string& text, platform::FileSystem& file_system) {
    // Questions are answered Yes, as the user who asked for the change would.
    struct YesUi final : Ui {
        void report(std::string_view) override {}
        bool ask(std::string_view) override { return true; }
        void progress(const ProgressCounters&) override {}
        void post(Command) override {}
    } ui;
    PgnFile file(file_system);
    if (!file.Open(path).ok()) return;
    file.ScanGameFile(false, ui);
    file.SetCurrentGameNumber(shown);
    GameFileEditor editor(file, ui, file_system);
    const std::vector<std::int32_t> games = {2, 9, 4};
    switch (act) {
        case Act::Append:
            (void)editor.SaveGameText(text, SaveMode::Append);
            break;
        case Act::Overwrite:
            (void)editor.SaveGameText(text, SaveMode::OverwriteLast);
            break;
        case Act::OverwriteShorter:
            // Shorter than the last game: the file is cut after it.
            (void)editor.SaveGameText("[Event \"Short\"]\r\n[Result \"*\"]\r\n\r\n1. d4 *\r\n",
                                      SaveMode::OverwriteLast);
            break;
        case Act::Insert:
            (void)editor.SaveGameText(text, SaveMode::Insert);
            break;
        case Act::Delete:
        case Act::DeleteLast:
            (void)editor.DeleteCurrentGame();
            break;
        case Act::Replace:
            (void)editor.ReplaceCurrentGame(text);
            break;
        case Act::Copy:
            (void)editor.CopyNavigationGames(games, target, false);
            break;
        case Act::CopyAppend:
            (void)editor.CopyNavigationGames(games, target, true);
            break;
    }
}

TEST(GameFileEditCrash, EveryChangeIsWholeOrAbsentAfterAKillAtAnyPoint) {
    const std::string original = ReadWholeFile(test::TestDataPath("scan/players_crlf.pgn"));
    const std::string target_original =
        ReadWholeFile(test::TestDataPath("lines/short_annotated.pgn"));
    // A real game of another file, as typed text.
    const std::string text =
        ReadWholeFile(test::TestDataPath("lines/variations-nags-and-comments.pgn"));
    const Row rows[] = {
        {"append", Act::Append, 5},
        {"overwrite last", Act::Overwrite, 5},
        {"overwrite last with a shorter game", Act::OverwriteShorter, 5},
        {"insert", Act::Insert, 3},
        {"delete", Act::Delete, 3},
        {"delete the last game", Act::DeleteLast, 40},
        {"replace", Act::Replace, 7},
        {"copy to a new file", Act::Copy, 1},
        {"copy onto the end of a file", Act::CopyAppend, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir("/dev/shm");
        const std::string path = dir.File("games.pgn");
        const std::string target = dir.File("target.pgn");
        const bool copies = row.act == Act::Copy || row.act == Act::CopyAppend;
        const std::string& changed_path = copies ? target : path;
        auto prepare = [&] {
            for (const char* name : {"games.pgn", "games.PGO", "games.PGJ", "target.pgn",
                                     "target.PGO", "target.PGJ", "tempqqqq.xyz"}) {
                platform::DeleteFile(dir.File(name));
            }
            dir.Write("games.pgn", original);
            if (row.act == Act::CopyAppend) dir.Write("target.pgn", target_original);
            // The offset cache is there, as after any open.
            SilentUi ui;
            PgnFile file;
            ASSERT_TRUE(file.Open(path).ok());
            file.ScanGameFile(false, ui);
        };

        // What the change leaves when it runs to its end.
        prepare();
        const std::string old = ReadWholeFile(changed_path);
        RunChange(row.act, path, target, row.shown, text, platform::SystemFileSystem());
        const std::string changed = ReadWholeFile(changed_path);
        ASSERT_NE(changed, old);

        auto operation = [&](platform::FileSystem& file_system) {
            RunChange(row.act, path, target, row.shown, text, file_system);
        };
        auto check = [&](int point) {
            if (platform::FileExists(changed_path)) ExpectOpensConsistently(changed_path);
            const std::string now = ReadWholeFile(changed_path);
            EXPECT_TRUE(now == old || now == changed)
                << "the file holds neither the old nor the new games";
            if (copies) {
                EXPECT_TRUE(ReadWholeFile(path) == original);
            }
            if (point == 0) {
                EXPECT_TRUE(now == changed);
                EXPECT_FALSE(platform::FileExists(dir.File("tempqqqq.xyz")));
            }
        };
        int points = test::KillAtEveryPoint(prepare, operation, check);
        // Begin, write, flush and the rename or the journal, each with its points.
        EXPECT_GE(points, 8);
    }
}

}  // namespace
}  // namespace qorvale::pgn
