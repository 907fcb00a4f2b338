#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui.h"

namespace qorvale::output {

// One player of the table, and the unit of the player cache (76 bytes, little-endian):
//   0  wins with White        4  wins with Black
//   8  draws with White      12  draws with Black
//  16  losses with White     20  losses with Black
//  24  rating of the game the player first appeared in (0 when absent)
//  28  round of the player's last game    32  knockout opponent's index, -1 when none
//  36  half-points in the current knockout match (win 2, draw 1)
//  40  colour in the last game: 1 White, 2 Black
//  44  score, 32-bit float
//  48  name, 28 bytes, NUL-terminated: the first form of the name met
struct PlayerRecord {
    std::int32_t wins_white = 0;
    std::int32_t wins_black = 0;
    std::int32_t draws_white = 0;
    std::int32_t draws_black = 0;
    std::int32_t losses_white = 0;
    std::int32_t losses_black = 0;
    std::int32_t rating = 0;
    std::int32_t last_round = 0;
    std::int32_t opponent = -1;
    std::int32_t half_points = 0;
    std::int32_t last_colour = 0;
    float score = 0.0F;
    std::string name;  // raw bytes of the file, at most 24 of them

    std::int32_t Games() const {
        return wins_white + wins_black + draws_white + draws_black + losses_white + losses_black;
    }
};

inline constexpr std::size_t PlayerRecordSize = 76;
inline constexpr std::size_t PlayerNameField = 28;
inline constexpr std::size_t PlayerNameLength = 24;
inline constexpr std::int32_t MaxPlayers = 32767;
inline constexpr std::int32_t MaxCrossTablePlayers = 500;
// Above this many games the whole file's player table is kept beside it.
inline constexpr std::int32_t PlayerCacheThreshold = 1000;

void EncodePlayerRecord(const PlayerRecord& player, std::uint8_t* out);
PlayerRecord DecodePlayerRecord(const std::uint8_t* in);

// The letters A-Z and a-z of a name in lower case, up to its first "(".
std::string PlayerNameKey(std::string_view name);

enum class PlayerMatch {
    Key,    // one player when the shorter key is a non-empty prefix of the longer
    Exact,  // one player when the names are equal ignoring case
};

// A game as the statistics count it (the cross table keeps one per game, or per knockout match
// with the winner first).
struct CrossGameRecord {
    std::int32_t white = 0;  // player indices in the table's build order
    std::int32_t black = 0;
    int result = 0;  // 2 White won, 1 draw, 0 otherwise
    std::int32_t round = 0;
};

// What a build covers and how.
struct PlayerTableRequest {
    std::string pgn_path;
    std::span<const std::uint32_t> offsets;  // the file's game index
    std::int32_t game_count = 0;
    // 1-based game numbers of the navigation list; empty for the whole file.
    std::span<const std::int32_t> games;
    PlayerMatch match = PlayerMatch::Key;
    bool cross_table = false;  // also keep the game records, and never use the cache
    bool use_fast_file = true;
    std::function<bool()> cancelled;
};

enum class PlayerSource { Cache, HeaderFile, PgnText };

struct PlayerTable {
    std::vector<PlayerRecord> players;   // in the order they were met (a cache: as it was saved)
    std::vector<std::int32_t> order;     // the shown order: indices into players
    std::vector<CrossGameRecord> games;  // cross-table builds only, in file order
    PlayerMatch match = PlayerMatch::Key;
    PlayerSource source = PlayerSource::PgnText;
    bool knockout = false;
    bool cache_written = false;
    bool complete = true;    // false after the player limit or a cancel
    bool all_rounds = true;  // cross-table builds: every game had a round number
};

// The player cache: a u32 count, then that many records in the table's shown order. Nothing when
// the bytes are not exactly that.
std::optional<std::vector<PlayerRecord>> ParsePlayerCache(std::span<const std::uint8_t> bytes);

// `name.pgq` (key matching) or `name.pgx` (exact matching) beside the PGN file.
std::string PlayerCachePath(std::string_view pgn_path, PlayerMatch match);
// A rescan may have changed the games: both caches go.
void DeletePlayerCaches(std::string_view pgn_path);

// BuildPlayerTable: the players of the whole file or of the navigation list. Questions (the
// knockout format) and messages go through `ui`. Returns false when nothing could be built.
bool BuildPlayerTable(const PlayerTableRequest& request, PlayerTable& table, Ui& ui);

// Whether two names are one player for `match`: by key, one key a prefix of the other (names
// without letters only when the same text); exact, equal ignoring case. Both are cut to the
// table's name length first.
bool SamePlayer(std::string_view a, std::string_view b, PlayerMatch match);

// The 1-based numbers of the games of the request in which `name` plays either colour, matched
// as the table matches names; in file order.
std::vector<std::int32_t> GamesOfPlayer(const PlayerTableRequest& request, std::string_view name,
                                        Ui& ui);

enum class PlayerOrder { Score = 0, Rating = 1, Name = 2 };
// SortPlayers: by score (highest first), rating (highest first) or name; ties by name ignoring
// case.
void SortPlayers(PlayerTable& table, PlayerOrder order);

// One line of the "Player Scores" list.
std::string FormatPlayerLine(const PlayerRecord& player);

// "Player Scores" or "Player Scores/Exact Player Match", and the same for the other windows.
std::string StatisticsTitle(std::string_view title, PlayerMatch match);

// BuildCrossTable: the cross-table text (lines ending in CR LF) of a table built with
// cross_table, players in its current order. `large_board` repeats the names at the end of the
// line only for more rounds. Reports and returns nothing when the games have no rounds or there
// are too many players.
std::string BuildCrossTable(const PlayerTable& table, bool large_board, Ui& ui);

// The same table as a web page: one row per player, one cell per round ("5w+"), and the points.
// Nothing when BuildCrossTable would refuse (it reports why).
std::string CrossTableHtml(const PlayerTable& table, std::string_view title, Ui& ui);

}  // namespace qorvale::output
