#include "app/game_list.h"

#include <algorithm>
#include <cstdio>

#include "base/bytes.h"
#include "openings/eco_group_name.h"
#include "openings/eco_line_trie.h"
#include "openings/opening_files.h"
#include "output/player_table.h"
#include "pgn/game_loader.h"
#include "pgn/header_tags.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "search/header_file.h"
#include "search/messages.h"

namespace qorvale::app {

namespace {

template <std::size_t N>
void CutInto(std::array<char, N>& field, std::string_view text) {
    field.fill(0);
    const std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), length, field.begin());
}

template <std::size_t N>
std::string_view Text(const std::array<char, N>& field) {
    std::size_t length = 0;
    while (length < N && field[length] != 0) ++length;
    return std::string_view(field.data(), length);
}

// Record layout: offset of each field.
constexpr std::size_t WhiteAt = 0, BlackAt = 20, ResultAt = 40, DateAt = 48, EcoAt = 60,
                      WhiteEloAt = 68, BlackEloAt = 72, RoundAt = 76, EventAt = 80, SiteAt = 100;

template <std::size_t N>
void PutField(std::uint8_t* out, std::size_t at, const std::array<char, N>& field) {
    std::copy(field.begin(), field.end(), out + at);
    out[at + N - 1] = 0;
}

template <std::size_t N>
void GetField(const std::uint8_t* data, std::size_t at, std::array<char, N>& field) {
    std::copy_n(data + at, N, field.begin());
    field[N - 1] = 0;
}

std::string Printf(const char* pattern, auto... values) {
    const int size = std::snprintf(nullptr, 0, pattern, values...);
    std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, values...);
    return text;
}

std::string NumberColumn(std::int32_t game_number) {
    return game_number <= 9999 ? Printf("%4d  ", game_number) : Printf("%5d ", game_number);
}

// A player with the Elo: the first 16 characters of the name and the number.
std::string PlayerWithElo(std::string_view name, std::int32_t elo) {
    if (elo == 0) return std::string(name);
    return Printf("%-16s %d", std::string(name.substr(0, 16)).c_str(), elo);
}

GameListRecord RecordFromHeader(const pgn::HeaderValues& header) {
    using pgn::HeaderField;
    return MakeGameListRecord({header.Get(HeaderField::White), header.Get(HeaderField::Black),
                               header.Get(HeaderField::Result), header.Get(HeaderField::Date),
                               header.Get(HeaderField::ECO), header.Get(HeaderField::WhiteElo),
                               header.Get(HeaderField::BlackElo), header.Get(HeaderField::Round),
                               header.Get(HeaderField::Event), header.Get(HeaderField::Site)});
}

bool IsTagRecord(std::string_view record) {
    return record.size() >= 3 && record[0] == '[' && record[1] >= 'A' && record[1] <= 'Z';
}

bool IsMovetextRecord(std::string_view record) {
    return !record.empty() && record[0] != '%' && !IsTagRecord(record);
}

// A game without an ECO tag gets the code of its first movetext line; a game from a set-up
// position has no opening to name, and an empty ECO tag stays empty ("???").
bool WantsCode(const GameListRecord& record, const pgn::HeaderTags& header,
               const openings::EcoLineTrie* classifier) {
    return classifier != nullptr && record.ECO[0] == 0 && !header.TagLines().Has(pgn::Tag::ECO) &&
           !header.TagLines().Has(pgn::Tag::FEN);
}

void SetCode(GameListRecord& record, std::string_view line,
             const openings::EcoLineTrie& classifier) {
    CutInto(record.ECO, classifier.Classify(line));
}

// Reads the games' tags in one pass through the file: a tag line after other lines begins the
// next game. False when the games found do not match the index.
bool ReadRecordsInOnePass(pgn::PgnFile& file, std::vector<GameListRecord>& records,
                          const openings::EcoLineTrie* classifier, Ui& ui) {
    const std::int32_t count = file.GameCount();
    records.clear();
    if (count == 0) return true;
    if (!file.LoadGame(1, ui)) return false;
    file.Reader().SetMode(pgn::ReadMode::ReadTrimmed);
    pgn::FileRecordSource source(file);
    pgn::HeaderTags header;
    std::string handed;
    std::string record;
    bool first = true;
    while (static_cast<std::int32_t>(records.size()) < count) {
        if (first) {
            header.ReadHeader(source, pgn::FirstRecordMode::KeepForMovetext);
            first = false;
        } else {
            header.ReadHeader(source, pgn::FirstRecordMode::HandedOver, handed);
        }
        header.BuildHeaderDisplay();
        records.push_back(RecordFromHeader(header.CurrentHeader()));
        GameListRecord& added = records.back();
        bool wants_code = WantsCode(added, header, classifier);
        if (wants_code && !header.StopRecord().empty()) {
            SetCode(added, header.StopRecord(), *classifier);
            wants_code = false;
        }
        const bool last = static_cast<std::int32_t>(records.size()) == count;
        if (last && !wants_code) break;
        // Skip the movetext up to the next game's first tag line, taking the first movetext
        // line on the way when the game needs a code.
        bool found = false;
        while (source.ReadRecord(record) > 0) {
            if (IsTagRecord(record)) {
                found = true;
                break;
            }
            if (wants_code && IsMovetextRecord(record)) {
                SetCode(added, record, *classifier);
                wants_code = false;
                if (last) break;
            }
        }
        if (last) break;
        if (!found) return false;
        handed = record;
    }
    return true;
}

void ReadRecordsGameByGame(pgn::PgnFile& file, std::vector<GameListRecord>& records,
                           const openings::EcoLineTrie* classifier, Ui& ui) {
    records.clear();
    pgn::HeaderTags header;
    std::string record;
    for (std::int32_t game = 1; game <= file.GameCount(); ++game) {
        if (file.LoadGame(game, ui)) {
            file.Reader().SetMode(pgn::ReadMode::ReadTrimmed);
            pgn::FileRecordSource source(file);
            header.ReadHeader(source, pgn::FirstRecordMode::KeepForMovetext);
            header.BuildHeaderDisplay();
            records.push_back(RecordFromHeader(header.CurrentHeader()));
            if (!WantsCode(records.back(), header, classifier)) continue;
            if (!header.StopRecord().empty()) {
                SetCode(records.back(), header.StopRecord(), *classifier);
                continue;
            }
            while (source.ReadRecord(record) > 0) {
                if (IsTagRecord(record)) break;
                if (IsMovetextRecord(record)) {
                    SetCode(records.back(), record, *classifier);
                    break;
                }
            }
        } else {
            records.push_back(GameListRecord{});
        }
    }
}

bool ReadCache(const std::string& path, const std::string& pgn_path, std::int32_t count,
               std::vector<GameListRecord>& records) {
    const std::int64_t expected = static_cast<std::int64_t>(count) * GameListRecordSize;
    if (platform::FileSize(path) != expected) return false;
    // A file changed after the cache was written is read again.
    if (platform::FileModifiedTime(path) < platform::FileModifiedTime(pgn_path)) return false;
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) return false;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(expected));
    if (file.Read(bytes.data(), expected) != expected) return false;
    records.resize(static_cast<std::size_t>(count));
    for (std::size_t k = 0; k < records.size(); ++k) {
        records[k] = DecodeGameListRecord(bytes.data() + k * GameListRecordSize);
    }
    return true;
}

bool WriteCache(const std::string& path, const std::vector<GameListRecord>& records) {
    std::vector<std::uint8_t> bytes(records.size() * GameListRecordSize);
    for (std::size_t k = 0; k < records.size(); ++k) {
        EncodeGameListRecord(records[k], bytes.data() + k * GameListRecordSize);
    }
    platform::File file = platform::File::Create(path);
    return file.IsOpen() && file.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

bool ReadHeaderFile(const std::string& pgn_path, std::int32_t count,
                    std::vector<GameListRecord>& records, Ui& ui) {
    Result<search::HeaderFile> loaded =
        search::HeaderFile::Load(search::DerivedPath(pgn_path, "TRH"));
    if (!loaded) return false;
    if (!loaded->Consistent(static_cast<std::uint32_t>(count))) {
        ui.report(search::messages::MakeFastFileAgain);
        return false;
    }
    records.clear();
    records.reserve(static_cast<std::size_t>(count));
    search::HeaderValues values;
    for (std::size_t offset : loaded->RecordOffsets()) {
        if (!loaded->ReadRecord(offset, values)) return false;
        using F = search::HeaderField;
        auto at = [&](F field) -> std::string_view {
            return values[static_cast<std::size_t>(field)];
        };
        records.push_back(MakeGameListRecord(
            {at(F::White), at(F::Black), at(F::Result), at(F::Date), at(F::Eco), at(F::WhiteElo),
             at(F::BlackElo), at(F::Round), at(F::Event), at(F::Site)}));
    }
    return static_cast<std::int32_t>(records.size()) == count;
}

}  // namespace

std::int32_t ParseElo(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > 2147483647) return 0;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string ListRound(std::string_view round) {
    std::string text = search::StoredRound(round);
    if (text.size() > 3) text.resize(3);
    std::size_t dot = text.find('.');
    if (dot == 1 || dot == 2) text.resize(dot);
    return text;
}

GameListRecord MakeGameListRecord(const GameListValues& values) {
    GameListRecord record;
    CutInto(record.White, values.White);
    CutInto(record.Black, values.Black);
    CutInto(record.Result, values.Result);
    CutInto(record.Date, values.Date);
    CutInto(record.ECO, values.ECO);
    record.WhiteElo = ParseElo(values.WhiteElo);
    record.BlackElo = ParseElo(values.BlackElo);
    CutInto(record.Round, ListRound(values.Round));
    CutInto(record.Event, values.Event);
    CutInto(record.Site, values.Site);
    return record;
}

void EncodeGameListRecord(const GameListRecord& record, std::uint8_t* out) {
    std::fill_n(out, GameListRecordSize, std::uint8_t{0});
    PutField(out, WhiteAt, record.White);
    PutField(out, BlackAt, record.Black);
    PutField(out, ResultAt, record.Result);
    PutField(out, DateAt, record.Date);
    PutField(out, EcoAt, record.ECO);
    PutI32(out + WhiteEloAt, record.WhiteElo);
    PutI32(out + BlackEloAt, record.BlackElo);
    PutField(out, RoundAt, record.Round);
    PutField(out, EventAt, record.Event);
    PutField(out, SiteAt, record.Site);
}

GameListRecord DecodeGameListRecord(const std::uint8_t* data) {
    GameListRecord record;
    GetField(data, WhiteAt, record.White);
    GetField(data, BlackAt, record.Black);
    GetField(data, ResultAt, record.Result);
    GetField(data, DateAt, record.Date);
    GetField(data, EcoAt, record.ECO);
    record.WhiteElo = GetI32(data + WhiteEloAt);
    record.BlackElo = GetI32(data + BlackEloAt);
    GetField(data, RoundAt, record.Round);
    GetField(data, EventAt, record.Event);
    GetField(data, SiteAt, record.Site);
    return record;
}

namespace {

std::string LineWithEcoColumn(const GameListRecord& record, std::int32_t game_number, int layout,
                              const std::string& eco_column) {
    const std::string white(Text(record.White));
    const std::string black(Text(record.Black));
    const std::string result(Text(record.Result));
    const std::string short_result = result.substr(0, 3);
    const std::string round(Text(record.Round));
    std::string line = NumberColumn(game_number);
    switch (layout) {
        case 1:
            line += Printf(
                "%-21s  %-21s  %-3s  %2s  %-17s", PlayerWithElo(white, record.WhiteElo).c_str(),
                PlayerWithElo(black, record.BlackElo).c_str(), short_result.c_str(), round.c_str(),
                std::string(openings::EcoGroupName(Text(record.ECO))).c_str());
            break;
        case 2:
        case 3:
            line +=
                Printf("%-19s  %-19s   %-3s  %2s   %-19s", white.c_str(), black.c_str(),
                       short_result.c_str(), round.c_str(),
                       std::string(layout == 2 ? Text(record.Event) : Text(record.Site)).c_str());
            break;
        default:
            line +=
                Printf("%-19s  %-19s  %-7s   %-10s   %-7s", white.c_str(), black.c_str(),
                       result.c_str(), std::string(Text(record.Date)).c_str(), eco_column.c_str());
            break;
    }
    return line;
}

}  // namespace

std::string GameListLine(const GameListRecord& record, std::int32_t game_number, int layout) {
    return LineWithEcoColumn(record, game_number, layout, std::string(Text(record.ECO)));
}

std::string GameListLine(const GameListRecord& record, std::int32_t game_number, int layout,
                         std::string_view classified) {
    std::string column(Text(record.ECO).substr(0, 3));
    column += '/';
    column += classified;
    return LineWithEcoColumn(record, game_number, layout, column);
}

std::string OpeningNamesLine(std::int32_t game_number, std::string_view eco,
                             std::string_view opening, std::string_view variation) {
    const std::string eco_text(eco), opening_text(opening), variation_text(variation);
    if (variation.empty())
        return Printf("%4d %s %s", game_number, eco_text.c_str(), opening_text.c_str());
    return Printf("%4d %s %s-%s", game_number, eco_text.c_str(), opening_text.c_str(),
                  variation_text.c_str());
}

std::pair<std::int32_t, std::int32_t> GameListSegmentRange(int segment, std::int32_t lines) {
    if (segment <= 0 || segment > 4) return {1, std::min(lines, GameListMaxLines)};
    const std::int32_t first = (segment - 1) * GameListSegmentLines + 1;
    const std::int32_t last =
        segment == 4 ? lines : std::min(lines, segment * GameListSegmentLines);
    return {first, last};
}

std::string GameListCachePath(std::string_view pgn_path) {
    std::string path(pgn_path);
    if (!path.empty()) path.back() = 's';
    return path;
}

bool InOpeningsFolder(std::string_view pgn_path, std::string_view app_folder) {
    if (app_folder.empty()) return false;
    return platform::SameFolder(platform::FolderOf(pgn_path),
                                platform::JoinPath(app_folder, openings::OpeningsFolderName));
}

namespace {

bool ReadGameHeader(pgn::PgnFile& file, std::int32_t game, pgn::HeaderTags& header, Ui& ui) {
    if (!file.LoadGame(game, ui)) return false;
    file.Reader().SetMode(pgn::ReadMode::ReadTrimmed);
    pgn::FileRecordSource source(file);
    header.ReadHeader(source, pgn::FirstRecordMode::KeepForMovetext);
    return true;
}

}  // namespace

bool UsesOpeningNames(pgn::PgnFile& file, std::string_view app_folder, Ui& ui) {
    if (file.GameCount() <= 0 || !InOpeningsFolder(file.CurrentPath(), app_folder)) return false;
    const std::int32_t current = file.CurrentGameNumber();
    pgn::HeaderTags header;
    header.SetWithOpeningNames(true);
    const bool has_opening =
        ReadGameHeader(file, 1, header, ui) && header.TagLines().Has(pgn::Tag::Opening);
    file.SetCurrentGameNumber(current);
    return has_opening;
}

std::vector<std::string> BuildOpeningNamesLines(pgn::PgnFile& file, Ui& ui) {
    std::vector<std::string> lines;
    const std::int32_t count = std::min(file.GameCount(), pgn::MaxGamesPerFile);
    const std::int32_t current = file.CurrentGameNumber();
    lines.reserve(static_cast<std::size_t>(std::max(count, 0)));
    pgn::HeaderTags header;
    header.SetWithOpeningNames(true);
    for (std::int32_t game = 1; game <= count; ++game) {
        if (!ReadGameHeader(file, game, header, ui)) {
            lines.push_back(OpeningNamesLine(game, "", "", ""));
            continue;
        }
        const pgn::CurrentTagLines& tags = header.TagLines();
        lines.push_back(OpeningNamesLine(game, pgn::TagValue(tags.Line(pgn::Tag::ECO)),
                                         pgn::TagValue(tags.Line(pgn::Tag::Opening)),
                                         pgn::TagValue(tags.Line(pgn::Tag::Variation))));
    }
    file.SetCurrentGameNumber(current);
    return lines;
}

void DeleteListCaches(std::string_view pgn_path) {
    const std::string path = GameListCachePath(pgn_path);
    if (path != pgn_path && platform::FileExists(path)) (void)platform::DeleteFile(path);
    output::DeletePlayerCaches(pgn_path);
}

GameListBuild BuildGameListRecords(pgn::PgnFile& file, Ui& ui,
                                   const openings::EcoLineTrie* classifier) {
    GameListBuild build;
    const std::int32_t count = file.GameCount();
    const std::string pgn_path = file.CurrentPath();
    const std::string cache_path = GameListCachePath(pgn_path);
    const std::int32_t current = file.CurrentGameNumber();
    if (count > GameListCacheThreshold && ReadCache(cache_path, pgn_path, count, build.records)) {
        build.source = GameListSource::Cache;
        return build;
    }
    if (ReadHeaderFile(pgn_path, count, build.records, ui)) {
        build.source = GameListSource::HeaderFile;
    } else {
        build.source = GameListSource::PgnText;
        if (!ReadRecordsInOnePass(file, build.records, classifier, ui))
            ReadRecordsGameByGame(file, build.records, classifier, ui);
        file.SetCurrentGameNumber(current);
    }
    if (count > GameListCacheThreshold && cache_path != pgn_path) {
        build.cache_written = WriteCache(cache_path, build.records);
    }
    return build;
}

}  // namespace qorvale::app
