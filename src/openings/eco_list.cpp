#include "openings/eco_list.h"

#include <string_view>

#include "openings/opening_classification.h"

namespace qorvale::openings {

namespace {

constexpr std::string_view ContinuationIndent = "       ";

// Where the token of move number `number` ("10.Bb5") starts in `moves`, or npos.
std::size_t MoveNumberAt(std::string_view moves, int number) {
    const std::string mark = " " + std::to_string(number) + ".";
    std::size_t at = moves.find(mark);
    return at == std::string_view::npos ? at : at + 1;
}

}  // namespace

std::vector<std::int32_t> EcoListEntries(const EcoTable& table, EcoListOrder order) {
    switch (order) {
        case EcoListOrder::Name:
            return table.NameOrder();
        case EcoListOrder::Moves:
            return table.MovesOrder();
        case EcoListOrder::Code:
            return table.CodeOrder();
        case EcoListOrder::Table:
            break;
    }
    std::vector<std::int32_t> entries(static_cast<std::size_t>(table.count()));
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        entries[static_cast<std::size_t>(entry)] = entry;
    }
    return entries;
}

std::vector<std::string> EcoListRows(EcoTable& table, EcoListOrder order, bool long_form) {
    std::vector<std::string> rows;
    std::vector<std::int32_t>& row_map = table.ListRowMap();
    auto add = [&rows, &row_map](std::string text, std::int32_t entry) {
        if (rows.size() < row_map.size()) row_map[rows.size()] = entry;
        rows.push_back(std::move(text));
    };
    for (std::int32_t entry : EcoListEntries(table, order)) {
        std::string code(table.Code(entry));
        if (!long_form) {
            add(CodeAndName(table, entry), entry);
            continue;
        }
        std::string_view moves = table.Moves(entry);
        const int plies = table.PlyCount(entry);
        // Each further row starts at the move number that follows 18, 32 and 46 half-moves.
        constexpr struct {
            int over;
            int move_number;
        } Breaks[] = {{18, 10}, {32, 18}, {46, 26}};
        std::string prefix = code + " ";
        for (const auto& split : Breaks) {
            if (plies <= split.over) break;
            std::size_t at = MoveNumberAt(moves, split.move_number);
            if (at == std::string_view::npos) break;
            std::string_view head = moves.substr(0, at);
            if (!head.empty() && head.back() == ' ') head.remove_suffix(1);
            add(prefix + std::string(head), entry);
            moves.remove_prefix(at);
            prefix = ContinuationIndent;
        }
        add(prefix + std::string(moves), entry);
    }
    return rows;
}

int EcoListRowOf(const EcoTable& table, std::int32_t entry, int row_count) {
    const std::vector<std::int32_t>& row_map = table.ListRowMap();
    for (int row = 0; row < row_count && row < static_cast<int>(row_map.size()); ++row) {
        if (row_map[static_cast<std::size_t>(row)] == entry) return row;
    }
    return -1;
}

}  // namespace qorvale::openings
