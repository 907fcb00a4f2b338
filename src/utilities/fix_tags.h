#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "platform/file_system.h"

namespace qorvale::utilities {

// The comparison key of a player name: letters in lower case; what stands before the first
// letter as it is; after it digits and "," kept, "(" ending the key, anything else (spaces,
// points, hyphens) dropped. "Doe, J." and "doe,j" have one key. Bytes of accented letters (any
// byte from 0x80 up, in UTF-8 or Latin-1) count as letters and are kept as they are.
std::string NameKey(std::string_view name);

// Checks the "Fix Date" dialog: "Must enter the Fix Date.", "Must enter the To Date.", "Date must
// of the form yyyy.mm.dd." (yyyy beginning with 1 or 2, points at the fifth and eighth places).
Error ValidateFixDates(std::string_view fix_date, std::string_view to_date);

// The "Fix Player Name" dialog's names once checked: both begin with a capital, and so does the
// To Name's first name after its comma.
struct FixNames {
    std::string fix_name;
    std::string to_name;
};
// Checks the names (reporting "Must enter the Fix Name.", "Must enter the To Name.") and, when
// the To Name has no first name after a comma, asks whether to go on without one. Nothing (the
// dialog stays open) after a message or a No.
std::optional<FixNames> PrepareFixNames(std::string_view fix_name, std::string_view to_name,
                                        Ui& ui);

// Where a fix works: the PGN file and a copy of its index.
struct FixTarget {
    std::string pgn_path;
    std::vector<std::uint32_t> offsets;
    bool index_full = false;
};

// What a fix did: whether the user went ahead, how many games changed, and the failure.
struct FixOutcome {
    bool confirmed = false;
    std::int32_t changed = 0;
    bool replaced = false;  // the file was rewritten: reopen it and rebuild the index
    Error error;
};

// "Fix game dates": asks "Change %s to %s. Confirm." and in every game replaces the value of the
// first Date tag that equals `fix_date` by `to_date`. Every other byte of the file stays as it
// was. The file is replaced (its fast file, whose header file holds the dates, deleted) when a
// game changed; "Fix date complete." at the end, "Error changing date." when the temporary file
// cannot be written.
FixOutcome FixGameDates(const FixTarget& target, std::string_view fix_date,
                        std::string_view to_date, Ui& ui,
                        platform::FileSystem& file_system = platform::SystemFileSystem());

// "Fix player names": the same for names. Of each game's first White tag and first Black tag,
// the first (in the file's order) whose key begins with the key of `names.fix_name` gets
// `names.to_name` as its whole value. "Fix name complete.", "Error changing names.".
FixOutcome FixPlayerNames(const FixTarget& target, const FixNames& names, Ui& ui,
                          platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::utilities
