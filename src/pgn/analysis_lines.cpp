#include "pgn/analysis_lines.h"

#include <optional>
#include <string_view>

#include "chess/move_text.h"
#include "pgn/game_lines.h"

namespace qorvale::pgn {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool EndsToken(char c) {
    return c == '\0' || IsBlank(c) || c == '(' || c == ')' || c == '$' || c == '{' || c == ';';
}

// Reads the movetext from a recorded position: lines are separated by a zero byte and lines
// beginning with "%" are not part of the game.
class LineCursor {
public:
    LineCursor(std::string_view buffer, std::size_t position) : buffer_(buffer), pos_(position) {}

    bool AtEnd() const { return pos_ >= buffer_.size(); }
    char Cur() const { return AtEnd() ? '\0' : buffer_[pos_]; }
    void Advance() { ++pos_; }
    std::size_t Position() const { return pos_; }

    // Passes blanks, line ends, comments and NAGs; false at the end of the text.
    bool SkipFiller() {
        while (!AtEnd()) {
            const char c = Cur();
            if (c == '\0') {
                ++pos_;
                while (!AtEnd() && buffer_[pos_] == '%') {
                    while (!AtEnd() && buffer_[pos_] != '\0') ++pos_;
                    if (!AtEnd()) ++pos_;
                }
            } else if (IsBlank(c)) {
                Advance();
            } else if (c == '{') {
                while (!AtEnd() && Cur() != '}') Advance();
                Advance();
            } else if (c == ';') {
                while (!AtEnd() && Cur() != '\0') Advance();
            } else if (c == '$') {
                Advance();
                while (IsDigit(Cur())) Advance();
            } else {
                return true;
            }
        }
        return false;
    }

    // The token at the cursor, the cursor after it.
    std::string_view Token() {
        const std::size_t start = pos_;
        while (!EndsToken(Cur())) Advance();
        if (pos_ == start) Advance();
        return buffer_.substr(start, pos_ - start);
    }

private:
    std::string_view buffer_;
    std::size_t pos_;
};

// Reads one variation from its "(" to the ")" that closes it (or the end of the text).
AnalysisLine ReadLine(LineCursor& cursor) {
    AnalysisLine line;
    line.text_offset = cursor.Position();
    line.move_number = 0;
    cursor.Advance();
    int depth = 1;
    while (depth > 0 && cursor.SkipFiller()) {
        const char c = cursor.Cur();
        if (c == '(') {
            cursor.Advance();
            ++depth;
        } else if (c == ')') {
            cursor.Advance();
            --depth;
        } else if (depth > 1) {
            (void)cursor.Token();
        } else if (IsDigit(c)) {
            int number = 0;
            while (IsDigit(cursor.Cur())) {
                if (number < 100000) number = number * 10 + (cursor.Cur() - '0');
                cursor.Advance();
            }
            int dots = 0;
            while (cursor.Cur() == '.') {
                ++dots;
                cursor.Advance();
            }
            if (line.half_moves.empty() && line.move_number == 0 && dots > 0) {
                line.move_number = number;
                line.white_first = dots == 1;
            }
        } else {
            std::string_view token = cursor.Token();
            // Results and stray marks are no moves.
            if (c < 'B') continue;
            chess::MoveText text;
            chess::FromHint hint;
            if (ReduceLongMove(token, text, hint)) {
                line.half_moves.emplace_back(text.view());
            } else {
                line.half_moves.emplace_back(token);
            }
        }
    }
    return line;
}

// The buffer offset of the first annotation after `half_move`, if there is one.
std::optional<std::size_t> AnnotationStart(const GameLines& lines, int half_move) {
    if (half_move < 0 || half_move >= AnnotationSlots) return std::nullopt;
    const AnnotationPosition& where = lines.AnnotationIndex(half_move);
    if (where.kind == AnnotationKind::None || where.line >= lines.MovetextLineCount()) {
        return std::nullopt;
    }
    const std::string_view first = lines.MovetextLine(where.line);
    return static_cast<std::size_t>(first.data() - lines.MovetextBuffer().data()) +
           static_cast<std::size_t>(where.column);
}

}  // namespace

std::vector<AnalysisLine> AnalysisLinesAfter(const GameLines& lines, int half_move,
                                             int first_move_number) {
    std::vector<AnalysisLine> found;
    const std::optional<std::size_t> start = AnnotationStart(lines, half_move);
    if (!start || lines.AnnotationIndex(half_move).kind != AnnotationKind::Variation) return found;
    LineCursor cursor(lines.MovetextBuffer(), *start);
    // A line with no number replaces the move just played (the first move, before any).
    const int replaced = half_move < 1 ? 1 : half_move;
    while (cursor.SkipFiller() && cursor.Cur() == '(') {
        AnalysisLine line = ReadLine(cursor);
        if (line.move_number == 0) {
            line.move_number = first_move_number + (replaced - 1) / 2;
            line.white_first = replaced % 2 == 1;
        }
        found.push_back(std::move(line));
    }
    return found;
}

}  // namespace qorvale::pgn

namespace qorvale::pgn {

TextSpan AnnotationSpan(const GameLines& lines, int half_move) {
    const std::optional<std::size_t> start = AnnotationStart(lines, half_move);
    if (!start) return {};
    LineCursor cursor(lines.MovetextBuffer(), *start);
    std::size_t end = *start;
    while (true) {
        // Blanks and line ends before the main line resumes are not part of the span.
        const std::size_t before = cursor.Position();
        const bool more = cursor.SkipFiller();
        const std::string_view buffer = lines.MovetextBuffer();
        const bool filler_read = cursor.Position() > before &&
                                 buffer.substr(before, cursor.Position() - before)
                                         .find_first_of("{;$") != std::string_view::npos;
        if (filler_read) end = cursor.Position();
        if (!more || cursor.Cur() != '(') break;
        (void)ReadLine(cursor);
        end = cursor.Position();
    }
    if (end > lines.MovetextBuffer().size()) end = lines.MovetextBuffer().size();
    return {*start, end};
}

}  // namespace qorvale::pgn
