#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace qorvale {

// One value for a message pattern: a text for "%s", a whole number for "%d", a real for "%f".
class MessageValue {
  public:
    enum class Kind { Text, Whole, Real };

    MessageValue(std::string_view text) : text_(text), kind_(Kind::Text) {}
    MessageValue(const std::string& text) : text_(text), kind_(Kind::Text) {}
    MessageValue(const char* text) : text_(text), kind_(Kind::Text) {}
    template <typename Number, typename = std::enable_if_t<std::is_arithmetic_v<Number>>>
    MessageValue(Number number)
        : whole_(static_cast<long long>(number)),
          real_(static_cast<double>(number)),
          kind_(std::is_floating_point_v<Number> ? Kind::Real : Kind::Whole) {}

    Kind kind() const { return kind_; }
    std::string_view text() const { return text_; }
    long long whole() const { return whole_; }
    double real() const { return real_; }

  private:
    std::string_view text_;
    long long whole_ = 0;
    double real_ = 0.0;
    Kind kind_;
};

// Fills the marks of one of the program's message patterns with `values`, in order. A mark is
// printf's: "%s", "%d", "%u", "%f" with flags, width and precision ("%.1f%%", "%0.f"); "%%" is a
// percent sign. A mark without a value is left as it is, so that a wrong call shows in the text
// instead of crashing.
std::string FillMessage(std::string_view pattern, std::initializer_list<MessageValue> values);

inline std::string FillMessage(std::string_view pattern, MessageValue value) {
    return FillMessage(pattern, {value});
}

}  // namespace qorvale
