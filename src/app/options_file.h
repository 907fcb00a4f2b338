#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/options_record.h"
#include "platform/file_system.h"

namespace qorvale::app {

// The settings of a first run: every default of the record, others zero, `CurrentFolder` the
// install folder. In high-DPI mode the classic layout is off.
OptionsRecord DefaultOptions(std::string_view app_folder, bool high_dpi);

struct LoadedOptions {
    OptionsRecord record;
    bool found = false;          // false: no file, the record holds the first-run defaults
    std::size_t bytes_read = 0;  // below OptionsRecordSize for a short file
};

// Reads "savinfo.opt" at `path`. A missing or unreadable file gives the defaults; a short one is
// read as far as it goes, the rest zero. Nothing read is trusted: start-up repairs it.
LoadedOptions LoadOptions(const std::string& path, std::string_view app_folder, bool high_dpi);

// Makes the board colours distinct, then writes the whole record to `path`, replacing the file
// through `files`. Returns false when it could not be written, with the old file unchanged;
// callers go on with the settings in memory.
bool SaveOptions(const std::string& path, OptionsRecord& record,
                 platform::FileSystem& files = platform::SystemFileSystem());

// Before every save: of BackgroundColour, LightSquareColour, DarkSquareColour, HighlightColour,
// BorderColour and ArrowColour, a colour equal to an earlier one is nudged to a near value no
// earlier colour has. Nothing happens while the first three are all 0 (colours not set yet).
void MakeColoursDistinct(OptionsRecord& record);

// Fills the colour presets (the first preset's background, light, dark and border colours, its
// wooden-board flag) and the arrow colour when unset, and marks the colours initialised.
void InitialiseColourPresets(OptionsRecord& record);

// Copies the first preset into the board colours, the border colour and `WoodBoard`.
void ApplyFirstColourPreset(OptionsRecord& record);

// "Slide Speed" as stored in `SlideDelay`: 201 minus the speed, speed capped at 200; 0 stays 0.
std::int32_t SlideDelayFromSpeed(std::int32_t speed);
std::int32_t SlideSpeedFromDelay(std::int32_t delay);

// Checks the five "Alpha Notation" letters (King, Queen, Rook, Bishop, Knight): each A-Z or
// a-z, all different. Returns "" when valid, else the program's message.
std::string_view CheckAlphaPieceLetters(std::string_view letters);

// Stores valid letters and marks them custom when they differ from "KQRBN".
void SetAlphaPieceLetters(OptionsRecord& record, std::string_view letters);
// The letters the move texts are shown with: "" for the file's own (English) letters or for
// figurines, else the user's five letters for K Q R B N.
std::string DisplayPieceLetters(const OptionsRecord& record);

}  // namespace qorvale::app
