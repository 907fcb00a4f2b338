#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "utilities/check_file.h"

namespace qorvale::app {

// What the "Errors" window shows after a check: its title and one line per entry. Choosing an
// entry of a report-only check makes that game the current game; after a deleting run the games
// named are gone, so choosing shows nothing. Kept until the next check.
class ErrorList {
  public:
    ErrorList() = default;
    explicit ErrorList(const utilities::CheckFileResult& result);

    const std::string& Title() const { return title_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    // The 1-based game to show for line `row`, or nothing.
    std::optional<std::int32_t> GameForRow(std::size_t row) const;
    bool Empty() const { return lines_.empty(); }

  private:
    std::string title_;
    std::vector<std::string> lines_;
    std::vector<std::int32_t> games_;
    bool games_exist_ = false;
};

}  // namespace qorvale::app
