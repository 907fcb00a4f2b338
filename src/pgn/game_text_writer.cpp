#include "pgn/game_text_writer.h"

#include <vector>

#include "pgn/game_lines.h"
#include "pgn/game_scanner.h"
#include "pgn/messages.h"
#include "pgn/record_source.h"

namespace qorvale::pgn {

namespace {

constexpr std::string_view LineEnd = "\r\n";
// Lines this long or longer are broken, at a space at or before the 86th character.
constexpr std::size_t WrapLength = 88;
constexpr std::size_t WrapKeepBelow = 90;
// The 86th character, counted from 0.
constexpr std::size_t WrapColumn = 85;
constexpr std::size_t JoinBelow = 60;
constexpr std::size_t JoinAgainBelow = 50;

// A text cut into lines at every CR LF, lone LF or lone CR.
struct Lines {
    std::vector<std::string> lines;
    bool last_ended = false;  // the last line had a line end
};

Lines SplitLines(std::string_view text) {
    Lines out;
    std::string line;
    for (std::size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        out.lines.push_back(std::move(line));
        line.clear();
    }
    out.last_ended = true;
    if (!line.empty()) {
        out.lines.push_back(std::move(line));
        out.last_ended = false;
    }
    return out;
}

std::string JoinLines(const Lines& text) {
    std::string out;
    for (std::size_t index = 0; index < text.lines.size(); ++index) {
        out += text.lines[index];
        if (index + 1 < text.lines.size() || text.last_ended) out += LineEnd;
    }
    return out;
}

bool IsFixedLine(std::string_view line) { return line.starts_with('[') || line.starts_with('%'); }

// Where a ";" comment begins in `line` (npos when none), given whether the line begins inside a
// brace comment; `in_brace` becomes the state at the line's end.
std::size_t LineCommentStart(std::string_view line, bool& in_brace) {
    for (std::size_t at = 0; at < line.size(); ++at) {
        char c = line[at];
        if (in_brace) {
            if (c == '}') in_brace = false;
        } else if (c == '{') {
            in_brace = true;
        } else if (c == ';') {
            return at;
        }
    }
    return std::string_view::npos;
}

// Joins each line shorter than `below` to the lines after it while it stays short.
void JoinShortLines(Lines& text, std::size_t below) {
    std::vector<std::string>& lines = text.lines;
    bool in_brace = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        bool at_start = in_brace;
        while (index + 1 < lines.size()) {
            const std::string& line = lines[index];
            const std::string& next = lines[index + 1];
            bool state = at_start;
            bool ends_in_line_comment = LineCommentStart(line, state) != std::string::npos;
            if (line.empty() || line.size() >= below || IsFixedLine(line) || next.empty() ||
                IsFixedLine(next) || ends_in_line_comment ||
                line.size() + 1 + next.size() > MaxTypedLine) {
                break;
            }
            lines[index] += ' ';
            lines[index] += next;
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index) + 1);
            // The last line keeps its own line end state.
        }
        LineCommentStart(lines[index], in_brace);
    }
}

void WrapLongLines(Lines& text) {
    std::vector<std::string> out;
    bool in_brace = false;
    for (std::size_t index = 0; index < text.lines.size(); ++index) {
        std::string line = std::move(text.lines[index]);
        const bool ended = index + 1 < text.lines.size() || text.last_ended;
        while (line.size() >= WrapLength && !(line.size() < WrapKeepBelow && ended) &&
               !IsFixedLine(line)) {
            bool state = in_brace;
            // Breaking inside a ";" comment would turn the rest of it into moves.
            std::size_t limit = std::min(LineCommentStart(line, state), WrapColumn);
            std::size_t space = line.rfind(' ', limit);
            if (space == std::string::npos || space == 0) break;
            out.push_back(line.substr(0, space));
            LineCommentStart(out.back(), in_brace);
            line.erase(0, space + 1);
        }
        LineCommentStart(line, in_brace);
        out.push_back(std::move(line));
    }
    text.lines = std::move(out);
}

// "12..." or "12. ..." alone on a line.
bool IsLoneMoveNumber(std::string_view line) {
    std::size_t at = 0;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') ++at;
    if (at == 0 || line.find("...", at) == std::string_view::npos) return false;
    for (; at < line.size(); ++at) {
        if (line[at] != '.' && line[at] != ' ') return false;
    }
    return true;
}

void RunOnLoneMoveNumbers(Lines& text) {
    std::vector<std::string>& lines = text.lines;
    for (std::size_t index = 0; index + 1 < lines.size(); ++index) {
        if (IsLoneMoveNumber(lines[index]) && !lines[index + 1].empty()) {
            lines[index] += lines[index + 1];
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index) + 1);
        }
    }
}

// A result token at `text`: "1-0", "0-1", a second character "/", "*" or "?".
bool ResultFollows(std::string_view text) {
    if (text.starts_with("1-0") || text.starts_with("0-1")) return true;
    if (text.size() >= 2 && text[1] == '/') return true;
    return text.starts_with('*') || text.starts_with('?');
}

}  // namespace

void MovetextLines::Add(std::string_view token) {
    if (token.empty()) return;
    if (!line_.empty()) line_ += ' ';
    line_ += token;
    if (line_.size() >= MovesLineWidth) {
        text_ += line_;
        text_ += LineEnd;
        line_.clear();
    }
}

std::string MovetextLines::Finish(std::string_view ending) {
    std::string text = std::move(text_);
    text += line_;
    text += ending;
    text_.clear();
    line_.clear();
    return text;
}

std::uint32_t WrittenMoveNumber(int index, std::uint32_t start_move_number) {
    return static_cast<std::uint32_t>(index) + (start_move_number != 0 ? start_move_number : 1);
}

std::string WriteMoves(const MovesToWrite& game, std::string_view result, bool into_buffer) {
    if (game.full_moves <= 0) return into_buffer ? "1." : "";
    MovetextLines lines;
    for (int index = 0; index < game.full_moves && index < chess::MaxFullMoves; ++index) {
        const auto slot = static_cast<std::size_t>(index);
        std::string token = std::to_string(WrittenMoveNumber(index, game.start_move_number));
        token += '.';
        token += game.moves.WhiteMoves[slot].view();
        if (!game.moves.BlackMoves[slot].empty()) {
            token += ' ';
            token += game.moves.BlackMoves[slot].view();
        }
        lines.Add(token);
    }
    return lines.Finish("  " + std::string(result) + std::string(LineEnd));
}

Error CheckEnteredGame(const EnteredGame& game) {
    if (game.full_moves == 0 && !game.starts_from_setup) {
        return Error(std::string(NoMovesEntered));
    }
    return ValidateResult(game.header);
}

std::string EnteredGameText(const EnteredGame& game) {
    std::string text;
    WriteHeader(text, game.header, game.starts_from_setup);
    if (game.starts_from_setup) {
        const std::string& result = game.header.Get(HeaderField::Result);
        std::string tag = FenTagText({game.start, game.moves, game.full_moves, result,
                                      static_cast<std::uint32_t>(game.header.start_move_number)});
        std::size_t fields = tag.find(" - - 0 ");
        if (fields != std::string::npos) {
            tag.replace(fields, 7, " " + game.castling + " " + game.en_passant + " 0 ");
        }
        text += tag;
    }
    text += WriteMoves(
        {game.moves, game.full_moves, static_cast<std::uint32_t>(game.header.start_move_number)},
        game.header.Get(HeaderField::Result));
    return text;
}

std::string NormaliseGameText(std::string_view text, bool join_lines) {
    Lines lines = SplitLines(text);
    if (join_lines) JoinShortLines(lines, JoinBelow);
    WrapLongLines(lines);
    if (join_lines) JoinShortLines(lines, JoinAgainBelow);
    RunOnLoneMoveNumbers(lines);
    return JoinLines(lines);
}

Result<std::string> CheckTypedGameText(std::string_view typed) {
    if (typed.size() > GameTextBufferSize) return Error(std::string(GameTooBigToEdit));
    Lines text = SplitLines(typed);
    text.last_ended = true;
    std::size_t first_moves = text.lines.size();
    for (std::size_t index = 0; index < text.lines.size(); ++index) {
        const std::string& line = text.lines[index];
        if (line.size() > MaxTypedLine) return Error(std::string(RecordsTooLong));
        if (first_moves == text.lines.size() && line.starts_with("1.")) first_moves = index;
    }

    bool in_brace = false;
    bool braces_out_of_sync = false;
    int paren_depth = 0;
    bool parens_out_of_sync = false;
    for (std::size_t index = first_moves; index < text.lines.size(); ++index) {
        std::string& line = text.lines[index];
        std::string cleaned;
        for (std::size_t at = 0; at < line.size(); ++at) {
            char c = line[at];
            if (in_brace) {
                if (c == '{') braces_out_of_sync = true;
                if (c == '}') in_brace = false;
            } else if (c == ';') {
                cleaned.append(line, at);
                break;
            } else if (c == '{') {
                in_brace = true;
            } else if (c == '}') {
                braces_out_of_sync = true;
            } else if (c == '(') {
                ++paren_depth;
            } else if (c == ')') {
                if (--paren_depth < 0) parens_out_of_sync = true;
            } else if (c == ' ' && at + 1 < line.size() && line[at + 1] == ' ') {
                // Two blanks end the movetext for the reader: keep them only before a result.
                std::size_t run_end = line.find_first_not_of(' ', at);
                if (run_end == std::string::npos) run_end = line.size();
                if (ResultFollows(std::string_view(line).substr(run_end))) {
                    cleaned.append(line, at, run_end - at);
                } else {
                    cleaned += ' ';
                }
                at = run_end - 1;
                continue;
            }
            cleaned += c;
        }
        line = std::move(cleaned);
    }
    if (in_brace) braces_out_of_sync = true;
    if (paren_depth != 0) parens_out_of_sync = true;
    if (braces_out_of_sync) return Error(std::string(CommentBracesOutOfSync));
    if (parens_out_of_sync) return Error(std::string(LineParensOutOfSync));

    std::string cleaned = JoinLines(text);
    // Split as the scan splits a file: the text must be one game.
    GameScanner scanner;
    int games = 0;
    for (const std::string& line : text.lines) {
        std::string_view record(line);
        while (record.starts_with(' ')) record.remove_prefix(1);
        if (scanner.Feed(record) == GameScanner::Step::NewGame) ++games;
    }
    if (games > 1) return Error(std::string(MoreThanOneGame));
    MemoryRecordSource header_source(cleaned);
    HeaderEditFields fields = LoadHeaderForEdit(header_source);
    MemoryRecordSource source(cleaned);
    HeaderTags header;
    header.ReadHeader(source, FirstRecordMode::KeepForMovetext);
    GameLines lines;
    const bool has_first = header.HasFirstMovetextRecord();
    int full_moves =
        lines.ParseMovetext(source, has_first ? &header.FirstMovetextRecord() : nullptr,
                            has_first ? header.FirstMovetextRecordLength() : 0, 0, nullptr, true);
    if (full_moves == 0 && !header.TagLines().Has(Tag::FEN)) {
        return Error(std::string(NoMovesEntered));
    }
    if (Error error = ValidateResult(fields); !error.ok()) return error;
    return cleaned;
}

}  // namespace qorvale::pgn
