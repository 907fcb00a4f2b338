#include "search/database_search.h"

#include <algorithm>
#include <new>
#include <optional>

#include "base/bytes.h"
#include "base/message.h"
#include "platform/file.h"
#include "platform/mapped_file.h"
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

// Adds to `found` the indexes of the words `from` to `to` of `bytes`, read as little-endian 16-bit
// words, that hold `value`. Most blocks hold none: each is first tested whole, in a loop of fixed
// length that the compiler turns into vector compares, and searched word by word only when it
// holds one.
void FindWords(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t to,
               std::uint16_t value, std::vector<std::size_t>& found) {
    constexpr std::size_t Block = 64;
    auto search = [&](std::size_t first, std::size_t last) {
        for (std::size_t at = first; at < last; ++at) {
            if (GetU16(bytes.data() + 2 * at) == value) found.push_back(at);
        }
    };
    std::size_t at = from;
    for (; at + Block <= to; at += Block) {
        const std::uint8_t* block = bytes.data() + 2 * at;
        unsigned any = 0;
        for (std::size_t n = 0; n < Block; ++n) any |= GetU16(block + 2 * n) == value ? 1u : 0u;
        if (any != 0) search(at, at + Block);
    }
    search(at, to);
}

// Reads a file front to back through one reused block: a scan of a whole file then works in the
// cache, where reading records one by one would cost a call each.
class BlockStream {
  public:
    explicit BlockStream(const std::string& path)
        : file_(platform::File::Open(path, platform::File::Mode::Read)), block_(1 << 18) {}

    // At least `size` bytes (at most the block's size) at the cursor, or null at the end.
    const std::uint8_t* Need(std::size_t size) {
        if (end_ - at_ >= size) return block_.data() + at_;
        std::copy(block_.begin() + static_cast<std::ptrdiff_t>(at_),
                  block_.begin() + static_cast<std::ptrdiff_t>(end_), block_.begin());
        end_ -= at_;
        at_ = 0;
        while (end_ < size) {
            const std::int64_t got =
                file_.Read(block_.data() + end_, static_cast<std::int64_t>(block_.size() - end_));
            if (got <= 0) return nullptr;
            end_ += static_cast<std::size_t>(got);
        }
        return block_.data();
    }
    void Skip(std::size_t size) {
        at_ += size;
        position_ += size;
    }
    // Moves the cursor forward to file offset `offset`; false when it lies behind.
    bool SkipTo(std::uint64_t offset) {
        if (offset < position_) return false;
        const std::uint64_t ahead = offset - position_;
        if (ahead <= end_ - at_) {
            Skip(static_cast<std::size_t>(ahead));
        } else {
            at_ = end_ = 0;
            position_ = offset;
            if (!file_.Seek(static_cast<std::int64_t>(offset))) return false;
        }
        return true;
    }

  private:
    platform::File file_;
    std::vector<std::uint8_t> block_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    std::uint64_t position_ = 0;  // file offset of the cursor
};

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
    using platform::File;
    database.games_ = File::Open(names.dbg, File::Mode::Read);
    database.root_ = File::Open(names.dbr, File::Mode::Read);
    database.header_ = File::Open(names.dbh, File::Mode::Read);
    database.moves_ = File::Open(names.dbm, File::Mode::Read);
    database.positions_ = File::Open(names.dbp, File::Mode::Read);
    for (const File* file : {&database.games_, &database.root_, &database.header_, &database.moves_,
                             &database.positions_}) {
        if (!file->IsOpen()) return DbFileError(1);
    }
    const std::int64_t games = database.games_.Size();
    if (database.root_.Size() != static_cast<std::int64_t>(DbRootTableBytes) || games < 0 ||
        games % static_cast<std::int64_t>(DbRecordSize) != 0 ||
        games / static_cast<std::int64_t>(DbRecordSize) > std::int64_t{0xFFFFFFFF}) {
        return DbFileError(2);
    }
    database.record_count_ = static_cast<std::uint32_t>(games / DbRecordSize);
    return database;
}

bool Database::ReadAt(const platform::File& file, std::uint64_t offset, void* out,
                      std::size_t size) {
    return file.ReadAt(static_cast<std::int64_t>(offset), out, static_cast<std::int64_t>(size)) ==
           static_cast<std::int64_t>(size);
}

bool Database::Header(std::uint32_t index, HeaderValues& values) const {
    return index < RecordCount() && ReadHeader(Record(index), values);
}

DbGameRecord Database::Record(std::uint32_t index) const {
    std::uint8_t bytes[DbRecordSize] = {};
    (void)ReadAt(games_, std::uint64_t{index} * DbRecordSize, bytes, DbRecordSize);
    return DbGameRecord::Decode(bytes);
}

bool Database::ReadHeader(const DbGameRecord& record, HeaderValues& values) const {
    std::uint8_t bytes[HeaderFieldCount * 256];
    return record.header_length <= sizeof bytes &&
           ReadAt(header_, record.header_offset, bytes, record.header_length) &&
           ParseHeaderRecord({bytes, record.header_length}, values);
}

Result<DbGame> Database::ReadGame(std::uint32_t index) const {
    if (index >= RecordCount()) return DbFileError(2);
    DbGame game;
    game.record = Record(index);
    if (!ReadHeader(game.record, game.header)) return DbFileError(2);
    std::uint8_t moves[2 * (MaxRecordCodes + 1)];
    const std::size_t length = game.record.moves_length;
    if (length < 2 || length % 2 != 0 || length > sizeof moves ||
        !ReadAt(moves_, game.record.moves_offset, moves, length)) {
        return DbFileError(2);
    }
    const std::size_t codes = length / 2 - 1;
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
    const ParsedComparison year_test = ParseComparison(criteria.year);
    const ParsedComparison moves_test = ParseComparison(criteria.moves);
    const int result_bits = DbResultBits(Trim(criteria.result));
    const std::uint16_t hash = position ? PositionHash(*criteria.position) : 0;
    const bool exact = criteria.exact_match;

    const std::uint32_t count = RecordCount();
    HeaderValues values;
    // A scan of every record streams the moves file beside the games file.
    std::optional<BlockStream> moves_stream;
    if (!players && position && !exact) moves_stream.emplace(names_.dbm);

    auto names_match = [&](RecordView record, std::uint32_t index) {
        bool header_read = false;
        auto side = [&](const NameTest& test, bool as_white) {
            if (!test.KeyMatches(as_white ? record.WhiteText() : record.BlackText())) {
                return false;
            }
            if (!test.spelling) return true;
            if (!header_read) {
                header_read = ReadHeader(Record(index), values);
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

    // The offset in the position file of a record the search has just found the hash in.
    std::optional<std::uint64_t> hash_seen_at;
    auto position_matches = [&](RecordView record) {
        const std::size_t offset = record.MovesOffset();
        const std::size_t length = record.MovesLength();
        if (length < 4 || length % 2 != 0 || length > 2 * (MaxRecordCodes + 1)) return false;
        const std::size_t codes = length / 2 - 1;
        std::uint8_t buffer[2 * (MaxRecordCodes + 1)];
        if (exact && hash_seen_at != offset) {
            // The quick test: the position's hash must be among the game's hashes.
            if (!ReadAt(positions_, offset, buffer, length)) return false;
            bool seen = false;
            for (std::size_t n = 1; n <= codes; ++n) seen |= GetU16(buffer + 2 * n) == hash;
            if (!seen) return false;
        }
        const std::uint8_t* words = nullptr;
        if (moves_stream && moves_stream->SkipTo(offset)) words = moves_stream->Need(length);
        if (words == nullptr) {
            if (!ReadAt(moves_, offset, buffer, length)) return false;
            words = buffer;
        }
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
            // The root entries of the keys the name stands for lie together.
            const std::uint32_t keys =
                std::min<std::uint32_t>(followed.key_count, DbKeyCount - followed.first_index);
            std::vector<std::uint8_t> root(std::size_t{keys} * 8);
            if (!ReadAt(root_, std::uint64_t{followed.first_index} * 8, root.data(), root.size())) {
                result.error = DbFileError(2);
                return result;
            }
            std::uint8_t bytes[DbRecordSize];
            for (std::uint32_t key = followed.first_index; key < followed.first_index + keys;
                 ++key) {
                std::uint32_t at =
                    GetU32(root.data() + 8 * std::size_t{key - followed.first_index});
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
                    if (!ReadAt(games_, at, bytes, DbRecordSize)) {
                        result.error = DbFileError(2);
                        return result;
                    }
                    const RecordView record{bytes};
                    const bool as_white = record.WhiteKey() == key;
                    if (!as_white && record.BlackKey() != key) {
                        result.error = Error(std::string(messages::RootError));
                        return result;
                    }
                    std::uint8_t& mark = tested[at / DbRecordSize];
                    if (!mark) {
                        mark = 1;
                        if (names_match(record, at / DbRecordSize) && record_matches(record)) {
                            result.records.push_back(at / DbRecordSize);
                        }
                    }
                    const std::uint32_t next = as_white ? record.NextWhite() : record.NextBlack();
                    if (next == 0) break;
                    at = next;
                }
            }
        } else if (position && exact) {
            // The position file alone is read first, a block at a time: each block is searched
            // for the position's hash as one run of words, which goes at the speed of the copy
            // into it where a search game by game stops and starts every few dozen words. Its
            // records follow the games in order, each as long as its first word says; walking
            // their first words tells which games the hits lie in (a hit on a first word is none),
            // and only those games are looked up in the games file.
            platform::File file = platform::File::Open(names_.dbp, platform::File::Mode::Read);
            std::vector<std::uint8_t> block(std::size_t{1} << 17);
            std::vector<std::size_t> hits;
            std::size_t filled = 0;          // bytes in the block
            std::uint64_t block_offset = 0;  // file offset of its first byte
            std::uint32_t index = 0;
            for (bool more = true; more && index < count;) {
                const std::int64_t got = file.Read(
                    block.data() + filled, static_cast<std::int64_t>(block.size() - filled));
                more = got > 0;
                if (more) filled += static_cast<std::size_t>(got);
                const std::size_t words = filled / 2;
                hits.clear();
                FindWords(block, 0, words, hash, hits);
                std::size_t head = 0;  // the word that gives the record's length
                std::size_t next = 0;  // the first hit not yet placed in a record
                for (; index < count && head < words; ++index) {
                    const std::size_t codes =
                        std::min<std::size_t>(GetU16(block.data() + 2 * head) / 2, MaxRecordCodes);
                    const std::size_t end = head + 1 + codes;
                    if (end > words) break;  // the rest of it comes with the next read
                    while (next < hits.size() && hits[next] <= head) ++next;
                    const bool seen = next < hits.size() && hits[next] < end;
                    const std::uint64_t record_offset = block_offset + 2 * head;
                    head = end;
                    if (!seen) continue;
                    std::uint8_t bytes[DbRecordSize];
                    hash_seen_at = record_offset;
                    if (ReadAt(games_, std::uint64_t{index} * DbRecordSize, bytes, DbRecordSize) &&
                        record_matches(RecordView{bytes})) {
                        result.records.push_back(index);
                    }
                }
                hash_seen_at.reset();
                // The unfinished record moves to the front of the block.
                std::copy(block.begin() + static_cast<std::ptrdiff_t>(2 * head),
                          block.begin() + static_cast<std::ptrdiff_t>(filled), block.begin());
                filled -= 2 * head;
                block_offset += 2 * head;
            }
        } else {
            BlockStream records(names_.dbg);
            for (std::uint32_t index = 0; index < count; ++index) {
                const std::uint8_t* record = records.Need(DbRecordSize);
                if (record == nullptr) break;
                if (record_matches(RecordView{record})) result.records.push_back(index);
                records.Skip(DbRecordSize);
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
            std::vector<std::uint16_t> years(result.records.size());
            for (std::size_t n = 0; n < years.size(); ++n)
                years[n] = Record(result.records[n]).year;
            std::vector<std::size_t> order(years.size());
            for (std::size_t n = 0; n < order.size(); ++n) order[n] = n;
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return criteria.descending ? years[a] > years[b] : years[a] < years[b];
            });
            std::vector<std::uint32_t> sorted;
            sorted.reserve(order.size());
            for (std::size_t n : order) sorted.push_back(result.records[n]);
            result.records = std::move(sorted);
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
            FillMessage(format, {static_cast<int>(found), static_cast<int>(expected)}));
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
        check.messages.push_back(FillMessage(messages::DatabaseOk, {static_cast<int>(stored)}));
    return check;
}

}  // namespace qorvale::search
