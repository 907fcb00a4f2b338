#include "pgn/nag.h"

#include <cstdio>

namespace qorvale::pgn {

namespace {

// The words of NAGs 1..139 as one packed run of zero-terminated strings; the n-th is found by
// walking past n - 1 terminators, so the table needs no index of its own.
constexpr char NagWords[] =
    "Good move\0"
    "Poor move\0"
    "Very good move\0"
    "Very poor move\0"
    "Interesting move\0"
    "Questionable move\0"
    "Forced move\0"
    "No reasonable alternatives\0"
    "Worst move\0"
    "Drawish position\0"
    "Equal chances\0"
    "Equal chances, active position\0"
    "Unclear position\0"
    "White has a slight advantage\0"
    "Black has a slight advantage\0"
    "White has a moderate advantage\0"
    "Black has a moderate advantage\0"
    "White has a decisive advantage\0"
    "Black has a decisive advantage\0"
    "White has a crushing advantage (Black should resign)\0"
    "Black has a crushing advantage (White should resign)\0"
    "White is in zugzwang\0"
    "Black is in zugzwang\0"
    "White has a slight space advantage\0"
    "Black has a slight space advantage\0"
    "White has a moderate space advantage\0"
    "Black has a moderate space advantage\0"
    "White has a decisive space advantage\0"
    "Black has a decisive space advantage\0"
    "White has a slight time (development) advantage\0"
    "Black has a slight time (development) advantage\0"
    "White has a moderate time (development) advantage\0"
    "Black has a moderate time (development) advantage\0"
    "White has a decisive time (development) advantage\0"
    "Black has a decisive time (development) advantage\0"
    "White has the initiative\0"
    "Black has the initiative\0"
    "White has a lasting initiative\0"
    "Black has a lasting initiative\0"
    "White has the attack\0"
    "Black has the attack\0"
    "White has insufficient compensation for material deficit\0"
    "Black has insufficient compensation for material deficit\0"
    "White has sufficient compensation for material deficit\0"
    "Black has sufficient compensation for material deficit\0"
    "White has more than adequate compensation for material deficit\0"
    "Black has more than adequate compensation for material deficit\0"
    "White has a slight center control advantage\0"
    "Black has a slight center control advantage\0"
    "White has a moderate center control advantage\0"
    "Black has a moderate center control advantage\0"
    "White has a decisive center control advantage\0"
    "Black has a decisive center control advantage\0"
    "White has a slight kingside control advantage\0"
    "Black has a slight kingside control advantage\0"
    "White has a moderate kingside control advantage\0"
    "Black has a moderate kingside control advantage\0"
    "White has a decisive kingside control advantage\0"
    "Black has a decisive kingside control advantage\0"
    "White has a slight queenside control advantage\0"
    "Black has a slight queenside control advantage\0"
    "White has a moderate queenside control advantage\0"
    "Black has a moderate queenside control advantage\0"
    "White has a decisive queenside control advantage\0"
    "Black has a decisive queenside control advantage\0"
    "White has a vulnerable first rank\0"
    "Black has a vulnerable first rank\0"
    "White has a well protected first rank\0"
    "Black has a well protected first rank\0"
    "White has a poorly protected king\0"
    "Black has a poorly protected king\0"
    "White has a well protected king\0"
    "Black has a well protected king\0"
    "White has a poorly placed king\0"
    "Black has a poorly placed king\0"
    "White has a well placed king\0"
    "Black has a well placed king\0"
    "White has a very weak pawn structure\0"
    "Black has a very weak pawn structure\0"
    "White has a moderately weak pawn structure\0"
    "Black has a moderately weak pawn structure\0"
    "White has a moderately strong pawn structure\0"
    "Black has a moderately strong pawn structure\0"
    "White has a very strong pawn structure\0"
    "Black has a very strong pawn structure\0"
    "White has poor knight placement\0"
    "Black has poor knight placement\0"
    "White has good knight placement\0"
    "Black has good knight placement\0"
    "White has poor bishop placement\0"
    "Black has poor bishop placement\0"
    "White has good bishop placement\0"
    "Black has good bishop placement\0"
    "White has poor rook placement\0"
    "Black has poor rook placement\0"
    "White has good rook placement\0"
    "Black has good rook placement\0"
    "White has poor queen placement\0"
    "Black has poor queen placement\0"
    "White has good queen placement\0"
    "Black has good queen placement\0"
    "White has poor piece coordination\0"
    "Black has poor piece coordination\0"
    "White has good piece coordination\0"
    "Black has good piece coordination\0"
    "White has played the opening very poorly\0"
    "Black has played the opening very poorly\0"
    "White has played the opening poorly\0"
    "Black has played the opening poorly\0"
    "White has played the opening well\0"
    "Black has played the opening well\0"
    "White has played the opening very well\0"
    "Black has played the opening very well\0"
    "White has played the middlegame very poorly\0"
    "Black has played the middlegame very poorly\0"
    "White has played the middlegame poorly\0"
    "Black has played the middlegame poorly\0"
    "White has played the middlegame well\0"
    "Black has played the middlegame well\0"
    "White has played the middlegame very well\0"
    "Black has played the middlegame very well\0"
    "White has played the ending very poorly\0"
    "Black has played the ending very poorly\0"
    "White has played the ending poorly\0"
    "Black has played the ending poorly\0"
    "White has played the ending well\0"
    "Black has played the ending well\0"
    "White has played the ending very well\0"
    "Black has played the ending very well\0"
    "White has slight counterplay\0"
    "Black has slight counterplay\0"
    "White has moderate counterplay\0"
    "Black has moderate counterplay\0"
    "White has decisive counterplay\0"
    "Black has decisive counterplay\0"
    "White has moderate time control pressure\0"
    "Black has moderate time control pressure\0"
    "White has severe time control pressure\0"
    "Black has severe time control pressure\0";

}  // namespace

std::string_view NagWordsFor(int nag) {
    if (nag < 1 || nag > LastWordedNag) return {};
    const char* text = NagWords;
    for (int skipped = 1; skipped < nag; ++skipped) {
        while (*text != '\0') ++text;
        ++text;
    }
    return std::string_view(text);
}

std::string NagText(int nag, NagDisplay display) {
    char buffer[64];
    switch (display) {
        case NagDisplay::Numeric:
            std::snprintf(buffer, sizeof buffer, "$%d", nag);
            return buffer;
        case NagDisplay::NumericClosed:
            std::snprintf(buffer, sizeof buffer, "$%d$", nag);
            return buffer;
        case NagDisplay::Words:
            break;
    }
    if (nag >= 1 && nag <= LastWordedNag) return "$" + std::string(NagWordsFor(nag)) + "$";
    if (nag == 142) return "$>=$";
    if (nag == 146) return "$Novelty$";
    std::snprintf(buffer, sizeof buffer, "$Unknown NAG %d$", nag);
    return buffer;
}

std::string_view NagGlyph(int nag) {
    switch (nag) {
        case 1:
            return "!";
        case 2:
            return "?";
        case 3:
            return "!!";
        case 4:
            return "??";
        case 5:
            return "!?";
        case 6:
            return "?!";
        case 11:
            return "=";
        case 14:
            return "+/=";
        case 15:
            return "=/+";
        case 16:
            return "+/-";
        case 17:
            return "-/+";
        case 18:
            return "+-";
        case 19:
            return "-+";
        case 20:
            return "++";
        case 21:
            return "--";
        case 142:
            return ">=";
        default:
            return {};
    }
}

int NagOfGlyph(std::string_view glyph) {
    if (glyph.empty() || glyph == "--") return 0;
    if (glyph == "+=") return 14;
    if (glyph == "=+") return 15;
    for (int nag = 1; nag <= 142; ++nag) {
        if (NagGlyph(nag) == glyph) return nag;
    }
    return 0;
}

std::string NagTextWithoutGlyph(int nag) {
    if (nag == 146) return "A novelty";
    if (nag >= 1 && nag <= LastWordedNag) return std::string(NagWordsFor(nag));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "$Unknown NAG %d$", nag);
    return buffer;
}

}  // namespace qorvale::pgn
