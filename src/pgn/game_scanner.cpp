#include "pgn/game_scanner.h"

#include <array>

namespace qorvale::pgn {

namespace {

// Tag names that make a bracketed line a tag line even when its value is not quoted the usual
// way. Compared as prefixes, so "WhiteElo" passes as "White".
constexpr std::array<std::string_view, 15> KnownTagNames = {
    "Event", "Site", "Date", "Round",  "White",   "Black", "Result", "ECO",
    "Annot", "Ply",  "Time", "Source", "Opening", "NIC",   "FEN",
};

}  // namespace

bool IsTagLine(std::string_view record) {
    if (record.size() < 3 || record[0] != '[' || record[1] < 'A' || record[1] > 'Z') return false;
    std::size_t close = record.size() - 1;
    if (record[close] != ']') {
        if (record[close] != ' ' || record[close - 1] != ']') return false;
        --close;
    }
    // The value is quoted when the "]" follows a double quote (or a double quote and a space)
    // and the first space from the third byte on is followed by one.
    bool quote_before_close =
        close >= 1 && (record[close - 1] == '"' ||
                       (close >= 2 && record[close - 1] == ' ' && record[close - 2] == '"'));
    if (quote_before_close) {
        std::size_t space = record.find(' ', 2);
        if (space != std::string_view::npos && space + 1 < record.size() &&
            record[space + 1] == '"') {
            return true;
        }
    }
    std::string_view name = record.substr(1);
    for (std::string_view known : KnownTagNames) {
        if (name.starts_with(known)) return true;
    }
    return false;
}

bool IsMovetextStart(std::string_view record) {
    return record.starts_with("1.") || record.starts_with("{");
}

std::size_t TagLineWithTextLength(std::string_view record) {
    if (record.size() < 3 || record[0] != '[' || record[1] < 'A' || record[1] > 'Z') return 0;
    // The tag ends at the first quote closed by "]"; quotes inside the value are only text.
    for (std::size_t quote = record.find('"'); quote != std::string_view::npos;
         quote = record.find('"', quote + 1)) {
        std::size_t close = quote + 1;
        while (close < record.size() && record[close] == ' ') ++close;
        if (close >= record.size() || record[close] != ']') continue;
        std::size_t rest = record.find_first_not_of(' ', close + 1);
        if (rest == std::string_view::npos) return 0;
        return IsTagLine(record.substr(0, close + 1)) ? close + 1 : 0;
    }
    return 0;
}

std::string_view TagName(std::string_view tag_line) {
    std::size_t end = tag_line.find_first_of(" \"]", 1);
    if (end == std::string_view::npos) end = tag_line.size();
    return tag_line.substr(1, end - 1);
}

namespace {

std::uint32_t NameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    return hash;
}

}  // namespace

void TagNameSet::Add(std::string_view name) {
    if (count_ < Capacity) hashes_[count_++] = NameHash(name);
}

bool TagNameSet::Has(std::string_view name) const {
    if (count_ == Capacity) return true;
    const std::uint32_t hash = NameHash(name);
    for (std::size_t i = 0; i < count_; ++i) {
        if (hashes_[i] == hash) return true;
    }
    return false;
}

GameScanner::Step GameScanner::FeedTag(std::string_view tag_line) {
    const std::string_view name = TagName(tag_line);
    switch (state_) {
        case State::InHeader:
            if (tag_count_ > 0) {
                names_.Add(name);
                if (++tag_count_ == FullHeaderTags) state_ = State::HeaderFull;
                return Step::Continue;
            }
            break;
        case State::HeaderFull:
            names_.Add(name);
            return Step::Continue;
        case State::InMovetext:
            // Only blank lines since the header, and a tag it does not have yet: a blank line
            // inside the header, which goes on.
            if (!movetext_seen_ && !names_.Has(name)) {
                names_.Add(name);
                ++tag_count_;
                state_ = tag_count_ >= FullHeaderTags ? State::HeaderFull : State::InHeader;
                return Step::Continue;
            }
            break;
        case State::BeforeFirstGame:
            break;
    }
    names_.Clear();
    names_.Add(name);
    tag_count_ = 1;
    state_ = State::InHeader;
    return Step::NewGame;
}

GameScanner::Step GameScanner::Feed(std::string_view record) {
    // Escape lines ("%" in the first column) are invisible to the split.
    if (!record.empty() && record[0] == '%') return Step::Continue;
    if (record.empty()) {
        switch (state_) {
            case State::BeforeFirstGame:
                tag_count_ = 0;
                state_ = State::InHeader;
                break;
            case State::InHeader:
            case State::HeaderFull:
                if (tag_count_ >= 1) {
                    state_ = State::InMovetext;
                    movetext_seen_ = false;
                }
                break;
            case State::InMovetext:
                if (movetext_seen_) {
                    tag_count_ = 0;
                    state_ = State::InHeader;
                }
                break;
        }
        return Step::Continue;
    }
    if (record[0] == '[') {
        if (IsTagLine(record)) return FeedTag(record);
        if (std::size_t length = TagLineWithTextLength(record); length > 0) {
            const Step step = FeedTag(record.substr(0, length));
            const Step rest = Feed(record.substr(record.find_first_not_of(' ', length)));
            return step == Step::NewGame ? step : rest;
        }
        // Bracketed text that is no tag is passed over, as between tags.
        if (record.size() >= 2 && record[1] >= 'A' && record[1] <= 'Z') return Step::Continue;
    }
    // Text after tags is movetext, with or without the blank line before it; between games it
    // is ignored.
    if (state_ == State::HeaderFull || (state_ == State::InHeader && tag_count_ >= 1)) {
        state_ = State::InMovetext;
    }
    if (state_ == State::InMovetext) movetext_seen_ = true;
    return Step::Continue;
}

}  // namespace qorvale::pgn
