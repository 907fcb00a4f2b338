#pragma once

#include <string>
#include <string_view>

#include "app/options_record.h"
#include "base/ui.h"
#include "openings/eco_table.h"
#include "openings/opening_files.h"

namespace qorvale::app {

// What the window system tells start-up.
struct StartUpSettings {
    std::string app_folder;
    std::string command_line;  // everything after the program name, as given
    bool high_dpi = false;     // the screen is not at 96 dots per inch
};

// The outcome of start-up: the repaired options record, saved where the rules ask, and what the
// window does next.
struct StartUpState {
    OptionsRecord options;
    std::string app_folder;
    std::string options_path;
    bool first_run = false;            // there was no options file
    std::string command_line_path;     // the PGN file named on the command line, quotes removed
    bool open_file_posted = false;     // Command::OpenFile was posted
    bool hide_game_text = false;       // working copy of `HideGameText` for this run
    double auto_play_delay = 1.0;      // seconds, from `AutoPlayDelay`
    bool eco_data_stale = false;       // the ECO data must be re-initialised
    bool openings_unprepared = false;  // the openings folder files must be prepared
};

// Runs the start-up sequence over the install folder up to the window: loads "savinfo.opt"
// (defaults on a first run), moves an older layout's dialog folders into place, applies the load,
// folder, every-start and colour repairs, saves when a rule says so, takes the command-line path
// and deletes the game buffer. The install folder must exist.
StartUpState StartUp(const StartUpSettings& settings);

// The last start-up step, once the window exists: posts Command::OpenFile through `ui` when the
// last file is to be reopened or a path was given.
void PostStartUpOpen(StartUpState& state, Ui& ui);

// The ECO steps of start-up, once there is a Ui to speak through: loads `table` from the install
// folder and, when the options say so, exports the opening files again; the options record is
// saved when those steps change it.
void InitialiseOpenings(StartUpState& state, openings::EcoTable& table, Ui& ui);
// The ECO data flags of the options record, saved whole when the ECO steps change them.
openings::EcoDataOptions EcoDataOptionsOf(StartUpState& state);

// The steps of StartUp, each usable alone. Those returning bool return true when the record must
// be saved at once.

// An older layout has an empty `CurrentFolder` but a non-empty first byte. Copies each legacy
// folder (84 bytes) and name (32 bytes) slot into its 200/56-byte dialog field; returns whether
// the record had the older layout.
bool MigrateLegacyLayout(OptionsRecord& record);

// Repairs after reading an existing file: replay flag, replay count, ribbon and window width,
// and any value no dialog could have stored (out-of-range choices, unterminated texts).
void RepairLoadedOptions(OptionsRecord& record);

// When `FolderInitialised` is 0: sets it, forgets `CurrentFileName` unless `CurrentFolder` begins
// with the install folder (ignoring case) and makes `CurrentFolder` the install folder.
bool InitialiseCurrentFolder(OptionsRecord& record, std::string_view app_folder);

// The settings forced at every start.
void ApplyEveryStartSettings(OptionsRecord& record, bool high_dpi);

// Colour initialisation, unset colours and the duplicate and options-level defaults.
bool ApplyColourDefaults(OptionsRecord& record);

// "Auto Play Delay" as read with "%f"; 1 second when the text holds no number.
double ParseAutoPlayDelay(std::string_view text);

// The PGN path of a command line: surrounding blanks dropped and, when it is in double quotes,
// the quotes removed. "" when there is none.
std::string CommandLinePath(std::string_view command_line);

}  // namespace qorvale::app
