#include "engines/engine_list.h"

namespace qorvale::engines {

void EngineList::Add(std::string row) {
    if (rows_.size() == MaxRows) rows_.pop_front();
    rows_.push_back(std::move(row));
    ++total_added_;
}

void EngineList::AddWrapped(std::string_view text) {
    constexpr std::size_t FirstBreak = 60;
    constexpr std::size_t LaterBreak = 58;
    constexpr int MaxRowsPerText = 4;
    constexpr std::string_view Indent = "     ";
    for (int row = 0; row < MaxRowsPerText && !text.empty(); ++row) {
        std::size_t blank = text.find(' ', row == 0 ? FirstBreak : LaterBreak);
        std::string_view part = text.substr(0, blank);
        Add(row == 0 ? std::string(part) : std::string(Indent) + std::string(part));
        text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
    }
}

}  // namespace qorvale::engines
