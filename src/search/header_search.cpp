#include "search/header_search.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "base/message.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "search/fast_file_reader.h"
#include "search/header_file.h"
#include "search/messages.h"
#include "search/position_search.h"
#include "search/text_game_reader.h"
#include "search/variation_search.h"

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

int CompareNoCase(std::string_view a, std::string_view b) {
    std::size_t length = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i) {
        char x = Lower(a[i]);
        char y = Lower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool ComparisonHolds(int order, Comparison comparison) {
    switch (comparison) {
        case Comparison::Equal:
            return order == 0;
        case Comparison::GreaterOrEqual:
        case Comparison::Range:
            return order >= 0;
        case Comparison::Greater:
            return order > 0;
        case Comparison::LessOrEqual:
            return order <= 0;
        case Comparison::Less:
            return order < 0;
    }
    return false;
}

// A rating criterion: "*" first lets unrated games pass and compares rated ones with the rest.
bool EloPasses(std::string_view criterion, std::string_view rating) {
    bool unrated_pass = !criterion.empty() && criterion[0] == '*';
    std::string_view rest = unrated_pass ? criterion.substr(1) : criterion;
    if (!IsNumber(rating)) return unrated_pass;
    if (rest.find_first_not_of(' ') == std::string_view::npos) return true;
    return CompareValue(ReadNumber(rating), ParseComparison(rest));
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

// An ECO criterion: a prefix of the code ("B2"), or a range of codes ("B20-B99"), each end
// compared with the game's code cut to its own length, without regard to case.
bool EcoPasses(std::string_view criterion, std::string_view eco) {
    const std::size_t dash = criterion.find('-');
    if (dash == std::string_view::npos) return StartsWithNoCase(eco, criterion);
    std::string_view low = Trimmed(criterion.substr(0, dash));
    std::string_view high = Trimmed(criterion.substr(dash + 1));
    while (!low.empty() && low.back() == ' ') low.remove_suffix(1);
    while (!high.empty() && high.back() == ' ') high.remove_suffix(1);
    if (eco.empty()) return false;
    return CompareNoCase(eco.substr(0, std::min(eco.size(), low.size())), low) >= 0 &&
           CompareNoCase(eco.substr(0, std::min(eco.size(), high.size())), high) <= 0;
}

}  // namespace

HeaderMatcher::HeaderMatcher(const HeaderCriteria& criteria) : criteria_(criteria) {
    const std::string& white = criteria.Get(HeaderCriterion::White);
    const std::string& black = criteria.Get(HeaderCriterion::Black);
    either_one_ = black == "*" && !white.empty();
    either_pair_ = black.size() > 1 && black[0] == '*';
    if (either_pair_) pair_black_ = Trimmed(std::string_view(black).substr(1));
    date_ = ParseComparison(criteria.Get(HeaderCriterion::Date));
    moves_count_ = ParseComparison(criteria.Get(HeaderCriterion::NumberOfMoves));
    specific_ = ParseSpecificMove(criteria.Get(HeaderCriterion::SpecificMove));
    needs_move_count_ = !criteria.Get(HeaderCriterion::NumberOfMoves).empty();
    needs_moves_ = !criteria.Get(HeaderCriterion::SpecificMove).empty();
}

namespace {

bool PlayerMatchesLong(std::string_view criterion, std::string_view name);

}  // namespace

bool HeaderMatcher::PlayerMatches(std::string_view criterion, std::string_view name) {
    if (criterion.empty()) return true;
    if (criterion.back() == '#') return name == criterion.substr(0, criterion.size() - 1);
    // No rule looks further into the game's name than one character past the criterion's.
    if (criterion.size() > CriteriaFieldSize) return PlayerMatchesLong(criterion, name);
    char buffer[CriteriaFieldSize + 2];
    const std::string_view game(buffer, NormalizeNameInto(name, buffer, criterion.size() + 1));
    if (criterion.back() == '?') {
        const std::string wanted = NormalizeName(criterion.substr(0, criterion.size() - 1));
        if (wanted.empty() || game.size() < wanted.size()) return false;
        const std::size_t last = wanted.size() - 1;
        return game.compare(0, last, wanted, 0, last) == 0 && game[last] != wanted[last];
    }
    const std::string wanted = NormalizeName(criterion);
    if (game.starts_with(wanted)) return true;
    return !wanted.empty() && wanted.back() == ',' &&
           game == std::string_view(wanted).substr(0, wanted.size() - 1);
}

namespace {

// A criterion longer than any dialog field: the whole name is normalised.
bool PlayerMatchesLong(std::string_view criterion, std::string_view name) {
    const std::string game = NormalizeName(name);
    const std::string wanted = NormalizeName(criterion);
    return game.starts_with(wanted);
}

}  // namespace

bool HeaderMatcher::DatePasses(std::string_view date) const {
    if (date.empty()) return true;
    if (date[0] == '?') return false;
    const std::string& first = date_.first;
    int order = CompareNoCase(date.substr(0, std::min(date.size(), first.size())), first);
    if (!ComparisonHolds(order, date_.comparison)) return false;
    if (date_.comparison == Comparison::Range) {
        const std::string& second = date_.second;
        return CompareNoCase(date.substr(0, std::min(date.size(), second.size())), second) <= 0;
    }
    return true;
}

bool HeaderMatcher::MovePasses(const GameHeader& game) const {
    if (game.moves == nullptr) return false;
    const chess::MainLineMoves& moves = *game.moves;
    const int full_moves = std::min(game.full_moves, chess::MaxFullMoves);
    if (full_moves < specific_.move_number) return false;
    const auto index = static_cast<std::size_t>(specific_.move_number - 1);
    switch (specific_.side) {
        case SpecificMove::Side::White:
            return specific_.move_number > 0 &&
                   WildcardMatch(specific_.pattern, moves.WhiteMoves[index].view());
        case SpecificMove::Side::Black:
            return specific_.move_number > 0 &&
                   WildcardMatch(specific_.pattern, moves.BlackMoves[index].view());
        case SpecificMove::Side::Either:
            for (std::size_t move = 0; move < static_cast<std::size_t>(full_moves); ++move) {
                if (WildcardMatch(specific_.pattern, moves.WhiteMoves[move].view()) ||
                    WildcardMatch(specific_.pattern, moves.BlackMoves[move].view())) {
                    return true;
                }
            }
            return false;
    }
    return false;
}

int HeaderMatcher::Match(const GameHeader& game) const {
    auto field = [this](HeaderCriterion which) -> const std::string& {
        return criteria_.Get(which);
    };
    const std::string& event = field(HeaderCriterion::Event);
    if (!event.empty()) {
        if (event.back() == '#') {
            if (game.event != std::string_view(event).substr(0, event.size() - 1)) return -1;
        } else if (!StartsWithNoCase(game.event, event)) {
            return -1;
        }
    }
    if (!StartsWithNoCase(game.site, field(HeaderCriterion::Site))) return -1;
    if (!field(HeaderCriterion::Date).empty() && !DatePasses(game.date)) return -1;
    if (!StartsWithNoCase(game.round, field(HeaderCriterion::Round))) return -1;

    // Players, and the colour the White criterion's player had.
    const std::string& white = field(HeaderCriterion::White);
    const std::string& black = field(HeaderCriterion::Black);
    bool player_white = true;
    if (either_one_) {
        if (PlayerMatches(white, game.white)) {
            player_white = true;
        } else if (PlayerMatches(white, game.black)) {
            player_white = false;
        } else {
            return -1;
        }
    } else if (either_pair_) {
        if (PlayerMatches(white, game.white) && PlayerMatches(pair_black_, game.black)) {
            player_white = true;
        } else if (PlayerMatches(white, game.black) && PlayerMatches(pair_black_, game.white)) {
            player_white = false;
        } else {
            return -1;
        }
    } else if (!PlayerMatches(white, game.white) || !PlayerMatches(black, game.black)) {
        return -1;
    }

    const std::string& result = field(HeaderCriterion::Result);
    if (!result.empty()) {
        if ((either_one_ || either_pair_) && result[0] == '*') {
            const bool won = std::string_view(result).substr(1).starts_with("1-0");
            const std::string_view needed = won == player_white ? "1-0" : "0-1";
            if (!game.result.starts_with(needed)) return -1;
        } else if (!StartsWithNoCase(game.result, result)) {
            return -1;
        }
    }

    const std::string& eco = field(HeaderCriterion::Eco);
    if (eco == "?") {
        if (!game.eco.empty() && game.eco[0] != '?' && game.eco[0] != ' ') return -1;
    } else if (eco != "*" && !EcoPasses(eco, game.eco)) {
        return -1;
    }

    if (needs_move_count_ &&
        !CompareValue(std::min(game.full_moves, chess::MaxFullMoves), moves_count_)) {
        return -1;
    }

    const std::string& white_elo = field(HeaderCriterion::WhiteElo);
    const std::string& black_elo = field(HeaderCriterion::BlackElo);
    if (!white_elo.empty() && !EloPasses(white_elo, game.white_elo)) return -1;
    if (black_elo == "*") {
        if (!white_elo.empty() && !EloPasses(white_elo, game.black_elo)) return -1;
    } else if (!black_elo.empty() && !EloPasses(black_elo, game.black_elo)) {
        return -1;
    }

    if (needs_moves_ && !MovePasses(game)) return -1;

    const int outcome = ResultFromTag(game.result);
    if (!either_one_) return NormalResultClass(outcome);
    const bool player_won = outcome == (player_white ? WhiteWon : BlackWon);
    const bool player_lost = outcome == (player_white ? BlackWon : WhiteWon);
    if (player_won) return player_white ? 1 : 2;
    if (player_lost) return 0;
    return player_white ? 3 : 4;
}

bool ViewHeaderRecord(const std::vector<std::uint8_t>& bytes, std::size_t& cursor,
                      std::array<std::string_view, HeaderFieldCount>& values) {
    for (std::string_view& value : values) {
        if (cursor >= bytes.size()) return false;
        const std::size_t length = bytes[cursor];
        if (cursor + 1 + length > bytes.size()) return false;
        value = std::string_view(reinterpret_cast<const char*>(bytes.data()) + cursor + 1, length);
        cursor += 1 + length;
    }
    return true;
}

GameHeader HeaderOfRecord(const std::array<std::string_view, HeaderFieldCount>& values) {
    auto value = [&values](HeaderField field) { return values[static_cast<std::size_t>(field)]; };
    GameHeader game;
    game.white = value(HeaderField::White);
    game.black = value(HeaderField::Black);
    game.result = value(HeaderField::Result);
    game.date = value(HeaderField::Date);
    game.eco = value(HeaderField::Eco);
    game.white_elo = value(HeaderField::WhiteElo);
    game.black_elo = value(HeaderField::BlackElo);
    game.round = value(HeaderField::Round);
    game.event = value(HeaderField::Event);
    game.site = value(HeaderField::Site);
    return game;
}

namespace {

// The header pass over the fast header file; false when that file cannot be used, so that the
// caller reads the PGN text instead. It is used only when it holds exactly one record for every
// game of the file, and the move file (for a move count) one record for every game and then its
// end mark; otherwise "Warning: You need to run 'Make Fast File' again." (a fast file made for
// another state of the file, or damaged, would give the games' answers to other games).
bool HeaderPassFast(const SearchSource& source, const HeaderMatcher& matcher, SearchList& list,
                    Ui& ui) {
    const FastFileNames names = FastFileNamesOf(source.pgn_path);
    if (!platform::FileExists(names.trh)) return false;
    auto stale = [&]() {
        if (!source.background) ui.report(messages::MakeFastFileAgain);
        list.Clear();
        return false;
    };
    Result<HeaderFile> header = HeaderFile::Load(names.trh);
    if (!header || !header->Consistent(static_cast<std::uint32_t>(source.game_count))) {
        return stale();
    }
    const std::int32_t count = std::min(source.game_count, MaxFastFileGames);

    std::optional<FastFileReader> moves;
    if (matcher.NeedsMoveCount()) {
        Result<FastFileReader> opened =
            FastFileReader::Open(names.trf, FastFileReader::Mode::Stream);
        if (!opened) return stale();
        moves.emplace(std::move(opened).value());
    }

    const std::vector<std::uint8_t>& bytes = header->Bytes();
    std::size_t cursor = 4;
    std::array<std::string_view, HeaderFieldCount> values;
    GameRecord record;
    for (std::int32_t i = 0; i < count && !source.Cancelled(); ++i) {
        if (!ViewHeaderRecord(bytes, cursor, values)) return stale();
        GameHeader game = HeaderOfRecord(values);
        if (moves) {
            if (moves->Next(record) != FastFileReader::Step::Record) return stale();
            game.full_moves = static_cast<int>((record.codes.size() + 1) / 2);
        }
        int result_class = matcher.Match(game);
        if (result_class >= 0) list.Add(i + 1, result_class);
    }
    if (moves && !source.Cancelled() && !moves->EndMarkEndsTheFile()) return stale();
    return true;
}

void HeaderPassText(const SearchSource& source, const HeaderMatcher& matcher, SearchList& list) {
    TextGameReader reader(source.pgn_path, source.offsets, source.display_letters);
    if (!reader.IsOpen()) return;
    const TextGameReader::Depth depth = matcher.NeedsMoveCount() || matcher.NeedsMoves()
                                            ? TextGameReader::Depth::Moves
                                            : TextGameReader::Depth::Header;
    const std::int32_t count = std::min(source.game_count, MaxFastFileGames);
    for (std::int32_t i = 0; i < count && !source.Cancelled(); ++i) {
        if (!reader.Read(i, depth)) continue;
        const pgn::HeaderValues& values = reader.Values();
        using pgn::HeaderField;
        GameHeader game;
        game.event = values.Get(HeaderField::Event);
        game.site = values.Get(HeaderField::Site);
        game.date = values.Get(HeaderField::Date);
        game.round = values.Get(HeaderField::Round);
        game.white = values.Get(HeaderField::White);
        game.black = values.Get(HeaderField::Black);
        game.result = values.Get(HeaderField::Result);
        game.eco = values.Get(HeaderField::ECO);
        game.white_elo = values.Get(HeaderField::WhiteElo);
        game.black_elo = values.Get(HeaderField::BlackElo);
        game.full_moves = reader.FullMoves();
        game.moves = &reader.Moves();
        int result_class = matcher.Match(game);
        if (result_class >= 0) list.Add(i + 1, result_class);
    }
}

}  // namespace

int SearchHeader(const SearchSource& source, const SearchCriteria& criteria,
                 Combination combination, SearchList& list, Ui& ui) {
    const HeaderMatcher matcher(criteria.header);
    if (criteria.header.Get(HeaderCriterion::Eco) == "*") {
        if (matcher.NeedsMoves()) {
            ui.report(messages::EcoDiffSpecificMove);
            return -1;
        }
        if (combination != Combination::Alone) {
            ui.report(messages::EcoDiffCombination);
            return -1;
        }
    }
    list.SetEitherColour(matcher.EitherColourOnePlayer());
    list.Clear();
    bool done = false;
    if (source.use_fast_file && !matcher.NeedsMoves()) {
        done = HeaderPassFast(source, matcher, list, ui);
        if (!done) list.Clear();
    }
    if (!done) HeaderPassText(source, matcher, list);

    if (combination == Combination::WithPosition) {
        SearchList found;
        if (SearchPosition(source, criteria, found, ui) < 0) return -1;
        list.IntersectWith(found);
    } else if (HasVariation(combination)) {
        SearchList found;
        if (SearchVariation(source, criteria, combination, found, ui) < 0) return -1;
        list.IntersectWith(found);
        list.SetMatchedLineLength(found.MatchedLineLength());
    }
    return list.Count();
}

int SelectAllGames(const SearchSource& source, SearchList& list, Ui& ui) {
    list.SetEitherColour(false);
    list.Clear();
    for (std::int32_t game = 1; game <= source.game_count; ++game) list.Add(game, 0);
    ui.report(FillMessage(messages::AllGamesSelected, source.game_count));
    return list.Count();
}

}  // namespace qorvale::search
