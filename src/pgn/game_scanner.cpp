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

GameScanner::Step GameScanner::Feed(std::string_view record) {
    // Escape lines ("%" in the first column) are invisible to the split.
    if (!record.empty() && record[0] == '%') return Step::Continue;
    bool empty = record.empty();
    // Movetext right after the tags, without the blank line, still ends the header.
    if (!empty && (state_ == State::InHeader || state_ == State::HeaderFull) &&
        IsMovetextStart(record)) {
        empty = true;
    }
    bool tag = !empty && record[0] == '[' && IsTagLine(record);

    switch (state_) {
        case State::BeforeFirstGame:
            if (tag) {
                tag_count_ = 1;
                state_ = State::InHeader;
                return Step::NewGame;
            }
            if (empty) {
                tag_count_ = 0;
                state_ = State::InHeader;
            }
            return Step::Continue;
        case State::InHeader:
            if (tag) {
                ++tag_count_;
                if (tag_count_ == 1) return Step::NewGame;
                if (tag_count_ == FullHeaderTags) state_ = State::HeaderFull;
            } else if (empty && tag_count_ >= 1) {
                state_ = State::InMovetext;
            }
            return Step::Continue;
        case State::HeaderFull:
            if (tag) return Step::Continue;
            if (empty) {
                state_ = State::InMovetext;
                return Step::Continue;
            }
            return Step::Stop;
        case State::InMovetext:
            if (tag) {
                // A tag line right after movetext opens the next game.
                tag_count_ = 1;
                state_ = State::InHeader;
                return Step::NewGame;
            }
            if (empty) {
                tag_count_ = 0;
                state_ = State::InHeader;
            }
            return Step::Continue;
    }
    return Step::Continue;
}

}  // namespace qorvale::pgn
