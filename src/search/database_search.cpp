#include "search/database_search.h"

#include <algorithm>
#include <new>

#include "base/bytes.h"
#include "platform/file.h"
#include "platform/staged_file.h"
#include "search/header_search.h"
#include "search/messages.h"

namespace qorvale::search {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// The ten strings of a header record held in `bytes`; false when they run past its end.
bool ParseHeaderRecord(std::span<const std::uint8_t> bytes, HeaderValues& values) {
    std::size_t cursor = 0;
    for (std::string& value : values) {
        if (!ReadShortString(bytes.data(), bytes.size(), cursor, value)) return false;
    }
    return true;
}

// One player criterion in the form the chains are searched by.
struct NameTest {
    bool given = false;
    DbNameKey key;
    bool exact = false;     // a trailing "#": the key text whole
    bool spelling = false;  // a trailing "?": another spelling of the name
    std::string raw;        // the name as typed, for the spelling check against the header
    std::uint32_t first_index = 0;
    std::uint32_t key_count = 1;

    // The record's key text against the criterion, by its form.
    bool KeyMatches(std::string_view text) const {
        const std::string& wanted = key.text;
        if (exact || key.form == 1 || key.form == 3) return text == wanted;
        if (!text.starts_with(wanted)) return false;
        return key.form == 0 || text.size() <= wanted.size() + 1;
    }
};

NameTest MakeNameTest(std::string_view text) {
    NameTest test;
    text = Trim(text);
    if (text.empty()) return test;
    test.given = true;
    if (text.back() == '#') {
        test.exact = true;
        text.remove_suffix(1);
    } else if (text.back() == '?') {
        test.spelling = true;
        text.remove_suffix(1);
        test.raw = std::string(text);
    }
    test.key = MakeDbNameKey(text, DbKeyMode::Search);
    if (test.spelling) {
        // Other spellings differ in the name's last letter: the key is searched without it.
        if (test.key.text.size() > 1) test.key.text.pop_back();
        test.key.form = 0;
        test.key.index = DbKeyIndex(test.key.text);
    }
    test.first_index = test.key.index;
    for (std::size_t length = test.key.text.size(); length < 4; ++length) test.key_count *= 26;
    return test;
}

// The fields a record test reads, straight from the mapped bytes.
struct RecordView {
    const std::uint8_t* bytes;
    std::uint32_t WhiteKey() const { return GetU32(bytes); }
    std::uint32_t BlackKey() const { return GetU32(bytes + 4); }
    std::uint32_t NextWhite() const { return GetU32(bytes + 8); }
    std::uint32_t NextBlack() const { return GetU32(bytes + 12); }
    std::uint32_t HeaderOffset() const { return GetU32(bytes + 16); }
    std::uint32_t MovesOffset() const { return GetU32(bytes + 20); }
    std::uint16_t HeaderLength() const { return GetU16(bytes + 24); }
    std::uint16_t MovesLength() const { return GetU16(bytes + 26); }
    std::uint16_t Year() const { return GetU16(bytes + 28); }
    std::uint16_t ResultEco() const { return GetU16(bytes + 30); }
    std::string_view WhiteText() const { return KeyText(32); }
    std::string_view BlackText() const { return KeyText(48); }

  private:
    std::string_view KeyText(std::size_t at) const {
        const std::size_t length = std::min<std::size_t>(bytes[at], DbKeyTextLength);
        return std::string_view(reinterpret_cast<const char*>(bytes + at + 1), length);
    }
};

struct EcoTest {
    bool given = false;
    bool none = false;  // "?": games without an ECO
    int letter = 0;
    int digits = 0;  // how many of the two digits are compared
    int digit1 = 0;
    int digit2 = 0;
};

bool ParseEco(std::string_view text, EcoTest& test) {
    text = Trim(text);
    if (text.empty()) return true;
    test.given = true;
    if (text == "?") {
        test.none = true;
        return true;
    }
    const char letter = static_cast<char>(text[0] >= 'a' ? text[0] - 'a' + 'A' : text[0]);
    if (letter < 'A' || letter > 'E' || text.size() > 3) return false;
    test.letter = letter - 'A' + 1;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    test.digits = static_cast<int>(text.size()) - 1;
    if (test.digits >= 1) test.digit1 = text[1] - '0';
    if (test.digits >= 2) test.digit2 = text[2] - '0';
    return true;
}

bool EcoPasses(const EcoTest& test, std::uint16_t bits) {
    const int letter = (bits >> 8) & 0xF;
    if (test.none) return letter == 0;
    if (letter != test.letter) return false;
    if (test.digits >= 1 && ((bits >> 4) & 0xF) != test.digit1) return false;
    return test.digits < 2 || (bits & 0xF) == test.digit2;
}

// Whether `board` after some half-move equals the criterion (exact) or holds its pieces.
bool BoardMatches(const chess::Board64& board, const chess::Board64& wanted, bool exact) {
    if (exact) return board == wanted;
    for (std::size_t square = 0; square < 64; ++square) {
        if (wanted[square] != 0 && board[square] != wanted[square]) return false;
    }
    return true;
}

}  // namespace

bool BoardFromPositionCriteria(const PositionCriteria& criteria, chess::Board64& board) {
    board.fill(0);
    auto place = [&board](std::string_view entry, bool white) {
        static constexpr std::string_view Pieces = "PNBRQK";
        std::uint8_t kind = 1;
        if (!entry.empty() && entry[0] >= 'A' && entry[0] <= 'Z') {
            const std::size_t found = Pieces.find(entry[0]);
            if (found == std::string_view::npos) return false;
            kind = static_cast<std::uint8_t>(found + 1);
            entry.remove_prefix(1);
        }
        if (entry.size() != 2 || entry[0] < 'a' || entry[0] > 'h' || entry[1] < '1' ||
            entry[1] > '8') {
            return false;
        }
        board[static_cast<std::size_t>(chess::Board64Index(entry[0] - 'a' + 1, entry[1] - '0'))] =
            static_cast<std::uint8_t>(white ? kind : kind + 10);
        return true;
    };
    for (const PositionEntry& entry : criteria.White) {
        if (!entry.empty() && !place(entry.view(), true)) return false;
    }
    for (const PositionEntry& entry : criteria.Black) {
        if (!entry.empty() && !place(entry.view(), false)) return false;
    }
    return true;
}

Result<Database> Database::Open(const std::string& dbg_path) {
    Database database;
    database.names_ = DatabaseNamesOf(dbg_path);
    RecoverDatabase(database.names_);
    const DatabaseNames& names = database.names_;
    if (!database.games_.Open(names.dbg) || !database.root_.Open(names.dbr) ||
        !database.header_.Open(names.dbh) || !database.moves_.Open(names.dbm) ||
        !database.positions_.Open(names.dbp)) {
        return DbFileError(1);
    }
    if (database.root_.Size() != DbRootTableBytes || database.games_.Size() % DbRecordSize != 0) {
        return DbFileError(2);
    }
    return database;
}

void Database::MapWhole(platform::MappedFile& file, const std::string& path, bool& whole) const {
    if (whole) return;
    platform::MappedFile again;
    // A file that cannot be mapped again keeps its first mapping.
    if (again.Open(path, true) && again.Size() == file.Size()) file = std::move(again);
    whole = true;
}

DbGameRecord Database::Record(std::uint32_t index) const {
    return DbGameRecord::Decode(games_.Bytes().data() + std::size_t{index} * DbRecordSize);
}

bool Database::ReadHeader(const DbGameRecord& record, HeaderValues& values) const {
    const std::size_t end = std::size_t{record.header_offset} + record.header_length;
    if (end > header_.Size()) return false;
    return ParseHeaderRecord(header_.Bytes().subspan(record.header_offset, record.header_length),
                             values);
}

Result<DbGame> Database::ReadGame(std::uint32_t index) const {
    if (index >= RecordCount()) return DbFileError(2);
    DbGame game;
    game.record = Record(index);
    if (!ReadHeader(game.record, game.header)) return DbFileError(2);
    const std::size_t end = std::size_t{game.record.moves_offset} + game.record.moves_length;
    if (game.record.moves_length < 2 || game.record.moves_length % 2 != 0 || end > moves_.Size()) {
        return DbFileError(2);
    }
    const std::uint8_t* moves = moves_.Bytes().data() + game.record.moves_offset;
    const std::size_t codes = game.record.moves_length / 2 - 1;
    game.codes.reserve(codes);
    for (std::size_t n = 0; n < codes; ++n) game.codes.push_back(GetU16(moves + 2 * n));
    game.result = GetU16(moves + 2 * codes);
    if (!IsResultWord(game.result) ||
        std::any_of(game.codes.begin(), game.codes.end(), IsResultWord)) {
        return DbFileError(2);
    }
    return game;
}

DbSearchResult Database::Search(const DbSearchCriteria& criteria) const {
    DbSearchResult result;
    NameTest white = MakeNameTest(criteria.white);
    std::string_view black_text = Trim(criteria.black);
    bool either = criteria.either_colour;
    if (!black_text.empty() && black_text[0] == '*') {
        either = true;
        black_text.remove_prefix(1);
    }
    NameTest black = MakeNameTest(black_text);
    EcoTest eco;
    if (!ParseEco(criteria.eco, eco)) {
        result.error = Error(std::string(messages::InvalidEco));
        return result;
    }
    const bool year = !Trim(criteria.year).empty();
    const bool moves = !Trim(criteria.moves).empty();
    const bool result_given = !Trim(criteria.result).empty();
    const bool position = criteria.position.has_value();
    const bool players = white.given || black.given;
    const bool site = !criteria.site.empty();
    const bool event = !criteria.event.empty();
    if (!players && !year && !eco.given && !result_given && !moves && !position) {
        result.error = Error(
            std::string(site || event ? messages::AdditionalCriteria : messages::NothingToSearch));
        return result;
    }
    if (!players && !(position && criteria.exact_match)) MapWhole(games_, names_.dbg, games_whole_);
    if (!players && position) {
        if (criteria.exact_match) {
            MapWhole(positions_, names_.dbp, positions_whole_);
        } else {
            MapWhole(moves_, names_.dbm, moves_whole_);
        }
    }
    const ParsedComparison year_test = ParseComparison(criteria.year);
    const ParsedComparison moves_test = ParseComparison(criteria.moves);
    const int result_bits = DbResultBits(Trim(criteria.result));
    const std::uint16_t hash = position ? PositionHash(*criteria.position) : 0;
    const bool exact = criteria.exact_match;

    const std::uint8_t* games = games_.Bytes().data();
    const std::uint32_t count = RecordCount();
    HeaderValues values;

    auto names_match = [&](RecordView record) {
        bool header_read = false;
        auto side = [&](const NameTest& test, bool as_white) {
            if (!test.KeyMatches(as_white ? record.WhiteText() : record.BlackText())) {
                return false;
            }
            if (!test.spelling) return true;
            if (!header_read) {
                header_read = ReadHeader(
                    Record(static_cast<std::uint32_t>((record.bytes - games) / DbRecordSize)),
                    values);
                if (!header_read) return false;
            }
            const std::string& name = values[static_cast<std::size_t>(
                as_white ? HeaderField::White : HeaderField::Black)];
            return HeaderMatcher::PlayerMatches(test.raw + "?", name);
        };
        if (white.given && black.given) {
            return (side(white, true) && side(black, false)) ||
                   (either && side(white, false) && side(black, true));
        }
        const NameTest& one = white.given ? white : black;
        const bool as_white = white.given;
        return side(one, as_white) || (either && side(one, !as_white));
    };

    auto position_matches = [&](RecordView record) {
        const std::size_t offset = record.MovesOffset();
        const std::size_t length = record.MovesLength();
        if (length < 4 || length % 2 != 0 || offset + length > moves_.Size()) return false;
        const std::size_t codes = length / 2 - 1;
        if (exact) {
            // The quick test: the position's hash must be among the game's hashes. One pass over
            // all of them (no early stop) streams through the file and vectorises; it is faster
            // than a binary search, whose probes miss the cache.
            if (offset + length > positions_.Size()) return false;
            const std::uint8_t* hashes = positions_.Bytes().data() + offset + 2;
            bool seen = false;
            for (std::size_t n = 0; n < codes; ++n) seen |= GetU16(hashes + 2 * n) == hash;
            if (!seen) return false;
        }
        const std::uint8_t* words = moves_.Bytes().data() + offset;
        chess::Board64 board;
        chess::Board64 copy;
        chess::SetStartBoard64(board, copy);
        for (std::size_t n = 0; n < codes; ++n) {
            PlayMoveCode(board, GetU16(words + 2 * n), n % 2 == 0);
            if (BoardMatches(board, *criteria.position, exact)) return true;
        }
        return false;
    };

    auto record_matches = [&](RecordView record) {
        if (year && (record.Year() == 0 || !CompareValue(record.Year(), year_test))) return false;
        if (eco.given && !EcoPasses(eco, record.ResultEco())) return false;
        if (result_given && ((record.ResultEco() >> 12) & 3) != result_bits) return false;
        if (moves && !CompareValue(record.MovesLength() / 4, moves_test)) return false;
        return !position || position_matches(record);
    };

    try {
        if (players) {
            std::vector<std::uint8_t> tested(count, 0);
            const NameTest& followed = white.given ? white : black;
            const std::span<const std::uint8_t> root = root_.Bytes();
            for (std::uint32_t key = followed.first_index;
                 key < followed.first_index + followed.key_count && key < DbKeyCount; ++key) {
                std::uint32_t at = GetU32(root.data() + 8 * std::size_t{key});
                if (at == DbEmptyChain) continue;
                for (std::uint32_t steps = 0;; ++steps) {
                    if (at % DbRecordSize != 0 || at / DbRecordSize >= count) {
                        result.error = Error(std::string(messages::ChainOutOfRange));
                        return result;
                    }
                    if (steps > count) {
                        result.error = Error(std::string(messages::ChainLoops));
                        return result;
                    }
                    const RecordView record{games + at};
                    const bool as_white = record.WhiteKey() == key;
                    if (!as_white && record.BlackKey() != key) {
                        result.error = Error(std::string(messages::RootError));
                        return result;
                    }
                    std::uint8_t& mark = tested[at / DbRecordSize];
                    if (!mark) {
                        mark = 1;
                        if (names_match(record) && record_matches(record)) {
                            result.records.push_back(at / DbRecordSize);
                        }
                    }
                    const std::uint32_t next = as_white ? record.NextWhite() : record.NextBlack();
                    if (next == 0) break;
                    at = next;
                }
            }
        } else if (position && exact) {
            // The position file alone is walked first: its records follow the games in order,
            // each as long as its first word says, so the games file is read only for the few
            // games whose hashes hold the position's.
            const std::span<const std::uint8_t> file = positions_.Bytes();
            std::size_t offset = 0;
            for (std::uint32_t index = 0; index < count && offset + 2 <= file.size(); ++index) {
                const std::size_t codes = GetU16(file.data() + offset) / 2;
                const std::uint8_t* hashes = file.data() + offset + 2;
                offset += 2 + 2 * codes;
                if (offset > file.size()) break;
                bool seen = false;
                for (std::size_t n = 0; n < codes; ++n) seen |= GetU16(hashes + 2 * n) == hash;
                if (seen && record_matches(RecordView{games + std::size_t{index} * DbRecordSize})) {
                    result.records.push_back(index);
                }
            }
        } else {
            for (std::uint32_t index = 0; index < count; ++index) {
                if (record_matches(RecordView{games + std::size_t{index} * DbRecordSize})) {
                    result.records.push_back(index);
                }
            }
        }

        if (site || event) {
            std::string_view event_text = criteria.event;
            const bool event_whole = !event_text.empty() && event_text.back() == '#';
            if (event_whole) event_text.remove_suffix(1);
            std::erase_if(result.records, [&](std::uint32_t index) {
                if (!ReadHeader(Record(index), values)) return true;
                const std::string& game_site = values[static_cast<std::size_t>(HeaderField::Site)];
                const std::string& game_event =
                    values[static_cast<std::size_t>(HeaderField::Event)];
                if (site && !StartsWithNoCase(game_site, criteria.site)) return true;
                if (event && (event_whole ? game_event != event_text
                                          : !StartsWithNoCase(game_event, event_text))) {
                    return true;
                }
                return false;
            });
        }
        if (criteria.sort_by_year) {
            auto year_of = [games](std::uint32_t index) {
                return GetU16(games + std::size_t{index} * DbRecordSize + 28);
            };
            std::stable_sort(result.records.begin(), result.records.end(),
                             [&](std::uint32_t a, std::uint32_t b) {
                                 return criteria.descending ? year_of(a) > year_of(b)
                                                            : year_of(a) < year_of(b);
                             });
        }
    } catch (const std::bad_alloc&) {
        result.error = Error(std::string(messages::MemoryAllocationError));
    }
    return result;
}

Error SaveDbResults(const DatabaseNames& names, std::span<const std::uint32_t> records,
                    platform::FileSystem& file_system) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() * 4);
    for (std::uint32_t record : records) AppendU32(bytes, record);
    if (!platform::ReplaceFileContents(file_system, names.dbs, bytes.data(),
                                       static_cast<std::int64_t>(bytes.size()))) {
        return DbFileError(3);
    }
    return Error::Ok();
}

Result<std::vector<std::uint32_t>> LoadDbResults(const DatabaseNames& names) {
    platform::MappedFile file;
    if (!file.Open(names.dbs)) return DbFileError(1);
    std::vector<std::uint32_t> records(file.Size() / 4);
    for (std::size_t n = 0; n < records.size(); ++n) {
        records[n] = GetU32(file.Bytes().data() + 4 * n);
    }
    return records;
}

DbCheckResult CheckDatabase(const std::string& dbg_path) {
    DbCheckResult check;
    const DatabaseNames names = DatabaseNamesOf(dbg_path);
    RecoverDatabase(names);
    platform::MappedFile header;
    platform::MappedFile moves;
    if (!header.Open(names.dbh) || !moves.Open(names.dbm) || !platform::FileExists(names.dbp) ||
        !platform::FileExists(names.dbg)) {
        check.messages.push_back(DbFileError(1).message());
        return check;
    }
    if (header.Size() < 4) {
        check.messages.push_back(DbFileError(2).message());
        return check;
    }
    const std::span<const std::uint8_t> bytes = header.Bytes();
    const std::uint32_t stored = GetU32(bytes.data());
    std::int64_t records = 0;
    std::size_t cursor = 4;
    while (cursor < bytes.size()) {
        std::size_t at = cursor;
        int field = 0;
        for (; field < HeaderFieldCount && at < bytes.size(); ++field) at += 1 + bytes[at];
        if (field < HeaderFieldCount || at > bytes.size()) break;
        cursor = at;
        ++records;
    }
    auto out_of_sync = [&check](std::string_view format, std::int64_t found,
                                std::uint32_t expected) {
        check.messages.push_back(
            messages::Format(format, static_cast<int>(found), static_cast<int>(expected)));
    };
    if (records != stored) out_of_sync(messages::HeaderOutOfSync, records, stored);
    if (platform::FileSize(names.dbp) != static_cast<std::int64_t>(moves.Size()) - 2) {
        check.messages.push_back(std::string(messages::PositionOutOfSync));
    }
    std::int64_t games = 0;
    std::size_t codes = 0;
    for (std::size_t at = 0; at + 2 <= moves.Size(); at += 2) {
        const std::uint16_t word = GetU16(moves.Bytes().data() + at);
        if (word == EndMark && codes == 0) break;
        if (IsResultWord(word)) {
            ++games;
            codes = 0;
        } else {
            ++codes;
        }
    }
    if (games != stored) out_of_sync(messages::MovesOutOfSync, games, stored);
    const std::int64_t games_size = platform::FileSize(names.dbg);
    if (games_size % static_cast<std::int64_t>(DbRecordSize) != 0 ||
        games_size / static_cast<std::int64_t>(DbRecordSize) != stored) {
        out_of_sync(messages::GamesOutOfSync, games_size / static_cast<std::int64_t>(DbRecordSize),
                    stored);
    }
    check.ok = check.messages.empty();
    if (check.ok)
        check.messages.push_back(messages::Format(messages::DatabaseOk, static_cast<int>(stored)));
    return check;
}

}  // namespace qorvale::search
