#include "utilities/fix_tags.h"

#include <functional>

#include "pgn/game_scanner.h"
#include "pgn/header_tags.h"
#include "utilities/file_rewrite.h"
#include "utilities/game_spans.h"
#include "utilities/messages.h"
#include "utilities/operation_control.h"

namespace qorvale::utilities {

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           static_cast<unsigned char>(c) >= 0x80;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsDate(std::string_view date) {
    if (date.size() != 10 || (date[0] != '1' && date[0] != '2')) return false;
    for (std::size_t i = 0; i < date.size(); ++i) {
        bool point = i == 4 || i == 7;
        if (point ? date[i] != '.' : (date[i] < '0' || date[i] > '9')) return false;
    }
    return true;
}

// The quoted value of a tag line as a range of the line: after the first double quote, up to
// the next one (or the end of the line).
struct ValueRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool found = false;
};

ValueRange QuotedValue(std::string_view line) {
    ValueRange range;
    std::size_t open = line.find('"');
    if (open == std::string_view::npos) return range;
    std::size_t close = line.find('"', open + 1);
    range.begin = open + 1;
    range.end = close == std::string_view::npos ? line.size() : close;
    range.found = true;
    return range;
}

// Rewrites each game's tag lines through `edit_header` and copies everything else unchanged.
// `edit_header(lines)` gets the header's lines (line ends included) and changes them in place;
// it returns whether it changed anything.
FixOutcome RewriteHeaders(const FixTarget& target, std::string_view temp_failure, Ui& ui,
                          platform::FileSystem& file_system,
                          const std::function<bool(std::vector<std::string>& lines)>& edit_header) {
    FixOutcome outcome;
    outcome.confirmed = true;
    const Error failure{std::string(temp_failure)};
    Result<GameSpans> spans = MeasureGameSpans(target.pgn_path, target.offsets, target.index_full);
    GameSpanReader reader;
    platform::File source = platform::File::Open(target.pgn_path, platform::File::Mode::Read);
    if (!spans || !reader.Open(target.pgn_path) || !source.IsOpen()) {
        outcome.error = Error(std::string(messages::ErrorOpeningFile));
        return outcome;
    }
    RewriteFile temp(file_system, target.pgn_path);
    if (!temp.Create()) {
        outcome.error = failure;
        return outcome;
    }
    auto write = [&temp](std::string_view block) { return temp.Write(block); };
    bool written = spans->Count() == 0 || CopyFileRange(source, 0, spans->Begin(0), write);
    std::vector<std::string> lines;
    for (std::size_t index = 0; index < spans->Count() && written; ++index) {
        const std::uint64_t begin = spans->Begin(index);
        const std::uint64_t end = spans->End(index);
        std::string_view text = reader.Read(begin, end);
        // The header: the tag lines from the game's start, each with its own line end.
        lines.clear();
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t next = text.find('\n', at);
            next = next == std::string_view::npos ? text.size() : next + 1;
            std::string_view line = text.substr(at, next - at);
            std::string_view bare = line;
            while (!bare.empty() && static_cast<unsigned char>(bare.back()) <= 13) {
                bare.remove_suffix(1);
            }
            if (!pgn::IsTagLine(bare)) break;
            lines.emplace_back(line);
            at = next;
        }
        if (edit_header(lines)) ++outcome.changed;
        for (const std::string& line : lines) written = written && temp.Write(line);
        written = written && temp.Write(text.substr(at));
        if (text.size() < end - begin) {
            written = written && CopyFileRange(source, begin + text.size(), end, write);
        }
    }
    if (written && spans->Count() > 0) {
        written = CopyFileRange(source, spans->last_end, spans->file_size, write);
    }
    if (!written) {
        temp.Abandon();
        outcome.error = failure;
        return outcome;
    }
    if (outcome.changed == 0) {
        // Nothing to change: the file and the files beside it stay as they are.
        temp.Abandon();
        return outcome;
    }
    ReplaceOptions options;
    options.fast_file = ReplaceOptions::FastFile::Drop;
    outcome.error = ReplacePgnFile(temp, options, ui, temp_failure);
    outcome.replaced = outcome.error.ok();
    return outcome;
}

void ReplaceValue(std::string& line, std::string_view value) {
    ValueRange range = QuotedValue(line);
    line.replace(range.begin, range.end - range.begin, value);
}

}  // namespace

std::string NameKey(std::string_view name) {
    std::string key;
    bool letter_seen = false;
    for (char c : name) {
        if (IsLetter(c)) {
            key.push_back(Lower(c));
            letter_seen = true;
        } else if (!letter_seen) {
            key.push_back(c);
        } else if (c == '(') {
            break;
        } else if ((c >= '0' && c <= '9') || c == ',') {
            key.push_back(c);
        }
    }
    return key;
}

Error ValidateFixDates(std::string_view fix_date, std::string_view to_date) {
    if (fix_date.empty()) return Error(std::string(messages::MustEnterFixDate));
    if (to_date.empty()) return Error(std::string(messages::MustEnterToDate));
    if (!IsDate(fix_date) || !IsDate(to_date)) return Error(std::string(messages::DateForm));
    return Error::Ok();
}

std::optional<FixNames> PrepareFixNames(std::string_view fix_name, std::string_view to_name,
                                        Ui& ui) {
    if (fix_name.empty() || to_name.empty()) {
        ui.report(fix_name.empty() ? messages::MustEnterFixName : messages::MustEnterToName);
        return std::nullopt;
    }
    FixNames names{std::string(fix_name), std::string(to_name)};
    names.fix_name[0] = Upper(names.fix_name[0]);
    names.to_name[0] = Upper(names.to_name[0]);
    std::size_t comma = names.to_name.find(',');
    std::size_t first = comma == std::string::npos
                            ? std::string::npos
                            : names.to_name.find_first_not_of(' ', comma + 1);
    if (first == std::string::npos) {
        if (!ui.ask(messages::ToNameWithoutFirstName)) return std::nullopt;
    } else {
        names.to_name[first] = Upper(names.to_name[first]);
    }
    return names;
}

FixOutcome FixGameDates(const FixTarget& target, std::string_view fix_date,
                        std::string_view to_date, Ui& ui, platform::FileSystem& file_system) {
    const std::string from(fix_date);
    const std::string to(to_date);
    if (!ui.ask(Formatted(messages::ConfirmChange, from.c_str(), to.c_str()))) return {};
    FixOutcome outcome = RewriteHeaders(
        target, messages::ErrorChangingDate, ui, file_system, [&](std::vector<std::string>& lines) {
            for (std::string& line : lines) {
                if (!line.starts_with("[Date ")) continue;
                ValueRange value = QuotedValue(line);
                if (!value.found ||
                    std::string_view(line).substr(value.begin, value.end - value.begin) != from) {
                    continue;
                }
                ReplaceValue(line, to);
                return true;
            }
            return false;
        });
    ui.report(outcome.error ? outcome.error.message() : std::string(messages::FixDateComplete));
    return outcome;
}

FixOutcome FixPlayerNames(const FixTarget& target, const FixNames& names, Ui& ui,
                          platform::FileSystem& file_system) {
    if (!ui.ask(
            Formatted(messages::ConfirmChange, names.fix_name.c_str(), names.to_name.c_str()))) {
        return {};
    }
    const std::string fix_key = NameKey(names.fix_name);
    FixOutcome outcome = RewriteHeaders(
        target, messages::ErrorChangingNames, ui, file_system,
        [&](std::vector<std::string>& lines) {
            bool white_seen = false;
            bool black_seen = false;
            for (std::string& line : lines) {
                bool white = !white_seen && line.starts_with("[White ");
                bool black = !black_seen && line.starts_with("[Black ");
                if (!white && !black) continue;
                (white ? white_seen : black_seen) = true;
                ValueRange value = QuotedValue(line);
                if (!value.found) continue;
                std::string key =
                    NameKey(std::string_view(line).substr(value.begin, value.end - value.begin));
                if (!key.starts_with(fix_key)) continue;
                ReplaceValue(line, names.to_name);
                return true;
            }
            return false;
        });
    ui.report(outcome.error ? outcome.error.message() : std::string(messages::FixNameComplete));
    return outcome;
}

}  // namespace qorvale::utilities
