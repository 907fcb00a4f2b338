#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "app/modes.h"
#include "app/navigation.h"

namespace qorvale::app {

// The window's commands, one enum per subsystem: each subsystem's controller runs its own enum
// in a switch without a default, so that a command nobody runs fails to compile.
enum class FileCommand { Open, Reload, PreviousFile, Exit };
enum class GameCommand {
    StartOfGame,
    Back5,
    PreviousMove,
    NextMove,
    Forward5,
    EndOfGame,
    MiddleOfGame,
    SetNewStart,
    AutoPlay,
    StudyMode,
    SelectGame,
    NextGame,
    PreviousGame,
    PreviousShownGame,
    GoToGame,
    FlipBoard,
    ActualText,
};
// Entering and changing games, and moving them between files.
enum class EditCommand {
    AddGame,
    AddFromPosition,
    ModifyGame,
    TakeBack,
    EditHeader,
    SaveGame,
    SaveChanges,
    LeaveEntry,
    Annotate,
    DeleteGame,
    CopyGame,
    CopyListedGames,
    MoveToBuffer,
    SaveBuffer,
    CopyGameText,
    PasteGame,
};
enum class AnalysisCommand { Next, Previous, Start, Promote, Lines };
enum class SearchCommand {
    Header,
    Variation,
    Position,
    ExactVariation,
    ForceMatch,
    Statistics,
    ResetNavigation,
    Save,
    Load,
};
enum class TreeCommand {
    MakeFastFile,
    CheckFastFile,
    DeleteFastFile,
    OpenTree,
    OpenEcoTree,
    OpenMergeTree,
    OpenDatabaseTree,
    RebuildTree,
    CloseTree,
    TreeSettings,
    MakeMergeFile,
    AddToMergeFile,
};
// The modes in which a line is entered on the board: naming it, comparing it with the games
// of the file (Show Next Moves, Show Maneuvers).
enum class LineCommand {
    VariationEdit,
    Analyze,
    TakeBack,
    Leave,
    ShowNextMoves,
    ShowManeuvers,
    LookAhead,
};
// The ECO edit mode's commands on the ECO table.
enum class EcoEditCommand {
    Enter,
    AddLine,
    ModifyLine,
    RenameLine,
    DeleteLine,
    Check,
    RestorePrevious,
    LeaveSaving,
    LeaveWithoutSaving,
};
enum class OpeningsCommand {
    ShowOpening,
    FindClosestMatch,
    FindExactNumberOfMoves,
    FindExactVariation,
    DisplayOpening,
};
enum class OptionsCommand { Options, MoveSound };
enum class OutputCommand {
    SaveScreenShot,
    SaveDiagram,
    SaveHtmlDiagram,
    CopyDiagram,
    DiagramSeries,
    HtmlDiagramSeries,
};
enum class AnnotationCommand { Title, Mark, Generate, Comment, EndComment, Diagram, Save, Open };
enum class HelpCommand { Manual, About };
// Searching every PGN file of a folder, and what its results file leaves.
enum class DirectoryCommand {
    SearchHeader,
    SearchVariation,
    SearchPosition,
    ShowResults,
    SaveResults,
    LoadResults,
    CopyGames,
    SelectAllGames,
};
enum class DatabaseCommand {
    Open,
    Close,
    StartNew,
    AddTo,
    SearchOptions,
    SelectGame,
    CopyGames,
    CopyToBuffer,
    Check,
    LeaveMode,
};

enum class UtilitiesCommand {
    CheckFile,
    DeleteFenGames,
    DeleteSearchListGames,
    DuplicateGames,
    CurrentGameDuplicates,
    DuplicateSettings,
    AdjustFile,
    TrimMoves,
    SplitFile,
    FixDates,
    FixNames,
};

// Player statistics and the openings list, printing, and games converted from Yahoo records.
enum class StatisticsCommand {
    PlayerScores,
    CrossTable,
    OpeningsList,
    AddMovesToPrintList,
    AddTextToPrintList,
    PrintList,
    PrintPreview,
    ConvertYahoo,
};

// Playing against and analysing with a chess engine (UCI or Crafty).
enum class EngineCommand {
    AnalyseUci,
    PlayUci,
    AnalyseGame,
    Stop,
    TakeBack,
    ForceMove,
    NewGame,
    SavePlayedGame,
    SelectUci,
    UciOptions,
    DisplayOptions,
    AnalyseCrafty,
    PlayCrafty,
    SelectCrafty,
    CraftyGameInfo,
    SaveCraftyPosition,
    ConvertCanFile,
    // Crafty's game menu; a UCI engine refuses them.
    Score,
    Clock,
    Resign,
    Draw,
};

// Side features: downloading a PGN file, variations as games of their own.
enum class SideCommand { OpenFromWeb, ExtractVariations };

using CommandId =
    std::variant<FileCommand, GameCommand, EditCommand, AnalysisCommand, SearchCommand, TreeCommand,
                 OpeningsCommand, OptionsCommand, OutputCommand, HelpCommand, DirectoryCommand,
                 DatabaseCommand, AnnotationCommand, UtilitiesCommand, LineCommand, EcoEditCommand,
                 EngineCommand, StatisticsCommand, SideCommand>;

// The menus, in menu-bar order. Each has the program's role name with a "Menu" suffix.
enum class MenuId : std::uint8_t {
    File,
    Game,
    Edit,
    View,
    Search,
    Tree,
    Openings,
    Analysis,
    Database,
    Annotation,
    Options,
    Help,
};
std::string_view MenuObjectName(MenuId menu);  // "FileMenu"
std::string_view MenuTitle(MenuId menu);       // "&File"

// What a command needs before it runs; the dispatcher checks these once for every command.
enum class Needs : std::uint8_t {
    Nothing = 0,
    OpenFile = 1,    // a PGN file is open
    Game = 2,        // a game is on display
    IdleWorker = 4,  // no background operation runs (else refused with its message)
    StopsAutoPlay = 8,
    Database = 16,  // a database is open
};
constexpr Needs operator|(Needs a, Needs b) {
    return static_cast<Needs>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool Has(Needs set, Needs need) {
    return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(need)) != 0;
}

// One row of the command table.
struct CommandSpec {
    CommandId id;
    std::string_view name;  // the action's object name ("NextMove")
    MenuId menu;
    std::string_view text;  // menu text, with its & mnemonic
    std::string_view keys;  // portable key texts, "Ctrl+G", several joined by ", "
    std::string_view tip;   // tool tip and status tip
    Needs needs = Needs::Nothing;
    ModeSet modes = ModeSet::All();
    bool checkable = false;
    bool separator_before = false;  // a separator above it in its menu
    // Shown as the tool tip while the command cannot run in any mode the program provides.
    std::string_view unavailable = {};
};

// Every command of the window in menu order.
std::span<const CommandSpec> CommandTable();
// The row of `id`; every id has exactly one.
const CommandSpec& SpecOf(CommandId id);

// What the enabled state of the commands depends on.
struct ShellState {
    bool file_open = false;
    bool has_game = false;
    bool worker_busy = false;
    Mode mode = Mode::GameReplay;
    bool database_open = false;
};

// Why a command does not run now.
enum class Refusal : std::uint8_t {
    None,
    Unavailable,  // its modes are not provided yet
    WrongMode,
    NoFile,
    NoGame,
    NoDatabase,
    Busy,  // a background operation runs: the caller shows the operation's message
};

// The step through the game's moves that a Game menu command makes; nothing for the others.
std::optional<NavigationAction> MoveActionOf(GameCommand command);

// The check the dispatcher makes before running `row`.
Refusal CheckCommand(const CommandSpec& row, const ShellState& state);

// Whether each row of CommandTable() is enabled in `state`. A busy worker does not disable a
// command: the command is refused with the running operation's message instead, so that the
// user learns why.
std::vector<bool> EnabledCommands(const ShellState& state);

}  // namespace qorvale::app
