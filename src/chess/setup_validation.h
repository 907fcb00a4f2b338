#pragma once

#include <string>

#include "base/ui.h"
#include "chess/board.h"

namespace qorvale::chess {

// Checks a set-up position before any use: at most three knights, rooks and queens and two
// bishops (on different colours) per side, exactly one king each. Returns 1 when it may be used,
// 0 after reporting the first failing message.
int ValidateSetupPosition(const Board& setup, Ui& ui);

// The facts the user types for an engine about a set-up position. `en_passant` names the square
// of the pawn that has just made a double step ("e4"), empty for none.
struct EnginePositionInfo {
    bool black_to_move = false;
    bool white_castle_king = false;
    bool white_castle_queen = false;
    bool black_castle_king = false;
    bool black_castle_queen = false;
    std::string en_passant;
};

// Checks the dialog's values; on success copies them into `stored` and returns 1, else reports
// the message, leaves `stored` alone and returns 0.
int ValidateEnginePositionInfo(const EnginePositionInfo& entered, EnginePositionInfo& stored,
                               Ui& ui);

}  // namespace qorvale::chess
