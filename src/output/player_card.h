#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui.h"
#include "output/player_table.h"
#include "search/database_search.h"

namespace qorvale::output {

// Wins, draws and losses of a set of games, from the player's side.
struct CardScore {
    std::int32_t wins = 0;
    std::int32_t draws = 0;
    std::int32_t losses = 0;
    std::int32_t Games() const { return wins + draws + losses; }
    double Points() const { return wins + draws * 0.5; }
};

// A rating the player had in one game, with the game's date as written ("2012.06.??").
struct CardRating {
    std::string date;
    std::int32_t rating = 0;
};

// A group of the player's games (an event, an ECO family) and how they went.
struct CardGroup {
    std::string name;
    CardScore score;
};

// What the games of a file say about one player.
struct PlayerCard {
    std::string name;                 // as asked
    std::vector<std::string> names;   // the forms met in the games, as written, first met first
    std::vector<std::int32_t> games;  // 1-based numbers of the file's games, in file order
    std::int32_t database_games = 0;  // games of the database added
    CardScore white;
    CardScore black;
    std::int32_t unfinished = 0;      // games without a result ("*")
    std::vector<CardRating> ratings;  // by date; games without a rating are left out
    std::vector<CardGroup> events;    // first met first
    std::vector<CardGroup> openings;  // by ECO family name, most games first
    std::int32_t Games() const { return static_cast<std::int32_t>(games.size()) + database_games; }
    std::int32_t LowestRating() const;
    std::int32_t HighestRating() const;
};

// The card of `name` over the games of the request (the whole file or its navigation list),
// names matched as the player table matches them.
PlayerCard BuildPlayerCard(const PlayerTableRequest& request, std::string_view name, Ui& ui);

// Adds the games of `database` in which `name` plays either colour (the database's own player
// search, by key). "File read error." and the search's messages as they come.
Error AddDatabaseGames(PlayerCard& card, const search::Database& database);

// The card as lines of text (LF), for the tool and the clipboard.
std::string FormatPlayerCard(const PlayerCard& card);

}  // namespace qorvale::output
