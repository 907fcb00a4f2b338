#include "app/app_folder.h"

#include <gtest/gtest.h>

#include "app/window_placement.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

TEST(AppFolder, ComesFromTheEnvironmentInOrder) {
    struct Row {
        std::string_view name, qorvale_home, xdg_data_home, home, folder;
    };
    constexpr Row rows[] = {
        {"own variable first", "/opt/q", "/x/data", "/home/u", "/opt/q"},
        {"XDG data home", "", "/x/data", "/home/u", "/x/data/qorvale"},
        {"XDG with slash", "", "/x/data/", "/home/u", "/x/data/qorvale"},
        {"relative XDG ignored", "", "data", "/home/u", "/home/u/.local/share/qorvale"},
        {"home", "", "", "/home/u", "/home/u/.local/share/qorvale"},
        {"nothing set", "", "", "", "qorvale"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name));
        EXPECT_EQ(AppFolderFrom(row.qorvale_home, row.xdg_data_home, row.home), row.folder);
    }
}

TEST(AppFolder, SeedingCopiesMissingFilesAndKeepsTheUsersOwn) {
    test::TempDir data;
    ASSERT_TRUE(platform::CreateFolder(data.File("openings")));
    data.Write("sample-games.pgn", "[Event \"shipped\"]\n");
    data.Write("qorvale.eco", "shipped table");
    data.Write("openings/ecocodes.pgn", "[ECO \"A00\"]\n");

    test::TempDir home;
    std::string app_folder = home.File("share/qorvale");
    ASSERT_TRUE(platform::CreateFolder(app_folder));
    std::string users_table = platform::JoinPath(app_folder, "qorvale.eco");
    ASSERT_TRUE(platform::CopyFile(data.Write("edited", "edited by the user"), users_table));

    EXPECT_TRUE(SeedAppFolder(app_folder, data.path()).ok());
    EXPECT_EQ(test::ReadWholeFile(users_table), "edited by the user");
    EXPECT_EQ(test::ReadWholeFile(platform::JoinPath(app_folder, "sample-games.pgn")),
              "[Event \"shipped\"]\n");
    EXPECT_EQ(test::ReadWholeFile(platform::JoinPath(app_folder, "openings/ecocodes.pgn")),
              "[ECO \"A00\"]\n");

    // A second start changes nothing, even after the user edits a seeded file.
    data.Write("sample-games.pgn", "[Event \"newer\"]\n");
    EXPECT_TRUE(SeedAppFolder(app_folder, data.path()).ok());
    EXPECT_EQ(test::ReadWholeFile(platform::JoinPath(app_folder, "sample-games.pgn")),
              "[Event \"shipped\"]\n");
}

TEST(AppFolder, SeedingCreatesTheFolderOrSaysItCannot) {
    test::TempDir home;
    std::string fresh = home.File("a/b/qorvale");
    EXPECT_TRUE(SeedAppFolder(fresh, home.File("no-data")).ok());
    EXPECT_TRUE(platform::FolderExists(fresh));

    std::string blocked = home.Write("plain-file", "x") + "/qorvale";
    Error error = SeedAppFolder(blocked, home.path());
    EXPECT_EQ(error.message(), "Error creating folder.");
}

TEST(WindowPlacement, DefaultsBySizeAndScreenUnlessARectangleWasSaved) {
    struct Row {
        std::string_view name;
        std::int32_t board_size;
        bool ribbon, classic, ribbon_initialised;
        ScreenSize screen;
        WindowRect expected;
    };
    constexpr Row rows[] = {
        {"first placement", 0, true, true, false, {1600, 1000}, {10, 10, 860, 590}},
        {"small with ribbon", 0, true, true, true, {1600, 1000}, {60, 50, 860, 590}},
        {"small classic", 0, false, true, true, {1600, 1000}, {60, 50, 860, 492}},
        {"small plain", 0, false, false, true, {1600, 1000}, {60, 50, 860, 480}},
        {"small on 800 wide", 0, true, true, true, {800, 600}, {10, 10, 860, 590}},
        {"medium with ribbon", 1, true, true, true, {1600, 1000}, {5, 5, 975, 812}},
        {"medium classic", 1, false, true, true, {1600, 1000}, {5, 5, 975, 722}},
        {"medium too low", 1, true, true, true, {1600, 700}, {60, 50, 860, 590}},
        {"large", 2, true, true, true, {1920, 1080}, {0, 0, 1250, 960}},
        {"large falls to medium", 2, true, true, true, {1600, 1000}, {5, 5, 975, 812}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name));
        OptionsRecord record;
        record.BoardSize = row.board_size;
        record.DisplayRibbon = row.ribbon;
        record.ClassicLayout = row.classic;
        record.RibbonInitialised = row.ribbon_initialised;
        EXPECT_EQ(WindowRectangle(record, row.screen, false), row.expected);
        EXPECT_FALSE(HasSavedWindowRectangle(record, row.screen, false));

        // A rectangle saved for this layout wins; the other layouts keep theirs.
        WindowRect moved{33, 44, 1111, 777};
        StoreWindowRectangle(record, row.screen, false, moved);
        EXPECT_EQ(WindowRectangle(record, row.screen, false), moved);
        EXPECT_TRUE(HasSavedWindowRectangle(record, row.screen, false));
        EXPECT_EQ(WindowRectangle(record, row.screen, true), row.expected);
        EXPECT_FALSE(HasSavedWindowRectangle(record, row.screen, true));
    }
}

}  // namespace
}  // namespace qorvale::app
