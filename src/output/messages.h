#pragma once

#include <string_view>

namespace qorvale::output {

// GIF encoder.
inline constexpr std::string_view ErrorAllocatingHashTable = "Error allocating hash table.";
inline constexpr std::string_view NextPatternTooLong = "The next pattern is too long.";
inline constexpr std::string_view DirectoryTooManyEntries = "The directory has too many entries.";
inline constexpr std::string_view ShrinkTheWindow = "Error. Shrink the window and try again.";

// BMP to GIF.
inline constexpr std::string_view ErrorOpeningFile = "Error opening file.";
inline constexpr std::string_view MemoryAllocationError = "Memory allocation error.";
inline constexpr std::string_view OnlyFourAndEightBit = "Only 4 and 8 bit bitmaps are supported.";

// Diagram images.
inline constexpr std::string_view ErrorOpeningBmpFile = "Error opening BMP file.";
inline constexpr std::string_view ErrorReadingBitmapFile = "Error reading bitmap file.";
inline constexpr std::string_view ErrorCreatingFile = "Error creating file.";
inline constexpr std::string_view BitmapFileComplete = "Bitmap file complete.";
inline constexpr std::string_view ErrorCreatingJpegFile = "Error creating JPEG file.";
inline constexpr std::string_view ErrorCreatingPngFile = "Error creating PNG file.";
inline constexpr std::string_view JpegFileComplete = "JPEG file complete.";
inline constexpr std::string_view PngFileComplete = "PNG file complete.";
inline constexpr std::string_view AllDiagramsComplete = "All diagrams complete.";
inline constexpr std::string_view DiagramsAborted = "The diagrams have been aborted.";

// Annotation files.
inline constexpr std::string_view EnterTitleFirst = "Enter title information first.";
inline constexpr std::string_view OkToEnterMove = "OK to enter a move.";
inline constexpr std::string_view NoMoveGenerated = "No move was generated.";
inline constexpr std::string_view MoveGenerated = "Move generated.";
inline constexpr std::string_view CommentNotSaved = "Comment was not saved.";
inline constexpr std::string_view CommentGenerated = "Comment generated.";
inline constexpr std::string_view EnterCommentFirst = "Enter comment first.";
inline constexpr std::string_view EndCommentFirst = "End comment first.";
inline constexpr std::string_view DiagramGenerated = "Diagram generated.";
inline constexpr std::string_view HtmlFileSaved = "Html file saved.";
inline constexpr std::string_view ErrorCreatingHtmlFile = "Error creating Html file.";
inline constexpr std::string_view ErrorOpeningHtmlFile = "Error opening Html file.";

// The "Select Diagram Type" dialog.
inline constexpr std::string_view SelectDiagramTypeTitle = "Select Diagram Type";

// Player statistics and the cross table.
inline constexpr std::string_view PlayerScoresTitle = "Player Scores";
inline constexpr std::string_view CrossTableTitle = "Cross Table";
inline constexpr std::string_view ExactPlayerMatchTitle = "Exact Player Match";
inline constexpr std::string_view MaximumPlayersExceeded = "Maximum number of players exceeded.";
inline constexpr std::string_view SlowFirstTime =
    "This may be slow the first time. Click in the main window to abort.";
inline constexpr std::string_view KnockoutQuestion =
    "This looks like a knockout file. Do you want the knockout format?";
inline constexpr std::string_view NoRoundInformation =
    "The PGN file does not have round information.";
inline constexpr std::string_view TooManyCrossTablePlayers =
    "There are too many players in the cross table.";

// Printing.
inline constexpr std::string_view GameAddedToPrintList = "Game added to print list.";
inline constexpr std::string_view NoGamesForPrinting = "There are no games selected for printing.";
inline constexpr std::string_view NoGameSelected = "There is no game selected.";
inline constexpr std::string_view FlushPrintListQuestion = "Flush the print list?";
inline constexpr std::string_view ErrorStartingDoc = "Error starting doc.";
inline constexpr std::string_view ErrorStartingNextPage = "Error starting next page.";

}  // namespace qorvale::output
