#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorvale::openings {

// The three table files' contents made from opening lists, and what was left out.
struct EcoTableTexts {
    std::string codes;
    std::string names;
    std::string moves;
    int entries = 0;
    std::vector<std::string> notes;  // one line per dropped row: where and why
};

// Adds the rows of one tab-separated opening list (a header line "eco<TAB>name<TAB>pgn", then
// one row per line: code, name, moves as "1. e4 e5 2. Nf3") to `texts`, in file order. Every
// row's moves are played through the chess rules from the start position; a row is dropped
// with a note when a move is illegal or not the move its text names, when the line is longer
// than 30 full moves, when the code is not a letter A-E and two digits, or when the row is
// malformed. `source` names the list in the notes.
void AddOpeningList(std::string_view list_text, std::string_view source, EcoTableTexts& texts);

// Plays `moves` (the table's fused form) from the start position. "" when every move is legal and
// its text names it; otherwise why not.
std::string ReplayTableLine(std::string_view moves);

}  // namespace qorvale::openings
