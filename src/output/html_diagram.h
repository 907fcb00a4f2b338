#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "output/diagram.h"
#include "output/diagram_file.h"
#include "platform/file_system.h"

namespace qorvale::output {

// How moves are written into pages: piece letters as figurines (the chess symbols, written as
// character references so that the page needs no declared encoding), or the user's letters
// (king, queen, rook, bishop, knight; "" for KQRBN).
struct HtmlNotation {
    bool figurines = false;
    std::string_view piece_letters;
};

// A move text in the page's notation.
std::string HtmlMoveText(std::string_view move, const HtmlNotation& notation);

// Text made safe for a page: "&", "<", ">" and '"' as references, every character outside ASCII
// as a numeric character reference (the text is UTF-8 when it is valid UTF-8, else Latin-1).
std::string HtmlEscape(std::string_view text);
// Page text back to plain UTF-8 text: the references HtmlEscape and HtmlMoveText write (numeric
// ones, and "&amp;", "&lt;", "&gt;", "&quot;") become their characters; anything else stays.
std::string HtmlUnescape(std::string_view text);

// The square image of the HTML board: "w" or "b" for an empty light or dark square; else the
// piece's colour letter, its piece letter (p, n, b, r, q, k) and the square's colour letter
// ("wnb": a white knight on a dark square); then "h" when the square is highlighted. Without
// the ".gif" that follows it in the page.
std::string SquareImageName(std::uint32_t code, int file, int rank, bool marked);

// The diagram HTML of a position, every line ended with CR LF: a centred one-cell table holding
// either the one image `image` (when not empty) or the board built of 64 square images, rank 8
// first (rank 1 first and files h to a when flipped); below it, when a move led to the position,
// the caption "Position after 12. Nf3" or "Position after 12... Nf6".
std::string HtmlDiagramText(const DiagramPosition& position, bool flipped, std::string_view image,
                            const HtmlNotation& notation);

// The square images a page refers to (names as SquareImageName gives them), each once.
std::vector<std::string> SquareImagesIn(std::string_view page);

// Adds the GIF file `name`.gif of each named square image in `folder` to `batch`.
Error AddSquareImages(std::span<const std::string> names, const std::string& folder,
                      const DiagramStyle& style, const DiagramArt& art,
                      std::vector<platform::FileContent>& batch);

// Writes the diagram page of `position` to `page_path` and, for the board of square images, the
// images it uses beside it (`image` as HtmlDiagramText). Fails with "Error creating file.".
Error WriteHtmlDiagram(const DiagramPosition& position, const DiagramStyle& style,
                       const DiagramArt& art, const HtmlNotation& notation,
                       const std::string& page_path, platform::FileSystem& files,
                       std::string_view image = {});

// One page per position under its per-move name (PerMoveName of `base` with "html"), the square
// images written once beside them. Returns "All diagrams complete." or "The diagrams have been
// aborted." as MakeDiagramSeries does, or the first failure.
Result<std::string_view> WriteHtmlDiagramSeries(std::span<const DiagramPosition> positions,
                                                const DiagramStyle& style, const DiagramArt& art,
                                                const HtmlNotation& notation, std::string_view base,
                                                platform::FileSystem& files,
                                                const SeriesStopRequest& stop = {});

// The folder part of a path ("" for a bare name, else with its final "/").
std::string FolderOf(std::string_view path);

}  // namespace qorvale::output
