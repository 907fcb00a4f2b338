#include "pgn/variation_games.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace qorvale::pgn {

namespace {

// Deeper nesting than this is read past, not extracted: it keeps the recursion bounded.
constexpr int MaxDepth = 64;
constexpr std::size_t LineWidth = 79;

struct Line;
struct Item {
    std::string move;
    std::vector<Line> alternatives;  // variations played instead of `move`
};
struct Line {
    std::vector<Line> leading;  // variations that open before the line's first move
    std::vector<Item> items;
};

bool IsMoveToken(std::string_view token) {
    if (token == "--") return true;
    return !token.empty() &&
           std::string_view("abcdefghKQRBNPO").find(token[0]) != std::string_view::npos;
}

// The movetext as "(", ")" and move tokens; numbers, results, comments and NAGs left out.
std::vector<std::string> Tokens(std::string_view text) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    auto word_end = [&text](std::size_t from) {
        while (from < text.size() && !std::isspace(static_cast<unsigned char>(text[from])) &&
               std::string_view("(){};").find(text[from]) == std::string_view::npos) {
            ++from;
        }
        return from;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '{') {
            const std::size_t close = text.find('}', i);
            i = close == std::string_view::npos ? text.size() : close + 1;
        } else if (c == ';' || (c == '%' && (i == 0 || text[i - 1] == '\n'))) {
            const std::size_t end = text.find('\n', i);
            i = end == std::string_view::npos ? text.size() : end + 1;
        } else if (c == '(' || c == ')') {
            tokens.emplace_back(1, c);
            ++i;
        } else if (c == '}') {
            ++i;
        } else {
            const std::size_t end = word_end(i);
            std::string token(text.substr(i, end - i));
            i = end;
            // A move number, perhaps with the move stuck to it ("12.e4", "3...Nf6").
            std::size_t digits = 0;
            while (digits < token.size() && std::isdigit(static_cast<unsigned char>(token[digits])))
                ++digits;
            if (digits > 0 && digits < token.size() && token[digits] == '.') {
                token.erase(0, token.find_first_not_of('.', digits));
                if (token.find_first_not_of('.') == std::string::npos) continue;
            }
            if (token.starts_with("0-0") || token.starts_with("o-o")) {
                for (char& letter : token) {
                    if (letter == '0' || letter == 'o') letter = 'O';
                }
            }
            while (!token.empty() && (token.back() == '!' || token.back() == '?')) token.pop_back();
            if (IsMoveToken(token)) tokens.push_back(std::move(token));
        }
    }
    return tokens;
}

Line ParseLine(const std::vector<std::string>& tokens, std::size_t& at, int depth) {
    Line line;
    while (at < tokens.size()) {
        const std::string& token = tokens[at++];
        if (token == ")") return line;
        if (token != "(") {
            line.items.push_back({token, {}});
            continue;
        }
        if (depth + 1 >= MaxDepth) {
            for (int open = 1; open > 0 && at < tokens.size(); ++at) {
                open += tokens[at] == "(" ? 1 : tokens[at] == ")" ? -1 : 0;
            }
            continue;
        }
        Line variation = ParseLine(tokens, at, depth + 1);
        if (line.items.empty()) {
            line.leading.push_back(std::move(variation));
        } else {
            line.items.back().alternatives.push_back(std::move(variation));
        }
    }
    return line;
}

using Moves = std::vector<std::string>;

void Collect(const Line& line, const Moves& prefix, std::vector<Moves>& out);

void CollectVariation(const Line& variation, const Moves& base, std::vector<Moves>& out) {
    Moves moves = base;
    for (const Item& item : variation.items) moves.push_back(item.move);
    if (moves.size() > base.size()) out.push_back(std::move(moves));
    Collect(variation, base, out);
}

void Collect(const Line& line, const Moves& prefix, std::vector<Moves>& out) {
    for (const Line& variation : line.leading) CollectVariation(variation, prefix, out);
    Moves base = prefix;
    for (const Item& item : line.items) {
        for (const Line& variation : item.alternatives) CollectVariation(variation, base, out);
        base.push_back(item.move);
    }
}

// The value of a tag line ("[Name "value"]"), or npos positions when it has none.
struct TagLine {
    std::string name;
    std::size_t value_begin = std::string::npos;
    std::size_t value_end = std::string::npos;
};
TagLine ReadTag(std::string_view line) {
    TagLine tag;
    std::size_t name_end = 1;
    while (name_end < line.size() && !std::isspace(static_cast<unsigned char>(line[name_end])) &&
           line[name_end] != '"')
        ++name_end;
    tag.name = std::string(line.substr(1, name_end - 1));
    const std::size_t open = line.find('"', name_end);
    const std::size_t close = line.rfind('"');
    if (open != std::string_view::npos && close > open) {
        tag.value_begin = open + 1;
        tag.value_end = close;
    }
    return tag;
}

// Who moves first and the first move's number, from the FEN tag's side and move fields.
struct Start {
    bool black_first = false;
    int move_number = 1;
};
Start StartOf(std::string_view fen) {
    Start start;
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < fen.size()) {
        const std::size_t end = std::min(fen.find(' ', at), fen.size());
        if (end > at) fields.push_back(fen.substr(at, end - at));
        at = end + 1;
    }
    if (fields.size() > 1) start.black_first = fields[1] == "b";
    if (fields.size() > 5) {
        const int number = std::atoi(std::string(fields[5]).c_str());
        if (number > 0 && number < 10000) start.move_number = number;
    }
    return start;
}

std::string Movetext(const Moves& moves, Start start) {
    std::string text;
    std::size_t line_start = 0;
    auto add = [&](const std::string& word) {
        if (text.size() > line_start && text.size() - line_start + 1 + word.size() > LineWidth) {
            text += "\r\n";
            line_start = text.size();
        } else if (text.size() > line_start) {
            text += ' ';
        }
        text += word;
    };
    for (std::size_t ply = 0; ply < moves.size(); ++ply) {
        const std::size_t counted = ply + (start.black_first ? 1 : 0);
        const int number = start.move_number + static_cast<int>(counted / 2);
        const bool white = counted % 2 == 0;
        if (white) {
            add(std::to_string(number) + "." + moves[ply]);
        } else if (ply == 0) {
            add(std::to_string(number) + "..." + moves[ply]);
        } else {
            add(moves[ply]);
        }
    }
    add("*");
    return text + "\r\n\r\n";
}

}  // namespace

std::vector<std::string> VariationGames(std::string_view game_text) {
    std::vector<std::string> tags;
    std::size_t at = 0;
    Start start;
    // The tag lines: every line up to the first that is not one (blank lines before it passed).
    while (at < game_text.size()) {
        std::size_t end = game_text.find('\n', at);
        if (end == std::string_view::npos) end = game_text.size();
        std::string_view line = game_text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] != '[') break;
        at = end + 1;
        if (first == std::string_view::npos) {
            if (tags.empty()) continue;
            break;
        }
        tags.emplace_back(line.substr(first));
        const TagLine tag = ReadTag(tags.back());
        if (tag.name == "FEN" && tag.value_begin != std::string::npos) {
            start = StartOf(std::string_view(tags.back())
                                .substr(tag.value_begin, tag.value_end - tag.value_begin));
        }
    }
    const std::string_view movetext = at < game_text.size() ? game_text.substr(at) : "";
    const std::vector<std::string> tokens = Tokens(movetext);
    std::size_t position = 0;
    Line main;
    // Stray ")" at the top level end a line early; what follows is read on.
    while (position < tokens.size()) {
        Line part = ParseLine(tokens, position, 0);
        for (Line& variation : part.leading) main.leading.push_back(std::move(variation));
        for (Item& item : part.items) main.items.push_back(std::move(item));
    }
    std::vector<Moves> lines;
    Collect(main, {}, lines);

    std::vector<std::string> games;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string suffix = " (variation " + std::to_string(n + 1) + ")";
        std::string header;
        bool has_event = false;
        bool has_result = false;
        for (const std::string& line : tags) {
            const TagLine tag = ReadTag(line);
            std::string written = line;
            if (tag.value_begin != std::string::npos && tag.name == "Event") {
                written.insert(tag.value_end, suffix);
                has_event = true;
            } else if (tag.value_begin != std::string::npos && tag.name == "Result") {
                written.replace(tag.value_begin, tag.value_end - tag.value_begin, "*");
                has_result = true;
            }
            header += written + "\r\n";
        }
        if (!has_event) header = "[Event \"?" + suffix + "\"]\r\n" + header;
        if (!has_result) header += "[Result \"*\"]\r\n";
        games.push_back(header + "\r\n" + Movetext(lines[n], start));
    }
    return games;
}

}  // namespace qorvale::pgn
