#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_folder.h"
#include "app/search_session.h"
#include "cli/command.h"
#include "openings/opening_files.h"
#include "pgn/pgn_file.h"
#include "search/eco_difference_search.h"
#include "search/messages.h"
#include "search/variation_search.h"

namespace qorvale::cli {

namespace {

using search::HeaderCriterion;

struct HeaderFlag {
    std::string_view flag;
    HeaderCriterion field;
};

constexpr HeaderFlag HeaderFlags[] = {
    {"--event", HeaderCriterion::Event},         {"--site", HeaderCriterion::Site},
    {"--date", HeaderCriterion::Date},           {"--round", HeaderCriterion::Round},
    {"--white", HeaderCriterion::White},         {"--black", HeaderCriterion::Black},
    {"--result", HeaderCriterion::Result},       {"--eco", HeaderCriterion::Eco},
    {"--moves", HeaderCriterion::NumberOfMoves}, {"--white-elo", HeaderCriterion::WhiteElo},
    {"--black-elo", HeaderCriterion::BlackElo},  {"--specific-move", HeaderCriterion::SpecificMove},
};

}  // namespace

int ReadSearchCriteria(const CommandArgs& args, SearchCriteriaArgs& read) {
    Ui& ui = *args.ui;
    app::SearchSession& session = read.session;
    search::SearchCriteria& criteria = session.Criteria();
    app::SearchParts& parts = read.parts;

    if (args.HasFlag("--ser")) {
        if (Error error = session.Load(args.FlagValue("--ser")); !error.ok()) {
            ui.report(error.message());
            return 1;
        }
        parts = session.LastParts();
    }
    for (const HeaderFlag& entry : HeaderFlags) {
        if (!args.HasFlag(entry.flag)) continue;
        if (!criteria.header.Set(entry.field, args.FlagValue(entry.flag))) {
            ui.report(search::messages::CriterionTooLong);
            return 2;
        }
    }
    parts.header = parts.header || criteria.header.Any();
    if (args.HasFlag("--line")) {
        Result<search::VariationCriteria> line = search::ParseSearchLine(args.FlagValue("--line"));
        if (!line) {
            ui.report(line.error().message());
            return 1;
        }
        criteria.line = *line;
        parts.variation = criteria.line.Any();
    }
    if (args.HasFlag("--position")) {
        if (Error error =
                search::ParsePositionText(args.FlagValue("--position"), criteria.position);
            !error.ok()) {
            ui.report(error.message());
            return 2;
        }
        parts.position = criteria.position.Any();
    }
    if (args.HasFlag("--move-number")) {
        std::string text = args.FlagValue("--move-number");
        if (Error error = search::CheckMoveNumberFilter(text); !error.ok()) {
            ui.report(error.message());
            return 2;
        }
        criteria.move_number = search::ParseMoveNumberFilter(text);
    }
    criteria.exact = args.HasFlag("--exact");
    criteria.force_match = args.HasFlag("--force");
    if (Error error = search::CheckHeaderCriteria(criteria.header); !error.ok()) {
        ui.report(error.message());
        return 2;
    }
    return 0;
}

// Searches FILE by header, move sequence and position as the window does, printing the found
// game numbers (with the half-move of the position when one took part) and the statistics.
int RunSearchCommand(const CommandArgs& args) {
    if (args.words.size() != 1) return UsageError("search");
    Ui& ui = *args.ui;
    SearchCriteriaArgs read;
    if (int code = ReadSearchCriteria(args, read); code != 0) return code;
    app::SearchSession& session = read.session;
    const search::SearchCriteria& criteria = session.Criteria();
    const app::SearchParts& parts = read.parts;
    if (!parts.Any()) return UsageError("search");

    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], ui)) return 1;
    search::SearchSource source;
    source.pgn_path = file.CurrentPath();
    source.offsets = file.Index().Offsets();
    source.game_count = file.GameCount();
    source.use_fast_file = !args.HasFlag("--no-fast-file");

    int found = 0;
    if (session.IsEcoDifference(parts)) {
        const std::string lines_path = args.HasFlag("--eco-lines")
                                           ? args.FlagValue("--eco-lines")
                                           : openings::EcoCodesFastFilePath(app::AppFolder());
        utilities::EcoDifferenceResult result;
        result.found = search::SearchEcoDifference(source, criteria, lines_path, result.list,
                                                   result.classified, ui);
        found = session.TakeEcoDifference(std::move(result));
    } else {
        found = session.Run(source, parts, ui);
    }
    if (found < 0) return 1;
    if (args.HasFlag("--save-ser")) {
        if (Error saved = session.Save(args.FlagValue("--save-ser")); !saved.ok()) {
            ui.report(saved.message());
            return 1;
        }
    }

    const search::SearchList& list = session.List();
    std::string out;
    for (const search::FoundGame& game : list.Games()) {
        out += std::to_string(game.game_number);
        if (list.HasHalfMoves()) {
            out += '\t';
            out += std::to_string(game.half_move);
        }
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    for (const std::string& line : list.FormatWinStatistics()) ui.report(line);
    if (parts.variation && criteria.force_match) {
        std::fprintf(stderr, "Matched half-moves: %d\n", list.MatchedLineLength());
    }
    return 0;
}

}  // namespace qorvale::cli
