#include "app/search_session.h"

#include <utility>

#include "search/header_search.h"
#include "search/position_search.h"
#include "search/ser_file.h"
#include "search/variation_search.h"

namespace qorvale::app {

search::Combination CombinationOf(SearchParts parts) {
    using search::Combination;
    if (parts.variation && parts.position) return Combination::WithVariationAndPosition;
    if (parts.variation) return Combination::WithVariation;
    if (parts.position) return Combination::WithPosition;
    return Combination::Alone;
}

bool SearchSession::IsEcoDifference(SearchParts parts) const {
    using search::HeaderCriterion;
    return parts.header && !parts.variation && !parts.position &&
           criteria_.header.Get(HeaderCriterion::Eco) == "*" &&
           criteria_.header.Get(HeaderCriterion::SpecificMove).empty();
}

int SearchSession::Run(const search::SearchSource& source, SearchParts parts, Ui& ui) {
    if (parts.header) {
        if (Error checked = search::CheckHeaderCriteria(criteria_.header); !checked.ok()) {
            ui.report(checked.message());
            return -1;
        }
    }
    search::SearchList found;
    int count = 0;
    if (parts.header) {
        count = search::SearchHeader(source, criteria_, CombinationOf(parts), found, ui);
    } else if (parts.variation) {
        count =
            search::SearchVariation(source, criteria_,
                                    parts.position ? search::Combination::WithVariationAndPosition
                                                   : search::Combination::WithVariation,
                                    found, ui);
    } else if (parts.position) {
        count = search::SearchPosition(source, criteria_, found, ui);
    } else {
        return -1;
    }
    if (count < 0) return count;
    list_ = std::move(found);
    last_parts_ = parts;
    eco_codes_.clear();
    return count;
}

utilities::EcoDifferenceRequest SearchSession::EcoDifferenceRequestFor(
    const search::SearchSource& source, std::string eco_lines_path) const {
    return utilities::EcoDifferenceRequest{source.pgn_path,
                                           {source.offsets.begin(), source.offsets.end()},
                                           criteria_,
                                           std::move(eco_lines_path)};
}

int SearchSession::TakeEcoDifference(utilities::EcoDifferenceResult&& result) {
    if (result.found < 0) return result.found;
    list_ = std::move(result.list);
    eco_codes_ = std::move(result.classified);
    last_parts_ = SearchParts{true, false, false};
    return result.found;
}

std::vector<std::int32_t> SearchSession::FoundGames() const {
    std::vector<std::int32_t> games;
    games.reserve(list_.Games().size());
    for (const search::FoundGame& game : list_.Games()) games.push_back(game.game_number);
    return games;
}

std::optional<SearchLanding> SearchSession::Landing() const {
    if (list_.Games().empty()) return std::nullopt;
    const search::FoundGame& first = list_.Games().front();
    // A position search names its half-move; a line ends where its matched moves end.
    return SearchLanding{first.game_number,
                         first.half_move > 0 ? first.half_move : list_.MatchedLineLength()};
}

Error SearchSession::Save(const std::string& path) const {
    const SearchParts parts = last_parts_;
    if (!parts.header && parts.variation) return search::SaveVariation(path, criteria_);
    if (!parts.header && parts.position) return search::SavePosition(path, criteria_);
    return search::SaveHeader(path, criteria_, CombinationOf(parts));
}

Error SearchSession::Load(const std::string& path) {
    search::SerKind kind = search::SerKind::Header;
    search::Combination combination = search::Combination::Alone;
    if (Error loaded = search::LoadAny(path, criteria_, kind, combination); !loaded.ok()) {
        return loaded;
    }
    switch (kind) {
        case search::SerKind::Variation:
            last_parts_ = SearchParts{false, true, false};
            break;
        case search::SerKind::Position:
            last_parts_ = SearchParts{false, false, true};
            break;
        case search::SerKind::Header:
            last_parts_ = SearchParts{true, search::HasVariation(combination),
                                      search::HasPosition(combination)};
            break;
    }
    return Error::Ok();
}

void SearchSession::ClearList() {
    list_.Clear();
    eco_codes_.clear();
}

void SearchSession::TakeList(search::SearchList list) {
    list_ = std::move(list);
    eco_codes_.clear();
}

int SearchSession::SelectAll(const search::SearchSource& source, Ui& ui) {
    eco_codes_.clear();
    return search::SelectAllGames(source, list_, ui);
}

}  // namespace qorvale::app
