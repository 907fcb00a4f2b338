// Every whole-file rewrite of the utilities in a read-only folder, on a disk that fills at any
// point of the new file, and with a rename that fails: the user's file keeps its old bytes, no
// temporary file is left, and the file opens to the index a scan that ignores the caches gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"
#include "utilities/file_rewrite.h"
#include "utilities/rewrite_rows.h"

namespace qorvale::utilities {
namespace {

using test::FaultyFileSystem;
using Fault = FaultyFileSystem::Fault;

TEST(RewriteFaults, AFailedRewriteLeavesTheFileAsItWas) {
    const std::string original = RewriteOriginal();
    const std::int64_t size = static_cast<std::int64_t>(original.size());
    struct Trouble {
        Fault fault;
        std::int64_t disk_bytes;
    };
    // The disk fills at the start of the new file, inside it, just before its end.
    const Trouble troubles[] = {{Fault::ReadOnly, 0},        {Fault::RenameFails, 0},
                                {Fault::DiskFull, 0},        {Fault::DiskFull, 100},
                                {Fault::DiskFull, size / 2}, {Fault::DiskFull, size - 200}};
    for (const Row& row : RewriteRows()) {
        for (const Trouble& trouble : troubles) {
            SCOPED_TRACE(testing::Message()
                         << row.name << ", fault " << static_cast<int>(trouble.fault) << ", room "
                         << trouble.disk_bytes);
            test::TempDir dir;
            const std::string path = dir.Write("games.pgn", original);
            const Scanned before = Scan(path, false);
            FaultyFileSystem faulty(trouble.fault, trouble.disk_bytes);
            row.rewrite(path, before, faulty);
            const std::string now = test::ReadWholeFile(path);
            if (trouble.fault == Fault::DiskFull && now != original) {
                // Room enough for a smaller new file: then it must be whole, as without trouble.
                test::TempDir whole;
                const std::string whole_path = whole.Write("games.pgn", original);
                row.rewrite(whole_path, Scan(whole_path, false), platform::SystemFileSystem());
                EXPECT_EQ(now, test::ReadWholeFile(whole_path));
            } else {
                EXPECT_TRUE(now == original) << "the file changed";
            }
            EXPECT_FALSE(platform::FileExists(dir.File(RewriteTempName)));
            if (row.split && trouble.fault != Fault::DiskFull) {
                EXPECT_FALSE(platform::FileExists(dir.File("games1.pgn")));
            }
            EXPECT_EQ(Scan(path, false).offsets, Scan(path, true).offsets);
        }
    }
}

}  // namespace
}  // namespace qorvale::utilities
