#include "app/engine_settings.h"

#include <cstdint>

#include "platform/folder.h"

namespace qorvale::app {

namespace {

constexpr std::size_t TextBytes = 8;

// Indexes into OptionsRecord::EngineSettings (0x7C8) and UciEngineSettings (0x1D84).
enum CraftyIndex : std::size_t {
    MovesFirst = 0,
    ContinueGame = 1,
    DisplayGeneral = 2,
    DisplayVariation = 3,
    NoPonder = 4,
    LevelMoves = 5,  // two integers per text
    LevelMinutes = 7,
    LevelIncrement = 9,
};
enum UciIndex : std::size_t {
    FixedFont = 0,
    EvalProfile = 1,
    ProfileColors = 2,
    AnalysisLines = 3,
    PlayMilliseconds = 4,
};

// A text kept in two integers, little-endian, as the bytes of the file hold it.
std::string ReadText(const std::array<std::int32_t, 11>& block, std::size_t first) {
    std::string text;
    for (std::size_t byte = 0; byte + 1 < TextBytes; ++byte) {
        auto word = static_cast<std::uint32_t>(block[first + byte / 4]);
        char c = static_cast<char>((word >> (8 * (byte % 4))) & 0xFF);
        if (c == '\0') break;
        text += c;
    }
    return text;
}

void WriteText(std::array<std::int32_t, 11>& block, std::size_t first, std::string_view text) {
    std::uint32_t words[2] = {0, 0};
    for (std::size_t byte = 0; byte + 1 < TextBytes && byte < text.size(); ++byte) {
        words[byte / 4] |= static_cast<std::uint32_t>(static_cast<unsigned char>(text[byte]))
                           << (8 * (byte % 4));
    }
    block[first] = static_cast<std::int32_t>(words[0]);
    block[first + 1] = static_cast<std::int32_t>(words[1]);
}

}  // namespace

EngineSettings ReadEngineSettings(const OptionsRecord& record) {
    EngineSettings settings;
    const auto& crafty_block = record.EngineSettings;
    engines::CraftyGameSettings& crafty = settings.crafty;
    crafty.CraftyMovesFirst = crafty_block[MovesFirst] != 0;
    crafty.CraftyContinueGame = crafty_block[ContinueGame] != 0;
    crafty.CraftyDisplayGeneral = crafty_block[DisplayGeneral] != 0;
    crafty.CraftyDisplayVariation = crafty_block[DisplayVariation] != 0;
    crafty.CraftyNoPonder = crafty_block[NoPonder] != 0;
    crafty.CraftyLevelMoves = ReadText(crafty_block, LevelMoves);
    crafty.CraftyLevelMinutes = ReadText(crafty_block, LevelMinutes);
    crafty.CraftyLevelIncrement = ReadText(crafty_block, LevelIncrement);
    const auto& uci_block = record.UciEngineSettings;
    settings.EngineFixedFont = uci_block[FixedFont] != 0;
    settings.EngineEvalProfile = uci_block[EvalProfile] != 0;
    const int colours = uci_block[ProfileColors];
    settings.EngineProfileColors = colours >= 0 && colours <= 2 ? colours : 0;
    settings.analysis_lines = uci_block[AnalysisLines] > 0 ? uci_block[AnalysisLines] : 1;
    settings.play_milliseconds = uci_block[PlayMilliseconds] > 0 ? uci_block[PlayMilliseconds] : 0;
    return settings;
}

void WriteEngineSettings(const EngineSettings& settings, OptionsRecord& record) {
    auto& crafty_block = record.EngineSettings;
    const engines::CraftyGameSettings& crafty = settings.crafty;
    crafty_block[MovesFirst] = crafty.CraftyMovesFirst ? 1 : 0;
    crafty_block[ContinueGame] = crafty.CraftyContinueGame ? 1 : 0;
    crafty_block[DisplayGeneral] = crafty.CraftyDisplayGeneral ? 1 : 0;
    crafty_block[DisplayVariation] = crafty.CraftyDisplayVariation ? 1 : 0;
    crafty_block[NoPonder] = crafty.CraftyNoPonder ? 1 : 0;
    WriteText(crafty_block, LevelMoves, crafty.CraftyLevelMoves);
    WriteText(crafty_block, LevelMinutes, crafty.CraftyLevelMinutes);
    WriteText(crafty_block, LevelIncrement, crafty.CraftyLevelIncrement);
    auto& uci_block = record.UciEngineSettings;
    uci_block[FixedFont] = settings.EngineFixedFont ? 1 : 0;
    uci_block[EvalProfile] = settings.EngineEvalProfile ? 1 : 0;
    uci_block[ProfileColors] = settings.EngineProfileColors;
    uci_block[AnalysisLines] = settings.analysis_lines;
    uci_block[PlayMilliseconds] = settings.play_milliseconds;
}

std::string EnginePath(const OptionsRecord& record, engines::EngineKind kind) {
    const bool uci = kind == engines::EngineKind::Uci;
    std::string name = GetText(uci ? record.UciEngineFileName : record.CraftyExecutableFileName);
    if (name.empty()) return "";
    return platform::JoinPath(GetText(uci ? record.UciEngineFolder : record.CraftyExecutableFolder),
                              name);
}

bool SetEnginePath(OptionsRecord& record, engines::EngineKind kind, std::string_view path) {
    const bool uci = kind == engines::EngineKind::Uci;
    auto& folder_field = uci ? record.UciEngineFolder : record.CraftyExecutableFolder;
    auto& name_field = uci ? record.UciEngineFileName : record.CraftyExecutableFileName;
    const std::string folder = platform::FolderOf(path);
    const std::string name = platform::NameOf(path);
    if (folder.size() >= folder_field.size() || name.size() >= name_field.size()) return false;
    SetText(folder_field, folder);
    SetText(name_field, name);
    return true;
}

std::string PlaySearchCommand(const EngineSettings& settings) {
    if (settings.play_milliseconds <= 0) return "go";
    return "go movetime " + std::to_string(settings.play_milliseconds);
}

}  // namespace qorvale::app
