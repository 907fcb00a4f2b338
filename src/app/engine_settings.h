#pragma once

#include <string>
#include <string_view>

#include "app/options_record.h"
#include "engines/crafty_commands.h"
#include "engines/engine_channel.h"

namespace qorvale::app {

// The engine settings of the options record. The record keeps them in two integer blocks,
// laid out here (offsets in "savinfo.opt"; texts NUL-terminated, 8 bytes, at most 7 characters):
//   0x7C8  CraftyMovesFirst           0x1D84  EngineFixedFont
//   0x7CC  CraftyContinueGame         0x1D88  EngineEvalProfile
//   0x7D0  CraftyDisplayGeneral (1)   0x1D8C  EngineProfileColors (0, 1 or 2)
//   0x7D4  CraftyDisplayVariation     0x1D90  analysis lines (MultiPV; 0 read as 1)
//   0x7D8  CraftyNoPonder             0x1D94  milliseconds per move when playing a UCI engine
//   0x7DC  CraftyLevelMoves (text)              (0: "go" without a limit)
//   0x7E4  CraftyLevelMinutes (text)  0x1D98  kept as read
//   0x7EC  CraftyLevelIncrement (text)
struct EngineSettings {
    engines::CraftyGameSettings crafty;
    bool EngineFixedFont = false;
    bool EngineEvalProfile = false;
    int EngineProfileColors = 0;  // 0 "Default", 1 "Black and White", 2 the square colours
    int analysis_lines = 1;
    int play_milliseconds = 0;
};

EngineSettings ReadEngineSettings(const OptionsRecord& record);
// Level texts longer than seven characters are cut.
void WriteEngineSettings(const EngineSettings& settings, OptionsRecord& record);

// The engine's executable as the options record remembers it (folder and name joined), or ""
// when none has been chosen.
std::string EnginePath(const OptionsRecord& record, engines::EngineKind kind);
// Remembers the chosen executable, its folder apart from its name. False (nothing stored) when
// the folder or the name is too long for its field. An empty path forgets it (as after a start
// that failed).
bool SetEnginePath(OptionsRecord& record, engines::EngineKind kind, std::string_view path);

// The search command of a UCI game from the settings: "go movetime N", or "go".
std::string PlaySearchCommand(const EngineSettings& settings);

}  // namespace qorvale::app
