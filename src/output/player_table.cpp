#include "output/player_table.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <unordered_map>

#include "base/bytes.h"
#include "base/message.h"
#include "base/text.h"
#include "output/messages.h"
#include "platform/file.h"
#include "platform/whole_file.h"
#include "search/fast_file.h"
#include "search/header_file.h"
#include "search/header_search.h"
#include "search/messages.h"
#include "search/text_game_reader.h"

namespace qorvale::output {

void EncodePlayerRecord(const PlayerRecord& player, std::uint8_t* out) {
    const std::array<std::int32_t, 11> whole = {
        player.wins_white,   player.wins_black,   player.draws_white, player.draws_black,
        player.losses_white, player.losses_black, player.rating,      player.last_round,
        player.opponent,     player.half_points,  player.last_colour};
    for (std::size_t k = 0; k < whole.size(); ++k) PutI32(out + 4 * k, whole[k]);
    std::uint32_t score_bits = 0;
    std::memcpy(&score_bits, &player.score, sizeof score_bits);
    PutU32(out + 44, score_bits);
    std::memset(out + 48, 0, PlayerNameField);
    std::memcpy(out + 48, player.name.data(), std::min(player.name.size(), PlayerNameField - 1));
}

PlayerRecord DecodePlayerRecord(const std::uint8_t* in) {
    PlayerRecord player;
    std::array<std::int32_t*, 11> whole = {
        &player.wins_white,   &player.wins_black,   &player.draws_white, &player.draws_black,
        &player.losses_white, &player.losses_black, &player.rating,      &player.last_round,
        &player.opponent,     &player.half_points,  &player.last_colour};
    for (std::size_t k = 0; k < whole.size(); ++k) *whole[k] = GetI32(in + 4 * k);
    const std::uint32_t score_bits = GetU32(in + 44);
    std::memcpy(&player.score, &score_bits, sizeof score_bits);
    const char* name = reinterpret_cast<const char*>(in + 48);
    player.name.assign(name, strnlen(name, PlayerNameField - 1));
    return player;
}

std::string PlayerNameKey(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c == '(') break;
        if (c >= 'A' && c <= 'Z') key += static_cast<char>(c - 'A' + 'a');
        if (c >= 'a' && c <= 'z') key += c;
    }
    return key;
}

std::optional<std::vector<PlayerRecord>> ParsePlayerCache(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) return std::nullopt;
    const std::uint64_t count = GetU32(bytes.data());
    if (count * PlayerRecordSize != bytes.size() - 4) return std::nullopt;
    std::vector<PlayerRecord> players;
    players.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        players.push_back(DecodePlayerRecord(bytes.data() + 4 + k * PlayerRecordSize));
    }
    return players;
}

std::string PlayerCachePath(std::string_view pgn_path, PlayerMatch match) {
    std::string path(pgn_path);
    if (!path.empty()) path.back() = match == PlayerMatch::Exact ? 'x' : 'q';
    return path;
}

void DeletePlayerCaches(std::string_view pgn_path) {
    for (PlayerMatch match : {PlayerMatch::Key, PlayerMatch::Exact}) {
        const std::string path = PlayerCachePath(pgn_path, match);
        if (path != pgn_path && platform::FileExists(path)) (void)platform::DeleteFile(path);
    }
}

std::string StatisticsTitle(std::string_view title, PlayerMatch match) {
    std::string text(title);
    if (match == PlayerMatch::Exact) {
        text += '/';
        text += ExactPlayerMatchTitle;
    }
    return text;
}

namespace {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Finds the player a name belongs to. Players are only ever added when no known key is in the
// prefix relation with theirs, so the known keys are pairwise unrelated: a key that is a prefix
// of the new one can only be its immediate predecessor in sorted order, and among the keys the
// new one is a prefix of, the player met first wins.
class PlayerIndex {
  public:
    explicit PlayerIndex(PlayerMatch match) : match_(match) {}

    std::int32_t Find(std::string_view name) const {
        if (match_ == PlayerMatch::Key) {
            std::string key = PlayerNameKey(name);
            // A name without letters ("?", "123") has no key to compare: only the same text is
            // the same player, or every "?" would be a player of its own.
            if (!key.empty()) return FindKey(key);
        }
        auto it = exact_.find(LowerAscii(name));
        return it == exact_.end() ? -1 : it->second;
    }

    void Add(std::string_view name, std::int32_t index) {
        if (match_ == PlayerMatch::Key) {
            std::string key = PlayerNameKey(name);
            if (!key.empty()) {
                keys_.emplace(std::move(key), index);
                return;
            }
        }
        exact_.emplace(LowerAscii(name), index);
    }

  private:
    std::int32_t FindKey(const std::string& key) const {
        auto after = keys_.upper_bound(key);
        if (after != keys_.begin()) {
            auto before = std::prev(after);
            if (key.starts_with(before->first)) return before->second;
        }
        std::int32_t first = -1;
        for (auto it = keys_.lower_bound(key); it != keys_.end() && it->first.starts_with(key);
             ++it) {
            if (first < 0 || it->second < first) first = it->second;
        }
        return first;
    }

    PlayerMatch match_;
    std::map<std::string, std::int32_t, std::less<>> keys_;
    std::unordered_map<std::string, std::int32_t> exact_;
};

// The few header values the statistics read.
struct StatsGame {
    std::string_view white, black, result, white_elo, black_elo, round;
    std::int32_t index = 0;  // 0-based game of the file
};

std::string CutName(std::string_view name) {
    // Latin-1 text has one byte per character; UTF-8 is cut before a character that would not fit.
    if (IsValidUtf8(name)) return std::string(CutAtCharacter(name, PlayerNameLength));
    return std::string(name.substr(0, PlayerNameLength));
}

std::int32_t LeadingNumber(std::string_view text) {
    std::int64_t value = 0;
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > 1'000'000'000) break;
    }
    return static_cast<std::int32_t>(value);
}

// 2 White won, 1 draw, 0 Black won; -1 for a game without a decided result ("*" and the like),
// which is counted for no one rather than as a loss for White.
int ResultCode(std::string_view result) {
    result = result.substr(0, 7);
    if (result == "1-0") return 2;
    if (result.size() > 1 && result[1] == '/') return 1;
    if (result == "0-1") return 0;
    return -1;
}

class TableBuilder {
  public:
    TableBuilder(const PlayerTableRequest& request, PlayerTable& table, Ui& ui, bool knockout)
        : request_(request), table_(table), ui_(ui), index_(request.match), knockout_(knockout) {
        table_.players.clear();
        table_.games.clear();
        table_.knockout = knockout;
        table_.complete = true;
        table_.all_rounds = true;
    }

    enum class Step { Go, Stop, Restart };

    Step Add(const StatsGame& game) {
        const std::int32_t round = LeadingNumber(search::StoredRound(game.round));
        if (request_.cross_table && round <= 0) table_.all_rounds = false;
        const std::int32_t white = PlayerOf(game.white, game.white_elo, round, 1);
        if (white < 0) return Step::Stop;
        const std::int32_t black = PlayerOf(game.black, game.black_elo, round, 2);
        if (black < 0) return Step::Stop;
        if (restart_) return Step::Restart;
        const int code = ResultCode(game.result);
        if (code < 0) return Step::Go;
        Count(white, black, code);
        if (knockout_) {
            if (round != current_round_) {
                SettleMatches();
                current_round_ = round;
            }
            Pair(white, black);
            if (code == 2) table_.players[white].half_points += 2;
            if (code == 0) table_.players[black].half_points += 2;
            if (code == 1) {
                ++table_.players[white].half_points;
                ++table_.players[black].half_points;
            }
        } else if (request_.cross_table) {
            table_.games.push_back(CrossGameRecord{white, black, code, round});
        }
        return Step::Go;
    }

    void Finish() {
        if (knockout_) {
            SettleMatches();
            return;
        }
        for (PlayerRecord& player : table_.players) {
            player.score = static_cast<float>(player.wins_white + player.wins_black) +
                           0.5F * static_cast<float>(player.draws_white + player.draws_black);
        }
    }

  private:
    std::int32_t PlayerOf(std::string_view raw_name, std::string_view elo, std::int32_t round,
                          int colour) {
        const std::string name = CutName(raw_name);
        std::int32_t found = index_.Find(name);
        if (found < 0) {
            if (static_cast<std::int32_t>(table_.players.size()) >= MaxPlayers) {
                ui_.report(MaximumPlayersExceeded);
                table_.complete = false;
                return -1;
            }
            PlayerRecord player;
            player.name = name;
            player.rating = LeadingNumber(elo);
            player.last_round = round;
            player.last_colour = colour;
            found = static_cast<std::int32_t>(table_.players.size());
            table_.players.push_back(std::move(player));
            index_.Add(name, found);
            return found;
        }
        PlayerRecord& player = table_.players[static_cast<std::size_t>(found)];
        if (!knockout_ && !asked_) {
            asked_ = true;
            // Two games of one player in one numbered round: a match of several games.
            if (round > 0 && player.last_round == round && ui_.ask(KnockoutQuestion)) {
                restart_ = true;
            }
        }
        player.last_round = round;
        player.last_colour = colour;
        return found;
    }

    void Count(std::int32_t white, std::int32_t black, int code) {
        PlayerRecord& w = table_.players[static_cast<std::size_t>(white)];
        PlayerRecord& b = table_.players[static_cast<std::size_t>(black)];
        if (code == 2) {
            ++w.wins_white;
            ++b.losses_black;
        } else if (code == 1) {
            ++w.draws_white;
            ++b.draws_black;
        } else {
            ++b.wins_black;
            ++w.losses_white;
        }
    }

    void Pair(std::int32_t white, std::int32_t black) {
        for (std::int32_t player : {white, black}) {
            const std::int32_t other = player == white ? black : white;
            const std::int32_t old = table_.players[static_cast<std::size_t>(player)].opponent;
            // A new opponent within the round: the earlier match is over.
            if (old >= 0 && old != other) Settle(player, old);
        }
        table_.players[static_cast<std::size_t>(white)].opponent = black;
        table_.players[static_cast<std::size_t>(black)].opponent = white;
    }

    void Settle(std::int32_t a, std::int32_t b) {
        PlayerRecord& first = table_.players[static_cast<std::size_t>(a)];
        PlayerRecord& second = table_.players[static_cast<std::size_t>(b)];
        if (first.half_points + second.half_points > 0) {
            bool first_wins = first.half_points > second.half_points;
            // A drawn match goes to the player who had Black in its last game.
            if (first.half_points == second.half_points) first_wins = first.last_colour == 2;
            const std::int32_t winner = first_wins ? a : b;
            const std::int32_t loser = first_wins ? b : a;
            table_.players[static_cast<std::size_t>(winner)].score += 1.0F;
            if (request_.cross_table) {
                table_.games.push_back(CrossGameRecord{winner, loser, 2, current_round_});
            }
        }
        first.half_points = 0;
        second.half_points = 0;
        first.opponent = -1;
        second.opponent = -1;
    }

    void SettleMatches() {
        for (std::size_t k = 0; k < table_.players.size(); ++k) {
            const std::int32_t other = table_.players[k].opponent;
            if (other > static_cast<std::int32_t>(k)) Settle(static_cast<std::int32_t>(k), other);
        }
    }

    const PlayerTableRequest& request_;
    PlayerTable& table_;
    Ui& ui_;
    PlayerIndex index_;
    bool knockout_;
    bool asked_ = false;
    bool restart_ = false;
    std::int32_t current_round_ = 0;
};

// Feeds every game of the request to `add` from the fast header file when it matches the file,
// else from the PGN text. Returns the source used; nothing after a stop (`add` false).
template <typename Add>
PlayerSource ForEachGame(const PlayerTableRequest& request, Ui& ui, Add&& add) {
    const std::int32_t count = request.games.empty()
                                   ? request.game_count
                                   : static_cast<std::int32_t>(request.games.size());
    auto game_at = [&](std::int32_t k) {
        return request.games.empty() ? k : request.games[static_cast<std::size_t>(k)] - 1;
    };
    auto wanted = [&](std::int32_t game) { return game >= 0 && game < request.game_count; };
    const auto started = std::chrono::steady_clock::now();
    bool slow_said = false;
    auto go_on = [&](std::int32_t k) {
        if (request.cancelled && request.cancelled()) return false;
        if (!slow_said && k % 1024 == 1023 &&
            std::chrono::steady_clock::now() - started >= std::chrono::seconds(10)) {
            slow_said = true;
            ui.report(SlowFirstTime);
        }
        return true;
    };

    const std::string trh = search::DerivedPath(request.pgn_path, "TRH");
    if (request.use_fast_file && platform::FileExists(trh)) {
        Result<search::HeaderFile> header = search::HeaderFile::Load(trh);
        if (header && header->Consistent(static_cast<std::uint32_t>(request.game_count))) {
            const std::vector<std::size_t> offsets = header->RecordOffsets();
            std::array<std::string_view, search::HeaderFieldCount> values;
            using F = search::HeaderField;
            auto at = [&](F field) { return values[static_cast<std::size_t>(field)]; };
            for (std::int32_t k = 0; k < count && go_on(k); ++k) {
                const std::int32_t game = game_at(k);
                if (!wanted(game) || static_cast<std::size_t>(game) >= offsets.size()) continue;
                std::size_t cursor = offsets[static_cast<std::size_t>(game)];
                if (!search::ViewHeaderRecord(header->Bytes(), cursor, values)) continue;
                if (!add(StatsGame{at(F::White), at(F::Black), at(F::Result), at(F::WhiteElo),
                                   at(F::BlackElo), at(F::Round), game})) {
                    break;
                }
            }
            return PlayerSource::HeaderFile;
        }
        ui.report(search::messages::MakeFastFileAgain);
    }

    search::TextGameReader reader(request.pgn_path, request.offsets);
    using pgn::HeaderField;
    for (std::int32_t k = 0; k < count && go_on(k); ++k) {
        const std::int32_t game = game_at(k);
        if (!wanted(game) || !reader.Read(game, search::TextGameReader::Depth::Header)) continue;
        const pgn::HeaderValues& values = reader.Values();
        if (!add(StatsGame{values.Get(HeaderField::White), values.Get(HeaderField::Black),
                           values.Get(HeaderField::Result), values.Get(HeaderField::WhiteElo),
                           values.Get(HeaderField::BlackElo), values.Get(HeaderField::Round),
                           game})) {
            break;
        }
    }
    return PlayerSource::PgnText;
}

bool ReadCache(const std::string& path, const std::string& pgn_path,
               std::vector<PlayerRecord>& players) {
    // A file changed after the cache was written is counted again.
    if (platform::FileModifiedTime(path) < platform::FileModifiedTime(pgn_path)) return false;
    std::optional<std::vector<std::uint8_t>> bytes =
        platform::ReadFileStart(path, platform::FileSize(path));
    if (!bytes) return false;
    std::optional<std::vector<PlayerRecord>> read = ParsePlayerCache(*bytes);
    if (!read) return false;
    players = std::move(*read);
    return true;
}

bool WriteCache(const std::string& path, const PlayerTable& table) {
    std::vector<std::uint8_t> bytes(4 + table.order.size() * PlayerRecordSize);
    PutU32(bytes.data(), static_cast<std::uint32_t>(table.order.size()));
    for (std::size_t k = 0; k < table.order.size(); ++k) {
        EncodePlayerRecord(table.players[static_cast<std::size_t>(table.order[k])],
                           bytes.data() + 4 + k * PlayerRecordSize);
    }
    return platform::WriteWholeFile(platform::SystemFileSystem(), path, bytes);
}

void ResetOrder(PlayerTable& table) {
    table.order.resize(table.players.size());
    for (std::size_t k = 0; k < table.order.size(); ++k) {
        table.order[k] = static_cast<std::int32_t>(k);
    }
}

}  // namespace

bool BuildPlayerTable(const PlayerTableRequest& request, PlayerTable& table, Ui& ui) {
    table = PlayerTable{};
    table.match = request.match;
    const bool whole_file = request.games.empty();
    const bool cached =
        whole_file && !request.cross_table && request.game_count > PlayerCacheThreshold;
    const std::string cache_path = PlayerCachePath(request.pgn_path, request.match);
    if (cached && cache_path != request.pgn_path &&
        ReadCache(cache_path, request.pgn_path, table.players)) {
        table.source = PlayerSource::Cache;
        ResetOrder(table);
        SortPlayers(table, PlayerOrder::Score);
        return true;
    }

    bool knockout = false;
    for (;;) {
        TableBuilder builder(request, table, ui, knockout);
        bool restart = false;
        table.source = ForEachGame(request, ui, [&](const StatsGame& game) {
            const TableBuilder::Step step = builder.Add(game);
            restart = step == TableBuilder::Step::Restart;
            return step == TableBuilder::Step::Go;
        });
        if (restart) {
            knockout = true;
            continue;
        }
        builder.Finish();
        break;
    }
    if (request.cancelled && request.cancelled()) table.complete = false;
    ResetOrder(table);
    SortPlayers(table, PlayerOrder::Score);
    if (cached && table.complete && cache_path != request.pgn_path) {
        table.cache_written = WriteCache(cache_path, table);
    }
    return true;
}

bool SamePlayer(std::string_view a, std::string_view b, PlayerMatch match) {
    const std::string cut_a = CutName(a);
    const std::string cut_b = CutName(b);
    if (match == PlayerMatch::Key) {
        const std::string key_a = PlayerNameKey(cut_a);
        const std::string key_b = PlayerNameKey(cut_b);
        if (!key_a.empty() && !key_b.empty()) {
            return key_a.starts_with(key_b) || key_b.starts_with(key_a);
        }
        if (!key_a.empty() || !key_b.empty()) return false;
    }
    return LowerAscii(cut_a) == LowerAscii(cut_b);
}

std::vector<std::int32_t> GamesOfPlayer(const PlayerTableRequest& request, std::string_view name,
                                        Ui& ui) {
    PlayerIndex index(request.match);
    index.Add(CutName(name), 0);
    std::vector<std::int32_t> games;
    (void)ForEachGame(request, ui, [&](const StatsGame& game) {
        if (index.Find(CutName(game.white)) == 0 || index.Find(CutName(game.black)) == 0) {
            games.push_back(game.index + 1);
        }
        return true;
    });
    return games;
}

namespace {

int CompareNames(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t k = 0; k < n; ++k) {
        const char x = (a[k] >= 'A' && a[k] <= 'Z') ? static_cast<char>(a[k] - 'A' + 'a') : a[k];
        const char y = (b[k] >= 'A' && b[k] <= 'Z') ? static_cast<char>(b[k] - 'A' + 'a') : b[k];
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

void SortPlayers(PlayerTable& table, PlayerOrder order) {
    const std::vector<PlayerRecord>& players = table.players;
    std::stable_sort(table.order.begin(), table.order.end(), [&](std::int32_t x, std::int32_t y) {
        const PlayerRecord& a = players[static_cast<std::size_t>(x)];
        const PlayerRecord& b = players[static_cast<std::size_t>(y)];
        if (order == PlayerOrder::Score && a.score != b.score) return a.score > b.score;
        if (order == PlayerOrder::Rating && a.rating != b.rating) return a.rating > b.rating;
        return CompareNames(a.name, b.name) < 0;
    });
}

namespace {

// The name as the screen shows it, padded with spaces to `width` characters.
std::string PaddedName(std::string_view name, std::size_t width) {
    std::string text = DisplayText(name);
    const std::size_t characters = CharacterCount(text);
    if (characters < width) text.append(width - characters, ' ');
    return text;
}

// The spaces between a name and the number after it become periods, so the eye can follow the
// line: back from six characters before the end over the digits, then over the spaces.
void DotLeader(std::string& line) {
    if (line.size() < 6) return;
    std::size_t at = line.size() - 6;
    auto digit = [&](std::size_t k) { return line[k] >= '0' && line[k] <= '9'; };
    while (at > 0 && digit(at)) --at;
    while (at > 0 && line[at] == ' ') {
        line[at] = '.';
        --at;
    }
}

}  // namespace

std::string FormatPlayerLine(const PlayerRecord& player) {
    // Called for every player of a large file: snprintf directly, not the message patterns.
    char buffer[256];
    std::string name_part;
    if (player.score >= 100.0F) {
        std::snprintf(buffer, sizeof buffer, "%s %7.1f", PaddedName(player.name, 26).c_str(),
                      static_cast<double>(player.score));
    } else if (player.rating > 0) {
        std::snprintf(buffer, sizeof buffer, "%s %4d %4.1f", PaddedName(player.name, 24).c_str(),
                      player.rating, static_cast<double>(player.score));
    } else {
        std::snprintf(buffer, sizeof buffer, "%s %4.1f", PaddedName(player.name, 29).c_str(),
                      static_cast<double>(player.score));
    }
    name_part = buffer;
    DotLeader(name_part);
    std::snprintf(buffer, sizeof buffer, "%s  w+%-2d   b+%-2d   w=%-2d   b=%-2d   w-%-2d   b-%-2d",
                  PaddedName(name_part, 34).c_str(), player.wins_white, player.wins_black,
                  player.draws_white, player.draws_black, player.losses_white, player.losses_black);
    return buffer;
}

namespace {

// One game (or knockout match) of a player: its round, the opponent's line, colour and result.
struct CrossCell {
    std::int32_t round = 0;
    std::int32_t opponent = 0;  // 1-based line of the table
    char colour = 'w';
    char mark = '=';  // '+' win, '=' draw, '-' loss
};

struct CrossRow {
    std::int32_t index = 0;  // into the table's players
    std::vector<CrossCell> cells;
    double points = 0.0;
};

struct CrossLayout {
    bool ratings = false;
    std::int32_t rounds = 0;
    std::vector<CrossRow> rows;  // the table's shown order
};

// The cross table's content, or nothing after the refusal was reported.
std::optional<CrossLayout> LayOutCrossTable(const PlayerTable& table, Ui& ui) {
    if (!table.all_rounds || table.games.empty()) {
        ui.report(NoRoundInformation);
        return std::nullopt;
    }
    if (table.order.size() > static_cast<std::size_t>(MaxCrossTablePlayers)) {
        ui.report(TooManyCrossTablePlayers);
        return std::nullopt;
    }
    CrossLayout layout;
    layout.ratings = std::any_of(table.players.begin(), table.players.end(),
                                 [](const PlayerRecord& p) { return p.rating > 0; });
    for (const CrossGameRecord& game : table.games) {
        layout.rounds = std::max(layout.rounds, game.round);
    }
    std::vector<std::int32_t> line_of(table.players.size(), 0);
    for (std::size_t k = 0; k < table.order.size(); ++k) {
        line_of[static_cast<std::size_t>(table.order[k])] = static_cast<std::int32_t>(k + 1);
    }
    std::vector<std::int32_t> row_of(table.players.size(), -1);
    for (std::size_t k = 0; k < table.order.size(); ++k) {
        row_of[static_cast<std::size_t>(table.order[k])] = static_cast<std::int32_t>(k);
        layout.rows.push_back(CrossRow{table.order[k], {}, 0.0});
    }
    for (const CrossGameRecord& game : table.games) {
        for (bool white : {true, false}) {
            const std::int32_t me = white ? game.white : game.black;
            const std::int32_t opponent = white ? game.black : game.white;
            if (row_of[static_cast<std::size_t>(me)] < 0) continue;
            CrossRow& row =
                layout.rows[static_cast<std::size_t>(row_of[static_cast<std::size_t>(me)])];
            CrossCell cell{game.round, line_of[static_cast<std::size_t>(opponent)],
                           white ? 'w' : 'b', '='};
            if (game.result == 1) {
                row.points += 0.5;
            } else if ((game.result == 2) == white) {
                cell.mark = '+';
                row.points += 1.0;
            } else {
                cell.mark = '-';
            }
            row.cells.push_back(cell);
        }
    }
    return layout;
}

}  // namespace

std::string BuildCrossTable(const PlayerTable& table, bool large_board, Ui& ui) {
    const std::optional<CrossLayout> layout = LayOutCrossTable(table, ui);
    if (!layout) return {};
    const bool ratings = layout->ratings;
    const std::int32_t rounds = layout->rounds;
    const bool repeat_names =
        large_board ? rounds >= (ratings ? 13 : 14) : (ratings ? rounds > 6 : rounds >= 8);

    std::string text(ratings ? 36 : 28, ' ');
    for (std::int32_t round = 1; round <= rounds; ++round) {
        text += FillMessage(round <= 9 ? "  Rnd %d " : " Rnd %d ", round);
    }
    text += "  Score\r\n";
    const std::string empty_cell(8, ' ');
    for (std::size_t k = 0; k < layout->rows.size(); ++k) {
        const CrossRow& row = layout->rows[k];
        const PlayerRecord& player = table.players[static_cast<std::size_t>(row.index)];
        const std::int32_t number = static_cast<std::int32_t>(k + 1);
        std::string head;
        if (!ratings) {
            head = FillMessage("%3d. %-22s", {number, PaddedName(player.name, 22)});
        } else if (player.rating > 0) {
            head =
                FillMessage("%3d. %-25s %4d", {number, PaddedName(player.name, 25), player.rating});
        } else {
            head = FillMessage("%3d. %-30s", {number, PaddedName(player.name, 30)});
        }
        DotLeader(head);
        std::string line = head;
        std::int32_t expected = 1;
        for (const CrossCell& cell : row.cells) {
            for (; expected < cell.round; ++expected) line += empty_cell;
            line += FillMessage("   %3d%s%s", {cell.opponent, std::string(1, cell.colour),
                                               std::string(1, cell.mark)});
            expected = std::max(expected, cell.round + 1);
        }
        for (; expected <= rounds; ++expected) line += empty_cell;
        line += FillMessage("   %4.1f ", row.points);
        if (repeat_names) line += FillMessage(" %3d. %s", {number, DisplayText(player.name)});
        text += line;
        text += "\r\n";
    }
    return text;
}

namespace {

std::string HtmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '"') {
            out += "&quot;";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string CrossTableHtml(const PlayerTable& table, std::string_view title, Ui& ui) {
    const std::optional<CrossLayout> layout = LayOutCrossTable(table, ui);
    if (!layout) return {};
    const std::string heading = HtmlEscaped(DisplayText(title));
    std::string html =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + heading +
        "</title>\n<style>\ntable { border-collapse: collapse; font-family: sans-serif; }\n"
        "td, th { border: 1px solid #999; padding: 2px 6px; text-align: center; }\n"
        "td.name { text-align: left; }\n</style>\n</head>\n<body>\n<h1>" +
        heading + "</h1>\n<table>\n<tr><th>No.</th><th>Player</th>";
    if (layout->ratings) html += "<th>Rating</th>";
    for (std::int32_t round = 1; round <= layout->rounds; ++round) {
        html += "<th>" + std::to_string(round) + "</th>";
    }
    html += "<th>Score</th></tr>\n";
    for (std::size_t k = 0; k < layout->rows.size(); ++k) {
        const CrossRow& row = layout->rows[k];
        const PlayerRecord& player = table.players[static_cast<std::size_t>(row.index)];
        html += "<tr><td>" + std::to_string(k + 1) + "</td><td class=\"name\">" +
                HtmlEscaped(DisplayText(player.name)) + "</td>";
        if (layout->ratings) {
            html += "<td>" + (player.rating > 0 ? std::to_string(player.rating) : "") + "</td>";
        }
        std::vector<std::string> cells(static_cast<std::size_t>(layout->rounds));
        for (const CrossCell& cell : row.cells) {
            std::string& at = cells[static_cast<std::size_t>(cell.round - 1)];
            if (!at.empty()) at += ' ';
            at += std::to_string(cell.opponent) + cell.colour + cell.mark;
        }
        for (const std::string& cell : cells) html += "<td>" + cell + "</td>";
        html += FillMessage("<td>%.1f</td></tr>\n", row.points);
    }
    html += "</table>\n</body>\n</html>\n";
    return html;
}

}  // namespace qorvale::output
