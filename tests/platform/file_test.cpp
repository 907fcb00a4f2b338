#include "platform/file.h"

#include <gtest/gtest.h>

#include "platform/folder.h"
#include "support/temp_dir.h"

namespace qorvale::platform {
namespace {

using test::TempDir;

TEST(File, ReadWriteSeekAndSetLength) {
    TempDir dir;
    std::string path = dir.File("a.pgn");
    {
        File file = File::Create(path);
        ASSERT_TRUE(file.IsOpen());
        ASSERT_TRUE(file.Write("0123456789"));
        EXPECT_EQ(file.Size(), 10);
        ASSERT_TRUE(file.Seek(4));
        char buffer[4] = {};
        EXPECT_EQ(file.Read(buffer, 3), 3);
        EXPECT_EQ(std::string(buffer, 3), "456");
        EXPECT_EQ(file.Tell(), 7);
        ASSERT_TRUE(file.SetLength(5));
        EXPECT_EQ(file.Size(), 5);
        EXPECT_EQ(file.Read(buffer, 3), 0);  // past the new end
    }
    EXPECT_EQ(test::ReadWholeFile(path), "01234");
    EXPECT_EQ(FileSize(path), 5);
}

TEST(File, FailuresAreValuesNotCrashes) {
    TempDir dir;
    File missing = File::Open(dir.File("none.pgn"), File::Mode::Read);
    EXPECT_FALSE(missing.IsOpen());
    char buffer[4];
    EXPECT_EQ(missing.Read(buffer, 4), -1);
    EXPECT_FALSE(missing.Write("x"));
    EXPECT_FALSE(missing.Seek(0));
    EXPECT_EQ(missing.Size(), -1);
    // A folder is not a file, though POSIX would open it.
    EXPECT_FALSE(File::Open(dir.path(), File::Mode::Read).IsOpen());
    EXPECT_EQ(FileSize(dir.path()), -1);
    EXPECT_FALSE(File::Create(dir.File("no/such/folder.pgn")).IsOpen());
}

TEST(File, RenameReplacesDeleteRemovesCopyDuplicates) {
    TempDir dir;
    std::string a = dir.Write("a.tmp", "new");
    std::string b = dir.Write("b.pgn", "old");
    ASSERT_TRUE(RenameFile(a, b));
    EXPECT_FALSE(FileExists(a));
    EXPECT_EQ(test::ReadWholeFile(b), "new");
    ASSERT_TRUE(CopyFile(b, dir.File("c.pgn")));
    EXPECT_EQ(test::ReadWholeFile(dir.File("c.pgn")), "new");
    ASSERT_TRUE(DeleteFile(b));
    EXPECT_FALSE(FileExists(b));
    EXPECT_FALSE(DeleteFile(b));
    ASSERT_TRUE(CreateFolder(dir.File("x/y/z")));
    EXPECT_TRUE(FolderExists(dir.File("x/y/z")));
}

TEST(Folder, ListsMatchingFilesSortedIgnoringCase) {
    TempDir dir;
    for (const char* name : {"b.pgn", "A.PGN", "c.txt", "d.pgn.bak"}) dir.Write(name, "");
    ASSERT_TRUE(CreateFolder(dir.File("sub.pgn")));  // folders are not listed
    std::vector<std::string> expected = {"A.PGN", "b.pgn"};
    EXPECT_EQ(ListFolder(dir.path(), "*.pgn"), expected);
    EXPECT_EQ(ListFolder(dir.path(), "?.txt"), std::vector<std::string>{"c.txt"});
    EXPECT_TRUE(ListFolder(dir.File("missing"), "*").empty());
}

TEST(Folder, PatternsAndPaths) {
    struct Row {
        const char* name;
        const char* pattern;
        bool matches;
    } rows[] = {
        {"games.pgn", "*.pgn", true},
        {"games.pgnx", "*.pgn", false},
        {"GAMES.PGN", "*.pgn", true},
        {"a", "*", true},
        {"", "*", true},
        {"abc", "a?c", true},
        {"abbbc", "a*b*c", true},
        {"abbbd", "a*b*c", false},
        {"x.pgn.pgn", "*.pgn", true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(MatchesPattern(row.name, row.pattern), row.matches)
            << row.name << " vs " << row.pattern;
    }
    EXPECT_EQ(JoinPath("/a/b", "c.pgn"), "/a/b/c.pgn");
    EXPECT_EQ(JoinPath("/a/b/", "c.pgn"), "/a/b/c.pgn");
    EXPECT_EQ(JoinPath("/a", "/abs.pgn"), "/abs.pgn");
    EXPECT_EQ(JoinPath("", "c.pgn"), "c.pgn");
    EXPECT_EQ(FolderOf("/a/b/c.pgn"), "/a/b");
    EXPECT_EQ(FolderOf("/c.pgn"), "/");
    EXPECT_EQ(FolderOf("c.pgn"), "");
    EXPECT_EQ(NameOf("/a/b/c.pgn"), "c.pgn");
    EXPECT_FALSE(CurrentFolder().empty());
}

}  // namespace
}  // namespace qorvale::platform
