#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "openings/eco_table.h"
#include "openings/opening_classification.h"
#include "support/temp_dir.h"

namespace qorvale::openings::test {

struct TableRow {
    std::string code;
    std::string name;
    std::string moves;
};

struct TableTexts {
    std::string codes;
    std::string names;
    std::string moves;
};

// The three files' contents for `rows`, CR LF line ends.
inline TableTexts TextsOf(const std::vector<TableRow>& rows) {
    TableTexts texts;
    for (const TableRow& row : rows) {
        texts.codes += row.code + "\r\n";
        texts.names += row.name + "\r\n";
        texts.moves += row.moves + "\r\n";
    }
    return texts;
}

// Writes the three files into `dir`.
inline void WriteTable(const qorvale::test::TempDir& dir, const TableTexts& texts) {
    dir.Write("qorvale.eco", texts.codes);
    dir.Write("qorvale.ecn", texts.names);
    dir.Write("qorvale.ecm", texts.moves);
}

inline EcoTable TableOf(const std::vector<TableRow>& rows) {
    TableTexts texts = TextsOf(rows);
    EcoTable table;
    EXPECT_TRUE(table.LoadFromText(texts.codes, texts.names, texts.moves).ok());
    return table;
}

// A main line from "1.e4 e5 2.Nf3", as the game loader leaves it.
inline OpeningGame GameOf(const std::string& line) {
    chess::MainLineMoves moves;
    int half_moves = 0;
    for (std::size_t at = 0; at < line.size();) {
        std::size_t end = std::min(line.find(' ', at), line.size());
        std::string token = line.substr(at, end - at);
        at = end + 1;
        token.erase(0, token.rfind('.') + 1);  // npos + 1 == 0: nothing to erase
        auto index = static_cast<std::size_t>(half_moves / 2);
        (half_moves++ % 2 == 0 ? moves.WhiteMoves : moves.BlackMoves)[index] =
            chess::MoveText(token);
    }
    return OpeningGame(moves, half_moves);
}

}  // namespace qorvale::openings::test
