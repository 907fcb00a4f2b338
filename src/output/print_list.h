#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/ui.h"
#include "pgn/game_lines.h"
#include "pgn/header_tags.h"

namespace qorvale::output {

// A game added as its moves: two summary lines, then the main line.
struct PrintMovesEntry {
    std::string summary;             // "File: ...   Game: ...   Event: ...   Site: ...   Date: ..."
    std::string players;             // "White: ...   Black: ...   Result: ...   ECO: ..."
    std::vector<std::string> white;  // one text per full move
    std::vector<std::string> black;  // "" when Black's half-move is missing
    std::int32_t half_moves = 0;
    std::string result;
};

// A game added as its full text: its records from the first tag line on.
struct PrintTextEntry {
    std::vector<std::string> records;
};

using PrintEntry = std::variant<PrintMovesEntry, PrintTextEntry>;

// The print list file ("printerq.xyz" in the install folder) is a run of entries, each a u32 kind
// (little-endian) and then:
//   0 moves: 200 bytes first summary line (NUL-terminated), 200 bytes second line, u32
//            half-moves, 200 x 8 bytes White's move texts, 200 x 8 bytes Black's, 8 bytes Result
//   1 text:  records, each a u32 length and that many bytes; a length of 0 ends the entry
inline constexpr std::size_t PrintSummaryBytes = 200;
inline constexpr std::size_t PrintMoveSlots = 200;
inline constexpr std::size_t PrintMoveBytes = 8;
inline constexpr std::size_t PrintMovesEntrySize =
    4 + 2 * PrintSummaryBytes + 4 + 2 * PrintMoveSlots * PrintMoveBytes + 8;

std::vector<std::uint8_t> EncodePrintEntry(const PrintEntry& entry);
// The whole entries at the start of `bytes`; a damaged or cut entry ends the list.
std::vector<PrintEntry> ReadPrintEntries(std::span<const std::uint8_t> bytes);

// A game's text as a text entry: its records with leading spaces dropped, empty records left out
// except that an empty record with more text after it is kept as one space, and no empty records
// at the end.
PrintTextEntry TextEntryOf(std::string_view game_text);

// The game on display as a moves entry; nothing ("There is no game selected.") when it has no
// half-moves.
std::optional<PrintMovesEntry> MovesEntryOf(std::string_view file_stem, std::int32_t game_number,
                                            const pgn::HeaderTags& header,
                                            const pgn::GameLines& lines, Ui& ui);

// The two summary lines of a moves entry.
std::string PrintSummaryLine(std::string_view file_stem, std::string_view game,
                             std::string_view event, std::string_view site, std::string_view date,
                             std::string_view round);
std::string PrintPlayersLine(std::string_view white, std::string_view black,
                             std::string_view result, std::string_view eco);

// The page as the printer gives it, in device units, and how wide a text prints in the font.
struct PrintPage {
    int width = 0;
    int height = 0;
    int max_print_lines = 70;  // lines per page, at least 50
    // The font's height plus its external leading, once the font is made.
    int line_advance = 0;
    std::function<int(std::string_view)> text_width;

    int Margin() const { return width / 34; }
    int PrintableWidth() const { return width - 2 * Margin(); }
};

// The character height of the print font for a page of `height` units.
int PrintFontHeight(int height, int max_print_lines);

// One printed line: its text and how far its top is below the page's top.
struct PrintedLine {
    int y = 0;
    std::string text;
};
using PrintedPage = std::vector<PrintedLine>;

// Lays the entries out on pages: a line of 20 asterisks before each entry; a text entry's records
// broken to the printable width at a space (at the width when a record has none); a moves entry
// with its two summary lines, an empty line and the moves packed into lines of the printable
// width, kept on one page when it fits.
std::vector<PrintedPage> LayOutPrintList(const std::vector<PrintEntry>& entries,
                                         const PrintPage& page);

// The print list while the program runs: made empty by the first addition after it was printed
// or discarded, appended to after that.
class PrintList {
  public:
    explicit PrintList(std::string path) : path_(std::move(path)) {}

    // "Game added to print list." or "Error opening file." on `ui`; false on failure.
    bool Add(const PrintEntry& entry, Ui& ui);
    // `PrintListOpen`: entries were added since the list was last printed or discarded.
    bool IsOpen() const { return open_; }
    // The entries added ("There are no games selected for printing." and nothing when the list
    // is not open).
    std::optional<std::vector<PrintEntry>> Entries(Ui& ui) const;
    // After printing, or when the user discards it: the next addition starts a new list.
    void Close();
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    bool open_ = false;
};

}  // namespace qorvale::output
