#pragma once

#include <string_view>

namespace qorvale::gui {

// Tool tips of the navigation buttons: each names its key and its board click.
inline constexpr std::string_view NextMoveTip =
    "Click on ranks 2, 3 or 4 or press the Down Arrow key to move forward one move.";
inline constexpr std::string_view PreviousMoveTip =
    "Click on ranks 5, 6 or 7 or press the Up Arrow key to move back one move.";
inline constexpr std::string_view Forward5Tip =
    "Click on rank 1 or press the Page Down key to move forward 5 moves.";
inline constexpr std::string_view Back5Tip =
    "Click on rank 8 or press the Page Up key to move back 5 moves.";
inline constexpr std::string_view StartTip =
    "Click on square a8 or press the Home key to move to the start of the game.";
inline constexpr std::string_view EndTip =
    "Click on square h1 or press the End key to move to the end of the game.";
inline constexpr std::string_view MiddleTip =
    "Click on squares a1 or h8 or press the Insert or Delete key to move to the middle of the "
    "game.";
inline constexpr std::string_view AutoPlayTip = "Play through the game. Or press the space bar.";
inline constexpr std::string_view NextGameTip =
    "Display the next game. Or press the Right Arrow key.";
inline constexpr std::string_view PreviousGameTip =
    "Display the previous game. Or press the Left Arrow key.";
inline constexpr std::string_view NewStartTip =
    "Set a new start position to go to when the Start button is clicked.";
inline constexpr std::string_view StudyModeTip =
    "Enable study mode. The purpose of Study mode is to allow the user to anticipate or 'guess' "
    "the next move of the game.";
inline constexpr std::string_view PreviousShownGameTip =
    "Return to the immediately previous game in Game mode or Text mode.";

inline constexpr std::string_view PreviousFileTip =
    "Return to the previous PGN file and show the game that was last displayed in the previous "
    "file.";
inline constexpr std::string_view SelectGameTip = "Select a game from a list box.";
inline constexpr std::string_view ResetNavigationTip =
    "Reset the Select Game list and next/prev game navigation after a search.";

// Analysis replay: the move buttons and the list of the lines after a move.
inline constexpr std::string_view ReplayNextTip =
    "Play the next move of the analysis. Or press Ctrl+Down.";
inline constexpr std::string_view ReplayPreviousTip =
    "Take back the last move of the analysis. Or press Ctrl+Up.";
inline constexpr std::string_view ReplayStartTip =
    "Start the analysis again at the current move. Or press Ctrl+Home.";
inline constexpr std::string_view ReplayPromoteTip =
    "Promote the line on display to the main line. Needs the game editor, which this version "
    "does not have.";
inline constexpr std::string_view AnalysisListTip =
    "List the analysis lines that follow the current move. Or press Ctrl+Shift+A.";
inline constexpr std::string_view AnalysisListTitle = "Analysis Lines";
inline constexpr std::string_view AnalysisListHeadingStart = "Lines at the start of the game";
inline constexpr std::string_view AnalysisListHeadingAfter = "Lines after %s";
inline constexpr std::string_view AnalysisListNone = "No analysis lines follow this move.";

inline constexpr std::string_view AutoPlayLabel = "Auto Play";
inline constexpr std::string_view StopAutoPlayLabel = "Stop Auto Play";
inline constexpr std::string_view ActualTextTitle = "Actual Text";
inline constexpr std::string_view GoToGameTitle = "Go to Game";

}  // namespace qorvale::gui
