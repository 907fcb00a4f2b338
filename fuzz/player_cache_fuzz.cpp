// Any bytes as a player cache (`name.pgq`): parsed, and every record it yields sorted and put
// through the list line and the cross table, which index by what the records claim.
#include <cstddef>
#include <cstdint>
#include <span>

#include "output/player_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale;
    auto players = output::ParsePlayerCache(std::span<const std::uint8_t>(data, size));
    if (!players) return 0;
    output::PlayerTable table;
    table.players = std::move(*players);
    for (std::size_t k = 0; k < table.players.size(); ++k) {
        table.order.push_back(static_cast<std::int32_t>(k));
    }
    for (auto order :
         {output::PlayerOrder::Score, output::PlayerOrder::Rating, output::PlayerOrder::Name}) {
        output::SortPlayers(table, order);
    }
    for (const output::PlayerRecord& player : table.players) (void)output::FormatPlayerLine(player);
    SilentUi ui;
    (void)output::BuildCrossTable(table, false, ui);
    return 0;
}
