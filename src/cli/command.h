#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/line_mode.h"
#include "app/search_session.h"
#include "cli/cli_ui.h"
#include "pgn/pgn_file.h"
#include "search/search_criteria.h"

namespace qorvale::cli {

// The words after the command name, with the flags the tool understands everywhere taken out.
struct CommandArgs {
    std::vector<std::string> words;  // positional arguments
    std::vector<std::string> flags;  // "--name" or "--name=value", in order
    CliUi* ui = nullptr;

    bool HasFlag(std::string_view name) const;
    // The value of "--name=value" or of "--name value" (the word after it is taken from `words`
    // by ParseArgs), or `fallback`.
    std::string FlagValue(std::string_view name, std::string_view fallback = {}) const;
};

using CommandFunction = int (*)(const CommandArgs& args);

struct CommandEntry {
    std::string_view name;
    std::string_view usage;    // "games FILE"
    std::string_view summary;  // one line for `help`
    CommandFunction run;
    // The flags that take a value as the next word when not written as --flag=value.
    std::vector<std::string_view> value_flags = {};
};

// Every command of the tool, in the order `help` lists them. Each command lives in its own
// <name>_command.cpp and returns the process exit code: 0 done, 1 failed, 2 bad usage.
const std::vector<CommandEntry>& Commands();

// Opens and scans the PGN file at `path` as the window does; reports the failure and returns
// false when it cannot be opened.
bool OpenForCommand(pgn::PgnFile& file, const std::string& path, Ui& ui);
// Plays the moves of a --line text ("1.e4 c5 2.Nf3") on `line`; false after saying on stderr
// which move could not be played.
bool PlayLine(std::string_view moves, app::BoardLine& line, Ui& ui);

// The search criteria given by the search flags (--ser, the header flags, --line, --position,
// --move-number, --exact, --force) and which of the three searches they name.
struct SearchCriteriaArgs {
    app::SearchSession session;  // holds the criteria
    app::SearchParts parts;
};
// Reads them; reports a bad criterion and returns the exit code (1 or 2), else 0.
int ReadSearchCriteria(const CommandArgs& args, SearchCriteriaArgs& read);
// The search flags that take a value.
const std::vector<std::string_view>& SearchValueFlags();

// "3,7,10-12" as game numbers in list order; false when the list is malformed.
bool ParseGameNumbers(const std::string& text, std::vector<std::int32_t>& games);

// The ECO table the window would load: the install folder's once it holds one, else the program's
// data folder (what a first start installs).
std::string EcoTableFolder(const std::string& app_folder);

// Prints the usage line of `name` to stderr and returns 2.
int UsageError(std::string_view name);

}  // namespace qorvale::cli
