#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/app_folder.h"
#include "app/line_mode.h"
#include "chess/chess_state.h"
#include "chess/notation.h"
#include "cli/command.h"
#include "openings/eco_table.h"
#include "openings/eco_table_builder.h"
#include "openings/opening_classification.h"
#include "openings/opening_files.h"
#include "pgn/game_loader.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::cli {

namespace {

// The folder whose table the tool uses: --table, else the install folder once it holds a
// table, else the program's own data folder (what a first start would install).
std::string TableFolder(const CommandArgs& args) {
    std::string folder = args.FlagValue("--table");
    if (!folder.empty()) return folder;
    folder = app::AppFolder();
    if (platform::FileExists(platform::JoinPath(folder, openings::EcoCodesFileName))) {
        return folder;
    }
    return app::ProgramDataFolder();
}

bool ParseMode(const std::string& text, openings::FindOpeningMode& mode) {
    if (text.empty() || text == "closest") {
        mode = openings::FindOpeningMode::ClosestMatch;
    } else if (text == "moves") {
        mode = openings::FindOpeningMode::ExactNumberOfMoves;
    } else if (text == "exact") {
        mode = openings::FindOpeningMode::ExactVariation;
    } else {
        return false;
    }
    return true;
}

// eco --line L: Find Opening on a line entered as in Variation Edit.
int NameLine(const CommandArgs& args, const openings::EcoTable& table,
             openings::FindOpeningMode mode) {
    app::BoardLine line(app::LineMode::VariationEdit);
    if (!PlayLine(args.FlagValue("--line"), line, *args.ui)) return 1;
    const std::int32_t entry = line.FindOpening(table, mode, *args.ui);
    if (entry < 0) return 1;
    std::printf("%s\t%s\t%s\n", std::string(table.Code(entry)).c_str(),
                std::string(table.Name(entry)).c_str(), std::string(table.Moves(entry)).c_str());
    return 0;
}

}  // namespace

// Names the opening of every game's main line (or of game N) as "Find Opening" does at the
// game's last half-move: one line "GAME<TAB>CODE<TAB>NAME" per game, code and name empty when
// nothing matches. --summary adds a line on stderr comparing the codes with the games' ECO tags.
int RunEcoCommand(const CommandArgs& args) {
    const bool with_line = args.HasFlag("--line");
    if (args.words.size() != (with_line ? 0u : 1u)) return UsageError("eco");
    long wanted = 0;
    if (args.HasFlag("--game")) {
        std::string value = args.FlagValue("--game");
        char* end = nullptr;
        wanted = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != 0 || wanted < 1) return UsageError("eco");
    }
    openings::FindOpeningMode mode{};
    if (!ParseMode(args.FlagValue("--mode"), mode)) return UsageError("eco");

    openings::EcoTable table;
    if (!openings::LoadEcoTable(openings::EcoTableFilesIn(TableFolder(args)), table, *args.ui)
             .ok()) {
        return 1;
    }
    if (with_line) return NameLine(args, table, mode);
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    const std::int32_t count = file.GameCount();
    if (wanted > count) {
        std::fprintf(stderr, "qorvale-tool: the file has %d games\n", count);
        return 1;
    }

    pgn::HeaderTags header;
    pgn::GameLines lines;
    auto chess = std::make_unique<chess::ChessState>();
    auto game = std::make_unique<openings::OpeningGame>();
    SilentUi quiet;
    pgn::LoadOptions options;
    options.quiet = true;
    long named = 0;
    long tagged = 0;
    long agreed = 0;
    std::string out;
    const std::int32_t first = wanted != 0 ? static_cast<std::int32_t>(wanted) : 1;
    const std::int32_t last = wanted != 0 ? static_cast<std::int32_t>(wanted) : count;
    for (std::int32_t number = first; number <= last; ++number) {
        Result<int> loaded =
            pgn::OpenGameForDisplay(file, number, header, lines, *chess, quiet, options);
        std::int32_t entry = -1;
        if (loaded.ok()) {
            game->Set(lines.Moves(), *loaded);
            entry = openings::FindOpening(table, *game, mode, *loaded);
        }
        out = std::to_string(number);
        out += '\t';
        if (entry >= 0) {
            ++named;
            out += table.Code(entry);
            out += '\t';
            out += table.Name(entry);
        } else {
            out += '\t';
        }
        out += '\n';
        std::fwrite(out.data(), 1, out.size(), stdout);
        const std::string& tag = header.CurrentHeader().Get(pgn::HeaderField::ECO);
        if (tag.size() >= 3 && tag[0] >= 'A' && tag[0] <= 'E') {
            ++tagged;
            if (entry >= 0 && table.Code(entry) == std::string_view(tag).substr(0, 3)) ++agreed;
        }
    }
    if (args.HasFlag("--summary")) {
        std::fprintf(
            stderr, "games %d  named %ld  tagged %ld  agree %ld (%.1f%%)\n", last - first + 1,
            named, tagged, agreed,
            tagged > 0 ? 100.0 * static_cast<double>(agreed) / static_cast<double>(tagged) : 0.0);
    }
    return 0;
}

// Writes the opening files (Ecocodes.pgn, Ecomoves.pgn, Econames.pgn, Openings.pgn) of the
// table into the install folder's openings folder and makes Ecocodes.pgn's fast file.
int RunEcoExportCommand(const CommandArgs& args) {
    if (!args.words.empty()) return UsageError("eco-export");
    const std::string app_folder = app::AppFolder();
    if (!platform::CreateFolder(app_folder)) {
        args.ui->report("Error creating folder.");
        return 1;
    }
    openings::EcoTable table;
    if (!openings::LoadEcoTable(openings::EcoTableFilesIn(TableFolder(args)), table, *args.ui)
             .ok()) {
        return 1;
    }
    openings::EcoDataOptions options;
    openings::ExportOpeningFiles(table, app_folder, options);
    openings::ExportOpeningsGames(table, app_folder, options);
    if (!openings::RebuildEcoCodesFastFile(app_folder, *args.ui).ok()) return 1;
    std::printf("%d entries\n", table.count());
    return 0;
}

// Builds the table files from tab-separated opening lists: every line is replayed through the
// chess rules; dropped rows are listed on stderr.
int RunEcoBuildCommand(const CommandArgs& args) {
    if (args.words.size() < 2) return UsageError("eco-build");
    openings::EcoTableTexts texts;
    for (std::size_t i = 0; i + 1 < args.words.size(); ++i) {
        const std::string& path = args.words[i];
        std::string text;
        platform::File file = platform::File::Open(path, platform::File::Mode::Read);
        std::int64_t size = file.IsOpen() ? file.Size() : -1;
        if (size >= 0) {
            text.resize(static_cast<std::size_t>(size));
            if (file.Read(text.data(), size) != size) size = -1;
        }
        if (size < 0) {
            args.ui->report("Error opening file.");
            return 1;
        }
        openings::AddOpeningList(text, platform::NameOf(path), texts);
    }
    const openings::EcoTableFiles files = openings::EcoTableFilesIn(args.words.back());
    if (!platform::CreateFolder(args.words.back())) {
        args.ui->report("Error creating folder.");
        return 1;
    }
    for (const auto& [path, content] :
         {std::pair{files.codes, &texts.codes}, std::pair{files.names, &texts.names},
          std::pair{files.moves, &texts.moves}}) {
        platform::File out = platform::File::Create(path);
        if (!out.IsOpen() || !out.Write(*content)) {
            args.ui->report("Error creating file.");
            return 1;
        }
    }
    for (const std::string& note : texts.notes) std::fprintf(stderr, "dropped %s\n", note.c_str());
    std::printf("%d entries, %zu dropped\n", texts.entries, texts.notes.size());
    return 0;
}

}  // namespace qorvale::cli
