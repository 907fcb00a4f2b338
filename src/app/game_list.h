#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ui.h"

namespace qorvale::pgn {
class PgnFile;
}
namespace qorvale::openings {
class EcoLineTrie;
}

namespace qorvale::app {

// One game of the list: the header values it shows, cut to their fields. 120 bytes on disk.
struct GameListRecord {
    std::array<char, 20> White{};
    std::array<char, 20> Black{};
    std::array<char, 8> Result{};
    std::array<char, 12> Date{};
    std::array<char, 8> ECO{};
    std::int32_t WhiteElo = 0;
    std::int32_t BlackElo = 0;
    std::array<char, 4> Round{};
    std::array<char, 20> Event{};
    std::array<char, 20> Site{};
};
inline constexpr std::size_t GameListRecordSize = 120;
// Above this many games the records are kept in `name.pgs` beside the file.
inline constexpr std::int32_t GameListCacheThreshold = 1000;
// Lines of one segment of a long list, and the most the whole-list segment shows.
inline constexpr std::int32_t GameListSegmentLines = 32500;
inline constexpr std::int32_t GameListMaxLines = 130000;
inline constexpr int GameListLayouts = 4;

// The ten header values in the order of the fast file's header records.
struct GameListValues {
    std::string_view White, Black, Result, Date, ECO, WhiteElo, BlackElo, Round, Event, Site;
};

// Fills a record: strings cut to their fields, Elo values read as numbers (0 when there is
// none), Round without a leading word ("R3" -> "3"), cut to 3 characters and at a "." in its
// second or third character ("4.1" -> "4").
GameListRecord MakeGameListRecord(const GameListValues& values);
std::int32_t ParseElo(std::string_view text);
std::string ListRound(std::string_view round);

void EncodeGameListRecord(const GameListRecord& record, std::uint8_t* out);
GameListRecord DecodeGameListRecord(const std::uint8_t* data);

// The text of one line of the list for game `game_number` in layout 0..3. Layout 1 shows the
// opening group of the record's ECO code.
std::string GameListLine(const GameListRecord& record, std::int32_t game_number, int layout);
// Layout 0 after an ECO difference search: the ECO column shows the first three characters of
// the record's code, "/" and the code that search classified the game as. Other layouts are as
// above.
std::string GameListLine(const GameListRecord& record, std::int32_t game_number, int layout,
                         std::string_view classified);
// After an ECO difference search, the first this many listed games show their classification.
inline constexpr std::int32_t EcoDifferenceListedGames = 125000;
// A line of the opening-names list: "%4d %s %s-%s", or "%4d %s %s" without a variation.
std::string OpeningNamesLine(std::int32_t game_number, std::string_view eco,
                             std::string_view opening, std::string_view variation);

// The 1-based first and last line that segment 0..4 shows of a list of `lines` lines; first >
// last when the segment is empty.
std::pair<std::int32_t, std::int32_t> GameListSegmentRange(int segment, std::int32_t lines);

// `name.pgs`: the PGN path with its last character replaced by "s".
std::string GameListCachePath(std::string_view pgn_path);

// Where the records came from.
enum class GameListSource { Cache, HeaderFile, PgnText };

struct GameListBuild {
    std::vector<GameListRecord> records;
    GameListSource source = GameListSource::PgnText;
    bool cache_written = false;
};

// Builds the records of every game of `file`: from `name.pgs` when the file has more than
// 1000 games and the cache holds exactly one record per game and is not older than the file;
// else from the fast file's header file when its count matches ("Warning: You need to run
// 'Make Fast File' again." on `ui` when it does not); else from each game's tags. Records built
// here for 1001 games or more are written to `name.pgs`. With a `classifier`, a game read from
// the PGN text without an ECO tag (and without a FEN tag) gets the code of its first movetext
// line; the fast file's header file keeps the stored tag values. The file's reader is left at
// no game: load a game again before reading one.
GameListBuild BuildGameListRecords(pgn::PgnFile& file, Ui& ui,
                                   const openings::EcoLineTrie* classifier = nullptr);

// The opening-names mode of the list, for the program's own openings files: the file lies in the
// `openings` folder of the install folder `app_folder` and its first game has an Opening tag
// (Openings.pgn there has none and lists as ordinary games). Deciding by the folder keeps a
// user's file that happens to carry Opening tags an ordinary list with its players.
bool InOpeningsFolder(std::string_view pgn_path, std::string_view app_folder);
bool UsesOpeningNames(pgn::PgnFile& file, std::string_view app_folder, Ui& ui);
// In that mode no records are made: one OpeningNamesLine per game of the file (ECO, Opening,
// Variation tags), in file order. The file's reader is left at no game.
std::vector<std::string> BuildOpeningNamesLines(pgn::PgnFile& file, Ui& ui);

// After a scan that did not come from the offset cache the caches of the game list and of the
// player table may be stale.
void DeleteListCaches(std::string_view pgn_path);

}  // namespace qorvale::app
