#include "app/options_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/options_file.h"
#include "base/bytes.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

struct LayoutRow {
    std::string_view name;
    std::size_t offset;
    std::size_t size;
};

// The named fields of "savinfo.opt" as the file format fixes them.
constexpr LayoutRow NamedFields[] = {
    {"WindowCreated", 0x128, 4},        {"ReopenLastFile", 0x12C, 4},
    {"AutoDisplayGame", 0x130, 4},      {"MaxPrintLines", 0x134, 4},
    {"SlideDelay", 0x138, 4},           {"PieceStyle", 0x13C, 4},
    {"DisplayActualText", 0x140, 4},    {"FigurineNotation", 0x144, 4},
    {"EditStyle", 0x148, 4},            {"AutoPageGameText", 0x1C0, 4},
    {"AutoDisplayAnalysisComments", 0x1C4, 4}, {"HideGameText", 0x23C, 4},
    {"DarkSquareColour", 0x310, 4},     {"LightSquareColour", 0x314, 4},
    {"BackgroundColour", 0x318, 4},     {"CoordinatesMode", 0x31C, 4},
    {"EcoDataReady", 0x324, 4},         {"DisplayOpening", 0x32C, 4},
    {"PreviousGameNumber", 0x3A4, 4},   {"PreviousPly", 0x3A8, 4},
    {"HighlightLastMove", 0x3AC, 4},    {"HighlightColour", 0x3B0, 4},
    {"HighlightColourSet", 0x3B4, 4},   {"BoardSize", 0x3B8, 4},
    {"FolderInitialised", 0x3CC, 4},    {"EcoDataVersion", 0x3D4, 4},
    {"AutoPlayDelay", 0x3D8, 8},        {"DisplayGameButtons", 0x3E0, 4},
    {"ColoursInitialised", 0x3E4, 4},   {"BorderColour", 0x5CC, 4},
    {"BorderWidth", 0x5D0, 4},          {"BorderWidthSet", 0x5EC, 4},
    {"ClassicLayout", 0x74C, 4},        {"ClassicLayoutSet", 0x750, 4},
    {"ColumnFormat", 0x87C, 4},         {"ColumnTextBackColour", 0x880, 4},
    {"ColumnGridColour", 0x884, 4},     {"ColumnNumberBackColour", 0x888, 4},
    {"CurrentFolder", 0x88C, 200},      {"CurrentFileName", 0x954, 56},
    {"PreviousFolder", 0xDFC, 200},     {"PreviousFileName", 0xEC4, 56},
    {"AlphaPieceLetters", 0x18FC, 6},   {"CustomPieceLetters", 0x1903, 1},
    {"AnalysisReplayActive", 0x1904, 4}, {"ReplayColoursSet", 0x191C, 4},
    {"MoveHighlightColourSet", 0x1920, 4}, {"MoveHighlightColour", 0x1924, 4},
    {"ReplayDefaultsSet", 0x1928, 4},   {"ReplayVariationColour", 0x192C, 4},
    {"ReplayHighlightOn", 0x1930, 4},   {"ReplayHighlightColour", 0x1934, 4},
    {"AnalysisReplayMode", 0x1B44, 4},  {"WoodBoard", 0x1C48, 4},
    {"OptionsLevel", 0x1C6C, 4},        {"ArrowColour", 0x1C70, 4},
    {"OpeningsPrepared", 0x1DA8, 4},    {"DisplayRibbon", 0x1DAC, 4},
    {"RibbonInitialised", 0x1DB0, 4},   {"AutoReplayCount", 0x1DB4, 4},
    {"WindowWidened", 0x1DB8, 4},       {"SearchCriteriaFolder", 0x98C, 200},
    {"UciEngineFolder", 0x1C74, 200},   {"UciEngineFileName", 0x1D3C, 56},
    {"ExtractedVariationsFolder", 0x1B48, 200}, {"GifFolder", 0x1944, 200},
};

TEST(OptionsRecord, NamedFieldsSitAtTheirOffsets) {
    std::vector<OptionsField> layout = OptionsLayout();
    for (const LayoutRow& row : NamedFields) {
        SCOPED_TRACE(std::string(row.name));
        auto found = std::find_if(layout.begin(), layout.end(),
                                  [&](const OptionsField& field) { return field.name == row.name; });
        ASSERT_NE(found, layout.end());
        EXPECT_EQ(found->offset, row.offset);
        EXPECT_EQ(found->size, row.size);
    }
}

TEST(OptionsRecord, FieldsAscendWithoutOverlapUpTo7640Bytes) {
    std::vector<OptionsField> layout = OptionsLayout();
    ASSERT_FALSE(layout.empty());
    for (std::size_t i = 1; i < layout.size(); ++i) {
        SCOPED_TRACE(std::string(layout[i].name));
        EXPECT_GE(layout[i].offset, layout[i - 1].offset + layout[i - 1].size);
    }
    EXPECT_EQ(layout.back().offset + layout.back().size, OptionsRecordSize);
}

TEST(OptionsRecord, DecodeThenEncodeKeepsFieldsAndZeroesReservedBytes) {
    std::mt19937 random(20261205);  // fixed seed: the failing bytes can be reproduced
    OptionsBytes noise;
    for (auto& byte : noise) byte = static_cast<std::uint8_t>(random() | 1);  // never zero
    OptionsBytes again = EncodeOptions(DecodeOptions(noise.data(), noise.size()));

    std::vector<bool> covered(OptionsRecordSize, false);
    for (const OptionsField& field : OptionsLayout()) {
        std::fill_n(covered.begin() + static_cast<std::ptrdiff_t>(field.offset), field.size, true);
    }
    for (std::size_t offset = 0; offset < OptionsRecordSize; ++offset) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(again[offset], covered[offset] ? noise[offset] : 0);
    }
}

TEST(OptionsRecord, ValuesAreWrittenLittleEndianAndTextsAsBytes) {
    OptionsRecord record;
    record.PieceStyle = 0x01020304;
    record.HighlightColour = 0x00A1B2C3;
    record.LargeBoardWindow = {1250, 960, -4, 7};
    SetText(record.CurrentFileName, "games.pgn");
    OptionsBytes bytes = EncodeOptions(record);

    EXPECT_EQ(GetU32(bytes.data() + 0x13C), 0x01020304u);
    EXPECT_EQ(bytes[0x13C], 0x04);
    EXPECT_EQ(GetU32(bytes.data() + 0x3B0), 0x00A1B2C3u);
    EXPECT_EQ(GetI32(bytes.data() + 0x868), 1250);
    EXPECT_EQ(GetI32(bytes.data() + 0x870), -4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 0x954)), "games.pgn");
}

TEST(OptionsRecord, FirstRunDefaultsAreStoredWhereTheFileKeepsThem) {
    struct Row {
        std::size_t offset;
        std::uint32_t value;
    };
    constexpr Row defaults[] = {
        {0x128, 1},  {0x12C, 1},  {0x130, 1},   {0x134, 70},  {0x138, 0},  {0x13C, 8},
        {0x144, 1},  {0x148, 1},  {0x1C0, 1},   {0x1C4, 1},   {0x2B8, 10}, {0x2BC, 1},
        {0x2C8, 1},  {0x31C, 1},  {0x328, 10},  {0x3B0, 0xFFFF}, {0x3BC, 100}, {0x3C0, 2},
        {0x3C8, 10}, {0x3CC, 1},  {0x3D0, 1},   {0x3D4, 5},   {0x5D0, 1},  {0x5EC, 1},
        {0x74C, 1},  {0x750, 1},  {0x7D0, 1},   {0x880, 0xFFFFFF}, {0x888, 0xE8E8E8},
        {0x1924, 0xFF}, {0x1928, 1}, {0x192C, 0xA80054}, {0x1930, 8}, {0x1934, 0xA0A0A0},
        {0x1B44, 2}, {0x1C48, 1}, {0x1C54, 1}, {0x1C64, 1}, {0x1C6C, 2}, {0x1DAC, 1},
        {0x1DB0, 1}, {0x1DB4, 10}, {0x1DB8, 0},
    };
    OptionsBytes bytes = EncodeOptions(DefaultOptions("/home/u/.local/share/qorvale", false));
    for (const Row& row : defaults) {
        SCOPED_TRACE(row.offset);
        EXPECT_EQ(GetU32(bytes.data() + row.offset), row.value);
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 0x3D8)), "1");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 0x18FC)), "KQRBN");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 0x88C)),
              "/home/u/.local/share/qorvale");
    EXPECT_EQ(GetU32(bytes.data() + 0x74C), 1u);
    EXPECT_EQ(GetU32(EncodeOptions(DefaultOptions("/q", true)).data() + 0x74C), 0u);
}

TEST(OptionsRecord, SetTextCutsToTheFieldAndKeepsTheNul) {
    struct Row {
        std::string_view text;
        std::string_view stored;
    };
    constexpr Row rows[] = {{"", ""}, {"1", "1"}, {"1234567", "1234567"}, {"12345678", "1234567"},
                            {"0.5 seconds", "0.5 sec"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.text));
        FixedText<8> field;
        field.fill('x');
        SetText(field, row.text);
        EXPECT_EQ(GetText(field), row.stored);
        EXPECT_EQ(field.back(), '\0');
    }
}

TEST(OptionsFile, SaveThenLoadGivesTheSameRecord) {
    test::TempDir dir;
    OptionsRecord record = DefaultOptions(dir.path(), false);
    InitialiseColourPresets(record);
    ApplyFirstColourPreset(record);
    record.PreviousGameNumber = 4711;
    SetText(record.PreviousFileName, "london1851.pgn");
    std::string path = dir.File("savinfo.opt");
    ASSERT_TRUE(SaveOptions(path, record));
    EXPECT_EQ(test::ReadWholeFile(path).size(), OptionsRecordSize);

    LoadedOptions loaded = LoadOptions(path, dir.path(), false);
    EXPECT_TRUE(loaded.found);
    EXPECT_EQ(loaded.bytes_read, OptionsRecordSize);
    EXPECT_EQ(loaded.record, record);
}

TEST(OptionsFile, MissingShortAndOverlongFilesAreReadAsFarAsTheyGo) {
    test::TempDir dir;
    OptionsRecord saved = DefaultOptions(dir.path(), false);
    std::string full(reinterpret_cast<const char*>(EncodeOptions(saved).data()), OptionsRecordSize);

    LoadedOptions missing = LoadOptions(dir.File("none.opt"), dir.path(), false);
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.record, DefaultOptions(dir.path(), false));

    LoadedOptions empty = LoadOptions(dir.Write("empty.opt", ""), dir.path(), false);
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.record, OptionsRecord{});

    // Cut inside the piece style: what lies before the cut survives, the rest is zero.
    LoadedOptions short_file = LoadOptions(dir.Write("short.opt", full.substr(0, 0x13E)), dir.path(), false);
    EXPECT_EQ(short_file.bytes_read, 0x13Eu);
    EXPECT_EQ(short_file.record.MaxPrintLines, 70);
    EXPECT_EQ(short_file.record.PieceStyle, 8);  // the low bytes came before the cut
    EXPECT_EQ(short_file.record.EditStyle, 0);
    EXPECT_EQ(short_file.record.AutoReplayCount, 0);

    LoadedOptions longer = LoadOptions(dir.Write("long.opt", full + "trailing"), dir.path(), false);
    EXPECT_EQ(longer.bytes_read, OptionsRecordSize);
    EXPECT_EQ(longer.record, saved);
}

TEST(OptionsFile, SaveIntoAMissingFolderFailsQuietly) {
    test::TempDir dir;
    OptionsRecord record = DefaultOptions(dir.path(), false);
    EXPECT_FALSE(SaveOptions(dir.File("no/such/folder/savinfo.opt"), record));
}

}  // namespace
}  // namespace qorvale::app
