#pragma once

#include <string_view>

// The engines' texts, exactly as the user sees them.
namespace qorvale::engines::messages {

// Starting and stopping an engine.
inline constexpr std::string_view StdoutPipeFailed = "Stdout pipe creation failed.";
inline constexpr std::string_view StdinPipeFailed = "Stdin pipe creation failed.";
inline constexpr std::string_view CouldNotStartUci = "Could not start UCI engine.";
inline constexpr std::string_view CouldNotStartCrafty = "Could not start Crafty.";
inline constexpr std::string_view ErrorStartingUci = "Error starting UCI engine.";
inline constexpr std::string_view UciNotStarted = "The UCI engine has not been started.";
inline constexpr std::string_view CannotRunUciWithCrafty =
    "Cannot run UCI engine while running Crafty.";
inline constexpr std::string_view CannotRunCraftyWithUci =
    "Cannot run Crafty while running UCI engine.";
inline constexpr std::string_view NotSupportedForUci = "Function not supported for the UCI engine.";
inline constexpr std::string_view RestartForOptions =
    "Restart the UCI engine for the new options to take affect.";
// An engine that ends by itself while it is in use.
inline constexpr std::string_view UciEngineStopped = "The UCI engine has stopped.";
inline constexpr std::string_view CraftyStopped = "Crafty has stopped.";

// Window and dialog titles.
inline constexpr std::string_view UciOptionsTitle = "UCI Options";
inline constexpr std::string_view UciWindowTitle = "UCI Engine Interface";
inline constexpr std::string_view UciDisplayOptionsTitle = "UCI Display Options";
inline constexpr std::string_view CraftyDisplayOptionsTitle = "Crafty Display Options";
inline constexpr std::string_view CraftyGameInfoTitle = "Crafty Game Info";
inline constexpr std::string_view CraftyPositionInfoTitle = "Crafty Position Info";

// The game menu while playing.
inline constexpr std::string_view ForceMoveFirst =
    "Not valid when Crafty is on move. Force a move first.";
inline constexpr std::string_view OnlyWhenEngineOnMove = "Only valid when Crafty is on move.";
inline constexpr std::string_view NotWhenEngineOnMove = "Not valid when Crafty is on move.";
inline constexpr std::string_view DisplayGeneralNotOn = "The display general option is not on.";
inline constexpr std::string_view ConfirmNewGame = "Start a new game. Confirm.";
inline constexpr std::string_view ConfirmExitUci = "Exit the UCI engine. Confirm.";
inline constexpr std::string_view ConfirmExitCrafty = "Exit Crafty. Confirm.";
inline constexpr std::string_view ConfirmResign = "Resign the game. Confirm.";
inline constexpr std::string_view AskMoveFirst = "Do you want to move first?";
inline constexpr std::string_view MoveCommandsNotAllowed = "Move commands are not allowed.";

// Crafty's files.
inline constexpr std::string_view ErrorCreatingPositionFile =
    "Error creating Crafty position file.";
inline constexpr std::string_view ErrorCreatingAnalysisGame = "Error creating position file.";
inline constexpr std::string_view ErrorCreatingReadFile = "Error creating read file.";
inline constexpr std::string_view ErrorOpeningCanFile = "Error opening CAN file.";
inline constexpr std::string_view ErrorCreatingPgnFile = "Error creating PGN file.";

// The display options and the dialogs' controls.
inline constexpr std::string_view FixedFont = "Fixed Font";
inline constexpr std::string_view EvaluationProfile = "Evaluation Profile";
inline constexpr std::string_view ProfileColoursDefault = "Default";
inline constexpr std::string_view ProfileColoursBlackAndWhite = "Black and White";
inline constexpr std::string_view ProfileColoursSquares = "Use the light and dark square colors";
inline constexpr std::string_view CraftyMovesFirstLabel = "Crafty to move first";
inline constexpr std::string_view ContinueGameLabel = "Continue game";
inline constexpr std::string_view DisablePonderingLabel = "Disable pondering";
inline constexpr std::string_view DisplayGeneralLabel = "Display general information messages";
inline constexpr std::string_view DisplayVariationLabel = "Display variation after each iteration";
inline constexpr std::string_view LevelMovesLabel = "Number of moves in the game";
inline constexpr std::string_view LevelMinutesLabel = "Initial time on the clock (minutes)";
inline constexpr std::string_view LevelIncrementLabel = "Fischer clock increment (seconds)";
inline constexpr std::string_view WhiteToMoveLabel = "White to move";
inline constexpr std::string_view BlackToMoveLabel = "Black to move";
inline constexpr std::string_view WhiteKingSideLabel = "White can castle King side";
inline constexpr std::string_view WhiteQueenSideLabel = "White can castle Queen side";
inline constexpr std::string_view BlackKingSideLabel = "Black can castle King side";
inline constexpr std::string_view BlackQueenSideLabel = "Black can castle Queen side";
inline constexpr std::string_view EnPassantSquareLabel = "En passant square";

}  // namespace qorvale::engines::messages
