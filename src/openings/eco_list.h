#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "openings/eco_table.h"

namespace qorvale::openings {

// The four orders of the ECO list window ("Selecobox").
enum class EcoListOrder { Table, Name, Moves, Code };

// The entries of `table` in `order`.
std::vector<std::int32_t> EcoListEntries(const EcoTable& table, EcoListOrder order);

// The rows of the ECO list: "%s %s" per entry, code and name in the short form, code and moves in
// the long form. In the long form an entry of more than 18 half-moves goes on over further rows
// that begin with seven spaces and the move number: move 10, then 18 (beyond 32 half-moves), then
// 26 (beyond 46). Fills the table's ListRowMap with the entry of every row.
std::vector<std::string> EcoListRows(EcoTable& table, EcoListOrder order, bool long_form);

// The first row of `entry` in rows made by EcoListRows (through ListRowMap), or -1.
int EcoListRowOf(const EcoTable& table, std::int32_t entry, int row_count);

}  // namespace qorvale::openings
