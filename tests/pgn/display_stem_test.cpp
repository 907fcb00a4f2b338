#include "pgn/display_stem.h"

#include <gtest/gtest.h>

namespace qorvale::pgn {
namespace {

TEST(DisplayStem, CapitalisesLowerCaseAndShoutedNames) {
    struct Row {
        const char* name;
        const char* stem;
    } rows[] = {
        {"games.pgn", "Games"},
        {"my-games.pgn", "My-Games"},
        {"TWIC1200.PGN", "Twic1200"},
        {"MyGames.pgn", "MyGames"},
        {"my games.pgn", "My Games"},
        {"my_games.pgn", "My_games"},  // "_" is above "0", so it joins the word
        {"a1b2c.pgn", "A1b2c"},
        {"world.ch.1972.pgn", "World"},  // only up to the first "."
        {"Kasparov.pgn", "Kasparov"},    // one capital then lower: as written
        {"K.pgn", "K"},
        {"1972match.pgn", "1972match"},  // not a letter first: as written
        {"x", "X"},
        {"", ""},
        {".pgn", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DisplayStem(row.name), row.stem);
    }
}

TEST(DisplayStem, DerivedFilesReplaceTheEndOfThePath) {
    struct Row {
        const char* path;
        const char* replacement;
        const char* derived;
    } rows[] = {
        {"/data/games.pgn", "PGO", "/data/games.PGO"}, {"/data/games.pgn", "s", "/data/games.pgs"},
        {"/data/Games.PGN", "TRE", "/data/Games.TRE"}, {"games.pgn", "x", "games.pgx"},
        {"/data/ab", "PGO", "/data/ab.PGO"},           {"/data.d/abc", "PGO", "/data.d/abc.PGO"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(DerivedFilePath(row.path, row.replacement), row.derived);
    }
}

}  // namespace
}  // namespace qorvale::pgn
