#include "utilities/yahoo_conversion.h"

#include <array>
#include <optional>

#include "base/message.h"
#include "base/text.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "platform/whole_file.h"
#include "utilities/file_rewrite.h"
#include "utilities/game_adjuster.h"
#include "utilities/game_spans.h"
#include "utilities/messages.h"

namespace qorvale::utilities {

namespace {

constexpr std::string_view LineEnd = "\r\n";
// More games than this ask before a header dialog is shown for each.
constexpr std::size_t AskAboveGames = 10;

// "Wed Jan 5 10:20:30 2005" after ";Date: ": the year from the line's end, the month from its
// three letters, the day from the two places after them.
std::string YahooDate(std::string_view line) {
    static constexpr std::array<std::string_view, 12> Months = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string date(line.size() >= 4 ? line.substr(line.size() - 4) : std::string_view("????"));
    date += '.';
    std::string month = "??";
    if (line.size() >= 14) {
        for (std::size_t k = 0; k < Months.size(); ++k) {
            if (line.substr(11, 3) == Months[k]) month = FillMessage("%02d", {k + 1});
        }
    }
    date += month;
    date += '.';
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const char first = line.size() > 15 ? line[15] : ' ';
    const char second = line.size() > 16 ? line[16] : ' ';
    if (digit(first) && digit(second)) {
        date += first;
        date += second;
    } else if (digit(first)) {
        date += '0';
        date += first;
    } else if (digit(second)) {
        date += '0';
        date += second;
    } else {
        date += "??";
    }
    return date;
}

// Castling written "o-o" or "o-o-o" is read as "O-O" and "O-O-O"; other letters o (in a comment)
// stay as they were written.
std::string UpperCastling(std::string_view line) {
    std::string text(line);
    std::size_t at = 0;
    while ((at = text.find('o', at)) != std::string::npos) {
        std::size_t end = at;
        while (end < text.size() && (text[end] == 'o' || text[end] == 'O' || text[end] == '-')) {
            ++end;
        }
        std::string_view token(text.data() + at, end - at);
        if (token.starts_with("o-o") || token.starts_with("O-o") || token.starts_with("o-O")) {
            for (std::size_t k = at; k < end; ++k) {
                if (text[k] == 'o') text[k] = 'O';
            }
        }
        at = end;
    }
    return text;
}

}  // namespace

std::vector<YahooRecord> ReadYahooRecords(std::string_view text) {
    std::vector<YahooRecord> records;
    YahooRecord record;
    bool in_moves = false;
    auto finish = [&]() {
        if (in_moves) records.push_back(std::move(record));
        record = YahooRecord{};
        in_moves = false;
    };
    ForEachLine(text, [&](std::string_view line) {
        if (line.empty()) {
            // Only after moves: an empty line between the header lines and the moves keeps the
            // header.
            if (in_moves) finish();
            return;
        }
        if (line.front() == ';') {
            if (in_moves) finish();
            if (line.starts_with(";White")) record.white = line.size() > 8 ? line.substr(8) : "";
            if (line.starts_with(";Black")) record.black = line.size() > 8 ? line.substr(8) : "";
            if (line.starts_with(";Date")) record.date = YahooDate(line);
            return;
        }
        in_moves = true;
        record.moves += UpperCastling(line);
        record.moves += LineEnd;
    });
    finish();
    return records;
}

pgn::HeaderEditFields YahooHeader(const YahooRecord& record) {
    pgn::HeaderEditFields fields;
    using pgn::HeaderField;
    fields.Get(HeaderField::Event) = "Yahoo!";
    fields.Get(HeaderField::Result) = "*";
    fields.Get(HeaderField::White) = record.white;
    fields.Get(HeaderField::Black) = record.black;
    fields.Get(HeaderField::Date) = record.date;
    return fields;
}

YahooResult ConvertYahooGames(std::string_view text, const YahooRequest& request, Ui& ui,
                              const YahooHeaderEditor& edit_header,
                              platform::FileSystem& file_system) {
    YahooResult result;
    auto fail = [&](std::string_view message) {
        result.error = Error(std::string(message));
        ui.report(message);
        return result;
    };
    if (!request.open_pgn_path.empty() &&
        (request.open_pgn_path == request.target_path ||
         platform::SameFile(request.open_pgn_path, request.target_path))) {
        return fail(messages::YahooTargetIsOpenFile);
    }
    const std::vector<YahooRecord> records = ReadYahooRecords(text);
    bool set_results = static_cast<bool>(edit_header);
    if (set_results && records.size() > AskAboveGames) {
        set_results = ui.ask(FillMessage(messages::SetAllResultsQuestion, records.size()));
    }

    // The target's old text first, then the new games: all of it beside the target, so that a
    // failure or a kill leaves the target as it was.
    RewriteFile temp(file_system, request.target_path);
    if (!temp.Create()) return fail(messages::ErrorCreatingPgnFile);
    auto write = [&temp](std::string_view block) { return temp.Write(block); };
    bool wrote_before = false;
    if (platform::FileExists(request.target_path)) {
        platform::File old = platform::File::Open(request.target_path, platform::File::Mode::Read);
        const std::int64_t size = old.IsOpen() ? old.Size() : -1;
        if (size < 0 || !CopyFileRange(old, 0, static_cast<std::uint64_t>(size), write)) {
            temp.Abandon();
            return fail(messages::ErrorOpeningFile);
        }
        wrote_before = size > 0;
    }

    GameAdjuster adjuster;
    std::string game;
    std::string out;
    for (const YahooRecord& record : records) {
        pgn::HeaderEditFields header = YahooHeader(record);
        if (set_results && edit_header && !edit_header(header)) {
            result.cancelled = true;
            break;
        }
        game.clear();
        pgn::WriteHeader(game, header, false);
        game += record.moves;
        out.clear();
        if (wrote_before) out += LineEnd;
        // Main line only: what a Yahoo record holds beyond its moves is not kept.
        if (adjuster.Adjust(game, true, 0, out) != GameAdjuster::Outcome::Written) out += game;
        if (!temp.Write(out)) break;
        wrote_before = true;
        ++result.converted;
    }
    if (result.converted == 0) {
        temp.Abandon();
        return result;
    }
    if (Error replaced = ReplacePgnFile(temp, {}, ui); !replaced.ok()) {
        ui.report(replaced.message());
        result.error = replaced;
        result.converted = 0;
        return result;
    }
    std::string name = platform::NameOf(request.target_path);
    name = name.substr(0, name.find('.'));
    ui.report(std::string(result.converted == 1 ? messages::YahooGameConverted
                                                : messages::YahooGamesConverted) +
              name + ".pgn.");
    return result;
}

YahooResult ConvertYahooFile(const std::string& source_path, const YahooRequest& request, Ui& ui,
                             const YahooHeaderEditor& edit_header,
                             platform::FileSystem& file_system) {
    std::optional<std::vector<std::uint8_t>> bytes =
        platform::ReadFileStart(source_path, platform::FileSize(source_path));
    if (!platform::FileExists(source_path) || !bytes) {
        YahooResult result;
        result.error = Error(std::string(messages::ErrorOpeningYahooFile));
        ui.report(messages::ErrorOpeningYahooFile);
        return result;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return ConvertYahooGames(text, request, ui, edit_header, file_system);
}

}  // namespace qorvale::utilities
