#include "openings/tree_list.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string_view>

#include "openings/messages.h"

namespace qorvale::openings {

namespace {

constexpr std::string_view MoveTypeOrder = "abcdefghNBRQKO";

// A move's place by its first character, or npos when it has none.
std::size_t MoveTypeRank(const NextMove& move) {
    const std::string_view text = move.text.view();
    return text.empty() ? std::string_view::npos : MoveTypeOrder.find(text[0]);
}

double Score(const NextMove& move) {
    return move.games == 0 ? 0.0 : move.points * 0.5 / move.games * 100.0;
}

std::string Format(std::string_view pattern, auto... values) {
    char row[128];
    int length = std::snprintf(row, sizeof row, pattern.data(), values...);
    if (length < 0) return {};
    return std::string(row, std::min(static_cast<std::size_t>(length), sizeof row - 1));
}

}  // namespace

std::vector<int> SortTreeList(std::span<const NextMove> moves, const TreeListStyle& style, Ui& ui) {
    std::vector<int> order(moves.size());
    std::iota(order.begin(), order.end(), 0);
    const TreeSort sort = style.maneuvers ? TreeSort::Frequency : style.sort;
    auto by = [&](auto less) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return less(moves[a], moves[b]); });
    };
    switch (sort) {
        case TreeSort::Appearance:
            break;
        case TreeSort::Frequency:
            by([](const NextMove& a, const NextMove& b) { return a.games > b.games; });
            break;
        case TreeSort::Score:
            by([](const NextMove& a, const NextMove& b) { return Score(a) > Score(b); });
            break;
        case TreeSort::MoveType:
            for (const NextMove& move : moves) {
                if (MoveTypeRank(move) == std::string_view::npos) {
                    ui.report(messages::SortError);
                    return order;
                }
            }
            by([](const NextMove& a, const NextMove& b) {
                const std::size_t x = MoveTypeRank(a);
                const std::size_t y = MoveTypeRank(b);
                return x != y ? x < y : a.text.view() < b.text.view();
            });
            break;
    }
    return order;
}

bool RowsShowStatistics(const TreeListStyle& style) {
    return style.maneuvers || style.sort == TreeSort::Score ||
           (style.sort == TreeSort::Frequency && (style.show_percentage || style.show_score));
}

double RowValue(const NextMove& move, std::uint64_t total_games, const TreeListStyle& style) {
    const bool frequency =
        style.sort != TreeSort::Score && (style.show_percentage || style.eco_tree);
    if (frequency) {
        return total_games == 0
                   ? 0.0
                   : static_cast<double>(move.games) / static_cast<double>(total_games) * 100.0;
    }
    return Score(move);
}

std::string TreeRowText(const NextMove& move, std::uint64_t total_games,
                        const TreeListStyle& style) {
    const bool white = style.depth % 2 == 1;
    const int number = white ? (style.depth + 1) / 2 : style.depth / 2;
    const char* text = move.text.bytes.data();
    if (!RowsShowStatistics(style)) {
        return Format(white ? messages::TreeRowWhite : messages::TreeRowBlack, number, text);
    }
    const double value = RowValue(move, total_games, style);
    // "100.0%" is one character wider than any other value.
    const int width = value == 100.0 ? 7 : 8;
    const int games = static_cast<int>(move.games);
    if (style.maneuvers) return Format(messages::ManeuverRow, text, value, width, games);
    return Format(white ? messages::TreeStatsRowWhite : messages::TreeStatsRowBlack, number, text,
                  value, width, games);
}

TreeList ShowTreeList(std::span<const NextMove> moves, const TreeListStyle& style, Ui& ui) {
    TreeList list;
    list.order = SortTreeList(moves, style, ui);
    std::uint64_t total = 0;
    for (const NextMove& move : moves) total += move.games;
    list.rows.reserve(moves.size());
    for (int index : list.order) {
        list.rows.push_back(TreeRowText(moves[static_cast<std::size_t>(index)], total, style));
    }
    return list;
}

}  // namespace qorvale::openings
