#include "openings/opening_classification.h"

#include <algorithm>
#include <span>

#include "openings/messages.h"
#include "pgn/messages.h"

namespace qorvale::openings {

namespace {

// Texts are zero-padded to their 8 bytes, so a compare is one array compare.
bool Same(const chess::MoveText& a, const chess::MoveText& b) { return a.bytes == b.bytes; }

chess::MoveText Copy(const chess::MoveText& text, bool drop_check_mark) {
    std::string_view view = text.view();
    if (drop_check_mark && !view.empty() && view.back() == '+') view.remove_suffix(1);
    return chess::MoveText(view);
}

// One colour of the transposing comparison. `game_moves`/`game_count` are the game's plain moves
// of that colour; only its first entry.size() moves are searched.
template <typename GameMove>
bool ColourTransposes(std::span<const chess::MoveText> entry, int game_count, GameMove game_move) {
    const int n = static_cast<int>(entry.size());
    const int searched = std::min(n, game_count);
    for (int k = 0; k < n; ++k) {
        const chess::MoveText& move = entry[static_cast<std::size_t>(k)];
        bool found = false;
        for (int j = 0; j < searched && !found; ++j) found = Same(game_move(j), move);
        if (!found) return false;
        // A repeated move (the same piece going back and forth, a knight's second trip) counts
        // only when the game repeats it as often, counted from two moves after it.
        int repeats = 0;
        for (int m = k + 2; m < n; ++m) repeats += Same(entry[static_cast<std::size_t>(m)], move);
        if (repeats > 0) {
            int game_repeats = 0;
            for (int j = k + 2; j < searched; ++j) game_repeats += Same(game_move(j), move);
            if (game_repeats != repeats) return false;
        }
    }
    return true;
}

std::span<const chess::MoveText> Limited(std::span<const chess::MoveText> moves, int limit) {
    if (limit < 0) return moves;
    return moves.first(std::min(moves.size(), static_cast<std::size_t>(limit)));
}

}  // namespace

std::string_view FindOpeningCaption(FindOpeningMode mode) {
    switch (mode) {
        case FindOpeningMode::ClosestMatch:
            return messages::FindOpeningClosestMatch;
        case FindOpeningMode::ExactNumberOfMoves:
            return messages::FindOpeningExactNumberOfMoves;
        case FindOpeningMode::ExactVariation:
            return messages::FindOpeningExactVariation;
    }
    return {};
}

void OpeningGame::Set(const chess::MainLineMoves& moves, int half_moves) {
    half_moves_ = std::clamp(half_moves, 0, chess::MaxHalfMoves);
    white_count_ = (half_moves_ + 1) / 2;
    black_count_ = half_moves_ / 2;
    for (int i = 0; i < chess::MaxFullMoves; ++i) {
        const auto index = static_cast<std::size_t>(i);
        white_[index] = i < white_count_ ? Copy(moves.WhiteMoves[index], false) : chess::MoveText();
        black_[index] = i < black_count_ ? Copy(moves.BlackMoves[index], false) : chess::MoveText();
        if (i < PlainMoves) {
            plain_white_[index] = Copy(white_[index], true);
            plain_black_[index] = Copy(black_[index], true);
        }
    }
}

bool EntryMatchesGame(const EcoTable& table, std::int32_t entry, const OpeningGame& game,
                      MatchMode mode, int ply_limit) {
    const int white_limit = ply_limit < 0 ? -1 : (ply_limit + 1) / 2;
    const int black_limit = ply_limit < 0 ? -1 : ply_limit / 2;
    if (mode == MatchMode::Exact) {
        auto white = Limited(table.WhiteMoves(entry), white_limit);
        auto black = Limited(table.BlackMoves(entry), black_limit);
        if (static_cast<int>(white.size()) > game.WhiteCount() ||
            static_cast<int>(black.size()) > game.BlackCount()) {
            return false;
        }
        for (std::size_t k = 0; k < white.size(); ++k) {
            if (!Same(white[k], game.White(static_cast<int>(k)))) return false;
        }
        for (std::size_t k = 0; k < black.size(); ++k) {
            if (!Same(black[k], game.Black(static_cast<int>(k)))) return false;
        }
        return true;
    }
    const int white_count = std::min(game.WhiteCount(), OpeningGame::PlainMoves);
    const int black_count = std::min(game.BlackCount(), OpeningGame::PlainMoves);
    return ColourTransposes(
               Limited(table.PlainWhiteMoves(entry), white_limit), white_count,
               [&game](int j) -> const chess::MoveText& { return game.PlainWhite(j); }) &&
           ColourTransposes(
               Limited(table.PlainBlackMoves(entry), black_limit), black_count,
               [&game](int j) -> const chess::MoveText& { return game.PlainBlack(j); });
}

Classification ClassifyPosition(const EcoTable& table, const OpeningGame& game, int half_moves) {
    Classification result;
    if (half_moves <= 0) return result;
    std::int32_t within = -1;  // candidate A: no longer than the position
    std::int32_t beyond = -1;  // candidate B: its first half_moves moves match
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        const int plies = table.PlyCount(entry);
        // For an entry no longer than the position the limit changes nothing, so one compare
        // serves both candidates.
        if (beyond >= 0 && plies <= table.PlyCount(beyond) &&
            (plies > half_moves || (within >= 0 && plies <= table.PlyCount(within)))) {
            continue;
        }
        if (!EntryMatchesGame(table, entry, game, MatchMode::Transposing, half_moves)) continue;
        if (beyond < 0 || plies > table.PlyCount(beyond)) beyond = entry;
        if (plies <= half_moves && (within < 0 || plies > table.PlyCount(within))) within = entry;
    }
    if (beyond >= 0) result.longest = table.PlyCount(beyond);
    const bool take_beyond =
        beyond >= 0 && (within < 0 || (table.PlyCount(beyond) > table.PlyCount(within) &&
                                       half_moves > table.PlyCount(within)));
    result.entry = take_beyond ? beyond : within;
    return result;
}

std::int32_t FindOpening(const EcoTable& table, const OpeningGame& game, FindOpeningMode mode,
                         int half_moves) {
    if (mode == FindOpeningMode::ClosestMatch) {
        return ClassifyPosition(table, game, half_moves).entry;
    }
    if (half_moves <= 0) return -1;
    const MatchMode match =
        mode == FindOpeningMode::ExactVariation ? MatchMode::Exact : MatchMode::Transposing;
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        if (table.PlyCount(entry) == half_moves && EntryMatchesGame(table, entry, game, match)) {
            return entry;
        }
    }
    return -1;
}

std::int32_t FindOpeningCommand(const EcoTable& table, const OpeningGame& game,
                                FindOpeningMode mode, int half_moves, bool mode_allowed, Ui& ui) {
    if (!mode_allowed) {
        ui.report(messages::MustBeInVariationEdit);
        return -1;
    }
    if (half_moves <= 0) {
        ui.report(messages::NoMovesToCheck);
        return -1;
    }
    std::int32_t entry = FindOpening(table, game, mode, half_moves);
    if (entry < 0) ui.report(messages::NoOpeningMatch);
    return entry;
}

int ShowOpeningHalfMoves(int move_number, bool black_has_moved) {
    return 2 * move_number - (black_has_moved ? 0 : 1);
}

std::string CodeAndName(const EcoTable& table, std::int32_t entry) {
    return pgn::FillMessage(pgn::FillMessage(messages::CodeAndText, table.Code(entry)),
                            table.Name(entry));
}

std::int32_t ShowOpening(const EcoTable& table, const OpeningGame& game, int half_moves, Ui& ui) {
    if (half_moves <= 0) {
        ui.report(messages::NoMovesToCheck);
        return -1;
    }
    std::int32_t entry = ClassifyPosition(table, game, half_moves).entry;
    ui.report(entry < 0 ? std::string(messages::NoOpeningMatch) : CodeAndName(table, entry));
    return entry;
}

std::string OpeningDisplayText(const EcoTable& table, const OpeningGame& game,
                               std::string_view eco_tag, int half_moves) {
    if (half_moves == 0 && !eco_tag.empty() && eco_tag[0] != '?') {
        std::string text(eco_tag);
        std::string_view code = eco_tag.substr(0, 3);
        std::int32_t first = 0;
        while (first < table.count() && table.Code(first) != code) ++first;
        if (first == table.count()) return text;
        std::int32_t named = first;
        int named_plies = -1;
        for (std::int32_t entry = first; entry < table.count() && table.Code(entry) == code;
             ++entry) {
            const int plies = table.PlyCount(entry);
            if (plies > game.HalfMoves() || plies < named_plies) continue;
            if (EntryMatchesGame(table, entry, game, MatchMode::Transposing)) {
                named = entry;
                named_plies = plies;
            }
        }
        text += ' ';
        text += table.Name(named);
        return text;
    }
    Classification found = ClassifyPosition(table, game, half_moves);
    if (found.entry < 0) return {};
    std::string text = CodeAndName(table, found.entry);
    if (half_moves > found.longest) text += messages::LeftTheTable;
    return text;
}

std::string FitOpeningText(std::string_view text, int width,
                           const std::function<int(std::string_view)>& measure) {
    if (measure(text) <= width) return std::string(text);
    std::size_t length = text.size();
    while (length > 0 && measure(text.substr(0, length)) > width) --length;
    std::string_view fitted = text.substr(0, length);
    std::size_t space = fitted.rfind(' ');
    if (space != std::string_view::npos) fitted = fitted.substr(0, space);
    std::string result(fitted);
    result += "...";
    return result;
}

}  // namespace qorvale::openings
