#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/error.h"
#include "base/ui.h"
#include "chess/chess_state.h"
#include "pgn/game_lines.h"
#include "platform/file_system.h"
#include "search/copy_target.h"
#include "search/database_search.h"

namespace qorvale::search {

// A database game as PGN text: the ten header lines "[Event \"%s\"]\r\n" .. "[ECO \"%s\"]\r\n"
// and an empty line, then the moves as "%d.%s" and " %s" (lines kept under 80 characters, CR
// LF), the result, and "\r\n\r\n". The moves are made from the game's codes on `chess`, which
// gives their SAN; `lines` receives them. `complete` is false when a code could not be played
// (a game that began from a set-up position): the text then holds the moves before it.
std::string DatabaseGameText(const DbGame& game, pgn::GameLines& lines, chess::ChessState& chess,
                             bool& complete);

// CopyDatabaseGames to a PGN file: the games of `records` in their order, with the checks and
// messages of every copy of games (CopyTargetFile), "There are no database games to copy."
// without any, and "Warning: Not every move of this game could be replayed." (reported) when a
// game had to be cut.
CopyOutcome CopyDatabaseGames(const Database& database, std::span<const std::uint32_t> records,
                              const std::string& target, bool append,
                              const std::string& current_file, Ui& ui,
                              platform::FileSystem& file_system = platform::SystemFileSystem());

// The game of record `index` into the game buffer file: "Game moved to the game buffer.", or
// "Error creating game buffer file.".
CopyOutcome CopyDatabaseGameToBuffer(
    const Database& database, std::uint32_t index, const std::string& buffer_path,
    platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::search
