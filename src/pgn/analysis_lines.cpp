#include "pgn/analysis_lines.h"

#include <optional>
#include <string_view>

#include "chess/move_text.h"
#include "pgn/game_lines.h"
#include "pgn/movetext_cursor.h"

namespace qorvale::pgn {

namespace {

using movetext::IsDigit;

// Reads one variation from its "(" to the ")" that closes it (or the end of the text).
AnalysisLine ReadLine(movetext::Cursor& cursor) {
    AnalysisLine line;
    line.text_offset = cursor.Position();
    line.move_number = 0;
    cursor.Advance();
    int depth = 1;
    while (depth > 0 && cursor.SkipFiller(true)) {
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
    std::size_t position = *start;
    movetext::Cursor cursor(lines.MovetextBuffer(), position);
    // A line with no number replaces the move just played (the first move, before any).
    const int replaced = half_move < 1 ? 1 : half_move;
    while (cursor.SkipFiller(true) && cursor.Cur() == '(') {
        AnalysisLine line = ReadLine(cursor);
        if (line.move_number == 0) {
            line.move_number = first_move_number + (replaced - 1) / 2;
            line.white_first = replaced % 2 == 1;
        }
        found.push_back(std::move(line));
    }
    return found;
}

TextSpan AnnotationSpan(const GameLines& lines, int half_move) {
    const std::optional<std::size_t> start = AnnotationStart(lines, half_move);
    if (!start) return {};
    std::size_t position = *start;
    movetext::Cursor cursor(lines.MovetextBuffer(), position);
    std::size_t end = *start;
    while (true) {
        // Blanks and line ends before the main line resumes are not part of the span.
        const std::size_t before = cursor.Position();
        const bool more = cursor.SkipFiller(true);
        const std::string_view buffer = lines.MovetextBuffer();
        const bool filler_read =
            cursor.Position() > before &&
            buffer.substr(before, cursor.Position() - before).find_first_of("{;$") !=
                std::string_view::npos;
        if (filler_read) end = cursor.Position();
        if (!more || cursor.Cur() != '(') break;
        (void)ReadLine(cursor);
        end = cursor.Position();
    }
    if (end > lines.MovetextBuffer().size()) end = lines.MovetextBuffer().size();
    return {*start, end};
}

}  // namespace qorvale::pgn
