#include "app/error_list.h"

namespace qorvale::app {

ErrorList::ErrorList(const utilities::CheckFileResult& result)
    : title_(utilities::ErrorListTitle(result)),
      games_exist_(result.mode == utilities::CheckMode::ReportErrors) {
    for (const utilities::ErrorListEntry& entry : result.errors) {
        lines_.push_back(entry.message);
        games_.push_back(entry.game_number);
    }
}

std::optional<std::int32_t> ErrorList::GameForRow(std::size_t row) const {
    if (!games_exist_ || row >= games_.size()) return std::nullopt;
    return games_[row];
}

}  // namespace qorvale::app
