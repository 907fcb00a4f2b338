#include "app/start_up.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

#include "app/app_folder.h"
#include "app/options_file.h"
#include "openings/opening_files.h"
#include "platform/file.h"

namespace qorvale::app {

namespace {

struct LegacySlot {
    std::size_t from;
    std::size_t from_size;
    std::size_t to;
    std::size_t to_size;
};

constexpr std::size_t LegacyFolderSize = 84;
constexpr std::size_t LegacyNameSize = 32;
constexpr std::size_t FolderSize = 200;
constexpr std::size_t NameSize = 56;

// Older layout slot -> dialog field, by byte offset in the file.
constexpr std::array<LegacySlot, 30> LegacySlots = {{
    {0x000, LegacyFolderSize, 0x88C, FolderSize},  // main file
    {0x054, LegacyNameSize, 0x954, NameSize},
    {0x074, LegacyFolderSize, 0x98C, FolderSize},  // search criteria file, three names
    {0x0C8, LegacyNameSize, 0xA54, NameSize},
    {0x0E8, LegacyNameSize, 0xA8C, NameSize},
    {0x108, LegacyNameSize, 0xAC4, NameSize},
    {0x14C, LegacyFolderSize, 0xAFC, FolderSize},  // HTML file
    {0x1A0, LegacyNameSize, 0xBC4, NameSize},
    {0x1C8, LegacyFolderSize, 0xBFC, FolderSize},  // second PGN file
    {0x21C, LegacyNameSize, 0xCC4, NameSize},
    {0x240, LegacyFolderSize, 0xCFC, FolderSize},  // bitmap file
    {0x294, LegacyNameSize, 0xDC4, NameSize},
    {0x330, LegacyFolderSize, 0xDFC, FolderSize},  // previous file
    {0x384, LegacyNameSize, 0xEC4, NameSize},
    {0x448, LegacyFolderSize, 0xEFC, FolderSize},  // JPEG file
    {0x49C, LegacyNameSize, 0xFC4, NameSize},
    {0x4BC, LegacyFolderSize, 0xFFC, FolderSize},  // tree merge file
    {0x510, LegacyNameSize, 0x10C4, NameSize},
    {0x538, LegacyFolderSize, 0x10FC, FolderSize},  // split file
    {0x58C, LegacyNameSize, 0x11C4, NameSize},
    {0x5F0, LegacyFolderSize, 0x11FC, FolderSize},  // engine position file
    {0x644, LegacyNameSize, 0x12C4, NameSize},
    {0x664, LegacyFolderSize, 0x12FC, FolderSize},  // engine game file
    {0x6B8, LegacyNameSize, 0x13C4, NameSize},
    {0x6D8, LegacyFolderSize, 0x13FC, FolderSize},  // engine annotation file
    {0x72C, LegacyNameSize, 0x14C4, NameSize},
    {0x754, LegacyFolderSize, 0x14FC, FolderSize},  // engine executable
    {0x7A8, LegacyNameSize, 0x15C4, NameSize},
    {0x7F4, LegacyFolderSize, 0x15FC, FolderSize},  // database
    {0x848, LegacyNameSize, 0x16C4, NameSize},
}};

constexpr std::int32_t RibbonWindowWidth = 860;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    }
    return true;
}

// A choice outside the values its dialog offers goes back to its default.
void KeepInRange(std::int32_t& field, std::int32_t low, std::int32_t high, std::int32_t fallback) {
    if (field < low || field > high) field = fallback;
}

// Texts read from a file may lack their NUL; other fields pass through.
template <std::size_t N>
void Terminate(FixedText<N>& text) {
    text[N - 1] = '\0';
}
template <typename Field>
void Terminate(Field&) {}

}  // namespace

bool MigrateLegacyLayout(OptionsRecord& record) {
    if (record.CurrentFolder[0] != '\0' || record.LegacyMainAndSearchSlots[0] == 0) return false;
    OptionsBytes bytes = EncodeOptions(record);
    for (const LegacySlot& slot : LegacySlots) {
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(slot.to), slot.to_size, 0);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(slot.from), slot.from_size,
                    bytes.begin() + static_cast<std::ptrdiff_t>(slot.to));
    }
    record = DecodeOptions(bytes.data(), bytes.size());
    return true;
}

void RepairLoadedOptions(OptionsRecord& record) {
    if (record.HideGameText != 0) record.AnalysisReplayActive = 0;
    if (record.AutoReplayCount == 0) record.AutoReplayCount = 10;
    if (record.RibbonInitialised == 0) {
        record.DisplayRibbon = 1;
        record.RibbonInitialised = 1;
        record.BoardSize = 0;
        record.SmallBoardWindowWidth = 0;  // placed afresh
    } else if (record.DisplayRibbon != 0 && record.WindowWidened == 0) {
        record.SmallBoardWindowWidth = std::max(record.SmallBoardWindowWidth, RibbonWindowWidth);
        record.WindowWidened = 1;
    }

    // A damaged file can hold anything; only values the dialogs can store are kept.
    KeepInRange(record.PieceStyle, 0, 8, static_cast<std::int32_t>(PieceStyleId::ModWood));
    KeepInRange(record.FigurineNotation, 0, 1, 1);
    KeepInRange(record.EditStyle, 0, 2, 1);
    KeepInRange(record.SlideDelay, 0, 200, 0);
    KeepInRange(record.CoordinatesMode, 0, 2, 1);
    KeepInRange(record.HighlightLastMove, 0, 6, 0);
    KeepInRange(record.BoardSize, 0, 2, 0);
    KeepInRange(record.BorderWidth, 0, 5, 1);
    KeepInRange(record.AnalysisReplayMode, 0, 2, 2);
    KeepInRange(record.MaxPrintLines, 0, 10000, 70);
    KeepInRange(record.AutoReplayCount, 1, 10000, 10);
    if (record.PieceStyle == static_cast<std::int32_t>(PieceStyleId::ModBlue)) record.WoodBoard = 0;

    ForEachOptionsField(record,
                        [](std::string_view, std::size_t, auto& field) { Terminate(field); });
    std::string letters = GetText(record.AlphaPieceLetters);
    if (!CheckAlphaPieceLetters(letters).empty()) SetAlphaPieceLetters(record, "KQRBN");
}

bool InitialiseCurrentFolder(OptionsRecord& record, std::string_view app_folder) {
    if (record.FolderInitialised != 0) return false;
    record.FolderInitialised = 1;
    if (!StartsWithIgnoringCase(GetText(record.CurrentFolder), app_folder)) {
        SetText(record.CurrentFileName, "");
    }
    SetText(record.CurrentFolder, app_folder);
    return true;
}

void ApplyEveryStartSettings(OptionsRecord& record, bool high_dpi) {
    record.WindowCreated = 1;
    record.ReopenLastFile = 1;
    record.StartRuntimeFlag = 0;
    record.RunningFlag = 1;
    if (record.BorderWidthSet == 0) record.BorderWidth = 1;
    if (record.ClassicLayoutSet == 0) record.ClassicLayout = high_dpi ? 0 : 1;
    if (record.RibbonInitialised != 0) record.AutoDisplayGame = 1;
    if (record.TreeSettings[1] < 1) {
        record.AutoPageGameText = 1;
        record.AutoDisplayAnalysisComments = 1;
        record.TreeSettings[1] = 10;
        record.TreeSettings[2] = 1;
        record.TreeSettings[5] = 1;
    }
    if (record.TreeSetting < 1) record.TreeSetting = 10;
    if (record.AutoPlayDelay[0] == '\0') SetText(record.AutoPlayDelay, "1");
}

bool ApplyColourDefaults(OptionsRecord& record) {
    bool save = false;
    if (record.ColoursInitialised == 0) InitialiseColourPresets(record);
    if (record.LightSquareColour == 0) ApplyFirstColourPreset(record);
    if (record.HighlightColourSet == 0) record.HighlightColour = 0x00FFFF;
    if (record.MoveHighlightColourSet == 0) record.MoveHighlightColour = 0x0000FF;
    if (record.ReplayDefaultsSet == 0) {
        record.ReplayVariationColour = 0xA80054;
        record.ReplayHighlightColour = 0xA0A0A0;
        record.ReplayHighlightOn = 8;
        record.ReplayDefaultsSet = 1;
        save = true;
    }
    if (record.ReplayHighlightColour == 0) record.ReplayHighlightColour = 0xA0A0A0;
    if (record.ColumnTextBackColour == 0 && record.ColumnGridColour == 0) {
        record.ColumnTextBackColour = 0xFFFFFF;
    }
    if (record.ColumnNumberBackColour == 0) record.ColumnNumberBackColour = 0xE8E8E8;
    if (record.PresetFlag == 0) {
        record.ColourPresetFlags[FirstPresetWood] = 1;
        record.PresetFlag = 1;
    }
    if (record.DuplicateSettings[0] == 0) {
        record.DuplicateSettings[0] = 100;
        record.DuplicateSettings[1] = 2;
        record.ManeuversLookAheadCount = 10;
    }
    if (record.OptionsLevel != 2) {
        record.LevelOption = 0;
        record.OptionsLevel = 2;
        save = true;
    }
    return save;
}

double ParseAutoPlayDelay(std::string_view text) {
    std::string copy(text);
    char* end = nullptr;
    double seconds = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() ? 1.0 : seconds;
}

std::string CommandLinePath(std::string_view command_line) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!command_line.empty() && blank(command_line.front())) command_line.remove_prefix(1);
    while (!command_line.empty() && blank(command_line.back())) command_line.remove_suffix(1);
    if (!command_line.empty() && command_line.front() == '"') {
        command_line.remove_prefix(1);
        std::size_t close = command_line.find('"');
        if (close != std::string_view::npos) command_line = command_line.substr(0, close);
    }
    return std::string(command_line);
}

StartUpState StartUp(const StartUpSettings& settings) {
    StartUpState state;
    state.app_folder = settings.app_folder;
    state.options_path = AppPath(settings.app_folder, OptionsFileName);
    LoadedOptions loaded = LoadOptions(state.options_path, settings.app_folder, settings.high_dpi);
    OptionsRecord& options = loaded.record;
    state.first_run = !loaded.found;
    bool save = state.first_run;

    if (loaded.found) {
        if (MigrateLegacyLayout(options)) {
            (void)platform::DeleteFile(AppPath(settings.app_folder, SearchListFileName));
        }
        RepairLoadedOptions(options);
        MakeColoursDistinct(options);
    }
    save |= InitialiseCurrentFolder(options, settings.app_folder);
    // A damaged record can leave no folder at all; the file dialog then starts at home.
    if (options.CurrentFolder[0] == '\0') SetText(options.CurrentFolder, settings.app_folder);

    ApplyEveryStartSettings(options, settings.high_dpi);
    state.hide_game_text = options.HideGameText != 0;
    state.auto_play_delay = ParseAutoPlayDelay(GetText(options.AutoPlayDelay));

    state.eco_data_stale = options.EcoDataReady == 0 || options.EcoDataVersion != 5;
    if (state.eco_data_stale) {
        (void)platform::DeleteFile(AppPath(settings.app_folder, EcoDataFileName));
    }
    state.openings_unprepared = options.OpeningsPrepared == 0;
    save |= ApplyColourDefaults(options);

    state.command_line_path = CommandLinePath(settings.command_line);
    (void)platform::DeleteFile(AppPath(settings.app_folder, GameBufferFileName));

    if (save) (void)SaveOptions(state.options_path, options);
    state.options = options;
    return state;
}

openings::EcoDataOptions EcoDataOptionsOf(StartUpState& state) {
    openings::EcoDataOptions eco_options;
    eco_options.EcoDataReady = &state.options.EcoDataReady;
    eco_options.EcoDataVersion = &state.options.EcoDataVersion;
    eco_options.OpeningsPrepared = &state.options.OpeningsPrepared;
    eco_options.save = [&state] { (void)SaveOptions(state.options_path, state.options); };
    return eco_options;
}

void InitialiseOpenings(StartUpState& state, openings::EcoTable& table, Ui& ui) {
    openings::EcoDataOptions eco_options = EcoDataOptionsOf(state);
    openings::InitialiseEcoData(table, state.app_folder, eco_options, ui);
    state.eco_data_stale = state.options.EcoDataReady == 0 ||
                           state.options.EcoDataVersion != openings::CurrentEcoDataVersion;
    state.openings_unprepared = state.options.OpeningsPrepared == 0;
}

void PostStartUpOpen(StartUpState& state, Ui& ui) {
    if (state.options.ReopenLastFile != 0 || !state.command_line_path.empty()) {
        ui.post(Command::OpenFile);
        state.open_file_posted = true;
    }
}

}  // namespace qorvale::app
