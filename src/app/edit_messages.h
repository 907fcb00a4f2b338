#pragma once

#include <string_view>

// The texts of game entry, the set-up board and the annotation editor.
namespace qorvale::app {

inline constexpr std::string_view InvalidFenText = "The text is not a FEN position.";
inline constexpr std::string_view GameCannotBeModified =
    "The moves of this game cannot all be played, so it cannot be modified.";
inline constexpr std::string_view CommentHoldsBrace = "A comment cannot hold a brace.";
inline constexpr std::string_view RestoreAnnotationQuestion =
    "The program stopped while a game was being annotated. Do you want to restore the "
    "annotation?";
inline constexpr std::string_view AnnotationHoldsMoves =
    "An annotation holds only comments, NAGs and variations.";
inline constexpr std::string_view AnnotatedGameGone =
    "The annotated game is no longer in its file.";

inline constexpr std::string_view LeaveEnteredGameQuestion =
    "The entered moves have not been saved. Leave without saving them?";
inline constexpr std::string_view DropLaterMovesQuestion =
    "An earlier position is on the board. Take back the moves after it and play this move?";
inline constexpr std::string_view EnteredGameFull =
    "The game holds 200 moves. No more moves can be entered.";
inline constexpr std::string_view LeaveAnnotationQuestion =
    "The annotations have not been saved. Leave without saving them?";
inline constexpr std::string_view NoGameTextOnClipboard = "The clipboard holds no game text.";

}  // namespace qorvale::app
