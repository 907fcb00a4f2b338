#include "pgn/display_stem.h"

namespace qorvale::pgn {

namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

std::string DisplayStem(std::string_view file_name) {
    std::string stem(file_name.substr(0, file_name.find('.')));
    bool capitalise = (!stem.empty() && IsLower(stem[0])) ||
                      (stem.size() >= 2 && IsUpper(stem[0]) && IsUpper(stem[1]));
    if (!capitalise) return stem;
    for (char& c : stem) {
        if (IsLower(c)) c = static_cast<char>(c - 'a' + 'A');
    }
    // Any byte from "0" up (digits, letters, "_", high bytes) counts as part of a word; a letter
    // after it is lowered, so only word starts stay upper case.
    for (std::size_t at = 1; at < stem.size(); ++at) {
        if (IsUpper(stem[at]) && static_cast<unsigned char>(stem[at - 1]) >= '0') {
            stem[at] = static_cast<char>(stem[at] - 'A' + 'a');
        }
    }
    return stem;
}

std::string DerivedFilePath(std::string_view pgn_path, std::string_view replacement) {
    std::size_t slash = pgn_path.find_last_of('/');
    std::size_t name_length =
        slash == std::string_view::npos ? pgn_path.size() : pgn_path.size() - slash - 1;
    std::string path(pgn_path);
    if (name_length <= replacement.size()) return path + "." + std::string(replacement);
    path.replace(path.size() - replacement.size(), replacement.size(), replacement);
    return path;
}

}  // namespace qorvale::pgn
