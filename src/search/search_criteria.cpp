#include "search/search_criteria.h"

#include "search/messages.h"

namespace qorvale::search {

namespace {

// Names are compared byte by byte; only the ASCII letters have case.
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipSpaces(std::string_view text, std::size_t at) {
    while (at < text.size() && text[at] == ' ') ++at;
    return at;
}

template <std::size_t N>
int CountEntries(const std::array<chess::MoveText, N>& entries) {
    int count = 0;
    while (count < static_cast<int>(N) && !entries[static_cast<std::size_t>(count)].empty()) {
        ++count;
    }
    return count;
}

}  // namespace

bool HeaderCriteria::Set(HeaderCriterion field, std::string_view text) {
    bool fits = text.size() <= MaxCriteriaText;
    fields[static_cast<std::size_t>(field)] = text.substr(0, MaxCriteriaText);
    return fits;
}

bool HeaderCriteria::Any() const {
    for (const std::string& field : fields) {
        if (!field.empty()) return true;
    }
    return false;
}

int VariationCriteria::WhiteCount() const { return CountEntries(WhiteMoves); }
int VariationCriteria::BlackCount() const { return CountEntries(BlackMoves); }

ParsedComparison ParseComparison(std::string_view text) {
    ParsedComparison parsed;
    std::size_t at = 0;
    bool has_operator = true;
    if (text.starts_with("=<")) {
        parsed.comparison = Comparison::LessOrEqual;
        at = 2;
    } else if (text.starts_with("=>")) {
        parsed.comparison = Comparison::GreaterOrEqual;
        at = 2;
    } else if (text.starts_with(">=")) {
        parsed.comparison = Comparison::GreaterOrEqual;
        at = 2;
    } else if (text.starts_with("<=")) {
        parsed.comparison = Comparison::LessOrEqual;
        at = 2;
    } else if (text.starts_with("=")) {
        at = 1;
    } else if (text.starts_with(">")) {
        parsed.comparison = Comparison::Greater;
        at = 1;
    } else if (text.starts_with("<")) {
        parsed.comparison = Comparison::Less;
        at = 1;
    } else {
        has_operator = false;
    }
    at = SkipSpaces(text, at);
    std::size_t start = at;
    while (at < text.size() && text[at] != '-' && text[at] != ' ') ++at;
    parsed.first = text.substr(start, at - start);
    at = SkipSpaces(text, at);
    if (!has_operator && at < text.size() && text[at] == '-') {
        parsed.comparison = Comparison::Range;
        at = SkipSpaces(text, at + 1);
        start = at;
        while (at < text.size() && text[at] != ' ') ++at;
        parsed.second = text.substr(start, at - start);
    }
    return parsed;
}

long ReadNumber(std::string_view text) {
    std::size_t at = SkipSpaces(text, 0);
    long value = 0;
    while (at < text.size() && IsDigit(text[at]) && value < 100000000) {
        value = value * 10 + (text[at] - '0');
        ++at;
    }
    return value;
}

bool IsNumber(std::string_view text) {
    std::size_t at = SkipSpaces(text, 0);
    return at < text.size() && IsDigit(text[at]);
}

bool CompareValue(long value, const ParsedComparison& criterion) {
    long a = ReadNumber(criterion.first);
    switch (criterion.comparison) {
        case Comparison::Equal:
            return value == a;
        case Comparison::GreaterOrEqual:
            return value >= a;
        case Comparison::Greater:
            return value > a;
        case Comparison::LessOrEqual:
            return value <= a;
        case Comparison::Less:
            return value < a;
        case Comparison::Range:
            return value >= a && value <= ReadNumber(criterion.second);
    }
    return false;
}

std::size_t NormalizeNameInto(std::string_view name, char* out, std::size_t limit) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < name.size() && length < limit; ++i) {
        char c = name[i];
        if (c == '(') break;
        if (IsLetter(c)) {
            out[length++] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        } else if (i == 0 || (length > 0 && (IsDigit(c) || c == ','))) {
            out[length++] = c;
        }
    }
    return length;
}

std::string NormalizeName(std::string_view name) {
    std::string normal(name.size(), '\0');
    normal.resize(NormalizeNameInto(name, normal.data(), name.size()));
    return normal;
}

bool WildcardMatch(std::string_view pattern, std::string_view move) {
    if (pattern.empty() || move.empty()) return false;
    std::size_t p = 0;
    std::size_t m = 0;
    while (p < pattern.size()) {
        char c = pattern[p];
        if (c == '*') {
            ++p;
            if (p == pattern.size()) return true;
            while (m < move.size() && move[m] != pattern[p]) ++m;
            if (m == move.size()) return false;
        } else {
            if (m >= move.size()) return false;
            if (c != '?' && c != move[m]) return false;
            ++p;
            ++m;
        }
    }
    return true;
}

SpecificMove ParseSpecificMove(std::string_view text) {
    SpecificMove parsed;
    std::size_t at = SkipSpaces(text, 0);
    std::size_t digits = at;
    while (digits < text.size() && IsDigit(text[digits])) ++digits;
    if (digits > at && digits < text.size() && text[digits] == '.') {
        parsed.move_number = static_cast<int>(ReadNumber(text.substr(at, digits - at)));
        if (text.substr(digits).starts_with("...")) {
            parsed.side = SpecificMove::Side::Black;
            at = digits + 3;
        } else {
            parsed.side = SpecificMove::Side::White;
            at = digits + 1;
        }
        at = SkipSpaces(text, at);
    }
    std::string_view rest = text.substr(at);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    parsed.pattern = rest;
    if (parsed.pattern.size() > 1 && parsed.pattern[1] == '-') {
        for (std::size_t i : {0, 2, 4}) {
            if (i < parsed.pattern.size()) parsed.pattern[i] = 'O';
        }
    }
    return parsed;
}

bool MoveNumberFilter::Passes(int half_moves) const {
    if (!on) return true;
    int move = (half_moves + 1) / 2;
    switch (comparison) {
        case Comparison::Equal:
            return move == value;
        case Comparison::GreaterOrEqual:
            return move >= value;
        case Comparison::Greater:
            return move > value;
        case Comparison::LessOrEqual:
            return move <= value;
        case Comparison::Less:
            return move < value;
        case Comparison::Range:
            return move >= value && (upper == 0 || move <= upper);
    }
    return true;
}

MoveNumberFilter ParseMoveNumberFilter(std::string_view text) {
    MoveNumberFilter filter;
    if (SkipSpaces(text, 0) == text.size()) return filter;
    ParsedComparison parsed = ParseComparison(text);
    filter.on = true;
    filter.comparison = parsed.comparison;
    filter.value = static_cast<int>(ReadNumber(parsed.first));
    filter.upper = static_cast<int>(ReadNumber(parsed.second));
    return filter;
}

Error CheckComparison(std::string_view text, bool numeric) {
    if (SkipSpaces(text, 0) == text.size()) return Error::Ok();
    const ParsedComparison parsed = ParseComparison(text);
    if (parsed.first.empty() || (parsed.comparison == Comparison::Range && parsed.second.empty())) {
        return Error(std::string(messages::ComparisonWithoutValue));
    }
    if (parsed.comparison == Comparison::Range) {
        const bool reversed = numeric
                                  ? ReadNumber(parsed.second) < ReadNumber(parsed.first)
                                  : parsed.second.compare(0, parsed.first.size(), parsed.first) < 0;
        if (reversed) return Error(std::string(messages::RangeReversed));
    }
    return Error::Ok();
}

Error CheckMoveNumberFilter(std::string_view text) {
    const ParsedComparison parsed = ParseComparison(text);
    if (parsed.comparison == Comparison::Range && !parsed.second.empty() &&
        ReadNumber(parsed.second) == 0) {
        return CheckComparison(parsed.first, true);
    }
    return CheckComparison(text, true);
}

Error CheckHeaderCriteria(const HeaderCriteria& criteria) {
    if (Error error = CheckComparison(criteria.Get(HeaderCriterion::Date), false); !error.ok()) {
        return error;
    }
    if (Error error = CheckComparison(criteria.Get(HeaderCriterion::NumberOfMoves), true);
        !error.ok()) {
        return error;
    }
    for (HeaderCriterion elo : {HeaderCriterion::WhiteElo, HeaderCriterion::BlackElo}) {
        std::string_view text = criteria.Get(elo);
        if (text.starts_with("*")) text.remove_prefix(1);
        if (Error error = CheckComparison(text, true); !error.ok()) return error;
    }
    return Error::Ok();
}

bool ParsePositionCriteria(std::string_view text, PositionCriteria& position) {
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && text[at] == ' ') ++at;
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view word = text.substr(at, end - at);
        at = end;
        if (word.empty()) continue;
        if (word.size() < 2 || word[1] != ':' || (word[0] != 'W' && word[0] != 'B')) return false;
        auto& list = word[0] == 'W' ? position.White : position.Black;
        std::size_t count = 0;
        while (count < list.size() && !list[count].empty()) ++count;
        word.remove_prefix(2);
        while (!word.empty()) {
            std::size_t comma = word.find(',');
            std::string_view entry = word.substr(0, comma);
            word = comma == std::string_view::npos ? std::string_view() : word.substr(comma + 1);
            if (entry.empty()) continue;
            if (entry.size() > chess::MoveText::Capacity || count >= list.size()) return false;
            list[count++].Assign(entry);
        }
    }
    return true;
}

}  // namespace qorvale::search
