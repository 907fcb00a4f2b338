#include "pgn/header_tags.h"

#include <algorithm>
#include <cstdio>

#include "chess/fen.h"
#include "pgn/game_scanner.h"
#include "pgn/messages.h"
#include "platform/file.h"

namespace qorvale::pgn {

namespace {

// A two-column display line holds at most 95 characters, a single line at most 287.
constexpr std::size_t MaxTwoColumnLine = 95;
constexpr std::size_t MaxSingleLine = 287;

std::string Cut(std::string_view text, std::size_t limit) {
    return std::string(text.substr(0, limit));
}

// "%-30s" then the second column: a longer first value is not cut and pushes the column right.
std::string TwoColumns(std::string_view label, std::string_view first, std::string_view label2,
                       std::string_view second) {
    std::string line(label);
    line += first;
    if (first.size() < 30) line.append(30 - first.size(), ' ');
    line += label2;
    line += second;
    return Cut(line, MaxTwoColumnLine);
}

std::string Single(std::string_view label, std::string_view value) {
    std::string line(label);
    line += value;
    return Cut(line, MaxSingleLine);
}

}  // namespace

std::string_view TagValue(std::string_view line) {
    if (!line.starts_with('[')) return {};
    std::size_t quote = line.find('"');
    if (quote == std::string_view::npos) return {};
    std::size_t start = quote + 1;
    while (start < line.size() && line[start] == ' ') ++start;
    // The value ends at the line's last quote, so that quotes written inside it unescaped stay
    // part of it. No closing quote: the value runs to the end of the record.
    std::size_t end = line.rfind('"');
    if (end == quote) end = line.size();
    if (end < start) end = start;
    return line.substr(start, end - start);
}

void ExtractTagValue(std::string& line, bool database_mode) {
    if (database_mode) return;
    std::string_view value = TagValue(line);
    line = std::string(value);
}

void CurrentTagLines::Clear() {
    for (std::size_t index = 0; index < TagCount; ++index) {
        if (static_cast<Tag>(index) != Tag::Opening) lines_[index].clear();
    }
}

bool CurrentTagLines::Take(std::string_view record, bool with_opening_names) {
    for (const TagPrefix& entry : TagPrefixes) {
        if (entry.opening_names_only && !with_opening_names) continue;
        if (!record.starts_with(entry.prefix)) continue;
        std::string& line = lines_[static_cast<std::size_t>(entry.tag)];
        if (!entry.first_wins || line.empty()) line.assign(record);
        return true;
    }
    return false;
}

void HeaderTags::ReadHeader(RecordSource& source, FirstRecordMode mode,
                            std::string_view handed_record) {
    tag_lines_.Clear();
    if (mode != FirstRecordMode::KeepInSecondSlot) has_first_record_ = false;
    if (mode == FirstRecordMode::KeepInSecondSlot) has_second_record_ = false;
    // A header is read from where its game begins; a line an earlier reader gave back belongs
    // to wherever the file stood then.
    source.DropPushedBack();

    TagNameSet names;
    bool use_handed = mode == FirstRecordMode::HandedOver;
    bool have_record = false;  // record_ holds the next record to look at
    int length = 0;
    while (true) {
        if (use_handed) {
            record_.assign(handed_record);
            length = static_cast<int>(handed_record.size()) + 1;
            use_handed = false;
        } else if (!have_record) {
            length = source.ReadRecord(record_);
        }
        have_record = false;
        if (length == 0) {
            record_.clear();
            return;
        }
        if (record_.starts_with('%')) continue;
        if (record_.empty()) {
            // A blank line ends the header, unless the next line names a tag the header does not
            // have yet: then the header was only broken by the blank line, as some programs
            // write it. The line looked at is read again by whoever reads on.
            std::string next;
            int next_length = 0;
            do {
                next_length = source.ReadRecord(next);
            } while (next_length > 0 && (next.empty() || next.starts_with('%')));
            if (next_length > 0 && IsTagRecord(next) && !names.Has(TagName(next))) {
                record_.swap(next);
                length = next_length;
                have_record = true;
                continue;
            }
            if (next_length > 0) source.PushBack(next, next_length);
            return;
        }
        if (record_[0] == '[') {
            if (IsTagLine(record_)) {
                names.Add(TagName(record_));
                tag_lines_.Take(record_, with_opening_names_);
                continue;
            }
            if (std::size_t tag_length = TagLineWithTextLength(record_); tag_length > 0) {
                // A tag line with more on the same line: the rest is read as the next record.
                names.Add(TagName(record_));
                tag_lines_.Take(std::string_view(record_).substr(0, tag_length),
                                with_opening_names_);
                std::size_t rest = record_.find_first_not_of(' ', tag_length);
                length = std::max(1, length - static_cast<int>(rest));
                record_.erase(0, rest);
                have_record = true;
                continue;
            }
            // Bracketed text that is no tag is passed over.
            if (record_.size() >= 2 && record_[1] >= 'A' && record_[1] <= 'Z') continue;
        }
        // The movetext begins, with or without the blank line before it.
        if (mode == FirstRecordMode::KeepForMovetext) {
            first_record_ = record_;
            first_record_length_ = length;
            has_first_record_ = true;
        } else if (mode == FirstRecordMode::KeepInSecondSlot) {
            second_record_ = record_;
            has_second_record_ = true;
        } else {
            // Read again by whoever reads the movetext on.
            source.PushBack(record_, length);
        }
        return;
    }
}

void HeaderTags::BuildHeaderDisplay(bool database_mode) {
    auto value_of = [&](Tag tag) {
        std::string value = tag_lines_.Line(tag);
        ExtractTagValue(value, database_mode);
        if (value.size() > MaxHeaderValue) value.resize(MaxHeaderValue);
        return value;
    };
    constexpr std::array<Tag, HeaderFieldCount> field_tags = {
        Tag::Event, Tag::Site,   Tag::Date, Tag::Round,    Tag::White,
        Tag::Black, Tag::Result, Tag::ECO,  Tag::WhiteElo, Tag::BlackElo,
    };
    for (std::size_t index = 0; index < HeaderFieldCount; ++index) {
        header_.values[index] = value_of(field_tags[index]);
    }
    const std::string& event = header_.Get(HeaderField::Event);
    const std::string& site = header_.Get(HeaderField::Site);
    const std::string& date = header_.Get(HeaderField::Date);
    const std::string& round = header_.Get(HeaderField::Round);
    const std::string& white = header_.Get(HeaderField::White);
    const std::string& black = header_.Get(HeaderField::Black);
    const std::string& result = header_.Get(HeaderField::Result);
    const std::string& eco = header_.Get(HeaderField::ECO);
    const std::string& white_elo = header_.Get(HeaderField::WhiteElo);
    const std::string& black_elo = header_.Get(HeaderField::BlackElo);

    display_.event_site = TwoColumns("Event:  ", event, "Site:  ", site);
    display_.event = Single("Event:  ", event);
    display_.site = Single("Site:  ", site);

    display_.date_round = TwoColumns("Date:   ", date, "Round: ", round.empty() ? "?" : round);
    display_.date = Single("Date:  ", date);
    display_.round = Single("Round:  ", round.empty() ? "?" : round);

    display_.white_black = TwoColumns("White:  ", white, "Black: ", black);
    display_.white = Single("White:  ", white_elo.empty() ? white : white + " " + white_elo);
    display_.black = Single("Black:  ", black_elo.empty() ? black : black + " " + black_elo);

    display_.result_eco = eco.empty() ? TwoColumns("Result: ", result, "", "")
                                      : TwoColumns("Result: ", result, "ECO:   ", eco);
    display_.result = Single("Result: ", result);
    display_.eco = Single("ECO:  ", eco.empty() ? "?" : eco);
}

HeaderEditFields LoadHeaderForEdit(RecordSource& source) {
    HeaderEditFields fields;
    std::string record;
    constexpr std::array<std::string_view, HeaderFieldCount> prefixes = {
        "[Event ", "[Site ",  "[Date ", "[Round ",    "[White ",
        "[Black ", "[Result", "[ECO ",  "[WhiteElo ", "[BlackElo ",
    };
    while (source.ReadRecord(record) != 0) {
        // A tag line with the movetext after it is the header's last.
        const std::size_t with_text = TagLineWithTextLength(record);
        if (with_text > 0) {
            record.resize(with_text);
        } else if (!IsTagLine(record)) {
            break;
        }
        for (std::size_t index = 0; index < HeaderFieldCount; ++index) {
            if (!record.starts_with(prefixes[index])) continue;
            fields.fields[index] = Cut(TagValue(record), MaxHeaderValue);
            break;
        }
        if (with_text > 0) break;
    }
    return fields;
}

Error ValidateResult(const HeaderEditFields& fields) {
    const std::string& result = fields.Get(HeaderField::Result);
    if (result == "1-0" || result == "0-1" || result == "1/2-1/2" || result == "*") return {};
    return Error(std::string(ResultInvalid));
}

std::string HeaderText(const HeaderEditFields& fields, bool starts_from_setup) {
    std::string text;
    for (const auto& [name, field] : WrittenHeaderOrder) {
        text += '[';
        text += name;
        text += " \"";
        text += fields.Get(field);
        text += "\"]\r\n";
    }
    if (!starts_from_setup) text += "\r\n";
    return text;
}

std::string FenTagText(const FenTagGame& game) {
    std::string text = chess::WriteFenTag(game.start, game.moves, game.full_moves, game.result,
                                          game.start_move_number);
    if (game.full_moves > 0) text += "\r\n";
    return text;
}

void WriteHeader(std::string& buffer, const HeaderEditFields& fields, bool starts_from_setup) {
    buffer += HeaderText(fields, starts_from_setup);
}

Error WriteHeader(platform::File& file, const HeaderEditFields& fields, bool starts_from_setup) {
    if (!file.Write(HeaderText(fields, starts_from_setup))) {
        return Error(std::string(ErrorSavingGame));
    }
    return {};
}

void WriteFenTag(std::string& buffer, const FenTagGame& game) { buffer += FenTagText(game); }

Error WriteFenTag(platform::File& file, const FenTagGame& game) {
    if (!file.Write(FenTagText(game))) return Error(std::string(ErrorSavingGame));
    return {};
}

std::string MakeHeaderTemplate(TemplateKeep keep, std::string_view current_text) {
    static constexpr std::string_view Template =
        "[Event \"?\"]\r\n[Site \"?\"]\r\n[Date \"????.??.??\"]\r\n[Round \"?\"]\r\n"
        "[White \"?\"]\r\n[Black \"?\"]\r\n[Result \"?\"]\r\n[WhiteElo \"?\"]\r\n"
        "[BlackElo \"?\"]\r\n[ECO \"?\"]\r\n\r\n1.";
    if (keep == TemplateKeep::Nothing) return std::string(Template);
    // The moves begin at the first "1." standing at the start of a line.
    std::size_t move_one = current_text.starts_with("1.") ? 0 : current_text.find("\r\n1.");
    if (move_one == std::string_view::npos) return std::string(Template);
    if (move_one != 0) move_one += 2;
    std::size_t after = move_one + 2;
    if (keep == TemplateKeep::UpToMoveOne) return std::string(current_text.substr(0, after));
    std::string text(Template);
    text += current_text.substr(after);
    return text;
}

}  // namespace qorvale::pgn
