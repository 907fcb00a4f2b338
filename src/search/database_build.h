#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/error.h"
#include "base/ui.h"
#include "platform/file_system.h"
#include "search/database_files.h"
#include "search/fast_file.h"

namespace qorvale::search {

// MakeDatabase's modes, by the program's numbers.
enum class DbBuildMode : int { Add = 0, StartNew = 1, Remake = 2 };

struct DbBuildRequest {
    std::string db_path;  // name.DBG
    DbBuildMode mode = DbBuildMode::StartNew;
    std::string pgn_path;  // the open PGN file, whose fast file the games come from (not Remake)
    std::int32_t game_count = 0;
};

// What the build needs to be told before it starts, asked on the caller's thread.
struct DbBuildPlan {
    bool go = false;              // false: the user said No, nothing is to change
    bool make_fast_file = false;  // make the PGN file's fast file first
};

// The questions of "Start New Database" and "Add to Database": "You must make a 'fast' file
// first. Do it now?" without a fast file, "You need to make a 'fast' file again. Do it now?"
// when its header file's count is not the game count; then "Database already exists. Do you
// want to overwrite?" or "Are you sure?" (start new), "Are you sure?" (adding to an existing
// database). Remake asks nothing.
DbBuildPlan PlanDatabaseBuild(const DbBuildRequest& request, Ui& ui);

struct DbBuildOutcome {
    Error error;              // a DbFileError, "Memory allocation error."
    std::int64_t games = 0;   // games in the database afterwards
    bool root_error = false;  // a chain's last record belonged to neither key ("Root error.")
    // "Database complete." / "Database remake complete." or the error's text.
    std::string message;
};

// MakeDatabase. Start new: the database's header and moves files are the fast file's, its
// position, games and root files are built from them. Add: the fast file's games go after the
// database's, linked into the chains of their keys. Remake: the games and root files are rebuilt
// from the header and moves files (after DeleteDatabaseGames). Every file is staged and the
// changed files are put in place together (DatabaseStage); the database's tree files are
// deleted. Progress every 1000 games; a cancel is refused with "Sorry, cannot cancel database
// generation.". Shows nothing itself: the outcome carries the closing message.
DbBuildOutcome MakeDatabase(const DbBuildRequest& request, const GenerationControl& control,
                            platform::FileSystem& file_system = platform::SystemFileSystem());

// DeleteDatabaseGames: drops the games of `game_numbers` (1-based database order, any order)
// from the header, moves and position files and remakes the games and root files, all put in
// place together.
DbBuildOutcome DeleteDatabaseGames(
    const std::string& db_path, std::span<const std::int32_t> game_numbers,
    platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::search
