#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/line_mode.h"
#include "app/tree_session.h"
#include "chess/notation.h"
#include "cli/command.h"
#include "openings/eco_table.h"
#include "openings/opening_tree.h"
#include "openings/tree_source.h"
#include "pgn/pgn_file.h"

namespace qorvale::cli {

namespace {

bool ParseSource(const std::string& text, openings::TreeSourceKind& kind) {
    if (text.empty() || text == "file") {
        kind = openings::TreeSourceKind::PgnFile;
    } else if (text == "eco") {
        kind = openings::TreeSourceKind::EcoTable;
    } else if (text == "merge") {
        kind = openings::TreeSourceKind::MergeFile;
    } else if (text == "db") {
        kind = openings::TreeSourceKind::Database;
    } else {
        return false;
    }
    return true;
}

bool ParseSort(const std::string& text, int& sort_mode) {
    if (text.empty() || text == "frequency") {
        sort_mode = static_cast<int>(openings::TreeSort::Frequency);
    } else if (text == "score") {
        sort_mode = static_cast<int>(openings::TreeSort::Score);
    } else if (text == "move") {
        sort_mode = static_cast<int>(openings::TreeSort::MoveType);
    } else {
        return false;
    }
    return true;
}

void PrintRows(const std::vector<app::TreeRow>& rows) {
    std::string out;
    for (const app::TreeRow& row : rows) out += row.text + '\n';
    for (const app::TreeRow& row : rows) {
        const openings::NextMove& move = row.move;
        const std::uint32_t other = move.games - move.wins.white_wins - move.wins.black_wins;
        out += std::string(move.text.view()) + '\t' + std::to_string(move.games) + '\t' +
               std::to_string(move.points) + '\t' + std::to_string(move.wins.white_wins) + '\t' +
               std::to_string(other) + '\t' + std::to_string(move.wins.black_wins) + '\t' +
               std::to_string(move.first_game) + '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

// tree FILE: the tree list after --line as the tree window shows it, then one row per move for
// machines: MOVE, GAMES, POINTS, WHITE_WINS, OTHER, BLACK_WINS, FIRST_GAME. The tree grows on
// disk beside its source exactly as the window grows it. FILE is the PGN file, the merge file,
// the database's .dbg file, or for the ECO table the folder that holds it.
int RunTreeCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("tree");
    openings::TreeSourceRequest request;
    openings::TreeOptions options;
    if (!ParseSource(args.FlagValue("--source"), request.kind) ||
        !ParseSort(args.FlagValue("--sort"), options.sort_mode)) {
        return UsageError("tree");
    }
    options.exact_variations = args.HasFlag("--exact");
    const std::string& path = args.words[0];
    request.path = path;

    openings::EcoTable table;
    if (request.kind == openings::TreeSourceKind::PgnFile) {
        pgn::PgnFile file;
        if (!OpenForCommand(file, path, *args.ui)) return 1;
        request = app::FileTreeSource(file);
    } else if (request.kind == openings::TreeSourceKind::EcoTable) {
        if (!openings::LoadEcoTable(openings::EcoTableFilesIn(path), table, *args.ui).ok()) {
            return 1;
        }
        request.eco_table = &table;
    }

    app::TreeSession session;
    if (session.Open(request, options, *args.ui)) return 1;
    const app::TreeSession::LineWalk walk = session.EnterLine(args.FlagValue("--line"), *args.ui);
    using Stop = app::TreeSession::LineWalk::Stop;
    switch (walk.stop) {
        case Stop::Done:
            break;
        case Stop::NotLegal:
            std::fprintf(stderr, "qorvale-tool: %s is not a legal move after '%s'\n",
                         walk.move.c_str(), session.LineText().c_str());
            return 1;
        case Stop::NotPlayed:
            std::fprintf(stderr, "qorvale-tool: no game plays %s after '%s'\n", walk.move.c_str(),
                         session.LineText().c_str());
            return 1;
        case Stop::Ended:
            std::fprintf(stderr, "qorvale-tool: the branch ends at '%s'\n",
                         session.LineText().c_str());
            return 1;
        case Stop::Refused:
            return 1;
    }
    PrintRows(session.Rows());
    // The tool takes no part in the window's back and forward history: nothing more is written.
    return 0;
}

// next-moves FILE: Show Next Moves (or Show Maneuvers, with the look-ahead of --look-ahead) for
// the line of --line over FILE's games, printed as tree prints a node.
int RunNextMovesCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("next-moves");
    openings::TreeOptions options;
    if (args.HasFlag("--look-ahead")) {
        char* end = nullptr;
        const std::string value = args.FlagValue("--look-ahead");
        const long count = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != 0 || count < 1 || count > 99) {
            return UsageError("next-moves");
        }
        options.maneuver_look_ahead = static_cast<int>(count);
    }
    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], *args.ui)) return 1;
    app::BoardLine line(app::LineMode::Analyze);
    if (!PlayLine(args.FlagValue("--line"), line, *args.ui)) return 1;
    app::NextMovesSession session;
    if (session.Start(app::FileTreeSource(file), line.Position(), args.HasFlag("--maneuvers"),
                      options, *args.ui)) {
        return 1;
    }
    PrintRows(session.Rows());
    return 0;
}

}  // namespace qorvale::cli
