// A tree merge file made or appended to, killed at any point: the merge file is as it was or
// complete, never cut, and its trees go only once the new content is in place.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"
#include "support/kill_points.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using test::ReadWholeFile;
using test::TempDir;

TEST(MergeFileCrash, TheMergeFileIsOldOrComplete) {
    struct Row {
        const char* name;
        bool append;
        bool fast_file;  // copied from a current fast file rather than read from the text
    };
    const Row rows[] = {{"appended from a fast file", true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string pgn = dir.CopyData("harden/fischer.pgn", "games.pgn");
        SilentUi ui;
        pgn::PgnFile file;
        ASSERT_TRUE(file.Open(pgn).ok());
        const std::int32_t count = file.ScanGameFile(false, ui);
        const std::vector<std::uint32_t> offsets(file.Index().Offsets().begin(),
                                                 file.Index().Offsets().end());
        file.Close();
        auto merge = [&](platform::FileSystem& files, const std::string& target, bool append) {
            PgnGameSource source(pgn, offsets);
            if (source.Open()) return MakeOutcome::CreateFailed;
            return MakeMergeFile(pgn, count, source, {target, append}, {}, files).outcome;
        };
        if (row.fast_file) {
            PgnGameSource source(pgn, offsets);
            ASSERT_TRUE(source.Open().ok());
            ASSERT_EQ(MakeFastFile(pgn, count, source, {}).outcome, MakeOutcome::Complete);
        }
        // The merge file before (one copy of the games) and after the operation.
        const std::string target = dir.File("games.trm");
        ASSERT_EQ(merge(platform::SystemFileSystem(), target, false), MakeOutcome::Complete);
        const std::string before = ReadWholeFile(target);
        ASSERT_EQ(merge(platform::SystemFileSystem(), target, row.append), MakeOutcome::Complete);
        const std::string after = ReadWholeFile(target);
        ASSERT_NE(before.size() == after.size(), row.append);

        test::KillAtEveryPoint(
            [&] {
                dir.Write("games.trm", before);
                dir.Write("games.TRE", "tree");
                platform::DeleteFile(target + ".new");
            },
            [&](platform::FileSystem& files) { (void)merge(files, target, row.append); },
            [&](int point) {
                const std::string now = ReadWholeFile(target);
                EXPECT_TRUE(now == before || now == after);
                if (point == 0) {
                    EXPECT_EQ(now, after);
                }
                // The tree of the old content goes with it, not before.
                if (now == before && row.append) {
                    EXPECT_TRUE(platform::FileExists(dir.File("games.TRE")));
                }
            });
    }
}

}  // namespace
}  // namespace qorvale::search
