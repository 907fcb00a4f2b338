#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "platform/file_system.h"
#include "search/header_file.h"
#include "search/move_code.h"

namespace qorvale::search {

// Most games a fast file holds: the size of the game index.
inline constexpr std::int32_t MaxFastFileGames = 200000;

// `path` with its last three characters replaced by `extension` ("games.pgn" -> "games.TRF").
std::string DerivedPath(std::string_view path, std::string_view extension);

// The files beside a PGN file that the fast file consists of or invalidates.
struct FastFileNames {
    std::string trf;  // move file
    std::string trh;  // header file
    std::string tre;  // opening tree, built from the fast file
    std::string trx;
};
FastFileNames FastFileNamesOf(std::string_view pgn_path);

enum class FastFileState { Current, Stale, Missing };

// Whether the fast file of `pgn_path` is current for `game_count` games, without a word to the
// user: the header file must hold exactly `game_count` records and the move file as many records
// before its end mark (or MaxFastFileGames).
FastFileState FastFileStateOf(const std::string& pgn_path, std::int32_t game_count);

// Counts the records of a move file up to its end mark or MaxFastFileGames; -1 when the file
// is damaged or cannot be read.
std::int32_t CountMoveRecords(const std::string& move_file_path);

// The "Check Fast File" command: reports "Fast file OK", "Fast file does not exist." or
// "Warning: You need to run 'Make Fast File' again.". When the header file does not fit in
// memory only its count is compared, after "Error getting memory.".
FastFileState CheckFastFile(const std::string& pgn_path, std::int32_t game_count, Ui& ui);

// The "Delete Fast File" command: asks "Delete the fast file. Confirm." and on Yes deletes both
// files ("Fast file deleted."); "Fast file does not exist." when there is none. Returns whether
// the files were deleted.
bool DeleteFastFile(const std::string& pgn_path, Ui& ui);

// Keeps the fast file of `pgn_path` in step after games were deleted from the PGN file: drops
// the records of `deleted_games` (1-based, any order, repeats ignored) from both files and
// deletes the tree files. A missing fast file is left alone. Failures are reported and
// returned: "Error creating temp file." for the move file (which then stays as it was),
// "Error fixing fast file. Run 'Make Fast File' again." for the header file.
Error FixFastFile(const std::string& pgn_path, std::span<const std::int32_t> deleted_games, Ui& ui,
                  platform::FileSystem& file_system = platform::SystemFileSystem());

// The same for a move file without a header file: a tree merge file or a database's.
Error FixMoveFile(const std::string& move_file_path, std::span<const std::int32_t> deleted_games,
                  Ui& ui, platform::FileSystem& file_system = platform::SystemFileSystem());

// What the generator needs of one game.
struct FastFileGame {
    HeaderValues header;          // not needed in merge mode
    bool has_fen = false;         // the game starts from a FEN tag
    int result = OtherResult;     // WhiteWon, BlackWon or OtherResult
    std::vector<MoveCode> codes;  // from the standard start; empty for a game without moves
};

// Hands the generator the games of a PGN file in order. A source owns its own file handle and
// chess state, so it can run on the worker thread.
class FastFileGameSource {
  public:
    virtual ~FastFileGameSource() = default;
    // Reads game `index` (0-based; called for 0, 1, 2, ... in turn) into `game`, which holds
    // the previous game's values. `merge`: only the result (from the "[Result" line) and the
    // codes are needed. False when the game cannot be read: the generation ends there.
    virtual bool ReadGame(std::int32_t index, bool merge, FastFileGame& game) = 0;
};

// How the generator talks to the worker running it.
struct GenerationControl {
    // Called for every game before it is read (0-based index, total).
    std::function<void(std::int64_t index, std::int64_t total)> progress;
    // Called once per game: answers a pending cancel with the message and goes on.
    std::function<bool(std::string_view message)> refuse_cancel;
};

enum class MakeOutcome {
    Complete,         // "Fast file complete." / "Merge file complete."
    FenWarning,       // every game written, some started from a FEN
    Incomplete,       // fewer games than GameCount: "Error making fast file. Run 'Check File' ..."
    CreateFailed,     // "Error creating fast file."; nothing is left behind
    MergeOpenFailed,  // "Error opening merge file."
    CopyFailed,       // "Error making merge file."
};

struct MakeResult {
    MakeOutcome outcome = MakeOutcome::Complete;
    std::int32_t games_written = 0;
};

// The message of an outcome; `merge` picks the merge file's texts.
std::string_view MakeOutcomeMessage(MakeOutcome outcome, bool merge = false);

// MakeFastFile: writes `name.TRF` and `name.TRH` for the `game_count` games of `pgn_path` read
// from `source`, after deleting the tree files and the old fast file. Shows nothing itself: the
// caller shows MakeOutcomeMessage when the user asked for it, and another operation running it as
// a step uses the outcome.
MakeResult MakeFastFile(const std::string& pgn_path, std::int32_t game_count,
                        FastFileGameSource& source, const GenerationControl& control,
                        platform::FileSystem& file_system = platform::SystemFileSystem());

// The tree merge file: the game records alone, into a new file or appended over the end mark of
// an existing one. When the PGN file's fast file is current, its move file is copied instead of
// reading the games. The new content is written beside the merge file and renamed over it only
// when complete, so a failure leaves the merge file as it was; then the merge file's tree files
// (built from what it held before) are deleted.
struct MergeTarget {
    std::string path;
    bool append = false;
};
MakeResult MakeMergeFile(const std::string& pgn_path, std::int32_t game_count,
                         FastFileGameSource& source, const MergeTarget& target,
                         const GenerationControl& control,
                         platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::search
