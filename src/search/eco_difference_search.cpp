#include "search/eco_difference_search.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "openings/eco_position_file.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "search/fast_file_reader.h"
#include "search/header_file.h"
#include "search/header_search.h"
#include "search/messages.h"

namespace qorvale::search {

namespace {

Error Missing() { return Error(std::string(messages::MissingEcocodes)); }

std::uint64_t Mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdull;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ull;
    return value ^ (value >> 33);
}

// The key of a board at a half-move: equal boards at the same half-move give the same key.
std::uint64_t PositionKey(const chess::Board64& board, std::size_t half_move) {
    std::uint64_t key = Mix(half_move + 1);
    for (std::size_t at = 0; at < board.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, board.data() + at, sizeof word);
        key = Mix(key ^ word);
    }
    return key;
}

std::size_t MoveBit(MoveCode code) {
    return (static_cast<std::uint32_t>(code) * 0x9E3779B1u) >> 24;
}

// Each of `wanted`'s first `count` moves occurs among `game`'s first `count` (or all it has),
// and a move `wanted` plays again two or more moves later recurs there as often.
bool SideMatches(std::span<const MoveCode> wanted, std::span<const MoveCode> game, int count) {
    const int available = std::min(count, static_cast<int>(game.size()));
    for (int i = 0; i < count; ++i) {
        const MoveCode move = wanted[static_cast<std::size_t>(i)];
        bool present = false;
        for (int k = 0; k < available && !present; ++k) {
            present = game[static_cast<std::size_t>(k)] == move;
        }
        if (!present) return false;
        if (count < 3) continue;
        int repeats = 0;
        int recurs = 0;
        for (int k = i + 2; k < count; ++k) {
            if (wanted[static_cast<std::size_t>(k)] == move) ++repeats;
            if (k < available && game[static_cast<std::size_t>(k)] == move) ++recurs;
        }
        if (repeats > 0 && recurs != repeats) return false;
    }
    return true;
}

}  // namespace

// A game's moves of the classification by moves, split by side once for every line compared.
struct EcoCodeLines::SideMoves {
    std::array<MoveCode, EcoDifferenceHalfMoves / 2 + 1> white{};
    std::array<MoveCode, EcoDifferenceHalfMoves / 2 + 1> black{};
    std::size_t white_count = 0;
    std::size_t black_count = 0;
    MoveBits white_bits{};
    MoveBits black_bits{};

    explicit SideMoves(std::span<const MoveCode> game) {
        for (std::size_t i = 0; i < game.size() && i < EcoDifferenceHalfMoves + 1; ++i) {
            const MoveCode code = game[i];
            MoveBits& bits = i % 2 == 0 ? white_bits : black_bits;
            bits[MoveBit(code) / 64] |= std::uint64_t{1} << (MoveBit(code) % 64);
            (i % 2 == 0 ? white[white_count++] : black[black_count++]) = code;
        }
    }
    std::span<const MoveCode> White() const { return {white.data(), white_count}; }
    std::span<const MoveCode> Black() const { return {black.data(), black_count}; }
};

Result<EcoCodeLines> EcoCodeLines::Load(const std::string& trf_path, const std::string& ecd_path,
                                        Ui& ui) {
    Result<FastFileReader> reader = FastFileReader::Open(trf_path);
    Result<HeaderFile> header = HeaderFile::Load(DerivedPath(trf_path, "TRH"));
    if (!reader || !header || !header->Consistent(header->StoredCount())) return Missing();
    EcoCodeLines lines;
    const std::vector<std::uint8_t>& bytes = header->Bytes();
    std::size_t cursor = 4;
    std::array<std::string_view, HeaderFieldCount> values;
    std::vector<GameRecord> records;
    GameRecord record;
    while (records.size() < header->StoredCount() &&
           reader->Next(record) == FastFileReader::Step::Record) {
        if (!ViewHeaderRecord(bytes, cursor, values)) return Missing();
        lines.codes_.emplace_back(values[static_cast<std::size_t>(HeaderField::Eco)]);
        lines.moves_.push_back(record.codes);
        records.push_back(record);
    }
    if (records.size() != header->StoredCount() || !reader->EndMarkEndsTheFile()) return Missing();

    // The boards of every line, from the position file; it is made again when it does not fit.
    std::size_t boards = 0;
    for (const std::vector<MoveCode>& moves : lines.moves_) {
        lines.position_start_.push_back(boards);
        boards += moves.size();
    }
    auto read_boards = [&]() {
        platform::File file = platform::File::Open(ecd_path, platform::File::Mode::Read);
        const auto size = static_cast<std::int64_t>(boards * sizeof(chess::Board64));
        if (!file.IsOpen() || file.Size() != size) return false;
        lines.positions_.resize(boards);
        return file.Read(lines.positions_.data(), size) == size;
    };
    if (!read_boards()) {
        if (Error built = openings::BuildEcoPositionFile(records, ecd_path, ui); !built.ok()) {
            return built;
        }
        if (!read_boards()) return Missing();
    }
    lines.BuildIndexes();
    return lines;
}

void EcoCodeLines::BuildIndexes() {
    const std::size_t count = codes_.size();
    white_.resize(count);
    black_.resize(count);
    white_bits_.assign(count, MoveBits{});
    black_bits_.assign(count, MoveBits{});
    std::vector<std::pair<std::uint64_t, int>> keyed;
    for (std::size_t entry = 0; entry < count; ++entry) {
        const std::vector<MoveCode>& moves = moves_[entry];
        longest_ = std::max(longest_, static_cast<int>(moves.size()));
        for (std::size_t i = 0; i < moves.size(); ++i) {
            MoveBits& bits = i % 2 == 0 ? white_bits_[entry] : black_bits_[entry];
            bits[MoveBit(moves[i]) / 64] |= std::uint64_t{1} << (MoveBit(moves[i]) % 64);
            (i % 2 == 0 ? white_ : black_)[entry].push_back(moves[i]);
            keyed.emplace_back(PositionKey(positions_[position_start_[entry] + i], i),
                               static_cast<int>(entry));
        }
        by_length_.push_back(static_cast<int>(entry));
    }
    std::stable_sort(by_length_.begin(), by_length_.end(),
                     [this](int a, int b) { return Length(a) > Length(b); });

    // Entries of one key stay in table order, so a slot's first entry is the earliest.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::size_t capacity = 16;
    while (capacity < keyed.size() * 2) capacity *= 2;
    slots_.assign(capacity, Slot{});
    slot_entries_.clear();
    for (std::size_t at = 0; at < keyed.size();) {
        const std::uint64_t key = keyed[at].first;
        std::size_t slot = key & (capacity - 1);
        while (slots_[slot].count != 0) slot = (slot + 1) & (capacity - 1);
        slots_[slot].key = key;
        slots_[slot].first = static_cast<std::uint32_t>(slot_entries_.size());
        for (; at < keyed.size() && keyed[at].first == key; ++at) {
            slot_entries_.push_back(keyed[at].second);
        }
        slots_[slot].count = static_cast<std::uint32_t>(slot_entries_.size()) - slots_[slot].first;
    }
}

// Walking the entries in order, each new match lies deeper than the last; so the answer is the
// earliest entry that stands on the game's position at the deepest half-move where any entry
// does, and the search runs back from the game's deepest half-move through the index.
int EcoCodeLines::ClassifyByPosition(std::span<const chess::Board64> positions) const {
    if (slots_.empty()) return -1;
    const std::size_t mask = slots_.size() - 1;
    const std::size_t deepest = std::min(positions.size(), static_cast<std::size_t>(longest_));
    for (std::size_t k = deepest; k-- > 0;) {
        const std::uint64_t key = PositionKey(positions[k], k);
        for (std::size_t slot = key & mask; slots_[slot].count != 0; slot = (slot + 1) & mask) {
            if (slots_[slot].key != key) continue;
            for (std::uint32_t n = 0; n < slots_[slot].count; ++n) {
                const int entry = slot_entries_[slots_[slot].first + n];
                if (positions_[position_start_[Index(entry)] + k] == positions[k]) return entry;
            }
        }
    }
    return -1;
}

bool EcoCodeLines::LineMatches(int entry, const SideMoves& game, int limit) const {
    const std::size_t white_count = static_cast<std::size_t>(limit + 1) / 2;
    const std::size_t black_count = static_cast<std::size_t>(limit) / 2;
    if (white_count > game.white_count) return false;
    return SideMatches(std::span<const MoveCode>(white_[Index(entry)]).first(white_count),
                       game.White(), static_cast<int>(white_count)) &&
           SideMatches(std::span<const MoveCode>(black_[Index(entry)]).first(black_count),
                       game.Black(), static_cast<int>(black_count));
}

int EcoCodeLines::ClassifyByMoves(std::span<const MoveCode> game) const {
    const int length = static_cast<int>(game.size());
    const SideMoves sides(game);
    auto within_game = [&](const MoveBits& line, const MoveBits& played) {
        for (std::size_t word = 0; word < line.size(); ++word) {
            if ((line[word] & ~played[word]) != 0) return false;
        }
        return true;
    };
    // A: the longest line not longer than the game's part that it contains (the earliest among
    // equals); every move of such a line is among the game's, which the bit sets test first.
    int within = -1;
    // B: the longest line whose first `length` half-moves match; among lines not longer than
    // the part that is A, so only longer lines need a look of their own.
    int limited = -1;
    for (int entry : by_length_) {
        const int entry_length = Length(entry);
        if (entry_length == 0) break;
        if (entry_length > length) {
            if (limited < 0 && LineMatches(entry, sides, length)) limited = entry;
            continue;
        }
        if (within >= 0 && entry_length < Length(within)) break;
        if (within_game(white_bits_[Index(entry)], sides.white_bits) &&
            within_game(black_bits_[Index(entry)], sides.black_bits) &&
            LineMatches(entry, sides, entry_length) && (within < 0 || entry < within)) {
            within = entry;
        }
    }
    if (limited < 0) limited = within;
    if (within < 0) return limited;
    if (Length(limited) > Length(within) && length > Length(within)) return limited;
    return within;
}

int SearchEcoDifference(const SearchSource& source, const SearchCriteria& criteria,
                        const std::string& eco_lines_path, SearchList& list,
                        std::vector<std::string>& classified, Ui& ui) {
    list.SetEitherColour(false);
    list.Clear();
    classified.clear();
    HeaderCriteria others = criteria.header;
    others.Set(HeaderCriterion::Eco, "");
    if (!others.Get(HeaderCriterion::SpecificMove).empty()) {
        ui.report(messages::EcoDiffSpecificMove);
        return -1;
    }
    const HeaderMatcher matcher(others);
    list.SetEitherColour(matcher.EitherColourOnePlayer());
    list.Clear();

    const FastFileNames names = FastFileNamesOf(source.pgn_path);
    Result<HeaderFile> header = HeaderFile::Load(names.trh);
    Result<FastFileReader> reader = FastFileReader::Open(names.trf, FastFileReader::Mode::Stream);
    if (!source.use_fast_file || !platform::FileExists(names.trh) || !reader) {
        ui.report(messages::EcoDiffNeedsFastFile);
        return -1;
    }
    // There is no text road: a fast file that does not hold every game whole is refused.
    auto stale = [&]() {
        list.Clear();
        classified.clear();
        ui.report(messages::MakeFastFileAgain);
        return -1;
    };
    if (!header || !header->Consistent(static_cast<std::uint32_t>(source.game_count))) {
        return stale();
    }
    Result<EcoCodeLines> lines =
        EcoCodeLines::Load(eco_lines_path, openings::EcoPositionFilePathFor(eco_lines_path), ui);
    if (!lines) {
        // The position file's builder has said why it could not write it.
        if (lines.error().message() == messages::MissingEcocodes)
            ui.report(messages::MissingEcocodes);
        return -1;
    }
    const std::int32_t count = std::min(source.game_count, MaxFastFileGames);

    const std::vector<std::uint8_t>& bytes = header->Bytes();
    std::size_t cursor = 4;
    std::array<std::string_view, HeaderFieldCount> values;
    GameRecord record;
    std::vector<chess::Board64> positions;
    std::int32_t i = 0;
    for (; i < count && !source.Cancelled(); ++i) {
        if (source.progress && i % 100 == 0) source.progress(i, list.Count(), count);
        if (!ViewHeaderRecord(bytes, cursor, values)) return stale();
        if (reader->Next(record) != FastFileReader::Step::Record) return stale();
        GameHeader game = HeaderOfRecord(values);
        game.full_moves = static_cast<int>((record.codes.size() + 1) / 2);
        const std::string_view eco = game.eco;
        if (eco.empty() || eco[0] == '?' || eco[0] == ' ') continue;
        const int result_class = matcher.Match(game);
        if (result_class < 0) continue;

        auto names_it = [&](int entry) {
            return entry >= 0 &&
                   eco.substr(0, 3) == std::string_view(lines->Code(entry)).substr(0, 3);
        };
        const std::size_t played =
            std::min(record.codes.size(), static_cast<std::size_t>(EcoDifferenceHalfMoves));
        const std::span<const MoveCode> opening(record.codes.data(), played);
        ReplayMoveCodes(opening, positions);
        if (names_it(
                lines->ClassifyByPosition(std::span<const chess::Board64>(positions).subspan(1)))) {
            continue;
        }
        const int by_moves = lines->ClassifyByMoves(opening);
        if (names_it(by_moves)) continue;
        list.Add(i + 1, result_class);
        if (classified.size() < MaxEcoDifferenceGames) {
            classified.push_back(by_moves >= 0 ? lines->Code(by_moves) : std::string());
        }
    }
    if (i == count && !reader->EndMarkEndsTheFile()) return stale();
    return list.Count();
}

}  // namespace qorvale::search
