// Saving the options killed at any point: "savinfo.opt" holds the last settings or the new ones,
// whole, and the next start reads one of them.
#include <gtest/gtest.h>

#include <string>

#include "app/options_file.h"
#include "app/options_record.h"
#include "platform/file.h"
#include "support/kill_points.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

using test::ReadWholeFile;
using test::TempDir;

std::string Bytes(const OptionsRecord& record) {
    OptionsBytes bytes = EncodeOptions(record);
    return std::string(bytes.begin(), bytes.end());
}

TEST(OptionsFileCrash, SettingsSurviveAKillAtAnyPoint) {
    struct Row {
        const char* name;
        bool file_before;  // settings of an earlier run are on disk
    };
    const Row rows[] = {{"first save", false}, {"save over the last settings", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string path = dir.File("savinfo.opt");
        OptionsRecord last = DefaultOptions(dir.path(), false);
        OptionsRecord next = last;
        next.ReopenLastFile = last.ReopenLastFile == 0 ? 1 : 0;
        next.HideGameText = 1;
        MakeColoursDistinct(last);
        MakeColoursDistinct(next);
        const std::string last_bytes = Bytes(last);
        const std::string next_bytes = Bytes(next);
        ASSERT_NE(last_bytes, next_bytes);

        auto prepare = [&] {
            platform::DeleteFile(path);
            platform::DeleteFile(path + ".new");
            if (row.file_before) dir.Write("savinfo.opt", last_bytes);
        };
        auto operation = [&](platform::FileSystem& file_system) {
            OptionsRecord saved = next;
            (void)SaveOptions(path, saved, file_system);
        };
        auto check = [&](int point) {
            LoadedOptions loaded = LoadOptions(path, dir.path(), false);
            if (!platform::FileExists(path)) {
                // Only a first save can leave no file: the next start is a first run again.
                EXPECT_FALSE(row.file_before);
                EXPECT_FALSE(loaded.found);
                return;
            }
            std::string on_disk = ReadWholeFile(path);
            EXPECT_TRUE(on_disk == next_bytes || (row.file_before && on_disk == last_bytes));
            if (point == 0) {
                EXPECT_EQ(on_disk, next_bytes);
            }
            EXPECT_EQ(loaded.bytes_read, OptionsRecordSize);
            EXPECT_EQ(Bytes(loaded.record), on_disk);
        };
        EXPECT_GE(test::KillAtEveryPoint(prepare, operation, check), 8);
    }
}

}  // namespace
}  // namespace qorvale::app
