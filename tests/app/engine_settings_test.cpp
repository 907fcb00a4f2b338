#include "app/engine_settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/options_file.h"

namespace qorvale::app {
namespace {

// The settings land at their offsets of "savinfo.opt", and come back from its bytes.
TEST(EngineSettings, LiveAtTheirOffsetsOfTheOptionsFile) {
    OptionsRecord record = DefaultOptions("/home/me/.local/share/qorvale", false);
    EngineSettings defaults = ReadEngineSettings(record);
    EXPECT_TRUE(defaults.crafty.CraftyDisplayGeneral);
    EXPECT_FALSE(defaults.crafty.CraftyMovesFirst);
    EXPECT_EQ(defaults.analysis_lines, 1);

    EngineSettings settings;
    settings.crafty.CraftyMovesFirst = true;
    settings.crafty.CraftyDisplayGeneral = false;
    settings.crafty.CraftyNoPonder = true;
    settings.crafty.CraftyLevelMoves = "40";
    settings.crafty.CraftyLevelMinutes = "1234567890";
    settings.crafty.CraftyLevelIncrement = "5";
    settings.EngineEvalProfile = true;
    settings.EngineProfileColors = 2;
    settings.analysis_lines = 3;
    settings.play_milliseconds = 1500;
    WriteEngineSettings(settings, record);
    OptionsBytes bytes = EncodeOptions(record);
    auto word = [&](std::size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
    };
    EXPECT_EQ(word(0x7C8), 1);
    EXPECT_EQ(word(0x7D0), 0);
    EXPECT_EQ(word(0x7D8), 1);
    EXPECT_EQ(std::memcmp(&bytes[0x7DC], "40\0\0\0\0\0\0", 8), 0);
    EXPECT_EQ(std::memcmp(&bytes[0x7E4], "1234567\0", 8), 0);
    EXPECT_EQ(std::memcmp(&bytes[0x7EC], "5\0\0\0\0\0\0\0", 8), 0);
    EXPECT_EQ(word(0x1D88), 1);
    EXPECT_EQ(word(0x1D8C), 2);
    EXPECT_EQ(word(0x1D90), 3);
    EXPECT_EQ(word(0x1D94), 1500);

    EngineSettings read = ReadEngineSettings(DecodeOptions(bytes.data(), bytes.size()));
    EXPECT_EQ(read.crafty.CraftyLevelMinutes, "1234567");
    EXPECT_EQ(read.crafty.CraftyLevelMoves, "40");
    EXPECT_TRUE(read.crafty.CraftyNoPonder);
    EXPECT_EQ(PlaySearchCommand(read), "go movetime 1500");
}

TEST(EngineSettings, RemembersEachEnginesPath) {
    OptionsRecord record;
    EXPECT_EQ(EnginePath(record, engines::EngineKind::Uci), "");
    EXPECT_TRUE(SetEnginePath(record, engines::EngineKind::Uci, "/usr/games/stockfish"));
    EXPECT_TRUE(SetEnginePath(record, engines::EngineKind::Crafty, "/opt/crafty/crafty"));
    EXPECT_EQ(GetText(record.UciEngineFolder), "/usr/games");
    EXPECT_EQ(GetText(record.UciEngineFileName), "stockfish");
    EXPECT_EQ(EnginePath(record, engines::EngineKind::Uci), "/usr/games/stockfish");
    EXPECT_EQ(EnginePath(record, engines::EngineKind::Crafty), "/opt/crafty/crafty");
    EXPECT_FALSE(SetEnginePath(record, engines::EngineKind::Uci, "/games/" + std::string(60, 'x')));
    EXPECT_EQ(EnginePath(record, engines::EngineKind::Uci), "/usr/games/stockfish");
    EXPECT_TRUE(SetEnginePath(record, engines::EngineKind::Uci, ""));
    EXPECT_EQ(EnginePath(record, engines::EngineKind::Uci), "");
}

}  // namespace
}  // namespace qorvale::app
