#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "utilities/adjust_file.h"
#include "utilities/check_file.h"
#include "utilities/fix_tags.h"

namespace qorvale::app {

// The three commands that run the check-file scan.
enum class CheckFileCommand {
    CheckFile,          // "Check File": report, or delete the bad games after two Yes answers
    DeleteFenGames,     // "Delete all FEN games. Confirm."
    DeleteListedGames,  // "Delete games in the search list. Confirm."
};

// Asks the command's questions and gives the mode to run, or nothing when the user declined (or
// there is no search list to delete: "There are no games in the search list to delete.").
std::optional<utilities::CheckMode> ChooseCheckMode(CheckFileCommand command,
                                                    const std::vector<std::int32_t>& listed_games,
                                                    Ui& ui);

// The request for the open file: its path and a copy of its index.
utilities::CheckFileRequest CheckRequestFor(const pgn::PgnFile& file, utilities::CheckMode mode,
                                            std::vector<std::int32_t> listed_games = {});

// "Adjust File": asks "Adjust the record size and format. Confirm." (with `trim_limit` 0) or
// "Trim the number of moves to a maximum of %d half moves. Continue?", and gives the request for
// the open file, or nothing after a No. The trimming command asks AskTrim first and takes the
// number from the "Set Max Moves" dialog between the two.
bool AskTrim(Ui& ui);
std::optional<utilities::AdjustRequest> ConfirmAdjust(const pgn::PgnFile& file, int trim_limit,
                                                      Ui& ui);

// The fixes' target: the open file and a copy of its index.
utilities::FixTarget FixTargetFor(const pgn::PgnFile& file);

}  // namespace qorvale::app
