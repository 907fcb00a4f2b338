// Every whole-file rewrite of the utilities killed at any point: the user's file is the old text
// or the new one, whole; the fast file beside it is current for that text or seen as stale (or
// gone); an offset cache left there indexes the text that is there; and the split's parts are
// whole or absent.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "utilities/file_rewrite.h"
#include "utilities/rewrite_rows.h"

namespace qorvale::utilities {
namespace {

using test::ReadWholeFile;
using test::TempDir;

void MakeFastFileOf(const std::string& path) {
    Scanned scanned = Scan(path, true);
    search::PgnGameSource source(path, scanned.offsets);
    ASSERT_TRUE(source.Open().ok());
    search::MakeFastFile(path, scanned.count, source, {});
}

TEST(RewriteCrash, EveryRewriteLeavesTheOldFileOrTheNewOneAtAnyPoint) {
    const std::string original = RewriteOriginal();
    const std::vector<Row> rows = RewriteRows();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // What the rewrite leaves when it runs to its end.
        TempDir whole;
        const std::string whole_path = whole.Write("games.pgn", original);
        const Scanned before = Scan(whole_path, false);
        row.rewrite(whole_path, before, platform::SystemFileSystem());
        const std::string rewritten = ReadWholeFile(whole_path);
        const std::vector<std::string> parts = {ReadWholeFile(whole.File("games1.pgn")),
                                                ReadWholeFile(whole.File("games2.pgn"))};
        if (row.split) {
            ASSERT_TRUE(rewritten == original);
            ASSERT_TRUE(parts[0] + parts[1] == original);
        } else {
            ASSERT_TRUE(rewritten != original);
        }
        const Scanned after = Scan(whole_path, true);
        MakeFastFileOf(whole_path);
        const std::string new_trf = ReadWholeFile(whole.File("games.TRF"));
        const std::string new_trh = ReadWholeFile(whole.File("games.TRH"));

        TempDir dir;
        const std::string path = dir.File("games.pgn");
        // The user's file with its offset cache and a current fast file.
        dir.Write("games.pgn", original);
        (void)Scan(path, false);
        MakeFastFileOf(path);
        const std::vector<std::string> beside = {"games.PGO", "games.TRF", "games.TRH"};
        std::vector<std::string> beside_bytes;
        for (const std::string& name : beside)
            beside_bytes.push_back(ReadWholeFile(dir.File(name)));
        const std::string& old_trf = beside_bytes[1];
        const std::string& old_trh = beside_bytes[2];
        auto prepare = [&] {
            for (const std::string& name : platform::ListFolder(dir.path(), "*")) {
                platform::DeleteFile(dir.File(name));
            }
            dir.Write("games.pgn", original);
            for (std::size_t k = 0; k < beside.size(); ++k) dir.Write(beside[k], beside_bytes[k]);
        };
        auto operation = [&](platform::FileSystem& file_system) {
            row.rewrite(path, before, file_system);
        };
        auto check = [&](int point) {
            const std::string now = ReadWholeFile(path);
            const bool is_old = now == original;
            const bool is_new = now == rewritten;
            ASSERT_TRUE(is_old || is_new) << "the file is neither the old text nor the new";
            if (point == 0) {
                EXPECT_TRUE(is_new);
                EXPECT_FALSE(platform::FileExists(dir.File(RewriteTempName)));
            }
            const std::int32_t count = is_old ? before.count : after.count;
            if (search::FastFileStateOf(path, count) == search::FastFileState::Current) {
                EXPECT_EQ(ReadWholeFile(dir.File("games.TRF")), is_old ? old_trf : new_trf);
                EXPECT_EQ(ReadWholeFile(dir.File("games.TRH")), is_old ? old_trh : new_trh);
            }
            // Opening the file again, through whatever offset cache is there, indexes it right.
            EXPECT_EQ(Scan(path, false).offsets, is_old ? before.offsets : after.offsets);
            if (row.split) {
                for (int part = 0; part < 2; ++part) {
                    const std::string name = dir.File(part == 0 ? "games1.pgn" : "games2.pgn");
                    if (platform::FileExists(name) || point == 0) {
                        EXPECT_EQ(ReadWholeFile(name), parts[static_cast<std::size_t>(part)]);
                    }
                }
            }
        };
        const int points = test::KillAtEveryPoint(prepare, operation, check);
        EXPECT_GE(points, 8);
    }
}

}  // namespace
}  // namespace qorvale::utilities
