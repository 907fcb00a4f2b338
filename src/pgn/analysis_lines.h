#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qorvale::pgn {

class GameLines;

// One variation that follows a half-move of the loaded game, as the analysis list shows it.
struct AnalysisLine {
    // Offset of its "(" in the movetext buffer: where a walk through this line starts.
    std::size_t text_offset = 0;
    // The move number before its first move, as written (or worked out when none is written).
    int move_number = 0;
    bool white_first = true;
    // Its own moves in order; variations nested in it are left out.
    std::vector<std::string> half_moves;
};

// The variations that follow half-move `half_move` (0 = before the first move), up to where the
// main line resumes. Comments and NAGs between them are passed over. `first_move_number` is the
// number of a set-up game's first move (1 otherwise); it names a line written without a number.
std::vector<AnalysisLine> AnalysisLinesAfter(const GameLines& lines, int half_move,
                                             int first_move_number = 1);

// The part of the movetext buffer that holds the comments, NAGs and variations after half-move
// `half_move`: from the first of them to where the main line resumes. Empty when none follow.
struct TextSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool empty() const { return end <= begin; }
};
TextSpan AnnotationSpan(const GameLines& lines, int half_move);

}  // namespace qorvale::pgn
