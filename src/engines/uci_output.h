#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chess/move_text.h"
#include "engines/engine_board.h"
#include "engines/engine_list.h"

namespace qorvale::engines {

// An engine's evaluation of a position.
struct EngineScore {
    enum class Kind { None, Centipawns, Mate };
    Kind kind = Kind::None;
    // Centipawns from White's side; for a mate the number of moves as the engine wrote it,
    // positive when the side to move mates.
    int value = 0;
    bool bound = false;  // a lowerbound or upperbound of a search that was cut short

    // Centipawns from White's side with a mate as a score beyond any material count
    // (MateScore less the moves), for bars and charts.
    int WhiteCentipawns(chess::Side to_move) const;
    static constexpr int MateScore = 100000;
};

// One "info" line of a UCI engine, read against the analysed position.
struct InfoLine {
    int depth = 0;     // 0 when not given
    int seldepth = 0;  // 0 when not given
    int multipv = 1;
    std::int64_t nodes = -1;  // -1 when not given
    std::int64_t nps = -1;
    std::int64_t time_ms = -1;
    EngineScore score;
    chess::Side to_move = chess::Side::White;  // in the analysed position
    bool has_pv = false;                       // "pv" followed by a coordinate move
    std::vector<chess::CoordinateMove> pv;     // the legal start of the principal variation
    std::string pv_text;                       // the same in SAN, as SanLine writes it
    int pv_ply = 0;                            // the half-move number of the first PV move
    // What the engine window shows: "Mate %d" or "%+.2f " (pawns from White's side), then
    // pv_text. Empty when the line had neither score nor principal variation.
    std::string text;
};

// Reads an "info" line. "cp" scores are turned to White's side; an "info string" line carries
// nothing to read. The principal variation is turned into SAN on `board` (left as it was).
InfoLine ParseInfoLine(std::string_view line, EngineBoard& board);

// A "bestmove" reply.
struct BestMove {
    CoordinateSquares move;
    chess::CoordinateMove move_text;  // the move as the engine wrote it
    std::optional<CoordinateSquares> ponder;
    // "Bestmove %d.%s" or "Bestmove %d...%s" in SAN, with "   Ponder %d.%s" or
    // "   Ponder %d...%s" appended for a ponder move; the line itself when the move is not
    // legal in the position.
    std::string text;
};

// Reads a line beginning "bestmove" followed by a coordinate move; nothing for any other line
// (such as "bestmove (none)").
std::optional<BestMove> ParseBestMove(std::string_view line, EngineBoard& board);

// ParseEngineOutput for a UCI engine, one line at a time: the info texts and the other lines
// go to the engine window's list unless they repeat the last one of their kind.
class UciOutputParser {
  public:
    enum class Kind { Ignored, Info, BestMove, Other };
    struct Parsed {
        Kind kind = Kind::Ignored;
        InfoLine info;                      // Kind::Info
        std::optional<BestMove> best_move;  // Kind::BestMove with a coordinate move
        bool shown = false;                 // a row was added to the list
    };

    Parsed Parse(std::string_view line, EngineBoard& board, EngineList& list);

    const std::string& LastInfoText() const { return last_info_text_; }
    const std::string& BestMoveText() const { return best_move_text_; }

  private:
    std::string last_info_text_;
    std::string last_other_line_;
    std::string best_move_text_;
};

// One of the settings a UCI engine offers in its "option name" lines.
struct UciOption {
    enum class Type { Check, Spin, Combo, Button, String, Unknown };
    std::string name;
    Type type = Type::Unknown;
    std::string default_value;
    std::optional<std::int64_t> min;
    std::optional<std::int64_t> max;
    std::vector<std::string> vars;  // a combo's choices
    std::string value;              // what the user chose; starts as the default
};

// Reads the text after "option name " of an option line ("Hash type spin default 16 min 1
// max 33554432"). Nothing when the line names no option.
std::optional<UciOption> ParseUciOption(std::string_view text);

// The value as the engine must get it: a spin clamped to its range, a check as "true" or
// "false", a combo only as one of its choices (case as the engine wrote it). Nothing when the
// value cannot be sent.
std::optional<std::string> OptionValueToSend(const UciOption& option, std::string_view value);

// "setoption name <name> value <value>", or "setoption name <name>" for a button.
std::string SetOptionCommand(const UciOption& option, std::string_view value);

}  // namespace qorvale::engines
