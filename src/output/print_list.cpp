#include "output/print_list.h"

#include <algorithm>
#include <cstring>

#include "base/bytes.h"
#include "base/message.h"
#include "base/text.h"
#include "output/messages.h"
#include "platform/file.h"

namespace qorvale::output {

namespace {

constexpr std::uint32_t MovesKind = 0;
constexpr std::uint32_t TextKind = 1;
const std::string Stars(20, '*');

// `text` into a fixed field of `size` bytes, NUL-terminated when it is shorter and never cut
// inside a character.
void PutField(std::uint8_t* out, std::size_t size, std::string_view text, bool terminated) {
    std::memset(out, 0, size);
    const std::size_t room = terminated ? size - 1 : size;
    const std::string_view kept = IsValidUtf8(text) ? CutAtCharacter(text, room)
                                                    : text.substr(0, std::min(room, text.size()));
    std::memcpy(out, kept.data(), kept.size());
}

std::string GetField(const std::uint8_t* in, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(in);
    return std::string(text, strnlen(text, size));
}

}  // namespace

std::vector<std::uint8_t> EncodePrintEntry(const PrintEntry& entry) {
    std::vector<std::uint8_t> bytes;
    if (const auto* moves = std::get_if<PrintMovesEntry>(&entry)) {
        bytes.resize(PrintMovesEntrySize);
        std::uint8_t* at = bytes.data();
        PutU32(at, MovesKind);
        at += 4;
        PutField(at, PrintSummaryBytes, moves->summary, true);
        at += PrintSummaryBytes;
        PutField(at, PrintSummaryBytes, moves->players, true);
        at += PrintSummaryBytes;
        const std::size_t full = std::min(moves->white.size(), PrintMoveSlots);
        const auto half_moves =
            std::min<std::int32_t>(moves->half_moves, static_cast<std::int32_t>(2 * full));
        PutI32(at, half_moves);
        at += 4;
        for (const std::vector<std::string>* side : {&moves->white, &moves->black}) {
            for (std::size_t k = 0; k < PrintMoveSlots; ++k) {
                PutField(at + k * PrintMoveBytes, PrintMoveBytes,
                         k < full && k < side->size() ? std::string_view((*side)[k]) : "", false);
            }
            at += PrintMoveSlots * PrintMoveBytes;
        }
        PutField(at, 8, moves->result, false);
        return bytes;
    }
    const auto& text = std::get<PrintTextEntry>(entry);
    AppendU32(bytes, TextKind);
    for (const std::string& record : text.records) {
        if (record.empty()) continue;
        AppendU32(bytes, static_cast<std::uint32_t>(record.size()));
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    AppendU32(bytes, 0);
    return bytes;
}

std::vector<PrintEntry> ReadPrintEntries(std::span<const std::uint8_t> bytes) {
    std::vector<PrintEntry> entries;
    std::size_t at = 0;
    while (bytes.size() - at >= 4) {
        const std::uint32_t kind = GetU32(bytes.data() + at);
        if (kind == MovesKind) {
            if (bytes.size() - at < PrintMovesEntrySize) break;
            const std::uint8_t* in = bytes.data() + at + 4;
            PrintMovesEntry moves;
            moves.summary = GetField(in, PrintSummaryBytes);
            moves.players = GetField(in + PrintSummaryBytes, PrintSummaryBytes);
            in += 2 * PrintSummaryBytes;
            moves.half_moves = std::clamp<std::int32_t>(
                GetI32(in), 0, static_cast<std::int32_t>(2 * PrintMoveSlots));
            in += 4;
            const auto full = static_cast<std::size_t>((moves.half_moves + 1) / 2);
            for (std::size_t k = 0; k < full; ++k) {
                moves.white.push_back(GetField(in + k * PrintMoveBytes, PrintMoveBytes));
                moves.black.push_back(
                    2 * k + 1 < static_cast<std::size_t>(moves.half_moves)
                        ? GetField(in + (PrintMoveSlots + k) * PrintMoveBytes, PrintMoveBytes)
                        : std::string());
            }
            in += 2 * PrintMoveSlots * PrintMoveBytes;
            moves.result = GetField(in, 8);
            entries.emplace_back(std::move(moves));
            at += PrintMovesEntrySize;
        } else if (kind == TextKind) {
            PrintTextEntry text;
            std::size_t cursor = at + 4;
            bool whole = false;
            while (bytes.size() - cursor >= 4) {
                const std::uint32_t length = GetU32(bytes.data() + cursor);
                cursor += 4;
                if (length == 0) {
                    whole = true;
                    break;
                }
                if (bytes.size() - cursor < length) break;
                text.records.emplace_back(reinterpret_cast<const char*>(bytes.data() + cursor),
                                          length);
                cursor += length;
            }
            if (!whole) break;
            entries.emplace_back(std::move(text));
            at = cursor;
        } else {
            break;
        }
    }
    return entries;
}

PrintTextEntry TextEntryOf(std::string_view game_text) {
    PrintTextEntry entry;
    bool empty_pending = false;
    ForEachLine(game_text, [&](std::string_view record) {
        const std::size_t first = record.find_first_not_of(' ');
        record = first == std::string_view::npos ? std::string_view() : record.substr(first);
        if (record.empty()) {
            // An empty line between the header and the moves is kept as a space; empty lines at
            // the end are dropped.
            empty_pending = !entry.records.empty();
            return;
        }
        if (empty_pending) entry.records.emplace_back(" ");
        empty_pending = false;
        entry.records.emplace_back(record);
    });
    return entry;
}

std::optional<PrintMovesEntry> MovesEntryOf(std::string_view file_stem, std::int32_t game_number,
                                            const pgn::HeaderTags& header,
                                            const pgn::GameLines& lines, Ui& ui) {
    PrintMovesEntry entry;
    const chess::MainLineMoves& moves = lines.Moves();
    for (int k = 0; k < lines.FullMoves() && k < static_cast<int>(PrintMoveSlots); ++k) {
        const auto slot = static_cast<std::size_t>(k);
        std::string white(moves.WhiteMoves[slot].view());
        std::string black(moves.BlackMoves[slot].view());
        entry.half_moves += (white.empty() || white[0] == '.' ? 0 : 1) + (black.empty() ? 0 : 1);
        entry.white.push_back(std::move(white));
        entry.black.push_back(std::move(black));
    }
    if (entry.half_moves == 0) {
        ui.report(NoGameSelected);
        return std::nullopt;
    }
    // Half-moves count slots: a game that Black begins fills White's first slot with "..".
    entry.half_moves =
        2 * static_cast<std::int32_t>(entry.white.size()) - (entry.black.back().empty() ? 1 : 0);
    const pgn::HeaderValues& values = header.CurrentHeader();
    using pgn::HeaderField;
    auto rated = [&](HeaderField name, HeaderField elo) {
        std::string text = values.Get(name);
        if (!values.Get(elo).empty()) text += " " + values.Get(elo);
        return text;
    };
    entry.result = values.Get(HeaderField::Result);
    entry.summary = PrintSummaryLine(file_stem, std::to_string(game_number),
                                     values.Get(HeaderField::Event), values.Get(HeaderField::Site),
                                     values.Get(HeaderField::Date), values.Get(HeaderField::Round));
    entry.players = PrintPlayersLine(rated(HeaderField::White, HeaderField::WhiteElo),
                                     rated(HeaderField::Black, HeaderField::BlackElo), entry.result,
                                     values.Get(HeaderField::ECO));
    return entry;
}

std::string PrintSummaryLine(std::string_view file_stem, std::string_view game,
                             std::string_view event, std::string_view site, std::string_view date,
                             std::string_view round) {
    return FillMessage("File: %s   Game: %s   Event: %s   Site: %s   Date: %s   Round: %s",
                       {file_stem, game, event, site, date, round});
}

std::string PrintPlayersLine(std::string_view white, std::string_view black,
                             std::string_view result, std::string_view eco) {
    return FillMessage("White: %s   Black: %s   Result: %s   ECO: %s", {white, black, result, eco});
}

int PrintFontHeight(int height, int max_print_lines) {
    return height / std::max(max_print_lines, 50);
}

namespace {

class PageWriter {
  public:
    explicit PageWriter(const PrintPage& page)
        : advance_(std::max(page.line_advance, 1)),
          // A page holds at least one line, however small it is.
          full_at_(std::max(page.height - 2 * advance_, 2 * advance_)) {
        pages_.emplace_back();
    }

    void Line(std::string text) {
        pages_.back().push_back(PrintedLine{y_, std::move(text)});
        y_ += advance_;
        if (y_ >= full_at_) {
            pages_.emplace_back();
            y_ = advance_;
        }
    }

    // Starts a new page first when `lines` would not fit on the rest of this one.
    void KeepTogether(std::size_t lines) {
        if (pages_.back().empty()) return;
        if (y_ + static_cast<int>(lines - 1) * advance_ >= full_at_) {
            pages_.emplace_back();
            y_ = advance_;
        }
    }

    std::vector<PrintedPage> Finish() {
        if (pages_.back().empty()) pages_.pop_back();
        return std::move(pages_);
    }

  private:
    int advance_;
    int full_at_;
    int y_ = advance_;
    std::vector<PrintedPage> pages_;
};

// The start of `text` that prints within `width`, cut back to its last space; at the width when
// there is none. Always at least one character.
std::size_t BreakAt(std::string_view text, int width, const PrintPage& page, std::size_t& skip) {
    std::size_t fits = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t next = at + 1;
        while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) {
            ++next;
        }
        if (page.text_width(text.substr(0, next)) > width) break;
        fits = at = next;
    }
    skip = 0;
    if (fits >= text.size()) return text.size();
    if (fits == 0) {
        fits = 1;
        while (fits < text.size() && (static_cast<unsigned char>(text[fits]) & 0xC0) == 0x80) {
            ++fits;
        }
        return fits;
    }
    const std::size_t space = text.substr(0, fits).rfind(' ');
    if (space == std::string_view::npos || space == 0) return fits;
    skip = 1;
    return space;
}

std::vector<std::string> MoveLines(const PrintMovesEntry& moves, const PrintPage& page) {
    std::vector<std::string> tokens;
    for (std::size_t k = 0; k < moves.white.size(); ++k) {
        const bool black = k < moves.black.size() && !moves.black[k].empty();
        tokens.push_back(black ? FillMessage("%d.%s %s ", {k + 1, moves.white[k], moves.black[k]})
                               : FillMessage("%d.%s", {k + 1, moves.white[k]}));
    }
    if (tokens.empty()) {
        tokens.push_back(moves.result);
    } else {
        tokens.back() += ' ';
        tokens.back() += moves.result;
    }
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& token : tokens) {
        if (!line.empty() && page.text_width(line + token) > page.PrintableWidth()) {
            lines.push_back(line);
            line.clear();
        }
        line += token;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

std::vector<PrintedPage> LayOutPrintList(const std::vector<PrintEntry>& entries,
                                         const PrintPage& page) {
    PageWriter writer(page);
    const int width = std::max(page.PrintableWidth(), 1);
    auto broken = [&](std::string_view record, std::vector<std::string>& lines) {
        do {
            std::size_t skip = 0;
            const std::size_t cut = BreakAt(record, width, page, skip);
            lines.emplace_back(record.substr(0, cut));
            record.remove_prefix(std::min(record.size(), cut + skip));
        } while (!record.empty());
    };
    std::vector<std::string> lines;
    for (const PrintEntry& entry : entries) {
        lines.assign(1, Stars);
        if (const auto* text = std::get_if<PrintTextEntry>(&entry)) {
            for (const std::string& record : text->records) broken(record, lines);
            for (std::string& line : lines) writer.Line(std::move(line));
            continue;
        }
        const auto& moves = std::get<PrintMovesEntry>(entry);
        // A summary too wide for the page goes on over more lines rather than off its edge.
        broken(moves.summary, lines);
        broken(moves.players, lines);
        lines.emplace_back();
        for (std::string& line : MoveLines(moves, page)) lines.push_back(std::move(line));
        writer.KeepTogether(lines.size());
        for (std::string& line : lines) writer.Line(std::move(line));
    }
    return writer.Finish();
}

bool PrintList::Add(const PrintEntry& entry, Ui& ui) {
    platform::File file = open_ ? platform::File::Open(path_, platform::File::Mode::ReadWrite)
                                : platform::File::Create(path_);
    const std::vector<std::uint8_t> bytes = EncodePrintEntry(entry);
    if (!file.IsOpen() || !file.Seek(file.Size()) ||
        !file.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()))) {
        ui.report(ErrorOpeningFile);
        return false;
    }
    open_ = true;
    ui.report(GameAddedToPrintList);
    return true;
}

std::optional<std::vector<PrintEntry>> PrintList::Entries(Ui& ui) const {
    if (!open_) {
        ui.report(NoGamesForPrinting);
        return std::nullopt;
    }
    platform::File file = platform::File::Open(path_, platform::File::Mode::Read);
    const std::int64_t size = file.IsOpen() ? file.Size() : -1;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    if (size < 0 || file.Read(bytes.data(), size) != size) {
        ui.report(ErrorOpeningFile);
        return std::nullopt;
    }
    return ReadPrintEntries(bytes);
}

void PrintList::Close() {
    open_ = false;
    if (platform::FileExists(path_)) (void)platform::DeleteFile(path_);
}

}  // namespace qorvale::output
