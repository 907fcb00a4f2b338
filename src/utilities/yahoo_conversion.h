#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/ui.h"
#include "pgn/header_tags.h"
#include "platform/file_system.h"

namespace qorvale::utilities {

// One game as saved from a Yahoo chess game: ";White", ";Black" and ";Date" header lines (other
// ";" lines are ignored), then move lines, ended by an empty line or by the next header line.
struct YahooRecord {
    std::string white;
    std::string black;
    std::string date;   // "2005.01.05"; "??" for a month that is not one of the twelve names
    std::string moves;  // the move lines, each ended by CR LF, castling letters made upper case
};

// The records of a Yahoo text; lines end at LF, CR LF or CR.
std::vector<YahooRecord> ReadYahooRecords(std::string_view text);

// The header of a converted game before the user sets its result: Event "Yahoo!", Result "*",
// the names and date of the record, the other fields empty.
pgn::HeaderEditFields YahooHeader(const YahooRecord& record);

struct YahooRequest {
    std::string target_path;    // a new or existing PGN file
    std::string open_pgn_path;  // the window's open file, which may not be the target
};

// Shows the header of one game so that its result can be set; false (Cancel) ends the
// conversion after the games before it.
using YahooHeaderEditor = std::function<bool(pgn::HeaderEditFields&)>;

struct YahooResult {
    std::int32_t converted = 0;
    bool cancelled = false;
    Error error;
};

// ConvertYahooGames: appends every record of `text` to the target in the normal layout (tag lines,
// the main line in lines of about 72 characters, the result). With an `edit_header` (none: every
// game keeps the defaults) and more than 10 games the user is asked whether to set all results;
// otherwise, or after Yes, `edit_header` shows each game's header. The target is rewritten beside
// itself and renamed over, so it holds its old games or all of them and the new ones. Reports the
// end message on `ui`.
YahooResult ConvertYahooGames(std::string_view text, const YahooRequest& request, Ui& ui,
                              const YahooHeaderEditor& edit_header,
                              platform::FileSystem& file_system = platform::SystemFileSystem());

// The same from a text file ("Error opening Yahoo file." when it cannot be read).
YahooResult ConvertYahooFile(const std::string& source_path, const YahooRequest& request, Ui& ui,
                             const YahooHeaderEditor& edit_header,
                             platform::FileSystem& file_system = platform::SystemFileSystem());

}  // namespace qorvale::utilities
