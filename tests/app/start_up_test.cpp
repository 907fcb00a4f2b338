#include "app/start_up.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

#include "app/app_folder.h"
#include "app/messages.h"
#include "app/options_file.h"
#include "base/bytes.h"
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

    void WriteBytes(const OptionsBytes& bytes) {
        dir.Write(OptionsFileName,
                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
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

// A 32-bit value at a byte offset of "savinfo.opt".
struct Poke {
    std::size_t offset;
    std::uint32_t value;
};

TEST(StartUp, RepairsBadOrMissingSettings) {
    struct Row {
        std::string_view name;
        std::vector<Poke> damage;
        std::vector<Poke> expected;
        bool saved;  // the repair is written to the file at once
    };
    const Row rows[] = {
        {"replay off while text hidden", {{0x23C, 1}, {0x1904, 1}}, {{0x1904, 0}}, false},
        {"replay count 0", {{0x1DB4, 0}}, {{0x1DB4, 10}}, false},
        {"ribbon never initialised",
         {{0x1DB0, 0}, {0x1DAC, 0}, {0x3B8, 2}, {0x5AC, 700}, {0x130, 0}},
         {{0x1DB0, 1}, {0x1DAC, 1}, {0x3B8, 0}, {0x5AC, 0}, {0x130, 1}},
         false},
        {"narrow window widened", {{0x1DB8, 0}, {0x5AC, 700}}, {{0x5AC, 860}, {0x1DB8, 1}}, false},
        {"wide window kept", {{0x1DB8, 0}, {0x5AC, 1200}}, {{0x5AC, 1200}}, false},
        {"every-start flags",
         {{0x128, 0}, {0x12C, 0}, {0x2CC, 1}, {0x3D0, 0}},
         {{0x128, 1}, {0x12C, 1}, {0x2CC, 0}, {0x3D0, 1}},
         false},
        {"border width not chosen", {{0x5EC, 0}, {0x5D0, 4}}, {{0x5D0, 1}}, false},
        {"border width chosen", {{0x5D0, 4}}, {{0x5D0, 4}}, false},
        {"classic layout not chosen", {{0x750, 0}, {0x74C, 0}}, {{0x74C, 1}}, false},
        {"tree settings lost",
         {{0x2B8, 0}, {0x2BC, 0}, {0x2C8, 0}, {0x1C0, 0}, {0x1C4, 0}, {0x328, 0xFFFFFFFD}},
         {{0x2B8, 10}, {0x2BC, 1}, {0x2C8, 1}, {0x1C0, 1}, {0x1C4, 1}, {0x328, 10}},
         false},
        {"duplicate settings lost",
         {{0x3BC, 0}, {0x3C0, 0}, {0x3C8, 0}},
         {{0x3BC, 100}, {0x3C0, 2}, {0x3C8, 10}},
         false},
        {"highlight colour not chosen", {{0x3B0, 0x123456}}, {{0x3B0, 0x00FFFF}}, false},
        {"highlight colour chosen", {{0x3B4, 1}, {0x3B0, 0x123456}}, {{0x3B0, 0x123456}}, false},
        {"move highlight not chosen", {{0x1924, 0x00FF00}}, {{0x1924, 0x0000FF}}, false},
        {"column colours zero",
         {{0x880, 0}, {0x884, 0}, {0x888, 0}},
         {{0x880, 0xFFFFFF}, {0x888, 0xE8E8E8}},
         false},
        {"grid colour set", {{0x880, 0}, {0x884, 0x404040}}, {{0x880, 0}}, false},
        {"replay highlight colour zero", {{0x1934, 0}}, {{0x1934, 0xA0A0A0}}, false},
        {"preset flag lost", {{0x1C64, 0}, {0x1C54, 0}}, {{0x1C64, 1}, {0x1C54, 1}}, false},
        {"replay defaults never set",
         {{0x1928, 0}, {0x192C, 1}, {0x1930, 0}, {0x1934, 5}},
         {{0x192C, 0xA80054}, {0x1930, 8}, {0x1934, 0xA0A0A0}, {0x1928, 1}},
         true},
        {"old options level", {{0x1C6C, 1}, {0x1C68, 1}}, {{0x1C6C, 2}, {0x1C68, 0}}, true},
        {"piece style and board out of range",
         {{0x13C, 0x7A7A7A7A}, {0x3B8, 0xFFFFFFFF}},
         {{0x13C, 8}, {0x3B8, 0}},
         false},
        {"blue pieces on wood", {{0x13C, 7}, {0x1C48, 1}}, {{0x1C48, 0}}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name));
        StartedApp app;
        OptionsBytes bytes = EncodeOptions(SettledOptions(app.dir.path()));
        for (const Poke& poke : row.damage) PutU32(bytes.data() + poke.offset, poke.value);
        app.WriteBytes(bytes);
        app.Start();
        EXPECT_FALSE(app.state.first_run);
        OptionsBytes in_memory = EncodeOptions(app.state.options);
        OptionsBytes on_disk = EncodeOptions(app.OnDisk());
        for (const Poke& poke : row.expected) {
            SCOPED_TRACE(poke.offset);
            EXPECT_EQ(GetU32(in_memory.data() + poke.offset), poke.value);
            if (row.saved) {
                EXPECT_EQ(GetU32(on_disk.data() + poke.offset), poke.value);
            }
        }
        if (!row.saved) {
            EXPECT_EQ(on_disk, bytes);  // the file was left alone
        }
    }
}

TEST(StartUp, RepairsTexts) {
    struct Row {
        std::string_view name;
        std::function<void(OptionsRecord&)> damage;
        std::function<std::string(const OptionsRecord&)> read;
        std::string expected;
    };
    const Row rows[] = {
        {"empty play delay", [](OptionsRecord& r) { SetText(r.AutoPlayDelay, ""); },
         [](const OptionsRecord& r) { return GetText(r.AutoPlayDelay); }, "1"},
        {"repeated alpha letters", [](OptionsRecord& r) { SetText(r.AlphaPieceLetters, "KQRBB"); },
         [](const OptionsRecord& r) { return GetText(r.AlphaPieceLetters); }, "KQRBN"},
        {"unterminated file name", [](OptionsRecord& r) { r.CurrentFileName.fill('a'); },
         [](const OptionsRecord& r) { return GetText(r.CurrentFileName); }, std::string(55, 'a')},
        {"folder never initialised, elsewhere",
         [](OptionsRecord& r) {
             r.FolderInitialised = 0;
             SetText(r.CurrentFolder, "/media/games");
             SetText(r.CurrentFileName, "twic.pgn");
         },
         [](const OptionsRecord& r) { return GetText(r.CurrentFileName); }, ""},
        {"folder never initialised, inside",
         [](OptionsRecord& r) {
             r.FolderInitialised = 0;
             SetText(r.CurrentFolder, GetText(r.CurrentFolder) + "/Sub");
             SetText(r.CurrentFileName, "my.pgn");
         },
         [](const OptionsRecord& r) {
             return GetText(r.CurrentFolder) + "|" + GetText(r.CurrentFileName);
         },
         "|my.pgn"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name));
        StartedApp app;
        OptionsRecord record = SettledOptions(app.dir.path());
        row.damage(record);
        app.WriteBytes(EncodeOptions(record));
        app.Start();
        std::string expected = row.expected;
        if (expected.starts_with('|')) expected = app.dir.path() + expected;  // folder reset
        EXPECT_EQ(row.read(app.state.options), expected);
    }
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
    app.WriteBytes(bytes);
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
    for (std::size_t size :
         {std::size_t{0}, std::size_t{3}, std::size_t{0x400}, OptionsRecordSize}) {
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
        std::set<std::uint32_t> colours = {o.BackgroundColour, o.LightSquareColour,
                                           o.DarkSquareColour, o.HighlightColour,
                                           o.BorderColour,     o.ArrowColour};
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
    constexpr Row rows[] = {{"1", 1.0},   {"2.5", 2.5}, {" 0.25s", 0.25},
                            {"abc", 1.0}, {"", 1.0},    {"0", 0.0}};
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
    constexpr Row rows[] = {{250, 1, 200}, {200, 1, 200}, {175, 26, 175},
                            {1, 200, 1},   {0, 0, 0},     {-5, 200, 1}};
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
