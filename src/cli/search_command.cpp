#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_folder.h"
#include "cli/command.h"
#include "openings/opening_files.h"
#include "pgn/pgn_file.h"
#include "search/eco_difference_search.h"
#include "search/header_search.h"
#include "search/messages.h"
#include "search/position_search.h"
#include "search/search_criteria.h"
#include "search/search_list.h"
#include "search/ser_file.h"
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
    search::SearchCriteria& criteria = read.criteria;
    if (args.HasFlag("--ser")) {
        search::SerKind kind = search::SerKind::Header;
        if (Error error = search::LoadAny(args.FlagValue("--ser"), criteria, kind); !error.ok()) {
            ui.report(error.message());
            return 1;
        }
        read.use_header = kind == search::SerKind::Header;
        read.use_line =
            kind == search::SerKind::Variation || (read.use_header && criteria.line.Any());
        read.use_position =
            kind == search::SerKind::Position || (read.use_header && criteria.position.Any());
    }
    for (const HeaderFlag& entry : HeaderFlags) {
        if (!args.HasFlag(entry.flag)) continue;
        if (!criteria.header.Set(entry.field, args.FlagValue(entry.flag))) {
            ui.report(search::messages::CriterionTooLong);
            return 2;
        }
    }
    read.use_header = read.use_header || criteria.header.Any();
    if (args.HasFlag("--line")) {
        Result<search::VariationCriteria> line = search::ParseSearchLine(args.FlagValue("--line"));
        if (!line) {
            ui.report(line.error().message());
            return 1;
        }
        criteria.line = *line;
        read.use_line = criteria.line.Any();
    }
    if (args.HasFlag("--position")) {
        criteria.position.Clear();
        if (!search::ParsePositionCriteria(args.FlagValue("--position"), criteria.position)) {
            ui.report(search::messages::InvalidPositionEntry);
            return 2;
        }
        read.use_position = criteria.position.Any();
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
    search::SearchCriteria& criteria = read.criteria;
    const bool use_header = read.use_header;
    const bool use_line = read.use_line;
    const bool use_position = read.use_position;
    if (!use_header && !use_line && !use_position) return UsageError("search");

    if (args.HasFlag("--save-ser")) {
        const std::string target = args.FlagValue("--save-ser");
        const std::uint32_t parts = (use_line ? 1u : 0u) | (use_position ? 2u : 0u);
        Error saved = use_header ? search::SaveHeader(target, criteria, parts)
                      : use_line ? search::SaveVariation(target, criteria)
                                 : search::SavePosition(target, criteria);
        if (!saved.ok()) {
            ui.report(saved.message());
            return 1;
        }
    }

    pgn::PgnFile file;
    if (!OpenForCommand(file, args.words[0], ui)) return 1;
    search::SearchSource source;
    source.pgn_path = file.CurrentPath();
    source.offsets = file.Index().Offsets();
    source.game_count = file.GameCount();
    source.use_fast_file = !args.HasFlag("--no-fast-file");

    search::SearchList list;
    int found = 0;
    const int combination = (use_line ? 1 : 0) | (use_position ? 2 : 0);
    const bool eco_difference = criteria.header.Get(HeaderCriterion::Eco) == "*" &&
                                combination == 0 &&
                                criteria.header.Get(HeaderCriterion::SpecificMove).empty();
    if (eco_difference) {
        const std::string lines_path = args.HasFlag("--eco-lines")
                                           ? args.FlagValue("--eco-lines")
                                           : openings::EcoCodesFastFilePath(app::AppFolder());
        std::vector<std::string> classified;
        found = search::SearchEcoDifference(source, criteria, lines_path, list, classified, ui);
    } else if (use_header) {
        found = search::SearchHeader(source, criteria, combination, list, ui);
    } else if (use_line) {
        found = search::SearchVariation(source, criteria, use_position ? 3 : 1, list, ui);
    } else {
        found = search::SearchPosition(source, criteria, list, ui);
    }
    if (found < 0) return 1;

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
    for (const std::string& line : list.StatisticsLines()) ui.report(line);
    if (use_line && criteria.force_match) {
        std::fprintf(stderr, "Matched half-moves: %d\n", list.MatchedLineLength());
    }
    return 0;
}

}  // namespace qorvale::cli
