#include "openings/opening_files.h"

#include "chess/board.h"
#include "chess/chess_state.h"
#include "openings/messages.h"
#include "pgn/game_lines.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "search/move_code.h"

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

// The games of Ecocodes.pgn for the fast-file generator: each game is loaded as the window loads
// it, and its codes are taken from the recorded positions.
class EcoCodesGameSource final : public search::FastFileGameSource {
  public:
    explicit EcoCodesGameSource(pgn::PgnFile& file) : file_(file) {}

    bool ReadGame(std::int32_t index, bool, search::FastFileGame& game) override {
        pgn::LoadOptions options;
        options.quiet = true;
        Result<int> loaded =
            pgn::OpenGameForDisplay(file_, index + 1, header_, lines_, chess_, quiet_, options);
        if (!loaded.ok()) return false;
        const pgn::HeaderValues& values = header_.CurrentHeader();
        // The fast file stores the values in its own order.
        constexpr pgn::HeaderField StoredOrder[] = {
            pgn::HeaderField::White,    pgn::HeaderField::Black, pgn::HeaderField::Result,
            pgn::HeaderField::Date,     pgn::HeaderField::ECO,   pgn::HeaderField::WhiteElo,
            pgn::HeaderField::BlackElo, pgn::HeaderField::Round, pgn::HeaderField::Event,
            pgn::HeaderField::Site};
        for (std::size_t field = 0; field < game.header.size(); ++field) {
            game.header[field] = values.Get(StoredOrder[field]);
        }
        game.has_fen = header_.TagLines().Has(pgn::Tag::FEN);
        game.result = search::ResultFromTag(values.Get(pgn::HeaderField::Result));
        game.codes.clear();
        chess::Board64 before{};
        chess::Board64 after{};
        for (int half_move = 1; half_move <= *loaded; ++half_move) {
            const chess::Snapshot& previous = chess_.PositionHistory(half_move - 1);
            const chess::Snapshot& current = chess_.PositionHistory(half_move);
            for (std::size_t square = 0; square < 64; ++square) {
                before[square] = static_cast<std::uint8_t>(previous[square]);
                after[square] = static_cast<std::uint8_t>(current[square]);
            }
            game.codes.push_back(search::EncodeMoveCode(before, after, half_move));
        }
        return true;
    }

  private:
    pgn::PgnFile& file_;
    pgn::HeaderTags header_;
    pgn::GameLines lines_;
    chess::ChessState chess_;
    SilentUi quiet_;
};

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
    std::int32_t count = file.ScanGameFile(false, quiet);
    EcoCodesGameSource source(file);
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
