#include "chess/setup_validation.h"

#include <array>
#include <string_view>

#include "chess/messages.h"

namespace qorvale::chess {

int ValidateSetupPosition(const Board& setup, Ui& ui) {
    // Per side: counts by kind (index 2..6), and the colour of its first bishop.
    std::array<std::array<int, 7>, 2> counts{};
    std::array<int, 2> first_bishop_colour = {-1, -1};
    for (int file = 1; file <= 8; ++file) {
        for (int rank = 1; rank <= 8; ++rank) {
            std::uint32_t code = setup[file][rank];
            std::uint32_t kind = KindOf(code);
            if (code == Empty || kind <= Pawn || kind > King) continue;
            int side = IsBlackCode(code) ? 1 : 0;
            ++counts[side][kind];
            if (kind != Bishop) continue;
            // Only the second bishop is compared with the first: the slots hold two bishops,
            // and they must be able to stand on both colours.
            if (counts[side][Bishop] == 1) {
                first_bishop_colour[side] = SquareColour(file, rank);
            } else if (counts[side][Bishop] == 2 &&
                       SquareColour(file, rank) == first_bishop_colour[side]) {
                ui.report(messages::BishopsSameColour);
                return 0;
            }
        }
    }
    struct Rule {
        std::uint32_t kind;
        int most;
        std::string_view message;
    };
    constexpr std::array<Rule, 4> rules = {{{Knight, 3, messages::TooManyKnights},
                                            {Bishop, 2, messages::TooManyBishops},
                                            {Rook, 3, messages::TooManyRooks},
                                            {Queen, 3, messages::TooManyQueens}}};
    for (const Rule& rule : rules) {
        if (counts[0][rule.kind] > rule.most || counts[1][rule.kind] > rule.most) {
            ui.report(rule.message);
            return 0;
        }
    }
    if (counts[0][King] == 0 || counts[1][King] == 0) {
        ui.report(messages::PlaceBothKings);
        return 0;
    }
    if (counts[0][King] > 1 || counts[1][King] > 1) {
        ui.report(messages::MultipleKings);
        return 0;
    }
    return 1;
}

int ValidateEnginePositionInfo(const EnginePositionInfo& entered, EnginePositionInfo& stored,
                               Ui& ui) {
    const std::string& square = entered.en_passant;
    if (!square.empty()) {
        if (square.size() != 2 || square[0] < 'a' || square[0] > 'h' || square[1] < '1' ||
            square[1] > '8') {
            ui.report(messages::EnPassantSquareRange);
            return 0;
        }
        // The field names the pawn that has just made its double step.
        if (entered.black_to_move && square[1] != '4') {
            ui.report(messages::WhitePawnFourthRank);
            return 0;
        }
        if (!entered.black_to_move && square[1] != '5') {
            ui.report(messages::BlackPawnFifthRank);
            return 0;
        }
    }
    stored = entered;
    return 1;
}

}  // namespace qorvale::chess
