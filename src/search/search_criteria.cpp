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

namespace {

bool FillEntries(std::string_view text, std::array<PositionEntry, MaxPositionEntries>& list) {
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(", \t", at);
        if (start == std::string_view::npos) break;
        std::size_t end = text.find_first_of(", \t", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view entry = text.substr(start, end - start);
        if (entry.size() > chess::MoveText::Capacity || count == list.size()) return false;
        list[count++].Assign(entry);
        at = end;
    }
    return true;
}

}  // namespace

PositionEntryText PositionEntriesOf(const chess::Board& board) {
    static constexpr std::string_view Letters = " PNBRQK";
    PositionEntryText text;
    // Kings first, as a player lists a position.
    for (std::uint32_t kind = chess::King; kind >= chess::Pawn; --kind) {
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) {
                const std::uint32_t code =
                    board[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)];
                if (code == chess::Empty || chess::KindOf(code) != kind) continue;
                std::string& list = chess::IsWhiteCode(code) ? text.white : text.black;
                if (!list.empty()) list += ", ";
                if (kind != chess::Pawn) list += Letters[kind];
                list += chess::FileLetter(file);
                list += chess::RankDigit(rank);
            }
        }
    }
    return text;
}

Error ParsePositionEntries(std::string_view white, std::string_view black,
                           PositionCriteria& position) {
    PositionCriteria filled;
    if (!FillEntries(white, filled.White) || !FillEntries(black, filled.Black)) {
        return Error(std::string(messages::InvalidPositionEntry));
    }
    position = filled;
    return Error::Ok();
}

Error ParsePositionText(std::string_view text, PositionCriteria& position) {
    std::string sides[2];
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(' ', at);
        if (start == std::string_view::npos) break;
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(start, end - start);
        at = end;
        if (word.size() < 2 || word[1] != ':' || (word[0] != 'W' && word[0] != 'B')) {
            return Error(std::string(messages::InvalidPositionEntry));
        }
        std::string& side = sides[word[0] == 'W' ? 0 : 1];
        side += ',';
        side += word.substr(2);
    }
    return ParsePositionEntries(sides[0], sides[1], position);
}

}  // namespace qorvale::search
