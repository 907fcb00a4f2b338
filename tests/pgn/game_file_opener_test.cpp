#include "pgn/game_file_opener.h"

#include <gtest/gtest.h>

#include <deque>

#include "pgn/messages.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using qorvale::test::RecordingUi;
using qorvale::test::TempDir;

// A window that answers the dialogs from a script and counts what it is asked to do.
class ScriptedHost final : public GameFileHost {
  public:
    std::deque<std::optional<std::string>> choices;
    std::vector<OpenMode> dialog_modes;
    int saves = 0;
    int resets = 0;
    int long_scans = 0;
    std::int32_t ply = 0;

    std::optional<std::string> ChooseFile(OpenMode mode, std::string_view) override {
        dialog_modes.push_back(mode);
        std::optional<std::string> choice = choices.front();
        choices.pop_front();
        return choice;
    }
    void SaveOptions(const SavedFileFields&) override { ++saves; }
    void ResetGameState() override { ++resets; }
    void BeforeLongScan() override { ++long_scans; }
    std::int32_t DisplayedPly() const override { return ply; }
};

constexpr const char* TwoGames = "[Event \"1\"]\n\n1. e4 *\n\n[Event \"2\"]\n\n1. d4 *\n";

struct Fixture {
    TempDir dir;
    PgnFile file;
    SavedFileFields saved;
    ScriptedHost host;
    RecordingUi ui;
    GameFileOpener opener{file, saved, host, ui};

    Fixture() {
        dir.Write("a.pgn", TwoGames);
        dir.Write("b.pgn", TwoGames);
        dir.Write("c.pgn", "[Event \"only\"]\n\n1. c4 *\n");
        saved = {dir.path(), "a.pgn", dir.path(), "b", 2, 5};
    }
};

TEST(GameFileOpener, OpenThenSwitchBackAndForth) {
    Fixture f;
    f.host.choices = {f.dir.File("c")};
    ASSERT_EQ(f.opener.OpenGameFile(OpenMode::ChooseAndOpen, SelectPgnFileTitle), 0);
    EXPECT_EQ(f.file.CurrentPath(), f.dir.File("c.pgn"));
    EXPECT_EQ(f.file.GameCount(), 1);
    EXPECT_EQ(f.host.resets, 1);
    EXPECT_EQ(f.host.long_scans, 1);
    // Right after start-up the saved file becomes the previous one with its saved game.
    EXPECT_EQ(f.saved.CurrentFileName, "c.pgn");
    EXPECT_EQ(f.saved.PreviousFileName, "a.pgn");
    EXPECT_EQ(f.saved.PreviousGameNumber, 2);
    EXPECT_EQ(f.opener.PreviousPath(), f.dir.File("a.pgn"));

    f.file.SetCurrentGameNumber(1);
    f.host.ply = 3;
    ASSERT_EQ(f.opener.OpenGameFile(OpenMode::SwitchToPrevious, ""), 0);
    EXPECT_EQ(f.file.CurrentPath(), f.dir.File("a.pgn"));
    EXPECT_EQ(f.file.GameCount(), 2);
    EXPECT_EQ(f.opener.GameToShow(), 2);
    EXPECT_EQ(f.opener.PlyToShow(), 5);
    EXPECT_EQ(f.saved.CurrentFileName, "a.pgn");
    EXPECT_EQ(f.saved.PreviousFileName, "c.pgn");
    EXPECT_EQ(f.saved.PreviousGameNumber, 1);
    EXPECT_EQ(f.saved.PreviousPly, 3);
    // The cache written by the first scan is current: no wait display this time.
    f.file.SetCurrentGameNumber(2);
    f.host.ply = 0;
    ASSERT_EQ(f.opener.OpenGameFile(OpenMode::SwitchToPrevious, ""), 0);
    EXPECT_EQ(f.file.CurrentPath(), f.dir.File("c.pgn"));
    EXPECT_EQ(f.opener.GameToShow(), 1);
    EXPECT_EQ(f.opener.PlyToShow(), 3);
    EXPECT_EQ(f.host.long_scans, 1);

    // A later dialog takes the game and half-move on display.
    ASSERT_TRUE(f.file.LoadGame(f.opener.GameToShow(), f.ui));
    f.host.choices = {f.dir.File("b.pgn")};
    f.host.ply = 9;
    ASSERT_EQ(f.opener.OpenGameFile(OpenMode::ChooseAndOpen, SelectPgnFileTitle), 0);
    EXPECT_EQ(f.saved.PreviousFileName, "c.pgn");
    EXPECT_EQ(f.saved.PreviousGameNumber, 1);
    EXPECT_EQ(f.saved.PreviousPly, 9);
    EXPECT_TRUE(f.ui.reports.empty());
}

TEST(GameFileOpener, CancelledAndFailedOpensChangeNothing) {
    struct Row {
        const char* name;
        OpenMode mode;
        std::optional<std::string> choice;  // relative to the test folder
        int result;
        std::vector<std::string> reports;
    } rows[] = {
        {"open cancelled", OpenMode::ChooseAndOpen, std::nullopt, -1, {}},
        {"append cancelled", OpenMode::ChooseForAppend, std::nullopt, -1, {}},
        {"save cancelled", OpenMode::ChooseNewFile, std::nullopt, -2, {}},
        {"missing file",
         OpenMode::ChooseAndOpen,
         "missing.pgn",
         -1,
         {std::string(ErrorOpeningFile)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Fixture f;
        f.host.choices = {f.dir.File("a.pgn")};
        ASSERT_EQ(f.opener.OpenGameFile(OpenMode::ChooseAndOpen, ""), 0);
        const SavedFileFields before = f.saved;
        f.host.choices = {row.choice ? std::optional(f.dir.File(*row.choice)) : std::nullopt};
        EXPECT_EQ(f.opener.OpenGameFile(row.mode, ""), row.result);
        EXPECT_EQ(f.ui.reports, row.reports);
        EXPECT_EQ(f.file.CurrentPath(), f.dir.File("a.pgn"));
        EXPECT_EQ(f.file.GameCount(), 2);
        EXPECT_EQ(f.saved.CurrentFileName, before.CurrentFileName);
        EXPECT_EQ(f.saved.CurrentFolder, before.CurrentFolder);
    }
}

TEST(GameFileOpener, SaveDialogTellsExistingFromNewAndWarnsAboutNamesakes) {
    Fixture f;
    f.host.choices = {f.dir.File("b.pgn"), f.dir.File("new")};
    EXPECT_EQ(f.opener.OpenGameFile(OpenMode::ChooseNewFile, ""), 0);
    EXPECT_EQ(f.opener.OpenGameFile(OpenMode::ChooseNewFile, ""), -1);
    EXPECT_EQ(f.saved.CurrentFileName, "new.pgn");
    EXPECT_TRUE(f.ui.reports.empty());

    f.dir.Write("c.TRM", "");
    f.dir.Write("c.DBG", "");
    f.host.choices = {f.dir.File("c.pgn")};
    EXPECT_EQ(f.opener.OpenGameFile(OpenMode::ChooseAndOpen, ""), 0);
    std::vector<std::string> expected = {std::string(TreeMergeFileWarning),
                                         std::string(DatabaseWarning)};
    EXPECT_EQ(f.ui.reports, expected);
}

}  // namespace
}  // namespace qorvale::pgn
