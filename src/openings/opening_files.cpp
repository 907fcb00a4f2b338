#include "openings/opening_files.h"

#include <span>

#include "openings/messages.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "search/pgn_game_source.h"

namespace qorvale::openings {

namespace {

constexpr std::string_view CrLf = "\r\n";
constexpr std::size_t NameCutLength = 70;
constexpr std::size_t LongMovesLength = 76;
constexpr std::size_t BreakScanStart = 74;
constexpr int MaxMovesLines = 4;

void AppendTag(std::string& out, std::string_view name, std::string_view value) {
    out += '[';
    out += name;
    out += " \"";
    out += value;
    out += "\"]";
    out += CrLf;
}

// Writes the file whole; one that cannot be created is skipped without a word.
void WriteQuietly(const std::string& path, std::string_view text) {
    platform::File file = platform::File::Create(path);
    if (file.IsOpen()) (void)file.Write(text);
}

}  // namespace

std::string OpeningsFilePath(std::string_view app_folder, std::string_view name) {
    return platform::JoinPath(platform::JoinPath(app_folder, OpeningsFolderName), name);
}

std::string EcoCodesFastFilePath(std::string_view app_folder) {
    return search::FastFileNamesOf(OpeningsFilePath(app_folder, EcoCodesGamesName)).trf;
}

std::string ExportedName(std::string_view name) {
    if (name.size() < NameCutLength) return std::string(name);
    std::size_t space = name.rfind(' ', NameCutLength - 1);
    if (space == std::string_view::npos) return std::string(name);
    return std::string(name.substr(0, space));
}

std::vector<std::string> BreakMovesLines(std::string_view moves) {
    std::vector<std::string> lines;
    std::string rest(moves);
    while (rest.size() >= LongMovesLength && static_cast<int>(lines.size()) < MaxMovesLines - 1) {
        std::size_t at = BreakScanStart;
        while (at > 0 && rest[at] != '.') --at;
        while (at > 0 && rest[at] != ' ') --at;
        // No move number to break before: the text goes out whole.
        if (at == 0) break;
        lines.push_back(rest.substr(0, at));
        rest = " " + rest.substr(at + 1);
    }
    lines.push_back(std::move(rest));
    return lines;
}

std::string OpeningFileText(const EcoTable& table, const std::vector<std::int32_t>& order) {
    std::string out;
    bool first = true;
    for (std::int32_t entry : order) {
        if (!first) out += CrLf;
        first = false;
        AppendTag(out, "ECO", table.Code(entry));
        AppendTag(out, "Opening", ExportedName(table.Name(entry)));
        out += CrLf;
        for (const std::string& line : BreakMovesLines(table.Moves(entry))) {
            out += line;
            out += CrLf;
        }
    }
    return out;
}

std::string OpeningsGamesText(const EcoTable& table) {
    std::string out;
    bool first = true;
    for (std::int32_t entry : table.CodeOrder()) {
        if (!first) out += CrLf;
        first = false;
        AppendTag(out, "White", "White");
        AppendTag(out, "Black", "Black");
        AppendTag(out, "Date", "????.??.??");
        AppendTag(out, "Result", "*");
        AppendTag(out, "ECO", table.Code(entry));
        std::vector<std::string> lines = BreakMovesLines(table.Moves(entry));
        lines.back() += " *";
        for (const std::string& line : lines) {
            out += line;
            out += CrLf;
        }
    }
    return out;
}

void ExportOpeningFiles(const EcoTable& table, std::string_view app_folder,
                        EcoDataOptions& options) {
    (void)platform::CreateFolder(platform::JoinPath(app_folder, OpeningsFolderName));
    WriteQuietly(OpeningsFilePath(app_folder, EcoCodesGamesName),
                 OpeningFileText(table, table.CodeOrder()));
    WriteQuietly(OpeningsFilePath(app_folder, EcoMovesGamesName),
                 OpeningFileText(table, table.MovesOrder()));
    WriteQuietly(OpeningsFilePath(app_folder, EcoNamesGamesName),
                 OpeningFileText(table, table.NameOrder()));
    if (options.EcoDataReady) *options.EcoDataReady = 1;
    if (options.EcoDataVersion) *options.EcoDataVersion = CurrentEcoDataVersion;
    if (options.save) options.save();
}

void ExportOpeningsGames(const EcoTable& table, std::string_view app_folder,
                         EcoDataOptions& options) {
    (void)platform::CreateFolder(platform::JoinPath(app_folder, OpeningsFolderName));
    WriteQuietly(OpeningsFilePath(app_folder, OpeningsGamesName), OpeningsGamesText(table));
    if (options.OpeningsPrepared) *options.OpeningsPrepared = 1;
    if (options.save) options.save();
}

Error RebuildEcoCodesFastFile(std::string_view app_folder, Ui& ui) {
    const std::string path = OpeningsFilePath(app_folder, EcoCodesGamesName);
    pgn::PgnFile file;
    if (!platform::FileExists(path) || !file.Open(path).ok()) {
        ui.report(messages::ErrorOpeningEcocodes);
        return Error(std::string(messages::ErrorOpeningEcocodes));
    }
    SilentUi quiet;
    const std::int32_t count = file.ScanGameFile(false, quiet);
    std::span<const std::uint32_t> offsets = file.Index().Offsets();
    search::PgnGameSource source(file.CurrentPath(), {offsets.begin(), offsets.end()});
    if (Error error = source.Open(); !error.ok()) {
        ui.report(messages::ErrorOpeningEcocodes);
        return Error(std::string(messages::ErrorOpeningEcocodes));
    }
    search::MakeResult made = search::MakeFastFile(file.CurrentPath(), count, source, {});
    if (made.outcome != search::MakeOutcome::Complete) {
        return Error(std::string(search::MakeOutcomeMessage(made.outcome)));
    }
    return Error::Ok();
}

void InitialiseEcoData(EcoTable& table, std::string_view app_folder, EcoDataOptions& options,
                       Ui& ui) {
    if (!LoadEcoTable(EcoTableFilesIn(app_folder), table, ui).ok()) return;
    const bool stale = (options.EcoDataReady && *options.EcoDataReady == 0) ||
                       (options.EcoDataVersion && *options.EcoDataVersion != CurrentEcoDataVersion);
    if (stale) {
        ExportOpeningFiles(table, app_folder, options);
        (void)RebuildEcoCodesFastFile(app_folder, ui);
        (void)platform::DeleteFile(platform::JoinPath(app_folder, EcoPositionFileName));
    }
    if (options.OpeningsPrepared && *options.OpeningsPrepared == 0) {
        ExportOpeningsGames(table, app_folder, options);
    }
}

}  // namespace qorvale::openings
