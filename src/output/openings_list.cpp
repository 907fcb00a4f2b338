#include "output/openings_list.h"

#include <algorithm>
#include <map>

#include "base/message.h"
#include "openings/eco_group_name.h"
#include "pgn/game_index.h"
#include "search/text_game_reader.h"

namespace qorvale::output {

namespace {

std::string_view WithoutMarks(std::string_view move) {
    while (!move.empty() &&
           (move.back() == '+' || move.back() == '#' || move.back() == '!' || move.back() == '?')) {
        move.remove_suffix(1);
    }
    return move;
}

}  // namespace

std::vector<OpeningFamily> OpeningFamilies(const openings::EcoTable& table) {
    std::map<std::string, std::int32_t, std::less<>> shortest;
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        const std::string_view name = openings::EcoGroupName(table.Code(entry));
        if (name == "???") continue;
        auto [at, added] = shortest.emplace(std::string(name), entry);
        if (!added && table.PlyCount(entry) < table.PlyCount(at->second)) at->second = entry;
    }
    std::vector<OpeningFamily> families;
    for (const auto& [name, entry] : shortest) {
        OpeningFamily family{name, {}};
        const auto white = table.PlainWhiteMoves(entry);
        const auto black = table.PlainBlackMoves(entry);
        for (std::size_t k = 0; k < white.size(); ++k) {
            family.moves.emplace_back(WithoutMarks(white[k].view()));
            if (k < black.size() && !black[k].empty()) {
                family.moves.emplace_back(WithoutMarks(black[k].view()));
            }
        }
        if (!family.moves.empty()) families.push_back(std::move(family));
    }
    std::stable_sort(families.begin(), families.end(),
                     [](const OpeningFamily& a, const OpeningFamily& b) {
                         return a.moves.size() > b.moves.size();
                     });
    return families;
}

std::vector<OpeningRow> BuildOpeningsList(const OpeningsListRequest& request,
                                          const openings::EcoTable& table, Ui& ui) {
    (void)ui;
    const std::vector<OpeningFamily> families = OpeningFamilies(table);
    std::vector<OpeningRow> rows(families.size() + 1);
    for (std::size_t k = 0; k < families.size(); ++k) rows[k].name = families[k].name;
    rows.back().name = OtherOpenings;

    search::TextGameReader reader(request.pgn_path, request.offsets);
    const std::int32_t count =
        std::min(request.games.empty() ? request.game_count
                                       : static_cast<std::int32_t>(request.games.size()),
                 pgn::MaxGamesPerFile);
    std::vector<std::string_view> played;
    for (std::int32_t k = 0; k < count; ++k) {
        const std::int32_t game =
            request.games.empty() ? k : request.games[static_cast<std::size_t>(k)] - 1;
        if (game < 0 || game >= request.game_count ||
            !reader.Read(game, search::TextGameReader::Depth::Moves)) {
            continue;
        }
        played.clear();
        const chess::MainLineMoves& moves = reader.Moves();
        for (int full = 0; full < reader.FullMoves(); ++full) {
            const auto at = static_cast<std::size_t>(full);
            played.push_back(WithoutMarks(moves.WhiteMoves[at].view()));
            if (moves.BlackMoves[at].empty()) break;
            played.push_back(WithoutMarks(moves.BlackMoves[at].view()));
        }
        std::size_t family = 0;
        for (; family < families.size(); ++family) {
            const std::vector<std::string>& line = families[family].moves;
            if (line.size() <= played.size() &&
                std::equal(line.begin(), line.end(), played.begin())) {
                break;
            }
        }
        OpeningRow& row = rows[family];
        row.games.push_back(game + 1);
        const std::string& result = reader.Values().Get(pgn::HeaderField::Result);
        if (result == "1-0") {
            ++row.white_wins;
        } else if (result == "0-1") {
            ++row.black_wins;
        } else {
            ++row.draws;
        }
    }
    std::vector<OpeningRow> kept;
    for (OpeningRow& row : rows) {
        if (row.Total() > 0) kept.push_back(std::move(row));
    }
    return kept;
}

void SortOpenings(std::vector<OpeningRow>& rows, bool by_name) {
    std::stable_sort(rows.begin(), rows.end(), [by_name](const OpeningRow& a, const OpeningRow& b) {
        const bool a_other = a.name == OtherOpenings;
        const bool b_other = b.name == OtherOpenings;
        if (a_other != b_other) return b_other;
        if (!by_name && a.Total() != b.Total()) return a.Total() > b.Total();
        return a.name < b.name;
    });
}

std::string FormatOpeningLine(const OpeningRow& row) {
    std::string name = row.name;
    std::string head = FillMessage("%s: %d", {name, row.Total()});
    // Too long for its column: the name loses its last word.
    const std::size_t space = name.rfind(' ');
    if (head.size() > 34 && space != std::string::npos) {
        head = FillMessage("%s: %d", {name.substr(0, space), row.Total()});
    }
    return FillMessage("%-34s  W Wins: %d  B Wins: %d  Draws: %d",
                       {head, row.white_wins, row.black_wins, row.draws});
}

}  // namespace qorvale::output
