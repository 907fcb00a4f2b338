#include "app/commands.h"

#include <array>
#include <cstdlib>
#include <utility>

#include "utilities/messages.h"

namespace qorvale::app {

namespace {

constexpr Needs NeedFile = Needs::OpenFile;
constexpr Needs NeedGame = Needs::Game;
constexpr Needs NeedIdle = Needs::IdleWorker;
constexpr Needs StopPlay = Needs::StopsAutoPlay;
constexpr Needs NeedDatabase = Needs::Database;

// Commands that step from game to game: through the file's games, or the found games of a
// database in its mode.
constexpr ModeSet Browsing = {Mode::GameReplay, Mode::EngineAnalysis, Mode::Database};
constexpr ModeSet FileModes = {Mode::GameReplay, Mode::EngineAnalysis};
constexpr ModeSet LineModes = {Mode::VariationEdit, Mode::Analyze};
constexpr ModeSet Entering = {Mode::AddGame, Mode::ModifyGame};
constexpr ModeSet Replay = {Mode::GameReplay};
// Commands about the file's game on display: a database game hides it, and an entered game too.
constexpr ModeSet NotDatabase = ModeSet::All().Without(Mode::Database);
constexpr ModeSet NotEntering = NotDatabase.Without(Mode::AddGame).Without(Mode::ModifyGame);
// A database search shows its games in the database mode, entered from game replay.
constexpr ModeSet DatabaseModes = {Mode::GameReplay, Mode::Database};
constexpr ModeSet DatabaseOnly = {Mode::Database};
// Engine commands: starting one from the game on display, and what applies while one runs.
constexpr ModeSet EngineStarts = {Mode::GameReplay, Mode::EngineAnalysis};
constexpr ModeSet EngineModes = {Mode::EnginePlay, Mode::EngineAnalysis};
constexpr ModeSet Playing = {Mode::EnginePlay};

constexpr ModeSet TreeMode = {Mode::Tree};
constexpr ModeSet EcoEditing = {Mode::EcoEdit};
constexpr ModeSet BoardLines = {Mode::VariationEdit, Mode::Analyze, Mode::EcoEdit};

const std::array Table = {
    // File
    CommandSpec{FileCommand::Open, "Open", MenuId::File, "&Open...", "Ctrl+O", "Open a PGN file.",
                NeedIdle | StopPlay, FileModes},
    CommandSpec{FileCommand::Reload, "Reload", MenuId::File, "&Reload", "F5",
                "Read the open file again from the disk.", Needs::OpenFile | NeedIdle | StopPlay,
                FileModes},
    CommandSpec{FileCommand::PreviousFile, "PreviousFile", MenuId::File, "Previous &File", "Ctrl+P",
                "Return to the previous PGN file and show the game that was last displayed in the "
                "previous file.",
                NeedIdle | StopPlay, FileModes},
    CommandSpec{SideCommand::OpenFromWeb, "OpenFromWeb", MenuId::File, "Open from &Web Address...",
                "", "Download a PGN file (also zipped or gzipped) and open it.",
                NeedIdle | StopPlay, FileModes},

    // File utilities
    CommandSpec{UtilitiesCommand::CheckFile, "CheckFile", MenuId::File, "Chec&k File", "",
                "Check every game of the file for errors in its text and its moves.",
                NeedFile | NeedIdle | StopPlay, FileModes, false, true},
    CommandSpec{UtilitiesCommand::DeleteFenGames, "DeleteFenGames", MenuId::File,
                "Delete FEN Games", "", "Delete every game that starts from a set-up position.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{UtilitiesCommand::DeleteSearchListGames, "DeleteSearchListGames", MenuId::File,
                "Delete Search List Games", "", "Delete the games found by the last search.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{UtilitiesCommand::DuplicateGames, "DuplicateGames", MenuId::File,
                "D&uplicate Games", "", "Find the games whose moves repeat another game's moves.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{UtilitiesCommand::CurrentGameDuplicates, "CurrentGameDuplicates", MenuId::File,
                "Duplicates of Current Game", "", utilities::messages::SearchCurrentGameDuplicates,
                NeedGame | NeedIdle | StopPlay, FileModes},
    CommandSpec{UtilitiesCommand::DuplicateSettings, "DuplicateSettings", MenuId::File,
                "Duplicate Games Settings...", "",
                "How far ahead and how exactly the duplicate check compares games.",
                Needs::Nothing},
    CommandSpec{UtilitiesCommand::AdjustFile, "AdjustFile", MenuId::File, "&Adjust File", "",
                "Rewrite every game with short records in the normal layout.",
                NeedFile | NeedIdle | StopPlay, FileModes, false, true},
    CommandSpec{UtilitiesCommand::TrimMoves, "TrimMoves", MenuId::File, "Trim Moves...", "",
                "Cut every game of the file after a number of half moves.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{UtilitiesCommand::SplitFile, "SplitFile", MenuId::File, "Sp&lit File...", "",
                "Cut a large PGN file into several smaller ones.", NeedIdle},
    CommandSpec{UtilitiesCommand::FixDates, "FixDates", MenuId::File, "Fix game dates", "",
                "Replace one date by another in every game of the file.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{UtilitiesCommand::FixNames, "FixNames", MenuId::File, "Fix player names", "",
                "Replace a player's name in every game of the file.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{StatisticsCommand::ConvertYahoo, "ConvertYahoo", MenuId::File,
                "Convert &Yahoo Games...", "",
                "Convert games in the Yahoo format to PGN files from a text file or from the "
                "clipboard.",
                Needs::Nothing},

    // Game
    CommandSpec{GameCommand::StartOfGame, "Start", MenuId::Game, "&Start of Game", "Home",
                "Click on square a8 or press the Home key to move to the start of the game.",
                NeedGame},
    CommandSpec{GameCommand::Back5, "Back5", MenuId::Game, "&Back 5", "PgUp",
                "Click on rank 8 or press the Page Up key to move back 5 moves.", NeedGame},
    CommandSpec{GameCommand::PreviousMove, "PreviousMove", MenuId::Game, "&Previous Move", "Up",
                "Click on ranks 5, 6 or 7 or press the Up Arrow key to move back one move.",
                NeedGame},
    CommandSpec{GameCommand::NextMove, "NextMove", MenuId::Game, "&Next Move", "Down",
                "Click on ranks 2, 3 or 4 or press the Down Arrow key to move forward one move.",
                NeedGame},
    CommandSpec{GameCommand::Forward5, "Forward5", MenuId::Game, "&Forward 5", "PgDown",
                "Click on rank 1 or press the Page Down key to move forward 5 moves.", NeedGame},
    CommandSpec{GameCommand::EndOfGame, "End", MenuId::Game, "&End of Game", "End",
                "Click on square h1 or press the End key to move to the end of the game.",
                NeedGame},
    CommandSpec{GameCommand::MiddleOfGame, "Middle", MenuId::Game, "&Middle of Game", "Ins, Del",
                "Click on squares a1 or h8 or press the Insert or Delete key to move to the middle "
                "of the game.",
                NeedGame},
    CommandSpec{GameCommand::SetNewStart, "SetNewStart", MenuId::Game, "Set new start position", "",
                "Set a new start position to go to when the Start button is clicked.", NeedGame,
                NotEntering, false, true},
    CommandSpec{GameCommand::AutoPlay, "AutoPlay", MenuId::Game, "Auto Play", "Space",
                "Play through the game. Or press the space bar.", NeedGame, NotEntering},
    CommandSpec{
        GameCommand::StudyMode, "StudyMode", MenuId::Game, "Stu&dy Mode", "",
        "Enable study mode. The purpose of Study mode is to allow the user to anticipate or "
        "'guess' the next move of the game.",
        Needs::Nothing, ModeSet::All(), true},
    CommandSpec{GameCommand::SelectGame, "SelectGame", MenuId::Game, "Se&lect Game...", "Ctrl+L",
                "Select a game from a list box.", NeedFile | StopPlay, Browsing, false, true},
    CommandSpec{GameCommand::NextGame, "NextGame", MenuId::Game, "Next &Game", "Right",
                "Display the next game. Or press the Right Arrow key.", NeedGame | StopPlay,
                Browsing},
    CommandSpec{GameCommand::PreviousGame, "PreviousGame", MenuId::Game, "P&revious Game", "Left",
                "Display the previous game. Or press the Left Arrow key.", NeedGame | StopPlay,
                Browsing},
    CommandSpec{GameCommand::PreviousShownGame, "PreviousShownGame", MenuId::Game,
                "Return to Last Game", "",
                "Return to the immediately previous game in Game mode or Text mode.",
                NeedGame | StopPlay, FileModes},
    CommandSpec{GameCommand::GoToGame, "GoToGame", MenuId::Game, "Go to Game...", "Ctrl+G",
                "Show the game with the number you type.", NeedFile | StopPlay, FileModes},

    // Edit
    CommandSpec{EditCommand::AddGame, "AddGame", MenuId::Edit, "&Add Game", "Ctrl+N",
                "Enter a new game by moving the pieces on the board.", StopPlay, Replay},
    CommandSpec{EditCommand::AddFromPosition, "AddFromPosition", MenuId::Edit,
                "Add Game from Pos&ition...", "Ctrl+Shift+N",
                "Set up a position with the mouse or from a FEN, and enter a game from it.",
                StopPlay, Replay},
    CommandSpec{EditCommand::ModifyGame, "ModifyGame", MenuId::Edit, "&Modify Game", "Ctrl+M",
                "Change the moves and the header of the game on display.",
                NeedGame | NeedIdle | StopPlay, Replay},
    CommandSpec{EditCommand::TakeBack, "TakeBack", MenuId::Edit, "&Take Back Move", "Backspace",
                "Take back the last move entered.", Needs::Nothing, Entering, false, true},
    CommandSpec{EditCommand::EditHeader, "EditHeader", MenuId::Edit, "Edit &Header...",
                "Ctrl+Shift+H",
                "The event, site, date, round, players, result, ratings and ECO code of the game.",
                Needs::Nothing, Entering},
    CommandSpec{EditCommand::SaveGame, "SaveGame", MenuId::Edit, "&Save Game...", "Ctrl+S",
                "Save the entered game: into a new file, or appended, inserted or over the last "
                "game of a file.",
                NeedIdle, Entering},
    CommandSpec{EditCommand::SaveChanges,
                "SaveChanges",
                MenuId::Edit,
                "Save &Changes",
                "Ctrl+Shift+M",
                "Write the changed game over the game it came from.",
                NeedIdle,
                {Mode::ModifyGame}},
    CommandSpec{EditCommand::LeaveEntry, "LeaveEntry", MenuId::Edit, "&Leave Without Saving", "Esc",
                "Return to the games of the file; the entered moves are dropped.", Needs::Nothing,
                Entering},
    CommandSpec{EditCommand::Annotate, "AnnotateGame", MenuId::Edit, "A&nnotate Game...",
                "Ctrl+Shift+E", "Add comments, move marks and variations to the game on display.",
                NeedGame | NeedIdle | StopPlay, Replay, false, true},
    CommandSpec{EditCommand::DeleteGame, "DeleteGame", MenuId::Edit, "&Delete Game...", "Ctrl+Del",
                "Delete the game on display from the file.", NeedGame | NeedIdle | StopPlay,
                FileModes},
    CommandSpec{EditCommand::CopyGame, "CopyGame", MenuId::Edit, "Copy Game to &File...", "",
                "Copy the game on display into another PGN file.", NeedGame | NeedIdle | StopPlay,
                FileModes},
    CommandSpec{EditCommand::CopyListedGames, "CopyListedGames", MenuId::Edit,
                "Copy Listed &Games to File...", "",
                "Copy the games of the search list into another PGN file.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{EditCommand::MoveToBuffer, "MoveGameToBuffer", MenuId::Edit, "Move Game to &Buffer",
                "",
                "Keep a copy of the game on display in the game buffer, to save it into another "
                "file.",
                NeedGame, FileModes, false, true},
    CommandSpec{EditCommand::SaveBuffer, "SaveGameBuffer", MenuId::Edit, "Save Game B&uffer...", "",
                "Save the game of the game buffer into a file.", NeedIdle | StopPlay, FileModes},
    CommandSpec{EditCommand::CopyGameText, "CopyGameText", MenuId::Edit, "C&opy Game Text",
                "Ctrl+Alt+C", "Copy the text of the game on display to the clipboard.", NeedGame,
                FileModes, false, true},
    CommandSpec{EditCommand::PasteGame, "PasteGame", MenuId::Edit, "&Paste Game...", "Ctrl+Alt+V",
                "Save the game text on the clipboard into a file.", NeedIdle | StopPlay, FileModes},
    CommandSpec{SideCommand::ExtractVariations, "ExtractVariations", MenuId::Edit,
                "E&xtract Variations...", "",
                "Write every variation of this game, or of every game of the file, as a game of "
                "its own.",
                NeedFile | NeedGame | NeedIdle | StopPlay, FileModes},

    // View
    CommandSpec{GameCommand::FlipBoard, "FlipBoard", MenuId::View, "&Flip Board", "Ctrl+F",
                "Show the board from Black's side.", Needs::Nothing, ModeSet::All(), true},
    CommandSpec{GameCommand::ActualText, "ActualText", MenuId::View, "Actual Text", "Ctrl+T",
                "Show the game's text exactly as the file holds it.", NeedGame, NotEntering},

    // Search
    CommandSpec{SearchCommand::Header, "SearchHeader", MenuId::Search, "Search &Header...",
                "Ctrl+H", "Find the games whose header fields match.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{SearchCommand::Variation, "SearchVariation", MenuId::Search, "Search &Variation...",
                "Ctrl+Shift+V", "Find the games that follow a line of moves.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{SearchCommand::Position, "SearchPosition", MenuId::Search, "Search &Position...",
                "Ctrl+Shift+P", "Find the games that reach a position.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{SearchCommand::ExactVariation, "ExactVariation", MenuId::Search, "Exact Variation",
                "", "The line must be the game's whole opening, not only its start.",
                Needs::Nothing, ModeSet::All(), true},
    CommandSpec{SearchCommand::ForceMatch, "ForceMatch", MenuId::Search, "Force Match", "",
                "Find the games that follow the line as far as any game does.", Needs::Nothing,
                ModeSet::All(), true},
    CommandSpec{SearchCommand::Statistics, "SearchStatistics", MenuId::Search, "Search &Statistics",
                "", "The results of the games found by the last search.", Needs::OpenFile,
                FileModes, false, true},
    CommandSpec{
        StatisticsCommand::PlayerScores, "PlayerScores", MenuId::Search, "Player Sco&res...", "",
        "Every player's wins, draws and losses and score, over the file or the games found.",
        NeedFile, FileModes},
    CommandSpec{StatisticsCommand::CrossTable, "CrossTable", MenuId::Search, "&Cross Table...", "",
                "The tournament table of the file or the games found, round by round.", NeedFile,
                FileModes},
    CommandSpec{StatisticsCommand::OpeningsList, "OpeningsList", MenuId::Search,
                "&Openings List...", "",
                "How the games of the file or the games found ended, opening by opening.", NeedFile,
                FileModes},
    CommandSpec{SearchCommand::ResetNavigation, "ResetNavigation", MenuId::Search,
                "Reset Navigation", "",
                "Reset the Select Game list and next/prev game navigation after a search.",
                NeedFile | StopPlay, FileModes},
    CommandSpec{SearchCommand::Save, "SaveSearch", MenuId::Search, "Save Search...", "",
                "Save the criteria of the last search in a file.", Needs::Nothing, ModeSet::All(),
                false, true},
    CommandSpec{SearchCommand::Load, "LoadSearch", MenuId::Search, "Load Search...", "",
                "Load search criteria saved before.", Needs::Nothing},

    // Tree
    CommandSpec{TreeCommand::MakeFastFile, "MakeFastFile", MenuId::Tree, "Make Fast File", "",
                "Build the fast file that makes searches, trees and duplicate checks fast.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{TreeCommand::CheckFastFile, "CheckFastFile", MenuId::Tree, "Check Fast File", "",
                "Say whether the fast file is current.", NeedFile | NeedIdle, FileModes},
    CommandSpec{TreeCommand::DeleteFastFile, "DeleteFastFile", MenuId::Tree, "Delete Fast File", "",
                "Delete the fast file of the open file.", NeedFile | NeedIdle, FileModes},

    CommandSpec{TreeCommand::OpenTree, "OpenTree", MenuId::Tree, "Open &Tree", "Ctrl+Shift+T",
                "What the games of the open file played in each position, and how it scored.",
                NeedFile | NeedIdle | StopPlay, Replay, false, true},
    CommandSpec{TreeCommand::OpenEcoTree, "OpenEcoTree", MenuId::Tree, "Open &ECO Tree", "",
                "The lines of the ECO table as a tree.", StopPlay, Replay},
    CommandSpec{TreeCommand::OpenMergeTree, "OpenMergeTree", MenuId::Tree,
                "Open &Merge File Tree...", "", "The tree of the games of a tree merge file.",
                NeedIdle | StopPlay, Replay},
    CommandSpec{TreeCommand::OpenDatabaseTree, "OpenDatabaseTree", MenuId::Tree,
                "Open &Database Tree", "", "The tree of the games of the open database.",
                NeedDatabase | NeedIdle | StopPlay, Replay},
    CommandSpec{TreeCommand::RebuildTree, "RebuildTree", MenuId::Tree, "&Rebuild Tree", "",
                "Delete the tree file and start the tree again.", NeedIdle, TreeMode},
    CommandSpec{TreeCommand::CloseTree, "CloseTree", MenuId::Tree, "&Close Tree", "",
                "Close the tree window.", Needs::Nothing, TreeMode},
    CommandSpec{TreeCommand::TreeSettings, "TreeSettings", MenuId::Tree, "Tree &Settings...", "",
                "How the tree sorts its moves, what its rows show and when a branch ends.",
                Needs::Nothing},
    CommandSpec{TreeCommand::MakeMergeFile, "MakeMergeFile", MenuId::Tree, "Make Mer&ge File...",
                "", "Start a tree merge file with the games of the open file.",
                NeedFile | NeedIdle | StopPlay, FileModes, false, true},
    CommandSpec{TreeCommand::AddToMergeFile, "AddToMergeFile", MenuId::Tree,
                "&Add to Merge File...", "", "Add the games of the open file to a tree merge file.",
                NeedFile | NeedIdle | StopPlay, FileModes},
    CommandSpec{LineCommand::VariationEdit, "VariationEdit", MenuId::Tree, "&Variation Edit", "",
                "Enter a line on a board of its own and see it named.", StopPlay, Replay, false,
                true},
    CommandSpec{LineCommand::Analyze, "Analyze", MenuId::Tree, "A&nalyze", "",
                "Try moves from the position of the game on display.", StopPlay, Replay},
    CommandSpec{LineCommand::TakeBack, "LineTakeBack", MenuId::Tree, "Take Back Line Move", "",
                "Take back the last move of the line.", Needs::Nothing, BoardLines},
    CommandSpec{LineCommand::Leave, "LeaveLineMode", MenuId::Tree, "&Leave Line Mode", "",
                "Close the line's board and return to the games of the file.", Needs::Nothing,
                LineModes},
    CommandSpec{LineCommand::ShowNextMoves, "ShowNextMoves", MenuId::Tree, "Show Ne&xt Moves", "",
                "The moves the games of the open file played after the line, with their scores.",
                NeedFile | NeedIdle, LineModes},
    CommandSpec{LineCommand::ShowManeuvers, "ShowManeuvers", MenuId::Tree, "Sho&w Maneuvers", "",
                "The moves the games played in the next moves after the line, each counted.",
                NeedFile | NeedIdle, LineModes},
    CommandSpec{LineCommand::LookAhead, "ManeuverLookAhead", MenuId::Tree,
                "Maneuvers Look Ahead Count...", "", "How many moves Show Maneuvers looks ahead.",
                Needs::Nothing},

    // Openings
    CommandSpec{OpeningsCommand::ShowOpening, "ShowOpening", MenuId::Openings, "Show Opening",
                "Ctrl+E", "Name the opening of the position on the board.", Needs::Nothing,
                NotDatabase},
    CommandSpec{
        OpeningsCommand::FindClosestMatch, "FindOpeningClosestMatch", MenuId::Openings,
        "Find Opening - Closest Match", "",
        "In Variation Edit or Analyze mode: the table's line that comes closest to the line "
        "on the board.",
        Needs::Nothing, LineModes},
    CommandSpec{
        OpeningsCommand::FindExactNumberOfMoves, "FindOpeningExactNumberOfMoves", MenuId::Openings,
        "Find Opening - Exact Number of Moves", "",
        "In Variation Edit or Analyze mode: the table's line with as many moves as the line "
        "on the board.",
        Needs::Nothing, LineModes},
    CommandSpec{
        OpeningsCommand::FindExactVariation, "FindOpeningExactVariation", MenuId::Openings,
        "Find Opening - Exact Variation", "",
        "In Variation Edit or Analyze mode: the table's line made of exactly the moves on the "
        "board.",
        Needs::Nothing, LineModes},
    CommandSpec{OpeningsCommand::DisplayOpening, "DisplayOpening", MenuId::Openings,
                "Display Opening", "",
                "Name the opening under the board as the game is played through.", Needs::Nothing,
                ModeSet::All(), true, true},

    CommandSpec{EcoEditCommand::Enter, "EditEcoTable", MenuId::Openings, "Edit ECO &Table", "",
                "Add, change and delete the lines of the ECO table.", StopPlay, Replay, false,
                true},
    CommandSpec{EcoEditCommand::AddLine, "EcoAddLine", MenuId::Openings, "&Add Line", "",
                "Add the line on the board to the table.", Needs::Nothing, EcoEditing},
    CommandSpec{EcoEditCommand::ModifyLine, "EcoModifyLine", MenuId::Openings, "&Modify Line", "",
                "Give the selected line the moves on the board.", Needs::Nothing, EcoEditing},
    CommandSpec{EcoEditCommand::RenameLine, "EcoRenameLine", MenuId::Openings, "&Rename Line...",
                "", "Give the selected line another name.", Needs::Nothing, EcoEditing},
    CommandSpec{EcoEditCommand::DeleteLine, "EcoDeleteLine", MenuId::Openings, "&Delete Line", "",
                "Delete the selected line from the table.", Needs::Nothing, EcoEditing},
    CommandSpec{EcoEditCommand::Check, "EcoCheckTable", MenuId::Openings, "&Check Table", "",
                "Look for lines the table cannot name.", Needs::Nothing, EcoEditing},
    CommandSpec{EcoEditCommand::RestorePrevious, "EcoRestorePrevious", MenuId::Openings,
                "Restore &Previous Version", "",
                "Put back the table as it was before the last saved edit.", Needs::Nothing,
                EcoEditing},
    CommandSpec{EcoEditCommand::LeaveSaving, "EcoLeaveSaving", MenuId::Openings, "&Save and Leave",
                "", "Keep the changes and leave the ECO edit mode.", Needs::Nothing, EcoEditing},
    CommandSpec{EcoEditCommand::LeaveWithoutSaving, "EcoLeaveWithoutSaving", MenuId::Openings,
                "Leave &Without Saving", "", "Drop the changes and leave the ECO edit mode.",
                Needs::Nothing, EcoEditing},

    // Analysis replay
    CommandSpec{AnalysisCommand::Next, "ReplayNext", MenuId::Analysis, "&Next Analysis Move",
                "Ctrl+Down", "Play the next move of the analysis. Or press Ctrl+Down.",
                NeedGame | StopPlay, NotDatabase},
    CommandSpec{AnalysisCommand::Previous, "ReplayPrevious", MenuId::Analysis,
                "&Previous Analysis Move", "Ctrl+Up",
                "Take back the last move of the analysis. Or press Ctrl+Up.", NeedGame | StopPlay,
                NotDatabase},
    CommandSpec{AnalysisCommand::Start, "ReplayStart", MenuId::Analysis, "&Start of Analysis",
                "Ctrl+Home", "Start the analysis again at the current move. Or press Ctrl+Home.",
                NeedGame | StopPlay, NotDatabase},
    CommandSpec{AnalysisCommand::Promote, "ReplayPromote", MenuId::Analysis, "P&romote Line", "",
                "", NeedGame, ModeSet{}, false, false,
                "Promote the line on display to the main line: needs the annotation editor, which "
                "this version does not have yet."},
    CommandSpec{AnalysisCommand::Lines, "AnalysisList", MenuId::Analysis, "Analysis &Lines...",
                "Ctrl+Shift+A",
                "List the analysis lines that follow the current move. Or press Ctrl+Shift+A.",
                Needs::Nothing, NotDatabase, false, true},

    // Chess engines
    CommandSpec{EngineCommand::AnalyseUci, "AnalyseUci", MenuId::Analysis,
                "Analyse with &UCI Engine", "Ctrl+Shift+U",
                "Let the UCI engine analyse the position on the board; it follows the moves as "
                "you step through the game.",
                NeedGame | StopPlay, EngineStarts, false, true},
    CommandSpec{EngineCommand::PlayUci, "PlayUci", MenuId::Analysis, "Play against UCI &Engine", "",
                "Play a game against the UCI engine on the board.", StopPlay, Replay},
    CommandSpec{EngineCommand::AnalyseGame, "AnalyseGame", MenuId::Analysis, "Analyse the &Game",
                "",
                "Let the UCI engine analyse every position of the game and draw its evaluation "
                "profile.",
                NeedGame | StopPlay, EngineStarts},
    CommandSpec{EngineCommand::Stop, "StopEngine", MenuId::Analysis, "S&top Engine", "",
                "Stop the engine and close its window.", Needs::Nothing, EngineModes},
    CommandSpec{EngineCommand::TakeBack, "EngineTakeBack", MenuId::Analysis, "Take &Back", "",
                "Take back your last move and the engine's reply.", Needs::Nothing, Playing, false,
                true},
    CommandSpec{EngineCommand::ForceMove, "EngineForceMove", MenuId::Analysis, "&Force Move", "",
                "Make the engine move now.", Needs::Nothing, Playing},
    CommandSpec{EngineCommand::NewGame, "EngineNewGame", MenuId::Analysis, "Ne&w Game", "",
                "Start a new game against the engine.", Needs::Nothing, Playing},
    CommandSpec{EngineCommand::SavePlayedGame, "SavePlayedGame", MenuId::Analysis,
                "Sa&ve Played Game...", "",
                "Stop the engine and save the game played against it into a PGN file.",
                Needs::Nothing, Playing},
    CommandSpec{EngineCommand::Score, "EngineScore", MenuId::Analysis, "Score", "",
                "Ask Crafty for its evaluation of the game.", Needs::Nothing, Playing},
    CommandSpec{EngineCommand::Clock, "EngineClock", MenuId::Analysis, "Cloc&k", "",
                "Ask Crafty for the time left on both clocks.", Needs::Nothing, Playing},
    CommandSpec{EngineCommand::Resign, "EngineResign", MenuId::Analysis, "Resign", "",
                "Resign the game against Crafty.", Needs::Nothing, Playing},
    CommandSpec{EngineCommand::Draw, "EngineDraw", MenuId::Analysis, "Offer Draw", "",
                "Offer Crafty a draw.", Needs::Nothing, Playing},
    CommandSpec{EngineCommand::SelectUci, "SelectUciEngine", MenuId::Analysis,
                "Select UCI Engine...", "", "Choose the UCI engine program.", Needs::Nothing,
                EngineStarts, false, true},
    CommandSpec{EngineCommand::UciOptions, "UciOptions", MenuId::Analysis, "UCI &Options...", "",
                "Show and change the options the UCI engine offers.", Needs::Nothing},
    CommandSpec{EngineCommand::DisplayOptions, "EngineDisplayOptions", MenuId::Analysis,
                "Engine &Display Options...", "",
                "Choose the engine window's font and the evaluation profile.", Needs::Nothing},
    CommandSpec{EngineCommand::AnalyseCrafty, "AnalyseCrafty", MenuId::Analysis,
                "Analyse with &Crafty", "", "Let Crafty analyse the position on the board.",
                NeedGame | StopPlay, EngineStarts, false, true},
    CommandSpec{EngineCommand::PlayCrafty, "PlayCrafty", MenuId::Analysis, "Play against Craft&y",
                "", "Play a game against Crafty.", StopPlay, Replay},
    CommandSpec{EngineCommand::SelectCrafty, "SelectCrafty", MenuId::Analysis, "Select Crafty...",
                "", "Choose the Crafty program.", Needs::Nothing, EngineStarts},
    CommandSpec{
        EngineCommand::CraftyGameInfo, "CraftyGameInfo", MenuId::Analysis, "Crafty Game &Info...",
        "", "Set who moves first, the clock and what Crafty shows in its games.", Needs::Nothing},
    CommandSpec{EngineCommand::SaveCraftyPosition, "SaveCraftyPosition", MenuId::Analysis,
                "Save Crafty Position...", "",
                "Save the position on the board as a Crafty position file.", NeedGame},
    CommandSpec{EngineCommand::ConvertCanFile, "ConvertCanFile", MenuId::Analysis,
                "Convert Crafty &Annotation File...", "",
                "Turn a Crafty annotation (.can) file into a PGN file beside it.", Needs::Nothing},

    // Options
    CommandSpec{OptionsCommand::Options, "Options", MenuId::Options, "O&ptions...", "Ctrl+,",
                "Board, pieces, colours, notation and the other settings.", Needs::Nothing},
    CommandSpec{OptionsCommand::MoveSound, "MoveSound", MenuId::Options, "Move &Sound", "",
                "Play a short sound with every move on the board.", Needs::Nothing, ModeSet::All(),
                true},

    // Output
    CommandSpec{OutputCommand::SaveScreenShot, "SaveScreenShot", MenuId::File,
                "Save Screen Shot...", "Ctrl+Shift+S", "Save a picture of the board as a PNG file.",
                Needs::Nothing, ModeSet::All(), false, true},
    CommandSpec{OutputCommand::SaveDiagram, "SaveDiagram", MenuId::File, "Save &Diagram...", "",
                "Save the position on the board as a GIF, PNG, JPEG or BMP diagram.", NeedGame,
                NotEntering},
    CommandSpec{OutputCommand::SaveHtmlDiagram, "SaveHtmlDiagram", MenuId::File,
                "Save &HTML Diagram...", "", "Save the position on the board as a web page.",
                NeedGame, NotEntering},
    CommandSpec{OutputCommand::CopyDiagram, "CopyDiagram", MenuId::File, "&Copy Diagram",
                "Ctrl+Shift+C", "Copy the diagram of the position on the board to the clipboard.",
                NeedGame, NotEntering},
    CommandSpec{OutputCommand::DiagramSeries, "DiagramSeries", MenuId::File, "Diagram &Series...",
                "",
                "Save one diagram for every move from the position on the board to the end of the "
                "game. Click on the board to stop.",
                NeedGame, NotEntering},
    CommandSpec{OutputCommand::HtmlDiagramSeries, "HtmlDiagramSeries", MenuId::File,
                "HTML Diagram S&eries...", "",
                "Save one web page for every move from the position on the board to the end of "
                "the game. Click on the board to stop.",
                NeedGame, NotEntering},
    CommandSpec{StatisticsCommand::AddMovesToPrintList, "AddMovesToPrintList", MenuId::File,
                "Add Game to Pri&nt List", "Ctrl+Shift+L",
                "Add the game on display to the print list: its moves under a two-line summary.",
                NeedGame, NotEntering, false, true},
    CommandSpec{StatisticsCommand::AddTextToPrintList, "AddTextToPrintList", MenuId::File,
                "Add Game &Text to Print List", "",
                "Add the game on display to the print list as the file holds it.", NeedGame,
                NotEntering},
    CommandSpec{StatisticsCommand::PrintPreview, "PrintPreview", MenuId::File, "Print Pre&view...",
                "", "See the pages of the print list before printing them.", Needs::Nothing},
    CommandSpec{StatisticsCommand::PrintList, "PrintList", MenuId::File, "&Print...", "",
                "Print the games of the print list.", Needs::Nothing},
    // Last in the File menu, below the output commands.
    CommandSpec{FileCommand::Exit, "Exit", MenuId::File, "E&xit", "Ctrl+Q", "", Needs::Nothing,
                ModeSet::All(), false, true},

    // Annotation
    CommandSpec{AnnotationCommand::Title, "AnnotationTitle", MenuId::Annotation, "&Title...", "",
                "Start a new annotation page with its title and headings.", Needs::Nothing},
    CommandSpec{AnnotationCommand::Mark, "AnnotationMark", MenuId::Annotation, "&Mark", "",
                "The next run of moves starts after the move on the board.", NeedGame, NotEntering},
    CommandSpec{AnnotationCommand::Generate, "AnnotationGenerate", MenuId::Annotation,
                "&Generate Moves", "",
                "Add the moves from the mark to the move on the board to the page.", NeedGame,
                NotEntering},
    CommandSpec{AnnotationCommand::Comment, "AnnotationComment", MenuId::Annotation, "&Comment...",
                "", "Write a comment; the board comes back here when it ends.", NeedGame,
                NotEntering, false, true},
    CommandSpec{AnnotationCommand::EndComment, "AnnotationEndComment", MenuId::Annotation,
                "&End Comment", "", "Add the comment to the page and put the board back.",
                Needs::Nothing},
    CommandSpec{AnnotationCommand::Diagram, "AnnotationDiagram", MenuId::Annotation, "&Diagram...",
                "", "Add a diagram of the position on the board to the page.", NeedGame,
                NotEntering, false, true},
    CommandSpec{AnnotationCommand::Save, "AnnotationSave", MenuId::Annotation, "&Save...", "",
                "Save the page; it stays open for more.", Needs::Nothing, ModeSet::All(), false,
                true},
    CommandSpec{AnnotationCommand::Open, "AnnotationOpen", MenuId::Annotation, "&Open...", "",
                "Open a saved annotation page to continue it.", Needs::Nothing},

    // Directory search
    CommandSpec{DirectoryCommand::SearchHeader, "SearchDirectoryHeader", MenuId::Search,
                "Search Directory - Header...", "",
                "Search every PGN file of a folder by header fields.", NeedIdle | StopPlay,
                ModeSet::All(), false, true},
    CommandSpec{DirectoryCommand::SearchVariation, "SearchDirectoryVariation", MenuId::Search,
                "Search Directory - Variation...", "",
                "Search every PGN file of a folder for a line of moves.", NeedIdle | StopPlay},
    CommandSpec{DirectoryCommand::SearchPosition, "SearchDirectoryPosition", MenuId::Search,
                "Search Directory - Position...", "",
                "Search every PGN file of a folder for a position.", NeedIdle | StopPlay},
    CommandSpec{DirectoryCommand::ShowResults, "DirectoryResults", MenuId::Search,
                "Directory Search Results...", "",
                "List the files the last directory search found games in.", NeedIdle | StopPlay,
                FileModes},
    CommandSpec{DirectoryCommand::SaveResults, "SaveDirectoryResults", MenuId::Search,
                "Save Directory Results...", "",
                "Save the results of the last directory search as a .dir file.", Needs::Nothing},
    CommandSpec{DirectoryCommand::LoadResults, "LoadDirectoryResults", MenuId::Search,
                "Load Directory Results...", "", "Load directory search results saved before.",
                NeedIdle},
    CommandSpec{DirectoryCommand::CopyGames, "CopyDirectoryGames", MenuId::Search,
                "Copy Directory Games...", "",
                "Copy the games the last directory search found into one PGN file.", NeedIdle},
    CommandSpec{DirectoryCommand::SelectAllGames, "SelectAllGames", MenuId::Search,
                "Select All Games", "", "Put every game of the open file into the search list.",
                NeedFile | StopPlay, FileModes},

    // Database
    CommandSpec{DatabaseCommand::Open, "OpenDatabase", MenuId::Database, "&Open Database...", "",
                "Open a database (.dbg) to search.", NeedIdle},
    CommandSpec{DatabaseCommand::Close, "CloseDatabase", MenuId::Database, "&Close Database", "",
                "Close the open database.", NeedIdle | NeedDatabase},
    CommandSpec{DatabaseCommand::StartNew, "StartNewDatabase", MenuId::Database,
                "&Start New Database...", "",
                "Make a new database from the games of the open file.", NeedFile | NeedIdle,
                FileModes, false, true},
    CommandSpec{DatabaseCommand::AddTo, "AddToDatabase", MenuId::Database, "&Add to Database...",
                "", "Add the games of the open file to a database.", NeedFile | NeedIdle,
                FileModes},
    CommandSpec{DatabaseCommand::SearchOptions, "DatabaseSearchOptions", MenuId::Database,
                "Database Search O&ptions...", "",
                "Search the open database by player, year, result, ECO and position.",
                NeedIdle | StopPlay, DatabaseModes, false, true},
    CommandSpec{DatabaseCommand::SelectGame, "SelectDatabaseGame", MenuId::Database,
                "Select &Game from Database...", "",
                "Choose one of the games the last database search found and show it on the board.",
                NeedIdle | NeedDatabase | StopPlay, DatabaseModes},
    CommandSpec{DatabaseCommand::CopyGames, "CopyDatabaseGames", MenuId::Database,
                "Copy &Found Games...", "",
                "Copy the games the last database search found into a PGN file.",
                NeedIdle | NeedDatabase},
    CommandSpec{DatabaseCommand::CopyToBuffer, "CopyDatabaseGameToBuffer", MenuId::Database,
                "Copy Game to &Buffer", "", "Copy the database game on display to the game buffer.",
                NeedIdle | NeedDatabase, DatabaseOnly},
    CommandSpec{DatabaseCommand::LeaveMode, "LeaveDatabaseMode", MenuId::Database,
                "&Return to File", "Esc",
                "Show the games of the open file again; the database stays open.", Needs::Nothing,
                DatabaseOnly},
    CommandSpec{DatabaseCommand::Check, "CheckDatabase", MenuId::Database, "C&heck Database", "",
                "Check that the files of the open database agree with each other.", NeedIdle,
                ModeSet::All(), false, true},

    // Help
    CommandSpec{HelpCommand::Manual, "Manual", MenuId::Help, "Qorvale &Manual", "F1",
                "Open the user manual.", Needs::Nothing},
    CommandSpec{HelpCommand::About, "About", MenuId::Help, "&About Qorvale", "", "",
                Needs::Nothing},
};

constexpr std::array<std::pair<std::string_view, std::string_view>, 12> Menus = {{
    {"FileMenu", "&File"},
    {"GameMenu", "&Game"},
    {"EditMenu", "&Edit"},
    {"ViewMenu", "&View"},
    {"SearchMenu", "&Search"},
    {"TreeMenu", "&Tree"},
    {"OpeningsMenu", "O&penings"},
    {"AnalysisMenu", "&Analysis"},
    {"DatabaseMenu", "&Database"},
    {"AnnotationMenu", "A&nnotation"},
    {"OptionsMenu", "&Options"},
    {"HelpMenu", "&Help"},
}};
static_assert(Menus.size() == static_cast<std::size_t>(MenuId::Help) + 1);

}  // namespace

std::string_view MenuObjectName(MenuId menu) { return Menus[static_cast<std::size_t>(menu)].first; }
std::string_view MenuTitle(MenuId menu) { return Menus[static_cast<std::size_t>(menu)].second; }

std::span<const CommandSpec> CommandTable() { return Table; }

const CommandSpec& SpecOf(CommandId id) {
    for (const CommandSpec& row : Table) {
        if (row.id == id) return row;
    }
    // Every id has a row (a test walks them all); a missing one is a programming error.
    std::abort();
}

std::optional<NavigationAction> MoveActionOf(GameCommand command) {
    static constexpr std::array<std::pair<GameCommand, NavigationAction>, 7> Moves = {{
        {GameCommand::StartOfGame, NavigationAction::StartOfGame},
        {GameCommand::Back5, NavigationAction::Back5},
        {GameCommand::PreviousMove, NavigationAction::PreviousMove},
        {GameCommand::NextMove, NavigationAction::NextMove},
        {GameCommand::Forward5, NavigationAction::Forward5},
        {GameCommand::EndOfGame, NavigationAction::EndOfGame},
        {GameCommand::MiddleOfGame, NavigationAction::MiddleOfGame},
    }};
    for (const auto& [game_command, action] : Moves) {
        if (game_command == command) return action;
    }
    return std::nullopt;
}

Refusal CheckCommand(const CommandSpec& row, const ShellState& state) {
    bool provided = false;
    for (std::size_t mode = 0; mode < ModeCount; ++mode) {
        const auto m = static_cast<Mode>(mode);
        if (row.modes.Contains(m) && ModeModel::ModeProvided(m)) provided = true;
    }
    if (!provided) return Refusal::Unavailable;
    if (!row.modes.Contains(state.mode)) return Refusal::WrongMode;
    if (Has(row.needs, Needs::OpenFile) && !state.file_open) return Refusal::NoFile;
    if (Has(row.needs, Needs::Game) && !state.has_game) return Refusal::NoGame;
    if (Has(row.needs, Needs::Database) && !state.database_open) return Refusal::NoDatabase;
    if (Has(row.needs, Needs::IdleWorker) && state.worker_busy) return Refusal::Busy;
    return Refusal::None;
}

std::vector<bool> EnabledCommands(const ShellState& state) {
    std::vector<bool> enabled;
    enabled.reserve(Table.size());
    for (const CommandSpec& row : Table) {
        const Refusal refusal = CheckCommand(row, state);
        enabled.push_back(refusal == Refusal::None || refusal == Refusal::Busy);
    }
    return enabled;
}

}  // namespace qorvale::app
