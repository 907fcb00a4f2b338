#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/options_record.h"
#include "base/error.h"
#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "platform/file_system.h"
#include "search/search_list.h"
#include "utilities/duplicates.h"
#include "utilities/worker.h"

namespace qorvale::app {

// The duplicate settings as the options record keeps them: look-ahead, maximum move difference,
// and the two switches as bits 0 (entire file) and 1 (check names). A record whose look-ahead
// is 0 has never held them: the defaults apply.
utilities::DuplicateSettings DuplicateSettingsFrom(const OptionsRecord& options);
void StoreDuplicateSettings(const utilities::DuplicateSettings& settings, OptionsRecord& options);

// The duplicate check of the open file as the window and the tool run it: the questions before
// the start, the remembered result, and the "Duplicate Games" window's data and buttons. One
// object per session; the result is shared with the worker, which fills it before it posts.
//
// Only the PGN file source is wired here; the tree merge file and the database bring their own
// preparation (a DuplicateGames of their records) and deletion when they land.
class DuplicateCheck {
  public:
    enum class Begin {
        Started,     // the worker runs; call Finished() when it has ended
        Remembered,  // the user took the remembered check: show the window at once
        Declined,    // a No, or a failure already reported
    };

    // The "Duplicate Games" command. Offers the remembered check of this file; otherwise looks
    // for the fast file ("This will go a lot faster ..." for a large file without one; a stale
    // one is reported and may be done without), loads it, confirms "%d games. Do you want to
    // continue?" (or "Check name is only supported for fast files. ..." without a fast file)
    // and starts the comparison. `text_only`: the fast file is not looked for.
    Begin Start(utilities::Worker& worker, const pgn::PgnFile& file,
                const utilities::DuplicateSettings& settings, Ui& ui, bool text_only = false);
    // After the worker has ended: a check that found games is remembered for its file.
    void Finished();

    // "Search the entire file for duplicates of the current game.", on the calling thread:
    // `moves` is the current game as shown. The result is what the window then shows.
    Error FindCurrentGameDuplicates(const pgn::PgnFile& file, const chess::MainLineMoves& moves,
                                    int full_moves, const utilities::DuplicateSettings& settings);

    bool HasResult() const { return result_ != nullptr; }
    const utilities::DuplicateResult& Result() const { return *result_; }
    std::string Title() const;
    std::vector<std::string> Lines() const;

    // The View button: the duplicates as a search list, in file order.
    search::SearchList ViewList() const;
    // The Delete button: asks "Delete duplicate games. Confirm." and deletes them from the open
    // file, keeping its fast file in step ("Duplicate games deleted."); the check is then
    // forgotten. Returns true when the file changed: the caller reopens it.
    bool Delete(const pgn::PgnFile& file, Ui& ui,
                platform::FileSystem& file_system = platform::SystemFileSystem());
    // The Cancel button keeps the result for a later "use it?"; this drops it.
    void Forget();

  private:
    struct Identity {
        std::string path;
        std::int32_t game_count = 0;
        std::int64_t size = -1;
        utilities::DuplicateSource source = utilities::DuplicateSource::PgnFile;
        friend bool operator==(const Identity&, const Identity&) = default;
    };
    static Identity IdentityOf(const pgn::PgnFile& file);

    std::shared_ptr<utilities::DuplicateResult> result_;
    Identity running_;
    std::optional<Identity> remembered_;
};

}  // namespace qorvale::app
