#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_folder.h"
#include "cli/command.h"
#include "openings/eco_table.h"
#include "output/openings_list.h"
#include "output/player_table.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

namespace {

// Opens FILE and, when search flags are given, runs that search: `games` gets the games found (the
// window's navigation list), or stays empty for the whole file. Returns the exit code; -1 when a
// search found nothing.
int OpenAndSearch(const CommandArgs& args, pgn::PgnFile& file, std::vector<std::int32_t>& games) {
    Ui& ui = *args.ui;
    SearchCriteriaArgs read;
    if (int code = ReadSearchCriteria(args, read); code != 0) return code;
    if (!OpenForCommand(file, args.words[0], ui)) return 1;
    if (read.parts.Any()) {
        search::SearchSource source;
        source.pgn_path = file.CurrentPath();
        source.offsets = file.Index().Offsets();
        source.game_count = file.GameCount();
        if (read.session.Run(source, read.parts, ui) < 0) return 1;
        for (const search::FoundGame& game : read.session.List().Games()) {
            games.push_back(game.game_number);
        }
        // No game found leaves nothing to count; an empty list would mean the whole file.
        if (games.empty()) return -1;
    }
    return 0;
}

// Builds the player table of FILE, or of the games the search flags find. Returns the exit code,
// 0 when `table` was built.
int BuildForCommand(const CommandArgs& args, bool cross_table, output::PlayerTable& table) {
    pgn::PgnFile file;
    std::vector<std::int32_t> games;
    if (int code = OpenAndSearch(args, file, games); code != 0) return std::max(code, 0);
    output::PlayerTableRequest request;
    request.pgn_path = file.CurrentPath();
    request.offsets = file.Index().Offsets();
    request.game_count = file.GameCount();
    request.games = games;
    request.match =
        args.HasFlag("--exact-players") ? output::PlayerMatch::Exact : output::PlayerMatch::Key;
    request.cross_table = cross_table;
    request.use_fast_file = !args.HasFlag("--no-fast-file");
    return output::BuildPlayerTable(request, table, *args.ui) ? 0 : 1;
}

}  // namespace

// Prints the "Player Scores" lines of FILE (or of a search's games), sorted as asked.
int RunScoresCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("scores");
    const std::string sort = args.FlagValue("--sort", "score");
    output::PlayerOrder order = output::PlayerOrder::Score;
    if (sort == "rating") {
        order = output::PlayerOrder::Rating;
    } else if (sort == "name") {
        order = output::PlayerOrder::Name;
    } else if (sort != "score") {
        return UsageError("scores");
    }
    output::PlayerTable table;
    if (int code = BuildForCommand(args, false, table); code != 0) return code;
    output::SortPlayers(table, order);
    std::string out;
    out.reserve(table.order.size() * 80);
    for (std::int32_t index : table.order) {
        out += output::FormatPlayerLine(table.players[static_cast<std::size_t>(index)]);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

// Prints the "Cross Table" text of FILE (or of a search's games).
int RunCrosstableCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("crosstable");
    output::PlayerTable table;
    if (int code = BuildForCommand(args, true, table); code != 0) return code;
    const std::string text =
        output::BuildCrossTable(table, args.HasFlag("--large-board"), *args.ui);
    if (text.empty()) return 1;
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

// Prints the "Openings" lines of FILE (or of a search's games): the games per opening family of
// the ECO table and how they ended.
int RunOpeningsCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("openings");
    pgn::PgnFile file;
    std::vector<std::int32_t> games;
    if (int code = OpenAndSearch(args, file, games); code != 0) return std::max(code, 0);
    openings::EcoTable table;
    if (!openings::LoadEcoTable(openings::EcoTableFilesIn(EcoTableFolder(app::AppFolder())), table,
                                *args.ui)
             .ok()) {
        return 1;
    }
    output::OpeningsListRequest request;
    request.pgn_path = file.CurrentPath();
    request.offsets = file.Index().Offsets();
    request.game_count = file.GameCount();
    request.games = games;
    std::vector<output::OpeningRow> rows = output::BuildOpeningsList(request, table, *args.ui);
    output::SortOpenings(rows, args.FlagValue("--sort") == "name");
    std::string out;
    for (const output::OpeningRow& row : rows) {
        out += output::FormatOpeningLine(row);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace qorvale::cli
