#include "search/position_search.h"

#include <algorithm>

#include "base/bytes.h"
#include "chess/board.h"
#include "pgn/header_tags.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "search/fast_file_reader.h"
#include "search/messages.h"
#include "search/move_code.h"
#include "search/text_game_reader.h"

namespace qorvale::search {

namespace {

int KindOfLetter(char letter) {
    switch (letter) {
        case 'K':
            return static_cast<int>(chess::King);
        case 'Q':
            return static_cast<int>(chess::Queen);
        case 'R':
            return static_cast<int>(chess::Rook);
        case 'B':
            return static_cast<int>(chess::Bishop);
        case 'N':
            return static_cast<int>(chess::Knight);
        default:
            return 0;
    }
}

bool IsRelation(char c) { return c == '=' || c == '<' || c == '>'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The game count the fast header file claims, or -1 when it cannot be read.
std::int64_t HeaderFileCount(const std::string& path) {
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) return -1;
    std::uint8_t bytes[4];
    if (file.Read(bytes, 4) != 4) return -1;
    return GetU32(bytes);
}

}  // namespace

PositionTests::PositionTests(const PositionCriteria& criteria, const MoveNumberFilter& filter)
    : filter_(filter) {
    for (const PositionEntry& entry : criteria.White) {
        if (entry.empty()) break;
        ParseEntry(entry.view(), true);
    }
    for (const PositionEntry& entry : criteria.Black) {
        if (entry.empty()) break;
        ParseEntry(entry.view(), false);
    }
}

void PositionTests::ParseEntry(std::string_view entry, bool white) {
    const chess::Side side = white ? chess::Side::White : chess::Side::Black;
    auto relation_of = [](char c) {
        return c == '=' ? Relation::Equal : c == '<' ? Relation::Fewer : Relation::More;
    };
    const char first = entry[0];
    if (entry.size() >= 2 && chess::IsFileLetter(first) && chess::IsRankDigit(entry[1])) {
        pieces_.push_back({chess::Board64Index(first - 'a' + 1, entry[1] - '0'),
                           static_cast<std::uint8_t>(chess::PieceCode(chess::Pawn, side))});
        return;
    }
    if (entry.size() >= 2 && IsRelation(first) && IsDigit(entry[1])) {
        counts_.push_back(
            {white, static_cast<std::uint8_t>(chess::Pawn), relation_of(first), entry[1] - '0'});
        return;
    }
    if (!white && first == '*') {
        black_may_meet_[chess::Pawn] = true;
        return;
    }
    const int kind = KindOfLetter(first);
    if (kind == 0) {
        // Any other upper-case letter names no piece: the entry can never hold.
        if (first >= 'A' && first <= 'Z') never_ = true;
        return;
    }
    if (entry.size() >= 3 && chess::IsFileLetter(entry[1]) && chess::IsRankDigit(entry[2])) {
        pieces_.push_back(
            {chess::Board64Index(entry[1] - 'a' + 1, entry[2] - '0'),
             static_cast<std::uint8_t>(chess::PieceCode(static_cast<std::uint32_t>(kind), side))});
        return;
    }
    if (kind == static_cast<int>(chess::King)) {
        never_ = true;
        return;
    }
    if (entry.size() >= 3 && IsRelation(entry[1]) && IsDigit(entry[2])) {
        counts_.push_back(
            {white, static_cast<std::uint8_t>(kind), relation_of(entry[1]), entry[2] - '0'});
        return;
    }
    if (!white && entry.size() >= 2 && entry[1] == '*') {
        black_may_meet_[static_cast<std::size_t>(kind)] = true;
        return;
    }
    never_ = true;
}

template <typename Square>
bool PositionTests::HoldsOn(const Square* squares, int half_moves) const {
    if (never_) return false;
    for (const PieceTest& test : pieces_) {
        if (squares[test.square] != test.code) return false;
    }
    if (!counts_.empty()) {
        // [side][kind]: pawns 1 .. queens 5.
        std::array<std::array<int, 6>, 2> counted{};
        for (int square = 0; square < 64; ++square) {
            const auto code = static_cast<std::uint32_t>(squares[square]);
            if (code == 0) continue;
            const std::uint32_t kind = chess::KindOf(code);
            if (kind >= chess::Pawn && kind <= chess::Queen) {
                ++counted[chess::IsBlackCode(code) ? 1 : 0][kind];
            }
        }
        for (const CountTest& test : counts_) {
            auto meets = [&test](int count) {
                switch (test.relation) {
                    case Relation::Equal:
                        return count == test.value;
                    case Relation::Fewer:
                        return count < test.value;
                    case Relation::More:
                        return count > test.value;
                }
                return false;
            };
            if (test.white) {
                if (!meets(counted[0][test.kind]) &&
                    !(black_may_meet_[test.kind] && meets(counted[1][test.kind]))) {
                    return false;
                }
            } else if (!meets(counted[1][test.kind])) {
                return false;
            }
        }
    }
    return filter_.Passes(half_moves);
}

bool PositionTests::Holds(std::span<const std::uint8_t, 64> squares, int half_moves) const {
    return HoldsOn(squares.data(), half_moves);
}

bool PositionTests::Holds(std::span<const std::uint32_t, 64> squares, int half_moves) const {
    return HoldsOn(squares.data(), half_moves);
}

int SearchPosition(const SearchSource& source, const SearchCriteria& criteria, SearchList& list,
                   Ui& ui) {
    const PositionTests tests(criteria.position, criteria.move_number);
    list.SetEitherColour(false);
    list.Clear();
    list.SetHasHalfMoves(true);
    const FastFileNames names = FastFileNamesOf(source.pgn_path);

    std::int64_t stored = source.use_fast_file ? HeaderFileCount(names.trh) : -1;
    if (stored >= 0) {
        Result<FastFileReader> reader =
            FastFileReader::Open(names.trf, FastFileReader::Mode::Stream);
        // Used only when it holds one record for every game of the file and then its end mark:
        // a fast file made for another state of the file, cut short or damaged would give the
        // games' answers to other games.
        bool whole = reader && stored == source.game_count;
        if (whole) {
            const std::int64_t count = std::min<std::int64_t>(stored, MaxFastFileGames);
            GameRecord record;
            const chess::Board64 start = chess::ToBoard64(chess::StartBoard());
            std::int64_t game = 0;
            for (; game < count && !source.Cancelled(); ++game) {
                if (reader->Next(record) != FastFileReader::Step::Record) break;
                // Played one code at a time, so the walk stops at the first match.
                chess::Board64 board = start;
                int k = tests.Holds(board, 0) ? 0 : -1;
                for (std::size_t n = 0; k < 0 && n < record.codes.size(); ++n) {
                    PlayMoveCode(board, record.codes[n], n % 2 == 0);
                    if (tests.Holds(board, static_cast<int>(n + 1))) k = static_cast<int>(n + 1);
                }
                if (k >= 0) {
                    list.Add(static_cast<std::int32_t>(game + 1),
                             NormalResultClass(ResultOf(record.result)), k);
                }
            }
            if (source.Cancelled()) return list.Count();
            whole = game == count && (count < stored || reader->EndMarkEndsTheFile());
        }
        if (whole) return list.Count();
        list.Clear();
        if (!source.background) ui.report(messages::MakeFastFileAgain);
    }

    TextGameReader reader(source.pgn_path, source.offsets, source.display_letters);
    if (!reader.IsOpen()) return 0;
    const std::int32_t count = std::min(source.game_count, MaxFastFileGames);
    for (std::int32_t game = 0; game < count && !source.Cancelled(); ++game) {
        if (!reader.Read(game, TextGameReader::Depth::Positions)) continue;
        for (int k = 0; k <= reader.HalfMoves(); ++k) {
            if (tests.Holds(std::span<const std::uint32_t, 64>(reader.Position(k)), k)) {
                list.Add(
                    game + 1,
                    NormalResultClass(ResultFromTag(reader.Values().Get(pgn::HeaderField::Result))),
                    k);
                break;
            }
        }
    }
    return list.Count();
}

}  // namespace qorvale::search
