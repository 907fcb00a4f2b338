#include "search/variation_search.h"

#include <algorithm>
#include <optional>
#include <string>

#include "chess/chess_state.h"
#include "chess/notation.h"
#include "search/fast_file.h"
#include "search/fast_file_reader.h"
#include "search/messages.h"
#include "search/position_search.h"
#include "search/text_game_reader.h"

namespace qorvale::search {

namespace {

Error CannotPlay() { return Error(std::string(messages::LineCannotBePlayed)); }

bool IsPieceLetter(char c) { return c == 'K' || c == 'Q' || c == 'R' || c == 'B' || c == 'N'; }

bool IsWildcard(const chess::MoveText& text) { return text.view() == "*"; }

template <typename Move>
void CountRepeats(const std::array<Move, MaxLineMoves>& moves, int length,
                  std::array<int, MaxLineMoves>& repeats) {
    repeats.fill(0);
    if (length < 3) return;
    for (int i = 0; i < length; ++i) {
        int count = 0;
        for (int k = i + 2; k < length; ++k) {
            if (moves[static_cast<std::size_t>(k)] == moves[static_cast<std::size_t>(i)]) ++count;
        }
        repeats[static_cast<std::size_t>(i)] = count;
    }
}

}  // namespace

chess::MoveText ComparableMove(std::string_view text) {
    while (!text.empty() &&
           (text.back() == '+' || text.back() == '#' || text.back() == '!' || text.back() == '?')) {
        text.remove_suffix(1);
    }
    if (text.empty() || !IsPieceLetter(text[0])) return chess::MoveText(text);
    // The destination is the last file-and-rank pair; anything before it is disambiguation.
    for (std::size_t at = text.size(); at >= 2; --at) {
        if (chess::IsFileLetter(text[at - 2]) && chess::IsRankDigit(text[at - 1])) {
            std::string reduced{text[0]};
            reduced.append(text.substr(at - 2, 2));
            return chess::MoveText(reduced);
        }
    }
    return chess::MoveText(text);
}

Result<SearchLine> BuildSearchLine(const VariationCriteria& criteria) {
    SearchLine line;
    int white_count = criteria.WhiteCount();
    int black_count = criteria.BlackCount();
    if (black_count > white_count) return CannotPlay();
    white_count = std::min(white_count, black_count + 1);
    line.white_count = white_count;
    line.black_count = black_count;

    chess::ChessState chess;
    chess.SetQuietParse(true);
    chess.SetMessagesSuppressed(true);
    chess.SetStartsFromFen(false);
    chess.SetSetupActive(false);
    chess.SetStartPosition();
    const chess::FromHint no_hint;
    int half_move = 1;
    for (int i = 0; i < white_count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        for (chess::Side side : {chess::Side::White, chess::Side::Black}) {
            const bool white = side == chess::Side::White;
            if (!white && i >= black_count) break;
            chess::MoveText text = white ? criteria.WhiteMoves[index] : criteria.BlackMoves[index];
            MoveCode code = 0;
            if (IsWildcard(text)) {
                chess.SnapshotPosition(half_move);
            } else {
                if (chess.LocateMoveText(text, no_hint, side) != 0) return CannotPlay();
                const chess::LocatedMove& squares = chess.LocatedMoveSquares();
                if (chess.MakeMoveFromSquares(
                        chess::MoveMode::TextOnly, half_move, static_cast<int>(squares.from_file),
                        static_cast<int>(squares.from_rank), static_cast<int>(squares.to_file),
                        static_cast<int>(squares.to_rank)) != 0) {
                    return CannotPlay();
                }
                chess.ApplyMoveText(text, no_hint, side);
                chess.SnapshotPosition(half_move);
                code = EncodeMoveCode(chess.PositionHistory(half_move - 1),
                                      chess.PositionHistory(half_move), half_move);
                text = ComparableMove(text.view());
            }
            (white ? line.SearchWhite : line.SearchBlack)[index] = code;
            (white ? line.white_texts : line.black_texts)[index] = text;
            (white ? line.white_wild : line.black_wild)[index] = IsWildcard(text);
            ++half_move;
        }
    }
    return line;
}

Result<VariationCriteria> ParseSearchLine(std::string_view text) {
    VariationCriteria criteria;
    int half_move = 0;
    for (std::string_view token : chess::SplitLineMoves(text)) {
        if (token.size() > chess::MoveText::Capacity || half_move >= 2 * MaxLineMoves) {
            return CannotPlay();
        }
        const auto index = static_cast<std::size_t>(half_move / 2);
        (half_move % 2 == 0 ? criteria.WhiteMoves : criteria.BlackMoves)[index].Assign(token);
        ++half_move;
    }
    return criteria;
}

VariationMatcher::VariationMatcher(const SearchLine& line, int white_count, int black_count,
                                   bool exact)
    : line_(line), white_count_(white_count), black_count_(black_count), exact_(exact) {
    if (exact) return;
    CountRepeats(line.SearchWhite, white_count, repeats_[0]);
    CountRepeats(line.SearchBlack, black_count, repeats_[1]);
    CountRepeats(line.white_texts, white_count, repeats_[2]);
    CountRepeats(line.black_texts, black_count, repeats_[3]);
    // A side with fewer than three moves has no repeats; the other side keeps its own.
}

template <typename Move>
bool VariationMatcher::MatchesSide(std::span<const Move> search,
                                   const std::array<bool, MaxLineMoves>& wild,
                                   const std::array<int, MaxLineMoves>& repeats, int length,
                                   std::span<const Move> game, int tests) const {
    const int available = std::min(length, static_cast<int>(game.size()));
    for (int i = 0; i < tests; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (i >= length || wild[index]) continue;
        const Move& wanted = search[index];
        if (exact_) {
            if (i >= static_cast<int>(game.size()) || !(game[index] == wanted)) return false;
            continue;
        }
        bool present = false;
        for (int k = 0; k < available && !present; ++k) {
            present = game[static_cast<std::size_t>(k)] == wanted;
        }
        if (!present) return false;
        if (repeats[index] > 0) {
            int count = 0;
            for (int k = i + 2; k < available; ++k) {
                if (game[static_cast<std::size_t>(k)] == wanted) ++count;
            }
            if (count != repeats[index]) return false;
        }
    }
    return true;
}

bool VariationMatcher::Matches(std::span<const MoveCode> game_white,
                               std::span<const MoveCode> game_black) const {
    if (white_count_ > static_cast<int>(game_white.size())) return false;
    return MatchesSide<MoveCode>(line_.SearchWhite, line_.white_wild, repeats_[0], white_count_,
                                 game_white, white_count_) &&
           MatchesSide<MoveCode>(line_.SearchBlack, line_.black_wild, repeats_[1], black_count_,
                                 game_black, white_count_);
}

bool VariationMatcher::Matches(std::span<const chess::MoveText> game_white,
                               std::span<const chess::MoveText> game_black) const {
    if (white_count_ > static_cast<int>(game_white.size())) return false;
    return MatchesSide<chess::MoveText>(line_.white_texts, line_.white_wild, repeats_[2],
                                        white_count_, game_white, white_count_) &&
           MatchesSide<chess::MoveText>(line_.black_texts, line_.black_wild, repeats_[3],
                                        black_count_, game_black, white_count_);
}

int ForceMatch(int white_count, int black_count,
               const std::function<int(int white_count, int black_count)>& pass) {
    if (pass(white_count, black_count) > 0) return white_count + black_count;
    if (black_count == 0) return 0;
    const int max_white = white_count;
    const int max_black = black_count;
    bool any_found = false;
    int step = std::max(1, white_count / 2);
    enum class State { Shrinking, Growing, Final } state = State::Shrinking;
    auto shorten = [&] {
        white_count = std::max(1, white_count - step);
        black_count = std::max(0, black_count - step);
    };
    auto lengthen = [&] {
        white_count += step;
        black_count += step;
        if (white_count >= max_white) {
            white_count = max_white;
            if (black_count < max_black) {
                white_count = max_white - 1;
                black_count = white_count;
            } else {
                black_count = white_count - 1;
            }
            state = State::Final;
        }
    };
    auto back_one = [&] {
        if (white_count == black_count) {
            --black_count;
        } else {
            --white_count;
        }
    };
    auto matched = [&] { return any_found ? white_count + black_count : 0; };
    shorten();
    // Each pass shortens, lengthens by a halving step or steps back one half-move, so the walk
    // ends well within a few passes per half-move; the bound only guards against a loop.
    for (int passes = 0; passes < 4 * (max_white + max_black) + 8; ++passes) {
        if (white_count < 1 || black_count < 0) break;
        const int found = pass(white_count, black_count);
        any_found = any_found || found > 0;
        switch (state) {
            case State::Shrinking:
                step = std::max(1, step / 2);
                if (found > 0) {
                    state = State::Growing;
                    lengthen();
                } else if (black_count > 0) {
                    shorten();
                } else {
                    return 0;
                }
                break;
            case State::Growing:
                if (found > 0) {
                    step = std::max(1, step / 2);
                    lengthen();
                } else if (step == 1) {
                    // The length stepped back to is the one shown; the list stays the last that
                    // had games.
                    back_one();
                    return matched();
                } else {
                    state = State::Final;
                    back_one();
                }
                break;
            case State::Final:
                if (found > 0 || black_count == 0) return matched();
                back_one();
                break;
        }
    }
    return matched();
}

namespace {

// One pass over the fast file's move records. `whole` tells whether the file held one record
// for every game of the PGN file and then its end mark.
int PassCodes(FastFileReader& reader, const VariationMatcher& matcher, const SearchSource& source,
              SearchList& found, bool& whole) {
    found.Clear();
    whole = false;
    std::int32_t records = 0;
    if (!reader.Rewind()) return 0;
    GameRecord record;
    std::array<MoveCode, MaxRecordCodes / 2 + 1> white{};
    std::array<MoveCode, MaxRecordCodes / 2 + 1> black{};
    const std::int32_t count = std::min(source.game_count, MaxFastFileGames);
    while (records < count && !source.Cancelled()) {
        if (reader.Next(record) != FastFileReader::Step::Record) break;
        ++records;
        std::size_t white_moves = 0;
        std::size_t black_moves = 0;
        for (std::size_t i = 0; i < record.codes.size(); ++i) {
            if (i % 2 == 0) {
                white[white_moves++] = record.codes[i];
            } else {
                black[black_moves++] = record.codes[i];
            }
        }
        if (matcher.Matches(std::span<const MoveCode>(white.data(), white_moves),
                            std::span<const MoveCode>(black.data(), black_moves))) {
            found.Add(records, NormalResultClass(ResultOf(record.result)));
        }
    }
    whole = records == source.game_count && reader.EndMarkEndsTheFile();
    return found.Count();
}

// One pass over the PGN text.
int PassText(TextGameReader& reader, const VariationMatcher& matcher, const SearchSource& source,
             SearchList& found) {
    found.Clear();
    std::array<chess::MoveText, MaxLineMoves> white{};
    std::array<chess::MoveText, MaxLineMoves> black{};
    const std::int32_t count = std::min(source.game_count, MaxFastFileGames);
    for (std::int32_t i = 0; i < count && !source.Cancelled(); ++i) {
        if (!reader.Read(i, TextGameReader::Depth::Positions)) continue;
        const chess::MainLineMoves& moves = reader.Moves();
        std::size_t white_moves = 0;
        std::size_t black_moves = 0;
        const auto full_moves =
            static_cast<std::size_t>(std::min(reader.FullMoves(), MaxLineMoves));
        for (std::size_t move = 0; move < full_moves; ++move) {
            if (moves.WhiteMoves[move].empty()) break;
            white[white_moves++] = ComparableMove(moves.WhiteMoves[move].view());
            if (moves.BlackMoves[move].empty()) break;
            black[black_moves++] = ComparableMove(moves.BlackMoves[move].view());
        }
        if (matcher.Matches(std::span<const chess::MoveText>(white.data(), white_moves),
                            std::span<const chess::MoveText>(black.data(), black_moves))) {
            found.Add(i + 1, NormalResultClass(
                                 ResultFromTag(reader.Values().Get(pgn::HeaderField::Result))));
        }
    }
    return found.Count();
}

}  // namespace

int SearchVariation(const SearchSource& source, const SearchCriteria& criteria,
                    Combination combination, SearchList& list, Ui& ui) {
    Result<SearchLine> built = BuildSearchLine(criteria.line);
    if (!built) {
        ui.report(built.error().message());
        return -1;
    }
    const SearchLine& line = *built;
    list.SetEitherColour(false);
    list.Clear();
    if (line.white_count == 0) return 0;

    std::optional<FastFileReader> codes;
    if (source.use_fast_file) {
        Result<FastFileReader> opened = FastFileReader::Open(FastFileNamesOf(source.pgn_path).trf,
                                                             FastFileReader::Mode::Stream);
        if (opened) codes.emplace(std::move(opened).value());
    }
    std::optional<TextGameReader> text;
    if (!codes) text.emplace(source.pgn_path, source.offsets, source.display_letters);

    SearchList found;
    auto pass = [&](int white_count, int black_count) {
        const VariationMatcher matcher(line, white_count, black_count, criteria.exact);
        if (codes) {
            bool whole = false;
            int count = PassCodes(*codes, matcher, source, found, whole);
            if (whole || source.Cancelled()) return count;
            // A fast file made for another state of the file, or damaged, would give the games'
            // answers to other games: the text answers, from this pass on.
            if (!source.background) ui.report(messages::MakeFastFileAgain);
            codes.reset();
            text.emplace(source.pgn_path, source.offsets, source.display_letters);
        }
        return PassText(*text, matcher, source, found);
    };
    // A pass that finds nothing leaves the last list with games in place.
    auto keeping_pass = [&](int white_count, int black_count) {
        int count = pass(white_count, black_count);
        if (count > 0) {
            list = found;
        }
        return count;
    };
    const int full_length = line.white_count + line.black_count;
    int matched = criteria.force_match
                      ? ForceMatch(line.white_count, line.black_count, keeping_pass)
                      : (keeping_pass(line.white_count, line.black_count) > 0 ? full_length : 0);
    list.SetMatchedLineLength(matched > 0 ? matched : full_length);

    if (HasPosition(combination)) {
        SearchList positions;
        if (SearchPosition(source, criteria, positions, ui) < 0) return -1;
        list.IntersectWith(positions);
    }
    return list.Count();
}

}  // namespace qorvale::search
