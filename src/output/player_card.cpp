#include "output/player_card.h"

#include <algorithm>
#include <cstdio>

#include "base/text.h"
#include "openings/eco_group_name.h"
#include "search/text_game_reader.h"

namespace qorvale::output {

namespace {

CardGroup& GroupNamed(std::vector<CardGroup>& groups, std::string_view name) {
    for (CardGroup& group : groups) {
        if (group.name == name) return group;
    }
    groups.push_back({std::string(name), {}});
    return groups.back();
}

void Count(CardScore& score, int points) {  // 2 won, 1 drawn, 0 lost
    if (points == 2) {
        ++score.wins;
    } else if (points == 1) {
        ++score.draws;
    } else {
        ++score.losses;
    }
}

std::string Percent(const CardScore& score) {
    char text[64];
    std::snprintf(text, sizeof text, "%d games, %.1f points (%.0f%%)  +%d =%d -%d", score.Games(),
                  score.Points(), score.Games() ? 100.0 * score.Points() / score.Games() : 0.0,
                  score.wins, score.draws, score.losses);
    return text;
}

}  // namespace

std::int32_t PlayerCard::LowestRating() const {
    std::int32_t lowest = 0;
    for (const CardRating& r : ratings) lowest = lowest ? std::min(lowest, r.rating) : r.rating;
    return lowest;
}

std::int32_t PlayerCard::HighestRating() const {
    std::int32_t highest = 0;
    for (const CardRating& r : ratings) highest = std::max(highest, r.rating);
    return highest;
}

namespace {

// Counts one game of the player into the card; `white` says which side the player had.
void AddGame(PlayerCard& card, const pgn::HeaderValues& values, bool white) {
    using pgn::HeaderField;
    const std::string& written = values.Get(white ? HeaderField::White : HeaderField::Black);
    if (std::find(card.names.begin(), card.names.end(), written) == card.names.end()) {
        card.names.push_back(written);
    }
    const std::string& elo = values.Get(white ? HeaderField::WhiteElo : HeaderField::BlackElo);
    std::int32_t rating = 0;
    for (char c : elo) {
        if (c < '0' || c > '9' || rating > 10000) break;
        rating = rating * 10 + (c - '0');
    }
    if (rating > 0) card.ratings.push_back({values.Get(HeaderField::Date), rating});

    const std::string& result = values.Get(HeaderField::Result);
    int points = -1;
    if (result == "1-0") points = white ? 2 : 0;
    if (result == "0-1") points = white ? 0 : 2;
    if (result == "1/2-1/2") points = 1;
    if (points < 0) {
        ++card.unfinished;
        return;
    }
    Count(white ? card.white : card.black, points);
    Count(GroupNamed(card.events, values.Get(HeaderField::Event)).score, points);
    Count(GroupNamed(card.openings, openings::EcoGroupName(values.Get(HeaderField::ECO))).score,
          points);
}

void Order(PlayerCard& card) {
    std::stable_sort(card.ratings.begin(), card.ratings.end(),
                     [](const CardRating& a, const CardRating& b) { return a.date < b.date; });
    std::stable_sort(
        card.openings.begin(), card.openings.end(),
        [](const CardGroup& a, const CardGroup& b) { return a.score.Games() > b.score.Games(); });
}

}  // namespace

PlayerCard BuildPlayerCard(const PlayerTableRequest& request, std::string_view name, Ui& ui) {
    PlayerCard card;
    card.name = std::string(name);
    card.games = GamesOfPlayer(request, name, ui);
    search::TextGameReader reader(request.pgn_path, request.offsets);
    for (std::int32_t game : card.games) {
        if (!reader.Read(game - 1, search::TextGameReader::Depth::Header)) continue;
        const pgn::HeaderValues& values = reader.Values();
        AddGame(card, values, SamePlayer(name, values.Get(pgn::HeaderField::White), request.match));
    }
    Order(card);
    return card;
}

Error AddDatabaseGames(PlayerCard& card, const search::Database& database) {
    search::DbSearchCriteria criteria;
    criteria.white = card.name;
    criteria.either_colour = true;
    const search::DbSearchResult found = database.Search(criteria);
    search::HeaderValues stored;
    pgn::HeaderValues values;
    using F = search::HeaderField;
    using P = pgn::HeaderField;
    constexpr std::pair<F, P> Fields[] = {{F::White, P::White},       {F::Black, P::Black},
                                          {F::Result, P::Result},     {F::Date, P::Date},
                                          {F::Eco, P::ECO},           {F::WhiteElo, P::WhiteElo},
                                          {F::BlackElo, P::BlackElo}, {F::Round, P::Round},
                                          {F::Event, P::Event},       {F::Site, P::Site}};
    for (std::uint32_t record : found.records) {
        if (!database.Header(record, stored)) continue;
        for (const auto& [from, to] : Fields) {
            values.values[static_cast<std::size_t>(to)] = stored[static_cast<std::size_t>(from)];
        }
        ++card.database_games;
        AddGame(card, values, SamePlayer(card.name, values.Get(P::White), PlayerMatch::Key));
    }
    Order(card);
    return found.error;
}

std::string FormatPlayerCard(const PlayerCard& card) {
    std::string out = "Player: " + DisplayText(card.name) + "\n";
    std::string names;
    for (const std::string& name : card.names) {
        names += (names.empty() ? "" : "; ") + DisplayText(name);
    }
    out += "Names as written: " + names + "\n";
    CardScore all = card.white;
    all.wins += card.black.wins;
    all.draws += card.black.draws;
    all.losses += card.black.losses;
    out += "Games: " + std::to_string(card.Games());
    if (card.database_games > 0) {
        out += " (" + std::to_string(card.games.size()) + " in the file, " +
               std::to_string(card.database_games) + " in the database)";
    }
    if (card.unfinished > 0) out += " (" + std::to_string(card.unfinished) + " without a result)";
    out += "\nScore: " + Percent(all) + "\n";
    out += "With White: " + Percent(card.white) + "\n";
    out += "With Black: " + Percent(card.black) + "\n";
    if (!card.ratings.empty()) {
        out += "Rating: " + std::to_string(card.LowestRating()) + " - " +
               std::to_string(card.HighestRating()) + " (" + card.ratings.front().date + " to " +
               card.ratings.back().date + ")\n";
    }
    out += "Events:\n";
    for (const CardGroup& event : card.events) {
        out += "  " + DisplayText(event.name) + ": " + Percent(event.score) + "\n";
    }
    out += "Openings:\n";
    for (const CardGroup& group : card.openings) {
        out += "  " + group.name + ": " + Percent(group.score) + "\n";
    }
    return out;
}

}  // namespace qorvale::output
