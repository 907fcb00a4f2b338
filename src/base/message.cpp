#include "base/message.h"

#include <cstdio>
#include <cstring>

namespace qorvale {

namespace {

constexpr std::string_view Conversions = "sdiuf";
constexpr std::string_view SpecCharacters = "-+ #0123456789.";

void AppendFormatted(std::string& out, std::string_view mark, char conversion,
                     const MessageValue& value) {
    // `mark` holds "%" and the flags, width and precision, without the conversion letter.
    std::string format(mark);
    char buffer[512];
    int written = 0;
    if (conversion == 's') {
        if (value.kind() != MessageValue::Kind::Text) {
            format += value.kind() == MessageValue::Kind::Real ? "g" : "lld";
            written = value.kind() == MessageValue::Kind::Real
                          ? std::snprintf(buffer, sizeof buffer, format.c_str(), value.real())
                          : std::snprintf(buffer, sizeof buffer, format.c_str(), value.whole());
        } else if (mark == "%") {
            out += value.text();
            return;
        } else {
            format += 's';
            const std::string text(value.text());
            written = std::snprintf(buffer, sizeof buffer, format.c_str(), text.c_str());
        }
    } else if (conversion == 'f') {
        format += 'f';
        const double real = value.kind() == MessageValue::Kind::Real
                                ? value.real()
                                : static_cast<double>(value.whole());
        written = std::snprintf(buffer, sizeof buffer, format.c_str(), real);
    } else {
        format += conversion == 'u' ? "llu" : "lld";
        const long long whole = value.kind() == MessageValue::Kind::Real
                                    ? static_cast<long long>(value.real())
                                    : value.whole();
        written = std::snprintf(buffer, sizeof buffer, format.c_str(), whole);
    }
    if (written > 0) {
        out.append(buffer, std::min(static_cast<std::size_t>(written), sizeof buffer - 1));
    }
}

}  // namespace

std::string FillMessage(std::string_view pattern, std::initializer_list<MessageValue> values) {
    std::string out;
    out.reserve(pattern.size() + 16);
    const MessageValue* next = values.begin();
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern[at] != '%') {
            out += pattern[at];
            continue;
        }
        if (at + 1 < pattern.size() && pattern[at + 1] == '%') {
            out += '%';
            ++at;
            continue;
        }
        std::size_t end = at + 1;
        while (end < pattern.size() &&
               SpecCharacters.find(pattern[end]) != std::string_view::npos) {
            ++end;
        }
        if (end == pattern.size() || Conversions.find(pattern[end]) == std::string_view::npos ||
            next == values.end()) {
            out += '%';
            continue;
        }
        AppendFormatted(out, pattern.substr(at, end - at), pattern[end], *next++);
        at = end;
    }
    return out;
}

}  // namespace qorvale
