#pragma once

// A randomized session over one PGN file, checked after every step against a plain model of the
// file: the games it must hold, in order. Operations are rows of a table (SoakOperations); a new
// operation is one row: a name, a weight and a function that does the change, mirrors it in the
// model, and returns a failure text ("" when all is well).

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "base/ui.h"
#include "output/print_list.h"
#include "pgn/pgn_file.h"
#include "support/temp_dir.h"

namespace qorvale::soak {

// A game of the model: its text as it went into the file; `pristine` when the program wrote it
// unchanged, so the file must hold it byte for byte (trailing line ends aside).
struct ModelGame {
    std::string text;
    bool pristine = true;
};

// Answers Yes to every question.
struct YesUi final : Ui {
    void report(std::string_view) override {}
    bool ask(std::string_view) override { return true; }
    void progress(const ProgressCounters&) override {}
    void post(Command) override {}
};

struct SoakState {
    explicit SoakState(const std::vector<std::string>& pool);

    const std::vector<std::string>& pool;
    test::TempDir dir;
    std::string path;  // the session's file, games.pgn in dir
    pgn::PgnFile file;
    YesUi yes;
    std::vector<ModelGame> model;
    // The program's print list, beside the file, and the games added to it as text since it was
    // last printed.
    output::PrintList print_list;
    std::vector<std::string> printed;

    // A fresh folder inside dir for an operation's copies, emptied by the next call.
    std::string Scratch();
    // The file's game index as the session holds it.
    std::vector<std::uint32_t> Offsets() const;
    // Opens the file again as the window does (through the offset cache).
    std::string Reopen();
};

using Random = std::mt19937_64;
using OperationRun = std::function<std::string(SoakState&, Random&)>;

struct SoakOperation {
    const char* name;
    int weight;
    OperationRun run;
};

// Every operation the session test draws from.
const std::vector<SoakOperation>& SoakOperations();

// What the test checks after every step: "" or the first invariant that does not hold.
std::string CheckInvariants(SoakState& state);

// Independent readings of PGN text, written for the test (not the program's scanner): a game
// begins at a line starting with '[' that follows a line that does not.
std::vector<std::size_t> GameStarts(const std::string& text);
std::vector<std::string> SplitGames(const std::string& text);
// The text without any white space (a rewrite may move line ends and blanks, never more).
std::string Squeezed(const std::string& text);
// The value of tag `name` in a game's text ("" when it has none).
std::string TagValue(const std::string& game, const std::string& name);

// A run: the steps (an operation and the seed of its choices) replayed from an empty folder.
struct Step {
    std::size_t operation = 0;
    std::uint64_t seed = 0;
};
struct RunOutcome {
    std::string failure;        // "" when every step passed
    std::size_t failed_at = 0;  // index of the failing step
};
RunOutcome Replay(const std::vector<std::string>& pool, const std::vector<Step>& steps);
std::vector<Step> MakeSteps(std::uint64_t seed, std::size_t count);
// The shortest sequence it finds that still fails, by cutting after the failing step and then
// dropping steps one at a time while the run still fails.
std::vector<Step> Shrink(const std::vector<std::string>& pool, std::vector<Step> steps);
std::string Describe(const std::vector<Step>& steps);

// The small real games the steps take their new games from.
std::vector<std::string> GamePool();

}  // namespace qorvale::soak
