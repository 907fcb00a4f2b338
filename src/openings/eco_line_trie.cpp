#include "openings/eco_line_trie.h"

#include <algorithm>

namespace qorvale::openings {

namespace {

constexpr std::size_t MaxKeyLength = 8;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The move of `token` without its move number and marks.
std::string_view StripToken(std::string_view token) {
    std::size_t digits = 0;
    while (digits < token.size() && IsDigit(token[digits])) ++digits;
    if (digits > 0 && digits < token.size() && token[digits] == '.') {
        token.remove_prefix(digits);
        while (!token.empty() && token.front() == '.') token.remove_prefix(1);
    }
    while (!token.empty() && (token.back() == '+' || token.back() == '#' || token.back() == '!' ||
                              token.back() == '?')) {
        token.remove_suffix(1);
    }
    return token;
}

std::uint64_t KeyOf(std::string_view move) {
    if (move.empty() || move.size() > MaxKeyLength) return 0;
    if (move == "0-0") move = "O-O";
    if (move == "0-0-0") move = "O-O-O";
    std::uint64_t key = 0;
    for (std::size_t k = 0; k < move.size(); ++k) {
        key |= static_cast<std::uint64_t>(static_cast<unsigned char>(move[k])) << (8 * k);
    }
    return key;
}

bool IsResult(std::string_view token) {
    return token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*";
}

// "12." or "1..." alone: a move number without a move.
bool IsMoveNumber(std::string_view token, bool& black_to_move) {
    std::size_t digits = 0;
    while (digits < token.size() && IsDigit(token[digits])) ++digits;
    if (digits == 0 || digits == token.size()) return false;
    for (std::size_t k = digits; k < token.size(); ++k) {
        if (token[k] != '.') return false;
    }
    black_to_move = token.size() - digits >= 3;
    return true;
}

bool EndsToken(char c) { return c == ' ' || c == '\t' || c == '{' || c == '(' || c == ')'; }

}  // namespace

std::uint64_t EcoLineTokenKey(std::string_view token) { return KeyOf(StripToken(token)); }

EcoLineTrie::EcoLineTrie(const EcoTable& table) {
    nodes_.emplace_back();
    for (std::int32_t entry = 0; entry < table.count(); ++entry) {
        std::string_view moves = table.Moves(entry);
        std::uint32_t node = 0;
        bool whole = true;
        while (!moves.empty()) {
            const std::size_t space = std::min(moves.find(' '), moves.size());
            const std::string_view token = moves.substr(0, space);
            moves.remove_prefix(std::min(space + 1, moves.size()));
            const std::string_view move = StripToken(token);
            if (move.empty()) continue;
            const Key key = KeyOf(move);
            if (key == 0) {
                whole = false;
                break;
            }
            std::uint32_t child = Child(node, key);
            if (child == 0) {
                child = static_cast<std::uint32_t>(nodes_.size());
                nodes_[node].children.emplace_back(key, child);
                nodes_.emplace_back();
            }
            node = child;
        }
        // The first entry of a line keeps it; a line the trie cannot hold names nothing.
        if (!whole || node == 0 || nodes_[node].code[0] != 0) continue;
        const std::string_view code = table.Code(entry);
        std::copy_n(code.begin(), std::min<std::size_t>(code.size(), 3), nodes_[node].code.begin());
    }
}

std::uint32_t EcoLineTrie::Child(std::uint32_t node, Key key) const {
    for (const auto& [child_key, child] : nodes_[node].children) {
        if (child_key == key) return child;
    }
    return 0;
}

std::string_view EcoLineTrie::Classify(std::string_view line) const {
    if (empty()) return {};
    std::uint32_t node = 0;
    std::string_view best;
    std::size_t at = 0;
    int moves_seen = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (c == ' ' || c == '\t' || c == ')') {
            ++at;
            continue;
        }
        if (c == ';') break;
        if (c == '{') {
            const std::size_t close = line.find('}', at);
            if (close == std::string_view::npos) break;
            at = close + 1;
            continue;
        }
        if (c == '(') {
            int depth = 0;
            std::size_t k = at;
            for (; k < line.size(); ++k) {
                if (line[k] == '(') ++depth;
                if (line[k] == ')' && --depth == 0) break;
            }
            if (k >= line.size()) break;
            at = k + 1;
            continue;
        }
        std::size_t end = at;
        while (end < line.size() && !EndsToken(line[end])) ++end;
        const std::string_view token = line.substr(at, end - at);
        at = end;
        if (token[0] == '$') continue;
        if (IsResult(token)) break;
        bool black_to_move = false;
        if (IsMoveNumber(token, black_to_move)) {
            if (black_to_move && moves_seen == 0) break;
            continue;
        }
        const std::string_view move = StripToken(token);
        if (move.empty()) continue;  // a lone "!" or "+"
        const Key key = KeyOf(move);
        const std::uint32_t child = key == 0 ? 0 : Child(node, key);
        if (child == 0) break;
        node = child;
        ++moves_seen;
        if (nodes_[node].code[0] != 0) best = std::string_view(nodes_[node].code.data());
    }
    return best;
}

}  // namespace qorvale::openings
