// The staged writes that every small file goes through (databases, caches, the spell list,
// diagrams, web pages, downloads, printed PDFs): in a read-only folder, on a disk that fills at
// any point, or with a rename that fails, the old file stays whole and nothing is left beside it.
#include "platform/whole_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/staged_file.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace qorvale::platform {
namespace {

using test::FaultyFileSystem;
using Fault = FaultyFileSystem::Fault;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(StagedWrites, AFailureLeavesEveryOldFileWhole) {
    const std::string first(30000, 'a');
    const std::string second(5000, 'b');
    using Write = std::function<bool(FileSystem&, const std::string&, const std::string&)>;
    struct Way {
        const char* name;
        Write write;
    };
    const Way ways[] = {
        {"whole file", [&](FileSystem& fs, const std::string& a,
                           const std::string&) { return WriteWholeFile(fs, a, first); }},
        {"two files together",
         [&](FileSystem& fs, const std::string& a, const std::string& b) {
             // The small file first, so that the disk may fill in the second one.
             const FileContent contents[] = {{b, Bytes(second)}, {a, Bytes(first)}};
             return WriteWholeFiles(fs, contents);
         }},
        {"staged file written in pieces",
         [&](FileSystem& fs, const std::string& a, const std::string&) {
             StagedFile staged(fs, a);
             for (std::size_t at = 0; at < first.size(); at += 4096) {
                 const std::size_t size = std::min<std::size_t>(4096, first.size() - at);
                 if (!staged.Write(first.data() + at, static_cast<std::int64_t>(size))) {
                     return false;
                 }
             }
             return staged.Commit();
         }},
    };
    struct Trouble {
        Fault fault;
        std::int64_t disk_bytes;
    };
    const Trouble troubles[] = {{Fault::ReadOnly, 0},     {Fault::RenameFails, 0},
                                {Fault::DiskFull, 0},     {Fault::DiskFull, 4096},
                                {Fault::DiskFull, 15000}, {Fault::DiskFull, 29999}};
    for (const Way& way : ways) {
        for (const bool existing : {true, false}) {
            for (const Trouble& trouble : troubles) {
                SCOPED_TRACE(testing::Message()
                             << way.name << (existing ? ", over old files" : ", new files")
                             << ", fault " << static_cast<int>(trouble.fault) << ", room "
                             << trouble.disk_bytes);
                test::TempDir dir;
                if (existing) {
                    dir.Write("first.dat", "the old first file");
                    dir.Write("second.dat", "the old second file");
                }
                const test::FolderSnapshot before = test::FolderContents(dir.path());
                FaultyFileSystem faulty(trouble.fault, trouble.disk_bytes);
                EXPECT_FALSE(way.write(faulty, dir.File("first.dat"), dir.File("second.dat")));
                EXPECT_EQ(test::FolderDifference(before, test::FolderContents(dir.path())), "");
            }
            // Without trouble the new content is all there.
            test::TempDir dir;
            FaultyFileSystem none(Fault::None);
            ASSERT_TRUE(way.write(none, dir.File("first.dat"), dir.File("second.dat")));
            EXPECT_TRUE(test::ReadWholeFile(dir.File("first.dat")) == first);
        }
    }
}

}  // namespace
}  // namespace qorvale::platform
