#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qorvale {

// Text read from files is UTF-8 when it is valid UTF-8 and Latin-1 otherwise: real PGN files
// hold both, often side by side in one collection.

// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// `bytes` as UTF-8 for the screen: unchanged when valid UTF-8, else each byte read as Latin-1.
std::string DisplayText(std::string_view bytes);

// The longest start of the UTF-8 text `text` that is at most `max_bytes` long and does not end
// inside a character.
std::string_view CutAtCharacter(std::string_view text, std::size_t max_bytes);

// The number of characters of the UTF-8 text `text`.
std::size_t CharacterCount(std::string_view text);

// The start of the UTF-8 text `text` holding at most `max_characters` characters.
std::string_view FirstCharacters(std::string_view text, std::size_t max_characters);

// Calls `visit` with each line of `text` without its line end (LF, CR LF or a lone CR); text
// after the last line end is a line too.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        visit(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
    }
}

}  // namespace qorvale
