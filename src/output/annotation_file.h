#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "chess/board.h"
#include "chess/move_text.h"
#include "output/diagram.h"
#include "output/diagram_file.h"
#include "output/html_diagram.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"

namespace qorvale::output {

// The page of an annotation file is built in memory up to this many bytes.
inline constexpr std::size_t MaxAnnotationText = 500000;
// What closes a saved page; it is taken off again so that the page can be continued.
inline constexpr std::string_view AnnotationClosing = "</body>\r\n</html>\r\n";

struct AnnotationTitle {
    std::string title;
    std::string heading;
    std::string subheading;
};

// The "Select Diagram Type" choices; the "with color" types draw with the user's board colours.
enum class AnnotationDiagramType : int {
    Html = 0,
    Bitmap = 1,
    BitmapWithColor = 2,
    Gif = 3,
    GifWithColor = 4,
    Png = 5,
    PngWithColor = 6,
    Jpeg = 7,
    JpegWithColor = 8,
};
inline constexpr std::array<std::string_view, 9> AnnotationDiagramTypeNames = {
    "Html",           "Bitmap", "Bitmap with color", "GIF", "GIF with color", "PNG",
    "PNG with color", "JPEG",   "JPEG with color",
};
// The image file of a type; nothing for the board of square images.
std::optional<DiagramKind> DiagramTypeKind(AnnotationDiagramType type);
bool DiagramTypeUsesBoardColours(AnnotationDiagramType type);

// The page's start: "<html>", the head with the title when there is one, the body, the font,
// the heading (h2) and subheading (h3) when given, and a rule. Texts are escaped.
std::string StartAnnotationText(const AnnotationTitle& title);

// A run of moves, one caption per half-move in order: the first item "12...Nf6 " when it is
// Black's move, then "13.Nf3 Nc6 " per full move or "14.Nf3" for a lone White move; lines are
// ended with CR LF before they would reach 81 characters; no line end at the end.
std::string MoveRunText(std::span<const MoveCaption> moves, const HtmlNotation& notation);

// Appends "<p><b>" moves "</b></p>" (CR LF) to the page.
void AppendMoves(std::string& page, std::string_view moves);
// Appends the comment in a blockquote; the comment is escaped, its lines ended with CR LF.
void AppendComment(std::string& page, std::string_view comment);
// Appends the diagram HTML line by line while the page stays under MaxAnnotationText bytes;
// false when a line had to be left out.
bool AppendDiagram(std::string& page, std::string_view diagram_html);

// The image base name of an annotation file: its name without ".html".
std::string AnnotationImageBase(std::string_view annotation_file);
// The side file: the annotation file's name with its last character replaced by 'x'.
std::string SideFileName(std::string_view annotation_file);

// The game an annotation file is made from, kept in its side file so that opening the file
// again restores the game and the place reached.
struct AnnotationGame {
    std::uint32_t half_moves = 0;  // the half-move count reached
    chess::MainLineMoves moves;
    std::int32_t full_moves = 0;
    chess::Board start{};  // the position before the first move
    bool starts_from_setup = false;
    std::uint32_t start_move_number = 0;  // 0 or the first full-move number shown
    std::string movetext;                 // the game's movetext lines, LF-separated, cut to fit
};

// Side file layout (little-endian):
//   0      u32  half-move count reached
//   4      1600 White's move texts, 200 x 8 bytes (zero-terminated, zero-filled)
//   1604   1600 Black's move texts
//   3204   the game-line state, 102,656 bytes:
//            0     u32  layout version, 1
//            4     i32  full moves
//            8     u32  start move number
//            12    u32  flags: bit 0 the game starts from a set-up position
//            16    64   start position, one piece code per square, a1, a2, ..., h8
//            80    600  White's from-hints, 200 x 3 bytes; 680: Black's
//            1280  u32  movetext length, then the movetext bytes, zero-filled to the end
inline constexpr std::size_t GameLineStateBytes = 102656;
inline constexpr std::size_t SideFileBytes = 4 + 2 * 1600 + GameLineStateBytes;
std::vector<std::uint8_t> EncodeSideFile(const AnnotationGame& game);
// Fails with "Error opening Html file." when the bytes are no side file of this layout.
Result<AnnotationGame> DecodeSideFile(std::span<const std::uint8_t> bytes);

// Saves the page with its closing tags and the side file, after `images` (the square images the
// page shows), each written beside and renamed into place; `page` itself stays open for more.
// Fails with "Error creating Html file.".
Error SaveAnnotationFile(const std::string& path, std::string_view page, const AnnotationGame& game,
                         platform::FileSystem& files,
                         std::vector<platform::FileContent> images = {});

struct OpenedAnnotation {
    std::string page;  // without its closing tags
    AnnotationGame game;
};
// Reads the page (at most MaxAnnotationText bytes) and its side file. Fails with "Error opening
// Html file." when either cannot be read.
Result<OpenedAnnotation> OpenAnnotationFile(const std::string& path);

}  // namespace qorvale::output
