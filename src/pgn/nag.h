#pragma once

#include <string>
#include <string_view>

namespace qorvale::pgn {

// NAGs $1..$139 have words of their own; a few numbers beyond have fixed texts.
inline constexpr int LastWordedNag = 139;

// How a NAG is written into annotation text: as words between dollar signs, as "$n", or as
// "$n$" (the second numeric mode).
enum class NagDisplay { Words, Numeric, NumericClosed };

// The words of NAG `nag` (1..139), or empty.
std::string_view NagWordsFor(int nag);

// The NAG as annotation text: "$Good move$", "$>=$" (142), "$Novelty$" (146),
// "$Unknown NAG 140$", or the numeric forms.
std::string NagText(int nag, NagDisplay display = NagDisplay::Words);

// The symbol of one of the sixteen NAGs that have one ("!", "+/=", ">="), or empty.
std::string_view NagGlyph(int nag);

// The NAG a symbol written as its own token stands for ("?" is 2, "+=" 14), or 0. "--" is a null
// move, not a NAG.
int NagOfGlyph(std::string_view glyph);

// What the game text window writes for a NAG that has no symbol: "A novelty" for 146, the words
// for 1..139, "$Unknown NAG %d$" otherwise.
std::string NagTextWithoutGlyph(int nag);

}  // namespace qorvale::pgn
