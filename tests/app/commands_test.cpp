#include "app/commands.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>

namespace qorvale::app {
namespace {

TEST(Commands, EachRowHasItsOwnIdNameAndKeys) {
    std::set<std::string_view> names;
    std::multimap<std::string, const CommandSpec*> keys;
    std::map<std::pair<MenuId, char>, std::string_view> mnemonics;
    for (const CommandSpec& row : CommandTable()) {
        SCOPED_TRACE(std::string(row.name));
        EXPECT_EQ(&SpecOf(row.id), &row) << "id used twice";
        EXPECT_TRUE(names.insert(row.name).second) << "name used twice";
        EXPECT_FALSE(row.text.empty());
        // One letter for two items of a menu makes Alt+letter only cycle between them.
        const std::size_t amp = row.text.find('&');
        if (amp != std::string_view::npos && amp + 1 < row.text.size()) {
            const char letter = static_cast<char>(std::tolower(row.text[amp + 1]));
            const auto [at, added] = mnemonics.emplace(std::pair(row.menu, letter), row.text);
            EXPECT_TRUE(added) << "'" << letter << "' also marks " << at->second;
        }
        // Two commands on one key in one mode: Qt then fires neither of them. A disabled action's
        // key is free, so commands of modes that never meet may share one (Esc leaves each mode).
        std::string_view rest = row.keys;
        while (!rest.empty()) {
            const std::size_t comma = rest.find(", ");
            const std::string key(rest.substr(0, comma));
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 2);
            const auto [first, end] = keys.equal_range(key);
            for (auto at = first; at != end; ++at) {
                for (std::size_t mode = 0; mode < ModeCount; ++mode) {
                    const auto m = static_cast<Mode>(mode);
                    EXPECT_FALSE(row.modes.Contains(m) && at->second->modes.Contains(m))
                        << key << " also belongs to " << at->second->name;
                }
            }
            keys.emplace(key, &row);
        }
    }
}

bool Enabled(std::string_view name, const ShellState& state) {
    const std::vector<bool> enabled = EnabledCommands(state);
    const auto table = CommandTable();
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].name == name) return enabled[row];
    }
    ADD_FAILURE() << "no command " << name;
    return false;
}

TEST(Commands, EnabledStateFollowsFileGameAndMode) {
    const ShellState empty{};
    const ShellState file_only{true, false, false, Mode::GameReplay};
    const ShellState browsing{true, true, false, Mode::GameReplay};
    const ShellState busy{true, true, true, Mode::GameReplay};
    const ShellState with_database{false, false, false, Mode::GameReplay, true};
    const ShellState database_mode{true, true, false, Mode::Database, true};
    const ShellState playing{true, true, false, Mode::EnginePlay};
    const ShellState analysing{true, true, false, Mode::EngineAnalysis};
    struct Row {
        const char* command;
        ShellState state;
        bool enabled;
    };
    const Row rows[] = {
        {"Open", empty, true},
        // The found games of a database need the database; its search opens one itself.
        {"CloseDatabase", empty, false},
        {"CloseDatabase", with_database, true},
        {"CopyDatabaseGames", browsing, false},
        {"DatabaseSearchOptions", empty, true},
        {"NextMove", empty, false},
        {"NextMove", file_only, false},
        {"NextMove", browsing, true},
        {"SelectGame", file_only, true},
        {"SearchHeader", empty, false},
        {"SearchHeader", file_only, true},
        // A busy worker refuses with its message instead of greying the command out.
        {"SearchHeader", busy, true},
        {"MakeFastFile", busy, true},
        // Modes the program cannot enter yet leave their commands disabled everywhere.
        {"FindOpeningClosestMatch", browsing, false},
        {"FindOpeningClosestMatch", {false, false, false, Mode::Analyze}, true},
        {"EcoAddLine", {false, false, false, Mode::EcoEdit}, true},
        {"EcoAddLine", {false, false, false, Mode::VariationEdit}, false},
        {"ReplayPromote", browsing, false},
        {"ShowOpening", empty, true},
        // The database mode shows a database game: the file's game waits, the found games step.
        {"ShowOpening", database_mode, false},
        {"AutoPlay", database_mode, false},
        {"SaveDiagram", database_mode, false},
        {"GoToGame", database_mode, false},
        {"NextGame", database_mode, true},
        {"NextMove", database_mode, true},
        {"CopyDatabaseGameToBuffer", database_mode, true},
        {"CopyDatabaseGameToBuffer", with_database, false},
        {"LeaveDatabaseMode", database_mode, true},
        {"LeaveDatabaseMode", browsing, false},
        // A game against an engine keeps the file and its games away; an analysis follows them.
        {"EngineTakeBack", browsing, false},
        {"EngineTakeBack", playing, true},
        {"Open", playing, false},
        {"NextMove", analysing, true},
        {"Open", analysing, true},
        {"PlayUci", analysing, false},
        {"StopEngine", analysing, true},
        {"StopEngine", browsing, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        EXPECT_EQ(Enabled(row.command, row.state), row.enabled);
    }
}

TEST(Commands, RefusalNamesTheFirstMissingNeed) {
    const CommandSpec& search = SpecOf(SearchCommand::Header);
    EXPECT_EQ(CheckCommand(search, {}), Refusal::NoFile);
    EXPECT_EQ(CheckCommand(search, {true, false, true, Mode::GameReplay}), Refusal::Busy);
    EXPECT_EQ(CheckCommand(search, {true, false, false, Mode::AddGame}), Refusal::WrongMode);
    EXPECT_EQ(CheckCommand(SpecOf(OpeningsCommand::FindExactVariation), {}), Refusal::WrongMode);
    EXPECT_EQ(CheckCommand(SpecOf(AnalysisCommand::Promote), {}), Refusal::Unavailable);
    EXPECT_EQ(CheckCommand(SpecOf(GameCommand::NextMove), {true, false, false, Mode::GameReplay}),
              Refusal::NoGame);
}

TEST(Modes, OnlyProvidedModesAreEnteredAndOnlyFromGameReplay) {
    ModeModel model;
    EXPECT_EQ(model.Current(), Mode::GameReplay);
    for (std::size_t index = 1; index < ModeCount; ++index) {
        const auto mode = static_cast<Mode>(index);
        ModeModel fresh;
        EXPECT_EQ(fresh.Enter(mode), ModeModel::ModeProvided(mode));
        EXPECT_EQ(fresh.Current() == mode, ModeModel::ModeProvided(mode));
        fresh.Leave();
        EXPECT_EQ(fresh.Current(), Mode::GameReplay);
    }
}

}  // namespace
}  // namespace qorvale::app
