#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "base/result.h"
#include "base/ui.h"
#include "chess/move_text.h"
#include "platform/file_system.h"
#include "utilities/operation_control.h"
#include "utilities/worker.h"

namespace qorvale::utilities {

// The duplicate check's settings ("Duplicate Games Settings"), kept in the options file.
struct DuplicateSettings {
    std::int32_t look_ahead = 100;         // "Number of games to look ahead"
    std::int32_t max_move_difference = 2;  // "Maximum difference in number of moves"
    bool entire_file = false;              // compare with every later game
    bool check_names = false;              // with a fast file, the players must agree too

    // "Reset": the values above.
    static DuplicateSettings Defaults() { return {}; }
    friend bool operator==(const DuplicateSettings&, const DuplicateSettings&) = default;
};

// Where the games come from; the values are the program's source numbers.
enum class DuplicateSource : int {
    PgnFile = 0,
    TreeMergeFile = 1,
    Database = 2,  // the database's own loader will fill a DuplicateGames the same way
};

// Most games a check marks for deletion; beyond them "Warning: Maximum number of duplicates
// found." and no more are added.
inline constexpr std::size_t MaxDuplicates = 10000;

// The moves of every game of a source, ready for the comparison: one token per half-move (a
// fast file's move code, or a number standing for a move text), all games one after another.
struct DuplicateGames {
    enum class Kind {
        MoveCodes,  // lengths compared in half-moves, the shorter game is the duplicate
        MoveTexts,  // lengths compared in move pairs (and complete pairs), as the text reads
    };
    Kind kind = Kind::MoveCodes;
    std::vector<std::uint32_t> tokens;
    std::vector<std::uint32_t> starts{0};  // game g's tokens are [starts[g], starts[g + 1])
    // Per game, a number standing for its White and Black names; empty when names are not
    // compared.
    std::vector<std::uint32_t> names;
    // MoveTexts: the text each token stands for, its eight bytes packed little-endian.
    std::vector<std::uint64_t> texts;

    std::int32_t Count() const { return static_cast<std::int32_t>(starts.size()) - 1; }
    std::uint32_t Length(std::int32_t game) const {
        return starts[static_cast<std::size_t>(game) + 1] - starts[static_cast<std::size_t>(game)];
    }
    std::span<const std::uint32_t> Moves(std::int32_t game) const {
        return std::span<const std::uint32_t>(tokens).subspan(
            starts[static_cast<std::size_t>(game)], Length(game));
    }
};

// Loads the move records of a move file (a fast file's `name.TRF`, a tree merge file) whole.
// `expected_count` >= 0: the number of records must be that (the PGN file's game count), else
// "Warning: You need to run 'Make Fast File' again.". "Error opening file.", "Not enough
// memory." otherwise. With `header_path`, the names of each game are read from it too; when it
// cannot be read, "Error opening header file. Names will not be checked." is reported and the
// names are left out.
Result<DuplicateGames> LoadMoveFileGames(const std::string& move_file_path,
                                         std::int32_t expected_count,
                                         const std::string& header_path, Ui& ui);

// Reads the main line of every game of a PGN file as the text gives it (nothing replayed).
// A cancel stops the reading (the caller asks the control and drops the games); "Error opening
// file." when the file cannot be read.
Result<DuplicateGames> ReadTextGames(const std::string& pgn_path,
                                     std::span<const std::uint32_t> offsets,
                                     const OperationControl& control);

struct DuplicateResult {
    std::vector<std::int32_t> duplicates;  // 1-based, in the order found, no number twice
    // Per entry of `duplicates`: the pair as found, earlier game first.
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    bool limit_reached = false;
    bool cancelled = false;
    Error error;
};

// The two numbers the comparison takes from the settings.
struct DuplicateWindow {
    std::int64_t look_ahead = 0;      // j is compared with i while j < i + look_ahead
    std::int32_t max_difference = 0;  // in half-moves for move codes, move pairs for texts
};
DuplicateWindow WindowOf(const DuplicateSettings& settings, const DuplicateGames& games);

// Every game that is the same as, or a prefix of, another game within the window, with the
// same pairs in the same order as comparing each game with each later one in turn: game i with
// game j (i < j) when their lengths differ by no more than the maximum and the shorter one's
// moves begin the longer one's; the shorter is the duplicate (the later one when equally long;
// for texts, the one with fewer move pairs); a game is listed once, at its first pair, and at
// most MaxDuplicates are. With names, only games of the same players pair. Instead of that
// nested loop, games are grouped by their moves and by the moves they begin with, so the time
// grows with the number of games, not with its square.
DuplicateResult FindDuplicates(const DuplicateGames& games, const DuplicateSettings& settings,
                               const OperationControl& control);

// "Search the entire file for duplicates of the current game.": every game whose text moves
// match `current` (the game as shown, `full_moves` of it) by the text rule; the other game is
// the duplicate and each pair is written lower number first. The current game itself is
// skipped.
DuplicateResult FindDuplicatesOfGame(const DuplicateGames& games,
                                     const chess::MainLineMoves& current, int full_moves,
                                     std::int32_t current_game, const DuplicateSettings& settings);

// The duplicate window's title ("%d Duplicate Games") and lines ("Game %d is a duplicate of
// game %d", the later game first).
std::string DuplicateTitle(const DuplicateResult& result);
std::vector<std::string> DuplicateLines(const DuplicateResult& result);

// Deletes games `games` (1-based, any order) from the PGN file: every other game and whatever
// lies outside the games is copied byte for byte to the temporary file, which then replaces the
// file with its fast file brought in step (ReplacePgnFile). "Error opening file.", "Error
// creating temp file." (nothing changed).
Error DeleteGamesFromFile(const std::string& pgn_path, std::vector<std::uint32_t> offsets,
                          bool index_full, std::span<const std::int32_t> games, Ui& ui,
                          platform::FileSystem& file_system = platform::SystemFileSystem());

// What the worker routine needs: the games loaded by the preparation on the window's thread
// (a fast file), or the PGN file to read them from (text).
struct DuplicateRequest {
    DuplicateSettings settings;
    DuplicateSource source = DuplicateSource::PgnFile;
    std::shared_ptr<const DuplicateGames> games;  // set: compare these
    std::string pgn_path;                         // else read the texts of these games
    std::vector<std::uint32_t> offsets;
};

// Starts FindDuplicates on the worker ("Duplicate Games"). It ends with "No duplicate games
// found." or, with findings, the refresh that shows the duplicate window.
Error StartFindDuplicates(Worker& worker, DuplicateRequest request,
                          std::shared_ptr<DuplicateResult> result);

}  // namespace qorvale::utilities
