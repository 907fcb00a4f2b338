#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/folder.h"
#include "support/temp_dir.h"

namespace qorvale::platform {
namespace {

TEST(SameFolderTest, ComparesFoldersNotSpellings) {
    test::TempDir dir;
    const std::string inner = JoinPath(dir.path(), "openings");
    const std::string other = JoinPath(dir.path(), "games");
    ASSERT_TRUE(CreateFolder(inner));
    ASSERT_TRUE(CreateFolder(other));
    const std::string file = dir.Write("openings/Ecocodes.pgn", "[ECO \"A00\"]\n");
    struct Row {
        const char* name;
        std::string a;
        std::string b;
        bool same;
    };
    const std::vector<Row> rows = {
        {"same text", inner, inner, true},
        {"trailing dot", inner + "/.", inner, true},
        {"through the parent", other + "/../openings", inner, true},
        {"folder of a file in it", FolderOf(file), inner, true},
        {"another folder", other, inner, false},
        {"missing folder", JoinPath(dir.path(), "none"), inner, false},
        {"a file is no folder", file, file, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SameFolder(row.a, row.b), row.same);
    }
}

}  // namespace
}  // namespace qorvale::platform
