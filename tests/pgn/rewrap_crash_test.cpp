// A re-wrap killed at any point leaves the user's games whole: the old file as it was, or the
// re-wrapped file complete, and a scan of what is left finds every game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ui.h"
#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/offset_cache.h"
#include "pgn/pgn_file.h"
#include "pgn/rewrap.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::TestDataPath;

// White, Black, Result and the half-move count of every game of the file, read the way the
// window reads them (through the offset cache when one is there).
std::vector<std::string> GamesOf(const std::string& path) {
    SilentUi ui;
    PgnFile file;
    std::vector<std::string> games;
    if (file.Open(path)) return games;
    std::int32_t count = file.ScanGameFile(false, ui);
    HeaderTags header;
    GameLines lines;
    chess::ChessState chess;
    for (int game = 1; game <= count; ++game) {
        Result<int> half_moves = OpenGameForDisplay(file, game, header, lines, chess, ui);
        const HeaderValues& values = header.CurrentHeader();
        games.push_back(values.Get(HeaderField::White) + "|" + values.Get(HeaderField::Black) +
                        "|" + values.Get(HeaderField::Result) + "|" +
                        (half_moves.ok() ? std::to_string(*half_moves) : "not loaded"));
    }
    return games;
}

enum class Operation { Rewrap, ScanThatRewraps };

struct Row {
    const char* name;
    Operation operation;
    const char* file_name;  // the user's file
    const char* new_name;   // its name once re-wrapped
    bool damaged_cache;     // a damaged offset cache lies beside it
};

TEST(RewrapCrash, EveryGameSurvivesAKillAtAnyPoint) {
    const std::string original = ReadWholeFile(TestDataPath("harden/one-line-movetext.pgn"));
    ASSERT_FALSE(original.empty());
    std::vector<std::string> games;
    {
        TempDir copy;
        games = GamesOf(copy.Write("games.pgn", original));
    }
    ASSERT_EQ(games.size(), 8u);

    const Row rows[] = {
        {"re-wrap under a new name", Operation::Rewrap, "games.pgn", "Games.pgn", false},
        {"re-wrap over its own name", Operation::Rewrap, "Kept.pgn", "Kept.pgn", false},
        {"scan re-wraps and writes the cache", Operation::ScanThatRewraps, "my-games.pgn",
         "My-Games.pgn", true},
        {"scan of a kept name", Operation::ScanThatRewraps, "Lichess.pgn", "Lichess.pgn", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string path = dir.File(row.file_name);
        const std::string new_path = dir.File(row.new_name);

        // What a re-wrap that runs to its end leaves.
        dir.Write(row.file_name, original);
        ASSERT_TRUE(RewrapLongRecords(path, platform::SystemFileSystem()).ok());
        const std::string rewrapped = ReadWholeFile(new_path);
        ASSERT_NE(rewrapped, original);
        ASSERT_EQ(GamesOf(new_path), games);

        auto prepare = [&] {
            for (const std::string& name : platform::ListFolder(dir.path(), "*")) {
                platform::DeleteFile(dir.File(name));
            }
            dir.Write(row.file_name, original);
            if (row.damaged_cache) dir.Write("my-games.PGO", std::string(40, '\x01'));
        };
        auto operation = [&](platform::FileSystem& file_system) {
            if (row.operation == Operation::Rewrap) {
                (void)RewrapLongRecords(path, file_system);
            } else {
                // The user says Yes when the scan asks to re-wrap.
                test::RecordingUi ui;
                ui.answers = {true};
                PgnFile file(file_system);
                if (!file.Open(path)) (void)file.ScanGameFile(false, ui);
            }
        };
        auto check = [&](int point) {
            bool old_whole = platform::FileExists(path) && ReadWholeFile(path) == original;
            bool new_whole = platform::FileExists(new_path) && ReadWholeFile(new_path) == rewrapped;
            // The user's name holds the old text or the new; nothing else.
            if (platform::FileExists(path)) {
                const std::string now = ReadWholeFile(path);
                EXPECT_TRUE(now == original || (path == new_path && now == rewrapped));
            }
            EXPECT_TRUE(old_whole || new_whole) << "neither file is whole";
            if (point == 0) {
                EXPECT_TRUE(new_whole);
                EXPECT_FALSE(platform::FileExists(dir.File(RewriteTempName)));
                if (path != new_path) {
                    EXPECT_FALSE(platform::FileExists(path));
                }
            }
            // The user opens the file again (by its old name while it is there) and finds every
            // game, through whatever offset cache was left.
            std::string reopened = platform::FileExists(path) ? path : new_path;
            EXPECT_EQ(GamesOf(reopened), games);
            // A second open answers from the cache the first one wrote: the same games.
            std::string after = platform::FileExists(path) ? path : new_path;
            EXPECT_EQ(GamesOf(after), games);
        };
        int points = test::KillAtEveryPoint(prepare, operation, check);
        // Create, write, flush, rename at the least, each with its points.
        EXPECT_GE(points, 8);
    }
}

}  // namespace
}  // namespace qorvale::pgn
