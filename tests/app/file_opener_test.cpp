#include "app/file_opener.h"

#include <gtest/gtest.h>

#include <deque>

#include "pgn/messages.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

// A window that answers the dialogs from a script and counts what it is asked to do.
class ScriptedHost final : public GameFileHost {
  public:
    std::deque<std::optional<std::string>> choices;
    int resets = 0, long_scans = 0;
    std::int32_t ply = 0;

    std::optional<std::string> ChooseFile(OpenMode, std::string_view) override {
        std::optional<std::string> choice = choices.front();
        choices.pop_front();
        return choice;
    }
    void SaveOptions(const SavedFileFields&) override {}
    void ResetGameState() override { ++resets; }
    void BeforeLongScan() override { ++long_scans; }
    std::int32_t DisplayedPly() const override { return ply; }
};

struct Opening {
    qorvale::test::TempDir dir;
    pgn::PgnFile file;
    SavedFileFields saved;
    ScriptedHost host;
    qorvale::test::RecordingUi ui;
    GameFileOpener opener{file, saved, host, ui};

    // As after start-up: a.pgn was open (game 2, half-move 5 remembered), b.pgn before it.
    Opening() {
        for (const char* name : {"a.pgn", "b.pgn"})
            dir.Write(name, "[Event \"1\"]\n\n[Event \"2\"]\n");
        dir.Write("c.pgn", "[Event \"only\"]\n\n1. c4 *\n");
        saved = {dir.path(), "a.pgn", dir.path(), "b", 2, 5};
    }
    int Open(OpenMode mode, std::optional<std::string> name) {
        host.choices = {name ? std::optional(dir.File(*name)) : std::nullopt};
        return opener.OpenGameFile(mode, pgn::SelectPgnFileTitle);
    }
};

TEST(GameFileOpener, OpenThenSwitchBackAndForth) {
    Opening o;
    // Start-up reopens the saved file, which changes nothing that is remembered.
    ASSERT_EQ(o.opener.OpenPath(o.dir.File("a.pgn")), 0);
    EXPECT_EQ(o.saved.PreviousFileName + " " + o.opener.PreviousPath(), "b " + o.dir.File("b.pgn"));
    ASSERT_EQ(o.Open(OpenMode::ChooseAndOpen, "c"), 0);  // ".pgn" is added
    EXPECT_EQ(o.file.CurrentPath(), o.dir.File("c.pgn"));
    EXPECT_EQ(o.file.GameCount(), 1);
    // The first dialog makes the saved file the previous one, with its saved game and ply.
    EXPECT_EQ(o.saved.CurrentFileName + " " + o.saved.PreviousFileName, "c.pgn a.pgn");
    ASSERT_TRUE(o.file.LoadGame(1, o.ui));
    o.host.ply = 3;
    ASSERT_EQ(o.opener.OpenGameFile(OpenMode::SwitchToPrevious, ""), 0);
    EXPECT_EQ(o.file.CurrentPath(), o.dir.File("a.pgn"));
    EXPECT_EQ(o.opener.GameToShow() * 10 + o.opener.PlyToShow(), 25);
    EXPECT_EQ(o.saved.PreviousFileName, "c.pgn");
    EXPECT_EQ(o.saved.PreviousGameNumber * 10 + o.saved.PreviousPly, 13);
    ASSERT_EQ(o.opener.OpenGameFile(OpenMode::SwitchToPrevious, ""), 0);
    EXPECT_EQ(o.file.CurrentPath(), o.dir.File("c.pgn"));
    EXPECT_EQ(o.opener.GameToShow() * 10 + o.opener.PlyToShow(), 13);
    // A later dialog takes the game and half-move on display.
    ASSERT_TRUE(o.file.LoadGame(1, o.ui));
    o.host.ply = 9;
    ASSERT_EQ(o.Open(OpenMode::ChooseAndOpen, "b.pgn"), 0);
    EXPECT_EQ(o.saved.PreviousFileName, "c.pgn");
    EXPECT_EQ(o.saved.PreviousGameNumber * 10 + o.saved.PreviousPly, 19);
    EXPECT_EQ(o.host.resets, 5);
    // Only the first scans in the folder lacked a cache and needed the wait display.
    EXPECT_EQ(o.host.long_scans, 1);
    EXPECT_TRUE(o.ui.reports.empty());
}

TEST(GameFileOpener, CancelledFailedAndSaveDialogs) {
    struct Row {
        const char* name;
        OpenMode mode;
        std::optional<std::string> choice;
        int result;
        const char* current_after;  // saved current file name afterwards
        std::vector<std::string> reports;
    } rows[] = {
        {"open cancelled", OpenMode::ChooseAndOpen, std::nullopt, -1, "b.pgn", {}},
        {"append cancelled", OpenMode::ChooseForAppend, std::nullopt, -1, "b.pgn", {}},
        {"save cancelled", OpenMode::ChooseNewFile, std::nullopt, -2, "b.pgn", {}},
        {"missing file",
         OpenMode::ChooseAndOpen,
         "none.pgn",
         -1,
         "b.pgn",
         {std::string(pgn::ErrorOpeningFile)}},
        {"save into existing", OpenMode::ChooseNewFile, "c.pgn", 0, "c.pgn", {}},
        {"save into new", OpenMode::ChooseNewFile, "new", -1, "new.pgn", {}},
        {"namesakes warned",
         OpenMode::ChooseAndOpen,
         "d.pgn",
         0,
         "d.pgn",
         {std::string(pgn::TreeMergeFileWarning), std::string(pgn::DatabaseWarning)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Opening o;
        o.dir.Write("d.pgn", "[Event \"d\"]\n\n1. e4 *\n");
        for (const char* name : {"d.TRM", "d.DBG"}) o.dir.Write(name, "");
        ASSERT_EQ(o.Open(OpenMode::ChooseAndOpen, "b.pgn"), 0);
        EXPECT_EQ(o.Open(row.mode, row.choice), row.result);
        EXPECT_EQ(o.saved.CurrentFileName, row.current_after);
        EXPECT_EQ(o.ui.reports, row.reports);
        EXPECT_TRUE(row.result >= 0 || o.file.CurrentPath() == o.dir.File("b.pgn"));
    }
}

}  // namespace
}  // namespace qorvale::app
