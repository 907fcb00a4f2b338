#include "app/options_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "app/options_file.h"
#include "base/bytes.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace qorvale::app {
namespace {

struct Region {
    std::size_t offset = 0;
    std::size_t size = 0;
    std::string name;  // "-": a region the record may split into several fields
};

// The layout as the file format documents it, in tests/data/app/options-layout.tsv.
std::vector<Region> DocumentedLayout() {
    std::vector<Region> regions;
    std::istringstream lines(test::ReadWholeFile(test::TestDataPath("app/options-layout.tsv")));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Region region;
        fields >> std::hex >> region.offset >> std::dec >> region.size >> region.name;
        regions.push_back(region);
    }
    std::sort(regions.begin(), regions.end(),
              [](const Region& a, const Region& b) { return a.offset < b.offset; });
    return regions;
}

TEST(OptionsRecord, EveryFieldLiesWhereTheFileFormatPutsIt) {
    std::vector<Region> regions = DocumentedLayout();
    ASSERT_GT(regions.size(), 100u);
    EXPECT_EQ(regions.back().offset + regions.back().size, OptionsRecordSize);
    std::vector<OptionsField> fields = OptionsLayout();
    for (const Region& region : regions) {
        SCOPED_TRACE(testing::Message() << std::hex << region.offset << " " << region.name);
        // The fields starting inside the region must fill it exactly, one after another.
        std::size_t next = region.offset;
        for (const OptionsField& field : fields) {
            if (field.offset < region.offset || field.offset >= region.offset + region.size)
                continue;
            EXPECT_EQ(field.offset, next) << field.name;
            next = field.offset + field.size;
            if (region.name != "-") {
                EXPECT_EQ(field.name, region.name);
                EXPECT_EQ(field.size, region.size);
            }
        }
        EXPECT_EQ(next, region.offset + region.size);
    }
    for (const OptionsField& field : fields) {
        SCOPED_TRACE(std::string(field.name));
        EXPECT_TRUE(std::any_of(regions.begin(), regions.end(), [&](const Region& region) {
            return field.offset >= region.offset &&
                   field.offset + field.size <= region.offset + region.size;
        }));
    }
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

TEST(OptionsRecord, FirstRunDefaultsAreStoredWhereTheFileKeepsThem) {
    struct Row {
        std::size_t offset;
        std::uint32_t value;
    };
    constexpr Row defaults[] = {
        {0x128, 1},      {0x12C, 1},         {0x130, 1},        {0x134, 70},        {0x138, 0},
        {0x13C, 8},      {0x144, 1},         {0x148, 1},        {0x1C0, 1},         {0x1C4, 1},
        {0x2B8, 10},     {0x2BC, 1},         {0x2C8, 1},        {0x31C, 1},         {0x328, 10},
        {0x3B0, 0xFFFF}, {0x3BC, 100},       {0x3C0, 2},        {0x3C8, 10},        {0x3CC, 1},
        {0x3D0, 1},      {0x3D4, 5},         {0x5D0, 1},        {0x5EC, 1},         {0x74C, 1},
        {0x750, 1},      {0x7D0, 1},         {0x880, 0xFFFFFF}, {0x888, 0xE8E8E8},  {0x1924, 0xFF},
        {0x1928, 1},     {0x192C, 0xA80054}, {0x1930, 8},       {0x1934, 0xA0A0A0}, {0x1B44, 2},
        {0x1C48, 1},     {0x1C54, 1},        {0x1C64, 1},       {0x1C6C, 2},        {0x1DAC, 1},
        {0x1DB0, 1},     {0x1DB4, 10},       {0x1DB8, 0},
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
    LoadedOptions short_file =
        LoadOptions(dir.Write("short.opt", full.substr(0, 0x13E)), dir.path(), false);
    EXPECT_EQ(short_file.bytes_read, 0x13Eu);
    EXPECT_EQ(short_file.record.MaxPrintLines, 70);
    EXPECT_EQ(short_file.record.PieceStyle, 8);  // the low bytes came before the cut
    EXPECT_EQ(short_file.record.EditStyle, 0);
    EXPECT_EQ(short_file.record.AutoReplayCount, 0);

    LoadedOptions longer = LoadOptions(dir.Write("long.opt", full + "trailing"), dir.path(), false);
    EXPECT_EQ(longer.bytes_read, OptionsRecordSize);
    EXPECT_EQ(longer.record, saved);
}

TEST(OptionsFile, AFailedSaveKeepsTheLastGoodFile) {
    test::TempDir dir;
    std::string path = dir.File("savinfo.opt");
    OptionsRecord record = DefaultOptions(dir.path(), false);
    ASSERT_TRUE(SaveOptions(path, record));
    std::string good = test::ReadWholeFile(path);

    record.PieceStyle = 3;
    using Fault = test::FaultyFileSystem::Fault;
    for (Fault fault : {Fault::DiskFull, Fault::RenameFails}) {
        SCOPED_TRACE(static_cast<int>(fault));
        test::FaultyFileSystem files(fault);
        EXPECT_FALSE(SaveOptions(path, record, files));
        EXPECT_EQ(test::ReadWholeFile(path), good);
        EXPECT_FALSE(platform::FileExists(path + ".new"));
    }
    EXPECT_FALSE(SaveOptions(dir.File("no/such/folder/savinfo.opt"), record));
}

}  // namespace
}  // namespace qorvale::app
