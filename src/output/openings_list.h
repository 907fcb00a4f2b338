#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/ui.h"
#include "openings/eco_table.h"

namespace qorvale::output {

// The games of one opening family and how they ended.
struct OpeningRow {
    std::string name;
    std::int32_t white_wins = 0;      // "1-0"
    std::int32_t black_wins = 0;      // "0-1"
    std::int32_t draws = 0;           // every other result
    std::vector<std::int32_t> games;  // 1-based, in file order: choosing the row lists them
    std::int32_t Total() const { return white_wins + black_wins + draws; }
};

inline constexpr std::string_view OtherOpenings = "Other openings";

struct OpeningsListRequest {
    std::string pgn_path;
    std::span<const std::uint32_t> offsets;
    std::int32_t game_count = 0;
    std::span<const std::int32_t> games;  // the navigation list's 1-based numbers; empty: all
};

// The opening families the list sorts games into: one line of the ECO table per family name (its
// shortest), longest lines first so that a game takes the most particular family it plays.
struct OpeningFamily {
    std::string name;
    std::vector<std::string> moves;  // half-moves without check marks
};
std::vector<OpeningFamily> OpeningFamilies(const openings::EcoTable& table);

// BuildOpeningsList: one row per family that has games, and "Other openings" last for the games
// no family matches.
std::vector<OpeningRow> BuildOpeningsList(const OpeningsListRequest& request,
                                          const openings::EcoTable& table, Ui& ui);

// By total (highest first, ties by name) or by name; "Other openings" stays last.
void SortOpenings(std::vector<OpeningRow>& rows, bool by_name);

// One line of the "Openings" window.
std::string FormatOpeningLine(const OpeningRow& row);

}  // namespace qorvale::output
