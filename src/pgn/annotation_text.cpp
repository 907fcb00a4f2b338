#include <cstdlib>

#include "pgn/game_lines.h"
#include "pgn/nag.h"

namespace qorvale::pgn {

namespace {

// Reads the movetext from a recorded position, crossing line ends (each read as one blank).
class TextCursor {
  public:
    TextCursor(std::string_view buffer, std::size_t position) : buffer_(buffer), pos_(position) {}

    bool AtEnd() const { return pos_ >= buffer_.size(); }
    std::size_t Position() const { return pos_; }
    char Cur() const { return AtEnd() ? '\0' : buffer_[pos_]; }
    void Advance() { ++pos_; }
    // At a line end: on to the next line that is scanned. False at the end of the text.
    bool CrossLine() {
        while (!AtEnd() && buffer_[pos_] == '\0') {
            ++pos_;
            if (!AtEnd() && buffer_[pos_] == '%') {
                while (!AtEnd() && buffer_[pos_] != '\0') ++pos_;
            }
        }
        return !AtEnd();
    }

  private:
    std::string_view buffer_;
    std::size_t pos_;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A symbol such as "?" or "+-" standing alone at the cursor: its NAG in `out`, the cursor past
// it. False (nothing moved) when the cursor is at anything else.
bool AppendGlyph(TextCursor& cursor, std::string_view buffer, std::size_t at, std::string& out,
                 NagDisplay display) {
    std::size_t end = at;
    while (end < buffer.size() &&
           std::string_view("!?+-=/").find(buffer[end]) != std::string_view::npos) {
        ++end;
    }
    if (end < buffer.size() &&
        std::string_view(" \t{(;$").find(buffer[end]) == std::string_view::npos &&
        buffer[end] != '\0') {
        return false;
    }
    const int nag = NagOfGlyph(buffer.substr(at, end - at));
    if (nag == 0) return false;
    for (std::size_t n = at; n < end; ++n) cursor.Advance();
    out += NagText(nag, display);
    return true;
}

// "$n" at the cursor, the cursor after its digits.
void AppendNag(TextCursor& cursor, std::string& out, NagDisplay display) {
    cursor.Advance();
    int nag = 0;
    bool any = false;
    while (IsDigit(cursor.Cur())) {
        if (nag < 100000) nag = nag * 10 + (cursor.Cur() - '0');
        any = true;
        cursor.Advance();
    }
    if (any) out += NagText(nag, display);
}

void AppendComment(TextCursor& cursor, std::string& out) {
    out += '{';
    cursor.Advance();
    while (true) {
        char c = cursor.Cur();
        if (c == '\0') {
            if (!cursor.CrossLine()) return;
            out += ' ';
            continue;
        }
        cursor.Advance();
        out += c;
        if (c == '}') return;
    }
}

void AppendLineComment(TextCursor& cursor, std::string& out) {
    cursor.Advance();
    out += '{';
    while (cursor.Cur() != '\0') {
        out += cursor.Cur();
        cursor.Advance();
    }
    out += '}';
}

void AppendVariation(TextCursor& cursor, std::string& out, NagDisplay display) {
    int depth = 0;
    while (true) {
        char c = cursor.Cur();
        if (c == '\0') {
            if (!cursor.CrossLine()) return;
            out += ' ';
            continue;
        }
        if (c == '{') {
            AppendComment(cursor, out);
            continue;
        }
        if (c == ';') {
            AppendLineComment(cursor, out);
            continue;
        }
        if (c == '$') {
            AppendNag(cursor, out, display);
            continue;
        }
        cursor.Advance();
        out += c;
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            char next = cursor.Cur();
            bool counts = next == ')' || next == '\0' || next == ' ' || next == '\t';
            if (counts && --depth == 0) return;
        }
    }
}

}  // namespace

std::string GameLines::AnnotationText(int half_move, NagDisplay display) const {
    std::string out;
    if (half_move < 0 || half_move >= AnnotationSlots) return out;
    const AnnotationPosition& where = AnnotationIndex(half_move);
    if (where.kind == AnnotationKind::None || where.line >= MovetextLineCount()) return out;
    TextCursor cursor(text_, line_start_[static_cast<std::size_t>(where.line)] +
                                 static_cast<std::size_t>(where.column));
    while (true) {
        char c = cursor.Cur();
        if (c == '\0') {
            if (!cursor.CrossLine()) break;
            continue;
        }
        if (c == ' ' || c == '\t') {
            cursor.Advance();
            continue;
        }
        std::size_t before = out.size();
        if (!out.empty()) out += ' ';
        if (c == '{') {
            AppendComment(cursor, out);
        } else if (c == ';') {
            AppendLineComment(cursor, out);
        } else if (c == '(') {
            AppendVariation(cursor, out, display);
        } else if (c == '$') {
            AppendNag(cursor, out, display);
        } else if (!AppendGlyph(cursor, text_, cursor.Position(), out, display)) {
            out.resize(before);
            break;
        }
        if (out.size() <= before + 1) out.resize(before);
    }
    return out;
}

}  // namespace qorvale::pgn
