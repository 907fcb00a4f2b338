#include "app/board_style.h"

#include "app/options_record.h"

namespace qorvale::app {

namespace {

constexpr auto ModWood = static_cast<std::int32_t>(PieceStyleId::ModWood);
constexpr auto ModBlue = static_cast<std::int32_t>(PieceStyleId::ModBlue);
constexpr auto Classic = static_cast<std::int32_t>(PieceStyleId::Classic);

}  // namespace

BoardStyleOutcome CheckBoardStyle(const BoardStyleChoice& choice) {
    BoardStyleOutcome outcome{choice.style, choice.wood, {}, true};
    if (choice.style == ModWood && !choice.wood) {
        if (choice.old_wood && choice.old_style == ModWood) {
            outcome.style = Classic;
            outcome.message = ModWoodChanged;
        } else {
            outcome.message = ModWoodNeedsWood;
            outcome.accepted = false;
        }
    } else if (choice.style == ModBlue && choice.wood) {
        if (choice.old_style != ModBlue) {
            outcome.wood = false;
        } else {
            outcome.message = ModBlueNoWood;
            outcome.accepted = false;
        }
    }
    return outcome;
}

std::int32_t EffectiveBoardSize(std::int32_t board_size, int screen_height) {
    if (board_size < 0 || board_size > 2) return 0;
    if (board_size == 2 && screen_height < 1024) board_size = 1;
    if (board_size == 1 && screen_height < 768) board_size = 0;
    return board_size;
}

}  // namespace qorvale::app
