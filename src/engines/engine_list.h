#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace qorvale::engines {

// The rows of the engine window's list, as the window shows them. Rows are UTF-8. The list keeps
// the newest MaxRows rows; the window shows those from FirstVisibleRow() on.
class EngineList {
  public:
    static constexpr std::size_t MaxRows = 2000;
    // Once the list holds this many rows it is scrolled so that one fewer show.
    static constexpr std::size_t ScrollAt = 12;

    void Add(std::string row);
    // Adds a text of the engine's analysis broken into rows: the first at the first blank at
    // or after column 60, further rows at the first blank at or after column 58 and indented
    // by five blanks; at most four rows, the rest of a longer text is dropped.
    void AddWrapped(std::string_view text);
    void Clear() { rows_.clear(); }

    const std::deque<std::string>& Rows() const { return rows_; }
    std::size_t FirstVisibleRow() const {
        return rows_.size() >= ScrollAt ? rows_.size() - (ScrollAt - 1) : 0;
    }
    // Rows added since the list was made, for a reader that follows the list as it grows.
    std::uint64_t TotalAdded() const { return total_added_; }

  private:
    std::deque<std::string> rows_;
    std::uint64_t total_added_ = 0;
};

}  // namespace qorvale::engines
