#include "app/start_up.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

#include "app/app_folder.h"
#include "app/messages.h"
#include "app/options_file.h"
#include "platform/file.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

// An install folder with a given "savinfo.opt", started once.
struct StartedApp {
    test::TempDir dir;
    test::RecordingUi ui;
    StartUpState state;

    void WriteOptions(const OptionsRecord& record) {
        OptionsBytes bytes = EncodeOptions(record);
        dir.Write(OptionsFileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    void Start(std::string command_line = "") {
        state = StartUp({dir.path(), std::move(command_line), false});
        PostStartUpOpen(state, ui);
    }
    OptionsRecord OnDisk() const {
        return LoadOptions(dir.File(OptionsFileName), dir.path(), false).record;
    }
};

OptionsRecord SettledOptions(const std::string& app_folder) {
    OptionsRecord record = DefaultOptions(app_folder, false);
    InitialiseColourPresets(record);
    ApplyFirstColourPreset(record);
    record.EcoDataReady = 1;
    record.OpeningsPrepared = 1;
    record.WindowWidened = 1;
    return record;
}

TEST(StartUp, FirstRunWritesDefaultsAndReopensTheLastFile) {
    StartedApp app;
    app.dir.Write(GameBufferFileName, "[Event \"left over\"]\n");
    app.Start();

    EXPECT_TRUE(app.state.first_run);
    EXPECT_EQ(test::ReadWholeFile(app.dir.File(OptionsFileName)).size(), OptionsRecordSize);
    EXPECT_EQ(app.OnDisk(), app.state.options);
    EXPECT_EQ(GetText(app.state.options.CurrentFolder), app.dir.path());
    EXPECT_EQ(app.state.options.PieceStyle, static_cast<std::int32_t>(PieceStyleId::ModWood));
    EXPECT_NE(app.state.options.LightSquareColour, 0u);
    EXPECT_EQ(app.state.options.ColoursInitialised, 1);
    EXPECT_TRUE(app.state.eco_data_stale);
    EXPECT_FALSE(platform::FileExists(app.dir.File(GameBufferFileName)));
    EXPECT_EQ(app.ui.posted, std::vector<Command>{Command::OpenFile});
    EXPECT_TRUE(app.ui.reports.empty());
}

TEST(StartUp, RepairsBadOrMissingSettings) {
    struct Row {
        std::string_view name;
        std::function<void(OptionsRecord&)> damage;
        std::function<void(const OptionsRecord&)> check;
        bool saved;  // the repair is written to the file at once
    };
    const Row rows[] = {
        {"replay off while the text is hidden",
         [](OptionsRecord& r) { r.HideGameText = 1; r.AnalysisReplayActive = 1; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.AnalysisReplayActive, 0); }, false},
        {"replay count 0", [](OptionsRecord& r) { r.AutoReplayCount = 0; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.AutoReplayCount, 10); }, false},
        {"ribbon never initialised",
         [](OptionsRecord& r) { r.RibbonInitialised = 0; r.DisplayRibbon = 0; r.BoardSize = 2;
                                r.SmallBoardWindowWidth = 700; r.AutoDisplayGame = 0; },
         [](const OptionsRecord& r) {
             EXPECT_EQ(r.DisplayRibbon, 1); EXPECT_EQ(r.RibbonInitialised, 1);
             EXPECT_EQ(r.BoardSize, 0); EXPECT_EQ(r.SmallBoardWindowWidth, 0);
             EXPECT_EQ(r.AutoDisplayGame, 1); }, false},
        {"narrow window widened for the ribbon",
         [](OptionsRecord& r) { r.WindowWidened = 0; r.SmallBoardWindowWidth = 700; },
         [](const OptionsRecord& r) {
             EXPECT_EQ(r.SmallBoardWindowWidth, 860); EXPECT_EQ(r.WindowWidened, 1); }, false},
        {"wide window kept", [](OptionsRecord& r) { r.WindowWidened = 0; r.SmallBoardWindowWidth = 1200; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.SmallBoardWindowWidth, 1200); }, false},
        {"every-start flags",
         [](OptionsRecord& r) { r.WindowCreated = 0; r.ReopenLastFile = 0; r.StartRuntimeFlag = 1;
                                r.RunningFlag = 0; },
         [](const OptionsRecord& r) {
             EXPECT_EQ(r.WindowCreated, 1); EXPECT_EQ(r.ReopenLastFile, 1);
             EXPECT_EQ(r.StartRuntimeFlag, 0); EXPECT_EQ(r.RunningFlag, 1); }, false},
        {"border width not chosen", [](OptionsRecord& r) { r.BorderWidthSet = 0; r.BorderWidth = 4; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.BorderWidth, 1); }, false},
        {"border width chosen", [](OptionsRecord& r) { r.BorderWidth = 4; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.BorderWidth, 4); }, false},
        {"tree settings lost",
         [](OptionsRecord& r) { r.TreeSettings = {}; r.AutoPageGameText = 0; r.TreeSetting = -3; },
         [](const OptionsRecord& r) {
             EXPECT_EQ(r.TreeSettings, (std::array<std::int32_t, 6>{0, 10, 1, 0, 0, 1}));
             EXPECT_EQ(r.AutoPageGameText, 1); EXPECT_EQ(r.TreeSetting, 10); }, false},
        {"empty play delay", [](OptionsRecord& r) { SetText(r.AutoPlayDelay, ""); },
         [](const OptionsRecord& r) { EXPECT_EQ(GetText(r.AutoPlayDelay), "1"); }, false},
        {"duplicate settings lost", [](OptionsRecord& r) { r.DuplicateSettings = {}; r.ManeuversLookAheadCount = 0; },
         [](const OptionsRecord& r) {
             EXPECT_EQ(r.DuplicateSettings, (std::array<std::int32_t, 3>{100, 2, 0}));
             EXPECT_EQ(r.ManeuversLookAheadCount, 10); }, false},
        {"colours never set", [](OptionsRecord& r) { r.LightSquareColour = 0; r.DarkSquareColour = 0; },
         [](const OptionsRecord& r) {
             EXPECT_EQ(r.LightSquareColour, r.ColourPresets[(0x43C - 0x3E8) / 4]);
             EXPECT_NE(r.LightSquareColour, 0u); EXPECT_NE(r.DarkSquareColour, r.LightSquareColour); }, false},
        {"highlight colour not chosen", [](OptionsRecord& r) { r.HighlightColour = 0x123456; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.HighlightColour, 0x00FFFFu); }, false},
        {"column colours zero",
         [](OptionsRecord& r) { r.ColumnTextBackColour = 0; r.ColumnNumberBackColour = 0; },
         [](const OptionsRecord& r) {
             EXPECT_EQ(r.ColumnTextBackColour, 0xFFFFFFu); EXPECT_EQ(r.ColumnNumberBackColour, 0xE8E8E8u); }, false},
        {"replay defaults never set",
         [](OptionsRecord& r) { r.ReplayDefaultsSet = 0; r.ReplayVariationColour = 1; r.ReplayHighlightOn = 0; },
         [](const OptionsRecord& r) {
             EXPECT_EQ(r.ReplayVariationColour, 0xA80054u); EXPECT_EQ(r.ReplayHighlightOn, 8); }, true},
        {"old options level", [](OptionsRecord& r) { r.OptionsLevel = 1; r.LevelOption = 1; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.OptionsLevel, 2); EXPECT_EQ(r.LevelOption, 0); }, true},
        {"folder never initialised, elsewhere",
         [](OptionsRecord& r) { r.FolderInitialised = 0; SetText(r.CurrentFolder, "/media/games");
                                SetText(r.CurrentFileName, "twic.pgn"); },
         [](const OptionsRecord& r) { EXPECT_EQ(GetText(r.CurrentFileName), ""); }, true},
        {"piece style out of range", [](OptionsRecord& r) { r.PieceStyle = 0x7A7A7A7A; r.BoardSize = -1; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.PieceStyle, 8); EXPECT_EQ(r.BoardSize, 0); }, false},
        {"blue pieces on wood", [](OptionsRecord& r) { r.PieceStyle = 7; r.WoodBoard = 1; },
         [](const OptionsRecord& r) { EXPECT_EQ(r.WoodBoard, 0); }, false},
        {"repeated alpha letters", [](OptionsRecord& r) { SetText(r.AlphaPieceLetters, "KQRBB"); },
         [](const OptionsRecord& r) { EXPECT_EQ(GetText(r.AlphaPieceLetters), "KQRBN"); }, false},
        {"unterminated file name",
         [](OptionsRecord& r) { r.CurrentFileName.fill('a'); },
         [](const OptionsRecord& r) { EXPECT_EQ(GetText(r.CurrentFileName), std::string(55, 'a')); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name));
        StartedApp app;
        OptionsRecord record = SettledOptions(app.dir.path());
        row.damage(record);
        app.WriteOptions(record);
        app.Start();
        EXPECT_FALSE(app.state.first_run);
        row.check(app.state.options);
        if (row.saved) row.check(app.OnDisk());
        else EXPECT_EQ(app.OnDisk(), record);  // the file was left alone
    }
}

TEST(StartUp, FolderInsideTheInstallFolderKeepsItsFileName) {
    StartedApp app;
    OptionsRecord record = SettledOptions(app.dir.path());
    record.FolderInitialised = 0;
    SetText(record.CurrentFolder, app.dir.path() + "/Sub");
    SetText(record.CurrentFileName, "my.pgn");
    app.WriteOptions(record);
    app.Start();
    EXPECT_EQ(GetText(app.state.options.CurrentFileName), "my.pgn");
    EXPECT_EQ(GetText(app.state.options.CurrentFolder), app.dir.path());
    EXPECT_EQ(app.state.options.FolderInitialised, 1);
}

TEST(StartUp, OlderLayoutMovesDialogFoldersAndDropsTheSearchList) {
    StartedApp app;
    OptionsRecord record = SettledOptions(app.dir.path());
    SetText(record.CurrentFolder, "");
    SetText(record.PreviousFolder, "stale");
    OptionsBytes bytes = EncodeOptions(record);
    auto put = [&](std::size_t offset, std::string_view text) {
        std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    };
    put(0x000, "/home/u/chess");
    put(0x054, "world.pgn");
    put(0x384, "previous.pgn");
    put(0x7F4, "/home/u/db");
    put(0x108, "third.ser");
    app.dir.Write(OptionsFileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    app.dir.Write(SearchListFileName, "1\n2\n");
    app.Start();

    const OptionsRecord& options = app.state.options;
    EXPECT_EQ(GetText(options.CurrentFolder), "/home/u/chess");
    EXPECT_EQ(GetText(options.CurrentFileName), "world.pgn");
    EXPECT_EQ(GetText(options.PreviousFolder), "");
    EXPECT_EQ(GetText(options.PreviousFileName), "previous.pgn");
    EXPECT_EQ(GetText(options.DatabaseFolder), "/home/u/db");
    EXPECT_EQ(GetText(options.SearchCriteriaFileName3), "third.ser");
    EXPECT_FALSE(platform::FileExists(app.dir.File(SearchListFileName)));
}

TEST(StartUp, GarbageOrShortFilesComeOutSane) {
    std::mt19937 random(7640);  // fixed seed
    for (std::size_t size : {std::size_t{0}, std::size_t{3}, std::size_t{0x400}, OptionsRecordSize}) {
        SCOPED_TRACE(size);
        StartedApp app;
        std::string garbage(size, '\0');
        for (char& byte : garbage) byte = static_cast<char>(random());
        app.dir.Write(OptionsFileName, garbage);
        app.Start();
        const OptionsRecord& o = app.state.options;
        EXPECT_FALSE(app.state.first_run);
        EXPECT_GE(o.PieceStyle, 0);
        EXPECT_LE(o.PieceStyle, 8);
        EXPECT_GE(o.BoardSize, 0);
        EXPECT_LE(o.BoardSize, 2);
        EXPECT_GE(o.AutoReplayCount, 1);
        EXPECT_EQ(o.OptionsLevel, 2);
        EXPECT_EQ(o.ReopenLastFile, 1);
        EXPECT_TRUE(CheckAlphaPieceLetters(GetText(o.AlphaPieceLetters)).empty());
        EXPECT_FALSE(GetText(o.CurrentFolder).empty());
        EXPECT_EQ(o.CurrentFileName.back(), '\0');
        std::set<std::uint32_t> colours = {o.BackgroundColour, o.LightSquareColour, o.DarkSquareColour,
                                           o.HighlightColour, o.BorderColour, o.ArrowColour};
        EXPECT_EQ(colours.size(), 6u);
    }
}

TEST(StartUp, CommandLinePathLosesQuotesAndBlanks) {
    struct Row {
        std::string_view command_line;
        std::string_view path;
    };
    constexpr Row rows[] = {
        {"", ""},
        {"   ", ""},
        {"/home/u/games.pgn", "/home/u/games.pgn"},
        {"  /home/u/games.pgn \r\n", "/home/u/games.pgn"},
        {"\"/home/u/my games.pgn\"", "/home/u/my games.pgn"},
        {" \"/tmp/a b.pgn\" ", "/tmp/a b.pgn"},
        {"\"/tmp/unclosed.pgn", "/tmp/unclosed.pgn"},
        {"\"\"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.command_line));
        EXPECT_EQ(CommandLinePath(row.command_line), row.path);
    }
    StartedApp app;
    app.Start("\"/tmp/x y.pgn\"");
    EXPECT_EQ(app.state.command_line_path, "/tmp/x y.pgn");
    EXPECT_TRUE(app.state.open_file_posted);
}

TEST(StartUp, AutoPlayDelayReadsLikeScanf) {
    struct Row {
        std::string_view text;
        double seconds;
    };
    constexpr Row rows[] = {{"1", 1.0}, {"2.5", 2.5}, {" 0.25s", 0.25}, {"abc", 1.0}, {"", 1.0}, {"0", 0.0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.text));
        EXPECT_DOUBLE_EQ(ParseAutoPlayDelay(row.text), row.seconds);
    }
}

TEST(OptionsDialogRules, SlideSpeedIsStoredAsADelay) {
    struct Row {
        std::int32_t speed;
        std::int32_t stored;
        std::int32_t shown;
    };
    constexpr Row rows[] = {{250, 1, 200}, {200, 1, 200}, {175, 26, 175}, {1, 200, 1}, {0, 0, 0}, {-5, 200, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.speed);
        EXPECT_EQ(SlideDelayFromSpeed(row.speed), row.stored);
        EXPECT_EQ(SlideSpeedFromDelay(SlideDelayFromSpeed(row.speed)), row.shown);
    }
}

TEST(OptionsDialogRules, AlphaLettersMustBeDistinctLetters) {
    struct Row {
        std::string_view letters;
        std::string_view message;
        std::uint8_t custom;
    };
    constexpr Row rows[] = {
        {"KQRBN", "", 0},
        {"KDTLS", "", 1},
        {"kqrbn", "", 1},
        {"KQRBB", LettersMustDiffer, 0},
        {"KQR1N", OnlyLettersAllowed, 0},
        {"KQ BN", OnlyLettersAllowed, 0},
        {"KQRB", OnlyLettersAllowed, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.letters));
        EXPECT_EQ(CheckAlphaPieceLetters(row.letters), row.message);
        if (!row.message.empty()) continue;
        OptionsRecord record;
        SetAlphaPieceLetters(record, row.letters);
        EXPECT_EQ(GetText(record.AlphaPieceLetters), row.letters);
        EXPECT_EQ(record.CustomPieceLetters, row.custom);
    }
}

TEST(OptionsFile, EqualColoursAreNudgedApart) {
    OptionsRecord record;
    record.BackgroundColour = record.LightSquareColour = record.DarkSquareColour = 0x00808080;
    record.HighlightColour = record.BorderColour = record.ArrowColour = 0x00808080;
    MakeColoursDistinct(record);
    std::set<std::uint32_t> colours = {record.BackgroundColour, record.LightSquareColour,
                                       record.DarkSquareColour, record.HighlightColour,
                                       record.BorderColour,     record.ArrowColour};
    EXPECT_EQ(colours.size(), 6u);
    EXPECT_EQ(record.BackgroundColour, 0x00808080u);  // the first colour never moves
    for (std::uint32_t colour : colours) EXPECT_EQ(colour & 0xFFFF00u, 0x808000u);

    OptionsRecord unset;
    unset.HighlightColour = unset.BorderColour = 0x00FFFF;
    MakeColoursDistinct(unset);
    EXPECT_EQ(unset.BorderColour, 0x00FFFFu);
}

}  // namespace
}  // namespace qorvale::app
