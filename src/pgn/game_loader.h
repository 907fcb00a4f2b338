#pragma once

#include <string>

#include "base/result.h"
#include "base/ui.h"
#include "pgn/game_lines.h"
#include "pgn/header_tags.h"
#include "pgn/record_source.h"

namespace qorvale::chess {
class ChessState;
}

namespace qorvale::pgn {

class PgnFile;

// Records of an open PGN file, through its record reader, from wherever the file stands.
class FileRecordSource final : public RecordSource {
  public:
    explicit FileRecordSource(PgnFile& file) : file_(file) {}

  protected:
    int ReadNext(std::string& record) override;

  private:
    PgnFile& file_;
};

// How a game is loaded: in the window (warnings shown) or quietly for searches and utilities.
struct LoadOptions {
    bool quiet = false;
    int stop_after = 0;  // full moves to read, 0 = all
    FirstRecordMode first_record = FirstRecordMode::KeepForMovetext;
    std::string_view handed_record;  // with FirstRecordMode::HandedOver
};

// The load sequence for the game `source` stands at: header and display lines, the FEN start
// when the game has one, the movetext, one replay of the main line (normalising the move texts
// and filling the position history), and the start position set again. Returns the game's
// half-move count.
int LoadGameLines(RecordSource& source, HeaderTags& header, GameLines& lines,
                  chess::ChessState& chess, Ui* ui, const LoadOptions& options = {});

// Positions `file` at game `game_number` and loads it (LoadGameLines). Fails with
// "Error finding game." when the game cannot be found. Returns the game's half-move count.
Result<int> OpenGameForDisplay(PgnFile& file, int game_number, HeaderTags& header, GameLines& lines,
                               chess::ChessState& chess, Ui& ui, const LoadOptions& options = {});

// The header of the current game of `file` for the header dialog: seeks to its first tag line,
// resets the reader and reads the ten known tags. Fails with "Error finding game." when there is
// no current game in the index.
Result<HeaderEditFields> LoadHeaderForEdit(PgnFile& file);

}  // namespace qorvale::pgn
