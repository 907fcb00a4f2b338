#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "platform/file_system.h"

namespace qorvale::engines {

// The small files exchanged with Crafty. Every writer replaces its file whole: the new content
// is written and flushed beside it and then renamed over it, so a crash leaves the old file.
// Text files end their lines with CR LF.

// The analysis game Crafty reads at the start of an analysis, in Crafty's folder.
inline constexpr std::string_view AnalysisGameName = "crafanal.pgn";
// The game Crafty continues, in the program folder.
inline constexpr std::string_view ContinueGameName = "craftyqq.pgn";

// The name a position file is saved under: ".pos" added to a name without an extension, "pos"
// to a name that ends in a bare '.'.
std::string PositionFileName(std::string_view chosen);

// WritePositionFile: SetboardText, then "\r\nexit\r\n". Fails with "Error creating Crafty
// position file.".
Error WritePositionFile(const std::string& path, std::string_view setboard,
                        platform::FileSystem& files = platform::SystemFileSystem());

// The analysis game of the first `half_moves` moves of `san_moves` (a game from the standard
// start): one line per full move, "%d. %s" and, when Black's move of that number is among
// them, a blank and Black's move. No tags and no result.
std::string AnalysisGameText(const std::vector<std::string>& san_moves, int half_moves);
// WriteAnalysisGame; fails with "Error creating position file.".
Error WriteAnalysisGame(const std::string& path, std::string_view text,
                        platform::FileSystem& files = platform::SystemFileSystem());

// The continue-game file: the header lines, an empty line, then the moves as "%d.%s %s" items
// ("%d.%s" for a last move by White) separated by blanks, a line ending as soon as it reaches
// 60 characters, and "  *" at the end.
std::string ContinueGameText(const std::vector<std::string>& header_lines,
                             const std::vector<std::string>& san_moves);
// WriteContinueGame; fails with "Error creating read file.".
Error WriteContinueGame(const std::string& path, std::string_view text,
                        platform::FileSystem& files = platform::SystemFileSystem());

// The name a Crafty game log is opened under: ".can" added when it does not end so.
std::string CanFileName(std::string_view chosen);
// The converted file: the path with its last three characters replaced by "pgn".
std::string ConvertedCanPath(std::string_view path);
// The conversion of a Crafty game log to PGN text: lines of two characters or fewer are
// dropped; a line beginning '[' or '{' is copied (an empty line before the first '{' line); a
// line whose fourth character is '.' is a move line, written as its first word joined to its
// second, a blank and its third; any other line loses its leading blanks.
std::string ConvertCanText(std::string_view can);
// ConvertCanFile: converts the file at `path` to ConvertedCanPath(path). Fails with "Error
// opening CAN file." or "Error creating PGN file.".
Error ConvertCanFile(const std::string& path,
                     platform::FileSystem& files = platform::SystemFileSystem());

}  // namespace qorvale::engines
