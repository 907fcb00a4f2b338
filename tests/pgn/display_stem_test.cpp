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
        {"my_games.pgn", "My_games"},
        {"a1b2c.pgn", "A1b2c"},
        {"world.ch.pgn", "World"},
        {"K.pgn", "K"},
        {"1972match.pgn", "1972match"},
        {"x", "X"},
        {".pgn", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(DisplayStem(row.name), row.stem) << row.name;
}

TEST(DisplayStem, DerivedFilesReplaceTheEndOfThePath) {
    struct Row {
        const char* path;
        const char* replacement;
        const char* derived;
    } rows[] = {
        {"/d/games.pgn", "PGO", "/d/games.PGO"}, {"/d/games.pgn", "s", "/d/games.pgs"},
        {"games.PGN", "TRE", "games.TRE"},       {"/d/ab", "PGO", "/d/ab.PGO"},
        {"/d.d/abc", "PGO", "/d.d/abc.PGO"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DerivedFilePath(row.path, row.replacement), row.derived) << row.path;
    }
}

}  // namespace
}  // namespace qorvale::pgn
