#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chess/move_text.h"
#include "pgn/game_lines.h"
#include "pgn/game_scanner.h"
#include "pgn/header_tags.h"
#include "pgn/record_source.h"

namespace qorvale::test {

// One game as the program's readers leave it before any replay: its FEN tag line (empty without
// one) and its main line's move texts.
struct ReadGame {
    std::string fen_line;
    chess::MainLineMoves moves;
    int full_moves = 0;
};

// Every game of a PGN text read by the header reader and the movetext parser, as the fast-file
// builder reads a file from game to game: for tests and benchmarks that play the moves
// themselves. Header-only; benchmarks use it too.
inline std::vector<ReadGame> ReadGames(std::string_view text) {
    pgn::MemoryRecordSource source(text);
    pgn::HeaderTags header;
    pgn::GameLines lines;
    std::vector<ReadGame> games;
    std::string pending;
    bool have_game = false;
    while (!have_game && source.ReadRecord(pending) > 0) have_game = pgn::IsTagRecord(pending);
    while (have_game) {
        header.ReadHeader(source, pgn::FirstRecordMode::HandedOver, pending);
        ReadGame game;
        game.fen_line = header.TagLines().Line(pgn::Tag::FEN);
        lines.SetFirstMover(pgn::FirstMoverOfFen(game.fen_line));
        game.full_moves = lines.ParseMovetext(source, nullptr, 0, 0, nullptr, true);
        game.moves = lines.Moves();
        games.push_back(game);
        have_game = lines.HasNextGameRecord();
        if (have_game) pending = lines.NextGameRecord();
    }
    return games;
}

}  // namespace qorvale::test
