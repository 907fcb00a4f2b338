#include "app/options_file.h"

#include <algorithm>
#include <array>

#include "app/messages.h"
#include "platform/file.h"

namespace qorvale::app {

namespace {

constexpr std::string_view StandardPieceLetters = "KQRBN";

// The first colour preset: a light wooden board on a grey background. Colours are 0x00BBGGRR.
constexpr std::uint32_t PresetBackground = 0x00C8D0D4;
constexpr std::uint32_t PresetLightSquares = 0x00B5D9F0;
constexpr std::uint32_t PresetDarkSquares = 0x006388B5;
constexpr std::uint32_t PresetBorder = 0x00204060;
constexpr std::uint32_t PresetArrow = 0x00000080;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

OptionsRecord DefaultOptions(std::string_view app_folder, bool high_dpi) {
    OptionsRecord r;
    r.WindowCreated = 1;
    r.ReopenLastFile = 1;
    r.AutoDisplayGame = 1;
    r.MaxPrintLines = 70;
    r.PieceStyle = static_cast<std::int32_t>(PieceStyleId::ModWood);
    r.FigurineNotation = 1;
    r.EditStyle = 1;
    r.AutoPageGameText = 1;
    r.AutoDisplayAnalysisComments = 1;
    r.TreeSettings[1] = 10;
    r.TreeSettings[2] = 1;
    r.TreeSettings[5] = 1;
    r.CoordinatesMode = 1;
    r.TreeSetting = 10;
    r.HighlightColour = 0x00FFFF;
    r.DuplicateSettings = {100, 2, 0};
    r.ManeuversLookAheadCount = 10;
    r.FolderInitialised = 1;
    r.RunningFlag = 1;
    r.EcoDataVersion = 5;
    SetText(r.AutoPlayDelay, "1");
    r.BorderWidth = 1;
    r.BorderWidthSet = 1;
    r.ClassicLayout = high_dpi ? 0 : 1;
    r.ClassicLayoutSet = 1;
    r.EngineSettings[2] = 1;
    r.ColumnTextBackColour = 0xFFFFFF;
    r.ColumnNumberBackColour = 0xE8E8E8;
    SetText(r.CurrentFolder, app_folder);
    SetText(r.AlphaPieceLetters, StandardPieceLetters);
    r.MoveHighlightColour = 0x0000FF;
    r.ReplayDefaultsSet = 1;
    r.ReplayVariationColour = 0xA80054;
    r.ReplayHighlightOn = 8;
    r.ReplayHighlightColour = 0xA0A0A0;
    r.AnalysisReplayMode = 2;
    r.WoodBoard = 1;
    r.ColourPresetFlags[FirstPresetWood] = 1;
    r.PresetFlag = 1;
    r.OptionsLevel = 2;
    r.DisplayRibbon = 1;
    r.RibbonInitialised = 1;
    r.AutoReplayCount = 10;
    return r;
}

LoadedOptions LoadOptions(const std::string& path, std::string_view app_folder, bool high_dpi) {
    LoadedOptions loaded;
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) {
        loaded.record = DefaultOptions(app_folder, high_dpi);
        return loaded;
    }
    OptionsBytes bytes{};
    std::size_t total = 0;
    while (total < bytes.size()) {
        std::int64_t got =
            file.Read(bytes.data() + total, static_cast<std::int64_t>(bytes.size() - total));
        if (got <= 0) break;
        total += static_cast<std::size_t>(got);
    }
    loaded.found = true;
    loaded.bytes_read = total;
    loaded.record = DecodeOptions(bytes.data(), total);
    return loaded;
}

bool SaveOptions(const std::string& path, OptionsRecord& record, platform::FileSystem& files) {
    MakeColoursDistinct(record);
    const OptionsBytes bytes = EncodeOptions(record);
    // A failed write leaves the last good settings in place instead of a cut record.
    return platform::ReplaceFileContents(
        files, path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void MakeColoursDistinct(OptionsRecord& record) {
    if (record.BackgroundColour == 0 && record.LightSquareColour == 0 &&
        record.DarkSquareColour == 0) {
        return;
    }
    std::array<std::uint32_t*, 6> colours = {&record.BackgroundColour, &record.LightSquareColour,
                                             &record.DarkSquareColour, &record.HighlightColour,
                                             &record.BorderColour,     &record.ArrowColour};
    for (std::size_t later = 1; later < colours.size(); ++later) {
        auto taken = [&](std::uint32_t colour) {
            for (std::size_t earlier = 0; earlier < later; ++earlier) {
                if (*colours[earlier] == colour) return true;
            }
            return false;
        };
        // Flipping low bits of the red channel changes the colour by an invisible step; five
        // earlier colours can block at most five of the candidates.
        std::uint32_t original = *colours[later];
        for (std::uint32_t step = 1; taken(*colours[later]); ++step) {
            *colours[later] = original ^ step;
        }
    }
}

void InitialiseColourPresets(OptionsRecord& record) {
    record.ColourPresets[FirstPresetBackground] = PresetBackground;
    record.ColourPresets[FirstPresetLight] = PresetLightSquares;
    record.ColourPresets[FirstPresetDark] = PresetDarkSquares;
    record.ColourPresetData[FirstPresetBorder] = PresetBorder;
    record.ColourPresetFlags[FirstPresetWood] = 1;
    if (record.ArrowColour == 0) record.ArrowColour = PresetArrow;
    record.ColoursInitialised = 1;
}

void ApplyFirstColourPreset(OptionsRecord& record) {
    record.BackgroundColour = record.ColourPresets[FirstPresetBackground];
    record.LightSquareColour = record.ColourPresets[FirstPresetLight];
    record.DarkSquareColour = record.ColourPresets[FirstPresetDark];
    record.BorderColour = record.ColourPresetData[FirstPresetBorder];
    record.WoodBoard = static_cast<std::int32_t>(record.ColourPresetFlags[FirstPresetWood]);
}

std::int32_t SlideDelayFromSpeed(std::int32_t speed) {
    if (speed == 0) return 0;
    return std::clamp(201 - std::min(speed, 200), 0, 200);
}

std::int32_t SlideSpeedFromDelay(std::int32_t delay) { return delay == 0 ? 0 : 201 - delay; }

std::string_view CheckAlphaPieceLetters(std::string_view letters) {
    if (letters.size() != StandardPieceLetters.size()) return OnlyLettersAllowed;
    for (char letter : letters) {
        if (!IsAsciiLetter(letter)) return OnlyLettersAllowed;
    }
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (letters.find(letters[i], i + 1) != std::string_view::npos) return LettersMustDiffer;
    }
    return {};
}

void SetAlphaPieceLetters(OptionsRecord& record, std::string_view letters) {
    SetText(record.AlphaPieceLetters, letters);
    record.CustomPieceLetters = letters == StandardPieceLetters ? 0 : 1;
}

std::string DisplayPieceLetters(const OptionsRecord& record) {
    if (record.FigurineNotation != 0 || record.CustomPieceLetters == 0) return {};
    return GetText(record.AlphaPieceLetters);
}

}  // namespace qorvale::app
