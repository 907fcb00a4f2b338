#include "search/eco_difference_search.h"

#include <algorithm>
#include <array>

#include "search/fast_file.h"
#include "search/fast_file_reader.h"
#include "search/header_file.h"
#include "search/header_search.h"
#include "search/messages.h"

namespace qorvale::search {

namespace {

Error Missing() { return Error(std::string(messages::MissingEcocodes)); }

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

// White's and Black's codes of a run of half-moves.
void SplitSides(std::span<const MoveCode> codes, std::vector<MoveCode>& white,
                std::vector<MoveCode>& black) {
    white.clear();
    black.clear();
    for (std::size_t i = 0; i < codes.size(); ++i) (i % 2 == 0 ? white : black).push_back(codes[i]);
}

}  // namespace

Result<EcoCodeLines> EcoCodeLines::Load(const std::string& trf_path) {
    Result<FastFileReader> reader = FastFileReader::Open(trf_path);
    Result<HeaderFile> header = HeaderFile::Load(DerivedPath(trf_path, "TRH"));
    if (!reader || !header || header->Truncated()) return Missing();
    EcoCodeLines lines;
    const std::vector<std::uint8_t>& bytes = header->Bytes();
    std::size_t cursor = 4;
    std::array<std::string_view, HeaderFieldCount> values;
    GameRecord record;
    while (reader->Next(record) == FastFileReader::Step::Record) {
        if (!ViewHeaderRecord(bytes, cursor, values)) return Missing();
        lines.codes_.emplace_back(values[static_cast<std::size_t>(HeaderField::Eco)]);
        lines.moves_.push_back(record.codes);
        std::vector<chess::Board64> positions;
        ReplayMoveCodes(record.codes, positions);
        positions.erase(positions.begin());
        lines.positions_.push_back(std::move(positions));
    }
    if (lines.codes_.size() != header->StoredCount()) return Missing();
    return lines;
}

int EcoCodeLines::ClassifyByPosition(std::span<const chess::Board64> positions) const {
    const int length = static_cast<int>(positions.size());
    int best = -1;
    int depth = 0;
    for (int entry = 0; entry < Count(); ++entry) {
        const int entry_length = Length(entry);
        if (entry_length <= depth) continue;
        const auto& entry_positions = positions_[Index(entry)];
        for (int k = depth; k < std::min(entry_length, length); ++k) {
            if (positions[static_cast<std::size_t>(k)] ==
                entry_positions[static_cast<std::size_t>(k)]) {
                best = entry;
                depth = k + 1;
            }
        }
    }
    return best;
}

bool EcoCodeLines::LineMatches(int entry, std::span<const MoveCode> game, int limit) const {
    std::vector<MoveCode> entry_white, entry_black, game_white, game_black;
    const std::vector<MoveCode>& moves = moves_[Index(entry)];
    SplitSides(std::span<const MoveCode>(moves.data(), static_cast<std::size_t>(limit)),
               entry_white, entry_black);
    SplitSides(game, game_white, game_black);
    if (entry_white.size() > game_white.size()) return false;
    return SideMatches(entry_white, game_white, static_cast<int>(entry_white.size())) &&
           SideMatches(entry_black, game_black, static_cast<int>(entry_black.size()));
}

int EcoCodeLines::ClassifyByMoves(std::span<const MoveCode> game) const {
    const int length = static_cast<int>(game.size());
    int within = -1;  // A: the longest matching line not longer than the game's part
    int within_length = 0;
    int limited = -1;  // B: the longest line whose first `length` half-moves match
    int limited_length = 0;
    for (int entry = 0; entry < Count(); ++entry) {
        const int entry_length = Length(entry);
        if (entry_length == 0) continue;
        if (entry_length <= length && entry_length > within_length &&
            LineMatches(entry, game, entry_length)) {
            within = entry;
            within_length = entry_length;
        }
        if (entry_length > limited_length &&
            LineMatches(entry, game, std::min(entry_length, length))) {
            limited = entry;
            limited_length = entry_length;
        }
    }
    if (within < 0) return limited;
    if (limited_length > within_length && length > within_length) return limited;
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
    if (!source.use_fast_file || !header || header->Truncated() || !reader) {
        ui.report(messages::EcoDiffNeedsFastFile);
        return -1;
    }
    Result<EcoCodeLines> lines = EcoCodeLines::Load(eco_lines_path);
    if (!lines) {
        ui.report(lines.error().message());
        return -1;
    }
    const std::int32_t count =
        static_cast<std::int32_t>(std::min<std::uint32_t>(header->StoredCount(), MaxFastFileGames));
    if (count != source.game_count && !source.background) ui.report(messages::MakeFastFileAgain);

    const std::vector<std::uint8_t>& bytes = header->Bytes();
    std::size_t cursor = 4;
    std::array<std::string_view, HeaderFieldCount> values;
    GameRecord record;
    std::vector<chess::Board64> positions;
    for (std::int32_t i = 0; i < count && !source.Cancelled(); ++i) {
        if (source.progress && i % 100 == 0) source.progress(i, list.Count(), count);
        if (!ViewHeaderRecord(bytes, cursor, values)) break;
        if (reader->Next(record) != FastFileReader::Step::Record) break;
        GameHeader game = HeaderOfRecord(values);
        game.full_moves = static_cast<int>((record.codes.size() + 1) / 2);
        const std::string_view eco = game.eco;
        if (eco.empty() || eco[0] == '?' || eco[0] == ' ') continue;
        const int result_class = matcher.Match(game);
        if (result_class < 0) continue;

        const std::size_t played =
            std::min(record.codes.size(), static_cast<std::size_t>(EcoDifferenceHalfMoves));
        const std::span<const MoveCode> opening(record.codes.data(), played);
        ReplayMoveCodes(opening, positions);
        const int by_position =
            lines->ClassifyByPosition(std::span<const chess::Board64>(positions).subspan(1));
        const int by_moves = lines->ClassifyByMoves(opening);
        auto names_it = [&](int entry) {
            return entry >= 0 &&
                   eco.substr(0, 3) == std::string_view(lines->Code(entry)).substr(0, 3);
        };
        if (names_it(by_position) || names_it(by_moves)) continue;
        list.Add(i + 1, result_class);
        if (classified.size() < MaxEcoDifferenceGames) {
            classified.push_back(by_moves >= 0 ? lines->Code(by_moves) : std::string());
        }
    }
    return list.Count();
}

}  // namespace qorvale::search
