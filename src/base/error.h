#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace qorvale {

// A failure the user can meet: the program's own message text, shown unchanged by every front
// end, and what the user needs to act on it (the file concerned, the system's reason), shown
// beside it. A default-constructed Error means success.
class [[nodiscard]] Error {
  public:
    Error() = default;
    explicit Error(std::string message) : message_(std::move(message)) {}
    Error(std::string message, std::string detail)
        : message_(std::move(message)), detail_(std::move(detail)) {}

    static Error Ok() { return Error(); }

    bool ok() const { return message_.empty(); }
    explicit operator bool() const { return !ok(); }  // true when it is a failure
    const std::string& message() const { return message_; }
    const std::string& detail() const { return detail_; }

    friend bool operator==(const Error&, const Error&) = default;

  private:
    std::string message_;
    std::string detail_;
};

}  // namespace qorvale
