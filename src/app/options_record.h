#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorvale::app {

// Size of "savinfo.opt": the whole record, written and read as one block.
inline constexpr std::size_t OptionsRecordSize = 7640;

// A NUL-terminated text in a fixed field of the record.
template <std::size_t N>
using FixedText = std::array<char, N>;

// The program's settings, one field per named slot of "savinfo.opt". The file layout is not the
// memory layout: ForEachOptionsField below pairs every field with its byte offset, and
// EncodeOptions/DecodeOptions go through it, little-endian, field by field. Integers are 32-bit;
// colours are 0x00BBGGRR. Bytes that no field covers are reserved and written as zero.
//
// Fields whose meaning belongs to another subsystem (tree, engine, duplicate, game list settings)
// are kept as plain integer blocks so that a load and a save carry them through unchanged.
struct OptionsRecord {
    // Folder (84 bytes) and name (32 bytes) slots of the older layout; moved into the 200/56-byte
    // dialog fields at start when the file still has that layout.
    std::array<std::uint8_t, 296> LegacyMainAndSearchSlots{};     // 0x000
    std::int32_t WindowCreated = 0;                               // 0x128
    std::int32_t ReopenLastFile = 0;                              // 0x12C
    std::int32_t AutoDisplayGame = 0;                             // 0x130
    std::int32_t MaxPrintLines = 0;                               // 0x134
    std::int32_t SlideDelay = 0;                                  // 0x138
    std::int32_t PieceStyle = 0;                                  // 0x13C
    std::int32_t DisplayActualText = 0;                           // 0x140
    std::int32_t FigurineNotation = 0;                            // 0x144
    std::int32_t EditStyle = 0;                                   // 0x148
    std::array<std::uint8_t, 116> LegacyHtmlSlots{};              // 0x14C
    std::int32_t AutoPageGameText = 0;                            // 0x1C0
    std::int32_t AutoDisplayAnalysisComments = 0;                 // 0x1C4
    std::array<std::uint8_t, 116> LegacySecondPgnSlots{};         // 0x1C8
    std::int32_t HideGameText = 0;                                // 0x23C
    std::array<std::uint8_t, 116> LegacyBitmapSlots{};            // 0x240
    std::array<std::int32_t, 6> TreeSettings{};                   // 0x2B4
    std::int32_t StartRuntimeFlag = 0;                            // 0x2CC, cleared at every start
    std::array<std::uint32_t, 12> CustomColours{};                // 0x2D0
    std::uint32_t DarkSquareColour = 0;                           // 0x310
    std::uint32_t LightSquareColour = 0;                          // 0x314
    std::uint32_t BackgroundColour = 0;                           // 0x318
    std::int32_t CoordinatesMode = 0;                             // 0x31C
    std::int32_t EcoLoaderSetting = 0;                            // 0x320
    std::int32_t EcoDataReady = 0;                                // 0x324
    std::int32_t TreeSetting = 0;                                 // 0x328
    std::int32_t DisplayOpening = 0;                              // 0x32C
    std::array<std::uint8_t, 116> LegacyPreviousSlots{};          // 0x330
    std::int32_t PreviousGameNumber = 0;                          // 0x3A4
    std::int32_t PreviousPly = 0;                                 // 0x3A8
    std::int32_t HighlightLastMove = 0;                           // 0x3AC
    std::uint32_t HighlightColour = 0;                            // 0x3B0
    std::int32_t HighlightColourSet = 0;                          // 0x3B4
    std::int32_t BoardSize = 0;                                   // 0x3B8
    std::array<std::int32_t, 3> DuplicateSettings{};              // 0x3BC
    std::int32_t ManeuversLookAheadCount = 0;                     // 0x3C8
    std::int32_t FolderInitialised = 0;                           // 0x3CC
    std::int32_t RunningFlag = 0;                                 // 0x3D0, set at every start
    std::int32_t EcoDataVersion = 0;                              // 0x3D4
    FixedText<8> AutoPlayDelay{};                                 // 0x3D8
    std::int32_t DisplayGameButtons = 0;                          // 0x3E0
    std::int32_t ColoursInitialised = 0;                          // 0x3E4
    std::array<std::uint32_t, 24> ColourPresets{};                // 0x3E8
    std::array<std::uint8_t, 232> LegacyJpegAndTreeMergeSlots{};  // 0x448
    std::array<std::int32_t, 2> TreeMergeSettings{};              // 0x530
    std::array<std::uint8_t, 116> LegacySplitSlots{};             // 0x538
    std::int32_t SmallBoardWindowWidth = 0;                       // 0x5AC
    std::int32_t SmallBoardWindowHeight = 0;                      // 0x5B0
    std::int32_t EngineModeWindowWidth = 0;                       // 0x5B4
    std::int32_t EngineModeWindowHeight = 0;                      // 0x5B8
    std::int32_t SmallBoardWindowX = 0;                           // 0x5BC
    std::int32_t SmallBoardWindowY = 0;                           // 0x5C0
    std::int32_t EngineModeWindowX = 0;                           // 0x5C4
    std::int32_t EngineModeWindowY = 0;                           // 0x5C8
    std::uint32_t BorderColour = 0;                               // 0x5CC
    std::int32_t BorderWidth = 0;                                 // 0x5D0
    std::array<std::uint32_t, 6> ColourPresetData{};              // 0x5D4
    std::int32_t BorderWidthSet = 0;                              // 0x5EC
    std::array<std::uint8_t, 348> LegacyEngineFileSlots{};        // 0x5F0
    std::int32_t ClassicLayout = 0;                               // 0x74C
    std::int32_t ClassicLayoutSet = 0;                            // 0x750
    std::array<std::uint8_t, 116> LegacyEngineExecutableSlots{};  // 0x754
    std::array<std::int32_t, 11> EngineSettings{};                // 0x7C8
    std::array<std::uint8_t, 116> LegacyDatabaseSlots{};          // 0x7F4
    std::array<std::int32_t, 4> LargeBoardWindow{};               // 0x868: width, height, x, y
    std::int32_t HiddenDialogOption = 0;                          // 0x878
    std::int32_t ColumnFormat = 0;                                // 0x87C
    std::uint32_t ColumnTextBackColour = 0;                       // 0x880
    std::uint32_t ColumnGridColour = 0;                           // 0x884
    std::uint32_t ColumnNumberBackColour = 0;                     // 0x888

    // File dialog memory: the initial folder and file name of each file dialog, written back by
    // the dialog. `CurrentFolder`/`CurrentFileName` belong to "Select PGN File" (the open file).
    FixedText<200> CurrentFolder{};            // 0x88C
    FixedText<56> CurrentFileName{};           // 0x954
    FixedText<200> SearchCriteriaFolder{};     // 0x98C
    FixedText<56> SearchCriteriaFileName{};    // 0xA54
    FixedText<56> SearchCriteriaFileName2{};   // 0xA8C
    FixedText<56> SearchCriteriaFileName3{};   // 0xAC4
    FixedText<200> HtmlFolder{};               // 0xAFC
    FixedText<56> HtmlFileName{};              // 0xBC4
    FixedText<200> SecondPgnFolder{};          // 0xBFC
    FixedText<56> SecondPgnFileName{};         // 0xCC4
    FixedText<200> BitmapFolder{};             // 0xCFC
    FixedText<56> BitmapFileName{};            // 0xDC4
    FixedText<200> PreviousFolder{};           // 0xDFC
    FixedText<56> PreviousFileName{};          // 0xEC4
    FixedText<200> JpegFolder{};               // 0xEFC
    FixedText<56> JpegFileName{};              // 0xFC4
    FixedText<200> TreeMergeFolder{};          // 0xFFC
    FixedText<56> TreeMergeFileName{};         // 0x10C4
    FixedText<200> SplitFolder{};              // 0x10FC
    FixedText<56> SplitFileName{};             // 0x11C4
    FixedText<200> CraftyPositionFolder{};     // 0x11FC
    FixedText<56> CraftyPositionFileName{};    // 0x12C4
    FixedText<200> CraftyGameFolder{};         // 0x12FC
    FixedText<56> CraftyGameFileName{};        // 0x13C4
    FixedText<200> CraftyAnnotationFolder{};   // 0x13FC
    FixedText<56> CraftyAnnotationFileName{};  // 0x14C4
    FixedText<200> CraftyExecutableFolder{};   // 0x14FC
    FixedText<56> CraftyExecutableFileName{};  // 0x15C4
    FixedText<200> DatabaseFolder{};           // 0x15FC
    FixedText<56> DatabaseFileName{};          // 0x16C4
    FixedText<200> YahooGameFolder{};          // 0x16FC
    FixedText<56> YahooGameFileName{};         // 0x17C4
    FixedText<200> YahooPgnFolder{};           // 0x17FC
    // Cut to 51 bytes: the ribbon byte lives at 0x18F7, inside what would be a 56-byte field.
    FixedText<51> YahooPgnFileName{};                   // 0x18C4
    std::uint8_t RibbonByte = 0;                        // 0x18F7
    FixedText<6> AlphaPieceLetters{};                   // 0x18FC
    std::uint8_t CustomPieceLetters = 0;                // 0x1903
    std::int32_t AnalysisReplayActive = 0;              // 0x1904
    std::array<std::int32_t, 4> EngineDisplayWindow{};  // 0x1908: width, height, x, y
    std::int32_t AnalysisReplaySetting = 0;             // 0x1918
    std::int32_t ReplayColoursSet = 0;                  // 0x191C
    std::int32_t MoveHighlightColourSet = 0;            // 0x1920
    std::uint32_t MoveHighlightColour = 0;              // 0x1924
    std::int32_t ReplayDefaultsSet = 0;                 // 0x1928
    std::uint32_t ReplayVariationColour = 0;            // 0x192C
    std::int32_t ReplayHighlightOn = 0;                 // 0x1930
    std::uint32_t ReplayHighlightColour = 0;            // 0x1934
    std::int32_t MoveSound = 0;                         // 0x1938: the move sound is on
    std::int32_t MainWindowSetting = 0;                 // 0x193C
    std::int32_t DuplicateSetting = 0;                  // 0x1940
    FixedText<200> GifFolder{};                         // 0x1944
    FixedText<56> GifFileName{};                        // 0x1A0C
    FixedText<200> PngFolder{};                         // 0x1A44
    FixedText<56> PngFileName{};                        // 0x1B0C
    std::int32_t AnalysisReplayMode = 0;                // 0x1B44
    FixedText<200> ExtractedVariationsFolder{};         // 0x1B48
    FixedText<56> ExtractedVariationsFileName{};        // 0x1C10
    std::int32_t WoodBoard = 0;                         // 0x1C48
    std::array<std::uint32_t, 4> ColourPresetFlags{};   // 0x1C4C
    std::int32_t PresetFlag = 0;                        // 0x1C64
    std::int32_t LevelOption = 0;                       // 0x1C68
    std::int32_t OptionsLevel = 0;                      // 0x1C6C
    std::uint32_t ArrowColour = 0;                      // 0x1C70
    FixedText<200> UciEngineFolder{};                   // 0x1C74
    FixedText<56> UciEngineFileName{};                  // 0x1D3C
    std::array<std::int32_t, 4> GameListSettings{};     // 0x1D74
    std::array<std::int32_t, 6> UciEngineSettings{};    // 0x1D84
    std::int32_t HtmlSetting = 0;                       // 0x1D9C
    std::array<std::int32_t, 2> DownloadSettings{};     // 0x1DA0
    std::int32_t OpeningsPrepared = 0;                  // 0x1DA8
    std::int32_t DisplayRibbon = 0;                     // 0x1DAC
    std::int32_t RibbonInitialised = 0;                 // 0x1DB0
    std::int32_t AutoReplayCount = 0;                   // 0x1DB4
    std::int32_t WindowWidened = 0;                     // 0x1DB8
    std::array<std::int32_t, 5> DisplaySettings{};      // 0x1DBC
    std::int32_t AnnotationSetting = 0;                 // 0x1DD0
    std::int32_t Reserved = 0;                          // 0x1DD4

    friend bool operator==(const OptionsRecord&, const OptionsRecord&) = default;
};

// The first colour preset inside the preset blocks: its background, light and dark square
// colours at 0x438, 0x43C, 0x440 (ColourPresets), its border colour at 0x5DC (ColourPresetData)
// and its wooden-board flag at 0x1C54 (ColourPresetFlags).
inline constexpr std::size_t FirstPresetBackground = (0x438 - 0x3E8) / 4;
inline constexpr std::size_t FirstPresetLight = (0x43C - 0x3E8) / 4;
inline constexpr std::size_t FirstPresetDark = (0x440 - 0x3E8) / 4;
inline constexpr std::size_t FirstPresetBorder = (0x5DC - 0x5D4) / 4;
inline constexpr std::size_t FirstPresetWood = (0x1C54 - 0x1C4C) / 4;

// Piece styles of "Piece Style" (`PieceStyle`).
enum class PieceStyleId : std::int32_t {
    Modern1 = 0,
    Sharp = 1,
    Staunton1 = 2,
    Staunton2 = 3,
    Classic = 4,
    Modern2 = 5,
    Modern3 = 6,
    ModBlue = 7,
    ModWood = 8,
};

// Calls visit(name, offset, field) for every field, in file order. The one place that ties a
// field to its offset: the codec and the layout table both come from it.
template <typename Record, typename Visit>
void ForEachOptionsField(Record& r, Visit&& visit) {
    visit("LegacyMainAndSearchSlots", 0x000, r.LegacyMainAndSearchSlots);
    visit("WindowCreated", 0x128, r.WindowCreated);
    visit("ReopenLastFile", 0x12C, r.ReopenLastFile);
    visit("AutoDisplayGame", 0x130, r.AutoDisplayGame);
    visit("MaxPrintLines", 0x134, r.MaxPrintLines);
    visit("SlideDelay", 0x138, r.SlideDelay);
    visit("PieceStyle", 0x13C, r.PieceStyle);
    visit("DisplayActualText", 0x140, r.DisplayActualText);
    visit("FigurineNotation", 0x144, r.FigurineNotation);
    visit("EditStyle", 0x148, r.EditStyle);
    visit("LegacyHtmlSlots", 0x14C, r.LegacyHtmlSlots);
    visit("AutoPageGameText", 0x1C0, r.AutoPageGameText);
    visit("AutoDisplayAnalysisComments", 0x1C4, r.AutoDisplayAnalysisComments);
    visit("LegacySecondPgnSlots", 0x1C8, r.LegacySecondPgnSlots);
    visit("HideGameText", 0x23C, r.HideGameText);
    visit("LegacyBitmapSlots", 0x240, r.LegacyBitmapSlots);
    visit("TreeSettings", 0x2B4, r.TreeSettings);
    visit("StartRuntimeFlag", 0x2CC, r.StartRuntimeFlag);
    visit("CustomColours", 0x2D0, r.CustomColours);
    visit("DarkSquareColour", 0x310, r.DarkSquareColour);
    visit("LightSquareColour", 0x314, r.LightSquareColour);
    visit("BackgroundColour", 0x318, r.BackgroundColour);
    visit("CoordinatesMode", 0x31C, r.CoordinatesMode);
    visit("EcoLoaderSetting", 0x320, r.EcoLoaderSetting);
    visit("EcoDataReady", 0x324, r.EcoDataReady);
    visit("TreeSetting", 0x328, r.TreeSetting);
    visit("DisplayOpening", 0x32C, r.DisplayOpening);
    visit("LegacyPreviousSlots", 0x330, r.LegacyPreviousSlots);
    visit("PreviousGameNumber", 0x3A4, r.PreviousGameNumber);
    visit("PreviousPly", 0x3A8, r.PreviousPly);
    visit("HighlightLastMove", 0x3AC, r.HighlightLastMove);
    visit("HighlightColour", 0x3B0, r.HighlightColour);
    visit("HighlightColourSet", 0x3B4, r.HighlightColourSet);
    visit("BoardSize", 0x3B8, r.BoardSize);
    visit("DuplicateSettings", 0x3BC, r.DuplicateSettings);
    visit("ManeuversLookAheadCount", 0x3C8, r.ManeuversLookAheadCount);
    visit("FolderInitialised", 0x3CC, r.FolderInitialised);
    visit("RunningFlag", 0x3D0, r.RunningFlag);
    visit("EcoDataVersion", 0x3D4, r.EcoDataVersion);
    visit("AutoPlayDelay", 0x3D8, r.AutoPlayDelay);
    visit("DisplayGameButtons", 0x3E0, r.DisplayGameButtons);
    visit("ColoursInitialised", 0x3E4, r.ColoursInitialised);
    visit("ColourPresets", 0x3E8, r.ColourPresets);
    visit("LegacyJpegAndTreeMergeSlots", 0x448, r.LegacyJpegAndTreeMergeSlots);
    visit("TreeMergeSettings", 0x530, r.TreeMergeSettings);
    visit("LegacySplitSlots", 0x538, r.LegacySplitSlots);
    visit("SmallBoardWindowWidth", 0x5AC, r.SmallBoardWindowWidth);
    visit("SmallBoardWindowHeight", 0x5B0, r.SmallBoardWindowHeight);
    visit("EngineModeWindowWidth", 0x5B4, r.EngineModeWindowWidth);
    visit("EngineModeWindowHeight", 0x5B8, r.EngineModeWindowHeight);
    visit("SmallBoardWindowX", 0x5BC, r.SmallBoardWindowX);
    visit("SmallBoardWindowY", 0x5C0, r.SmallBoardWindowY);
    visit("EngineModeWindowX", 0x5C4, r.EngineModeWindowX);
    visit("EngineModeWindowY", 0x5C8, r.EngineModeWindowY);
    visit("BorderColour", 0x5CC, r.BorderColour);
    visit("BorderWidth", 0x5D0, r.BorderWidth);
    visit("ColourPresetData", 0x5D4, r.ColourPresetData);
    visit("BorderWidthSet", 0x5EC, r.BorderWidthSet);
    visit("LegacyEngineFileSlots", 0x5F0, r.LegacyEngineFileSlots);
    visit("ClassicLayout", 0x74C, r.ClassicLayout);
    visit("ClassicLayoutSet", 0x750, r.ClassicLayoutSet);
    visit("LegacyEngineExecutableSlots", 0x754, r.LegacyEngineExecutableSlots);
    visit("EngineSettings", 0x7C8, r.EngineSettings);
    visit("LegacyDatabaseSlots", 0x7F4, r.LegacyDatabaseSlots);
    visit("LargeBoardWindow", 0x868, r.LargeBoardWindow);
    visit("HiddenDialogOption", 0x878, r.HiddenDialogOption);
    visit("ColumnFormat", 0x87C, r.ColumnFormat);
    visit("ColumnTextBackColour", 0x880, r.ColumnTextBackColour);
    visit("ColumnGridColour", 0x884, r.ColumnGridColour);
    visit("ColumnNumberBackColour", 0x888, r.ColumnNumberBackColour);
    visit("CurrentFolder", 0x88C, r.CurrentFolder);
    visit("CurrentFileName", 0x954, r.CurrentFileName);
    visit("SearchCriteriaFolder", 0x98C, r.SearchCriteriaFolder);
    visit("SearchCriteriaFileName", 0xA54, r.SearchCriteriaFileName);
    visit("SearchCriteriaFileName2", 0xA8C, r.SearchCriteriaFileName2);
    visit("SearchCriteriaFileName3", 0xAC4, r.SearchCriteriaFileName3);
    visit("HtmlFolder", 0xAFC, r.HtmlFolder);
    visit("HtmlFileName", 0xBC4, r.HtmlFileName);
    visit("SecondPgnFolder", 0xBFC, r.SecondPgnFolder);
    visit("SecondPgnFileName", 0xCC4, r.SecondPgnFileName);
    visit("BitmapFolder", 0xCFC, r.BitmapFolder);
    visit("BitmapFileName", 0xDC4, r.BitmapFileName);
    visit("PreviousFolder", 0xDFC, r.PreviousFolder);
    visit("PreviousFileName", 0xEC4, r.PreviousFileName);
    visit("JpegFolder", 0xEFC, r.JpegFolder);
    visit("JpegFileName", 0xFC4, r.JpegFileName);
    visit("TreeMergeFolder", 0xFFC, r.TreeMergeFolder);
    visit("TreeMergeFileName", 0x10C4, r.TreeMergeFileName);
    visit("SplitFolder", 0x10FC, r.SplitFolder);
    visit("SplitFileName", 0x11C4, r.SplitFileName);
    visit("CraftyPositionFolder", 0x11FC, r.CraftyPositionFolder);
    visit("CraftyPositionFileName", 0x12C4, r.CraftyPositionFileName);
    visit("CraftyGameFolder", 0x12FC, r.CraftyGameFolder);
    visit("CraftyGameFileName", 0x13C4, r.CraftyGameFileName);
    visit("CraftyAnnotationFolder", 0x13FC, r.CraftyAnnotationFolder);
    visit("CraftyAnnotationFileName", 0x14C4, r.CraftyAnnotationFileName);
    visit("CraftyExecutableFolder", 0x14FC, r.CraftyExecutableFolder);
    visit("CraftyExecutableFileName", 0x15C4, r.CraftyExecutableFileName);
    visit("DatabaseFolder", 0x15FC, r.DatabaseFolder);
    visit("DatabaseFileName", 0x16C4, r.DatabaseFileName);
    visit("YahooGameFolder", 0x16FC, r.YahooGameFolder);
    visit("YahooGameFileName", 0x17C4, r.YahooGameFileName);
    visit("YahooPgnFolder", 0x17FC, r.YahooPgnFolder);
    visit("YahooPgnFileName", 0x18C4, r.YahooPgnFileName);
    visit("RibbonByte", 0x18F7, r.RibbonByte);
    visit("AlphaPieceLetters", 0x18FC, r.AlphaPieceLetters);
    visit("CustomPieceLetters", 0x1903, r.CustomPieceLetters);
    visit("AnalysisReplayActive", 0x1904, r.AnalysisReplayActive);
    visit("EngineDisplayWindow", 0x1908, r.EngineDisplayWindow);
    visit("AnalysisReplaySetting", 0x1918, r.AnalysisReplaySetting);
    visit("ReplayColoursSet", 0x191C, r.ReplayColoursSet);
    visit("MoveHighlightColourSet", 0x1920, r.MoveHighlightColourSet);
    visit("MoveHighlightColour", 0x1924, r.MoveHighlightColour);
    visit("ReplayDefaultsSet", 0x1928, r.ReplayDefaultsSet);
    visit("ReplayVariationColour", 0x192C, r.ReplayVariationColour);
    visit("ReplayHighlightOn", 0x1930, r.ReplayHighlightOn);
    visit("ReplayHighlightColour", 0x1934, r.ReplayHighlightColour);
    visit("MoveSound", 0x1938, r.MoveSound);
    visit("MainWindowSetting", 0x193C, r.MainWindowSetting);
    visit("DuplicateSetting", 0x1940, r.DuplicateSetting);
    visit("GifFolder", 0x1944, r.GifFolder);
    visit("GifFileName", 0x1A0C, r.GifFileName);
    visit("PngFolder", 0x1A44, r.PngFolder);
    visit("PngFileName", 0x1B0C, r.PngFileName);
    visit("AnalysisReplayMode", 0x1B44, r.AnalysisReplayMode);
    visit("ExtractedVariationsFolder", 0x1B48, r.ExtractedVariationsFolder);
    visit("ExtractedVariationsFileName", 0x1C10, r.ExtractedVariationsFileName);
    visit("WoodBoard", 0x1C48, r.WoodBoard);
    visit("ColourPresetFlags", 0x1C4C, r.ColourPresetFlags);
    visit("PresetFlag", 0x1C64, r.PresetFlag);
    visit("LevelOption", 0x1C68, r.LevelOption);
    visit("OptionsLevel", 0x1C6C, r.OptionsLevel);
    visit("ArrowColour", 0x1C70, r.ArrowColour);
    visit("UciEngineFolder", 0x1C74, r.UciEngineFolder);
    visit("UciEngineFileName", 0x1D3C, r.UciEngineFileName);
    visit("GameListSettings", 0x1D74, r.GameListSettings);
    visit("UciEngineSettings", 0x1D84, r.UciEngineSettings);
    visit("HtmlSetting", 0x1D9C, r.HtmlSetting);
    visit("DownloadSettings", 0x1DA0, r.DownloadSettings);
    visit("OpeningsPrepared", 0x1DA8, r.OpeningsPrepared);
    visit("DisplayRibbon", 0x1DAC, r.DisplayRibbon);
    visit("RibbonInitialised", 0x1DB0, r.RibbonInitialised);
    visit("AutoReplayCount", 0x1DB4, r.AutoReplayCount);
    visit("WindowWidened", 0x1DB8, r.WindowWidened);
    visit("DisplaySettings", 0x1DBC, r.DisplaySettings);
    visit("AnnotationSetting", 0x1DD0, r.AnnotationSetting);
    visit("Reserved", 0x1DD4, r.Reserved);
}

// One row of the file layout: a field's name, byte offset and size in "savinfo.opt".
struct OptionsField {
    std::string_view name;
    std::size_t offset = 0;
    std::size_t size = 0;
};

// Every field of the record in file order.
std::vector<OptionsField> OptionsLayout();

using OptionsBytes = std::array<std::uint8_t, OptionsRecordSize>;

// The record as the 7640 bytes of "savinfo.opt" (reserved bytes zero), and back. Decoding reads
// `size` bytes and treats the rest of the record as zero, so a short file loses only its tail.
OptionsBytes EncodeOptions(const OptionsRecord& record);
OptionsRecord DecodeOptions(const std::uint8_t* data, std::size_t size);

// The text of a fixed field up to its NUL (or its end).
std::string GetText(std::span<const char> field);
template <std::size_t N>
std::string GetText(const FixedText<N>& field) {
    return GetText(std::span<const char>(field));
}

// Stores `text` NUL-terminated, cut to fit; the rest of the field is cleared.
void SetText(std::span<char> field, std::string_view text);
template <std::size_t N>
void SetText(FixedText<N>& field, std::string_view text) {
    SetText(std::span<char>(field), text);
}

}  // namespace qorvale::app
