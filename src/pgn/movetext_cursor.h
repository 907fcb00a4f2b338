#pragma once

#include <cstddef>
#include <string_view>

namespace qorvale::pgn::movetext {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool EndsToken(char c) {
    return c == '\0' || IsBlank(c) || c == '(' || c == ')' || c == '$' || c == '{' || c == ';';
}

// A loaded game's movetext read as one run of characters from a recorded position: its lines are
// separated by a zero byte, line ends are crossed and lines beginning with "%" passed over. The
// position lives with the caller, so that a walk can stop and go on later.
class Cursor {
  public:
    Cursor(std::string_view buffer, std::size_t& position) : buffer_(buffer), pos_(position) {}

    bool AtEnd() const { return pos_ >= buffer_.size(); }
    char Cur() const { return AtEnd() ? '\0' : buffer_[pos_]; }
    void Advance() { ++pos_; }
    std::size_t Position() const { return pos_; }

    // Skips blanks, line ends and comments, and NAGs too when `nags` is set; false at the end of
    // the text.
    bool SkipFiller(bool nags) {
        while (!AtEnd()) {
            const char c = Cur();
            if (c == '\0') {
                CrossLine();
            } else if (IsBlank(c)) {
                Advance();
            } else if (c == '{') {
                while (!AtEnd() && Cur() != '}') Advance();
                Advance();
            } else if (c == ';') {
                while (!AtEnd() && Cur() != '\0') Advance();
            } else if (c == '$' && nags) {
                Advance();
                while (IsDigit(Cur())) Advance();
            } else {
                return true;
            }
        }
        return false;
    }

    // The token at the cursor (at least one character), the cursor after it.
    std::string_view Token() {
        const std::size_t start = pos_;
        while (!EndsToken(Cur())) Advance();
        if (pos_ == start) Advance();
        return buffer_.substr(start, pos_ - start);
    }

  private:
    void CrossLine() {
        ++pos_;
        while (!AtEnd() && buffer_[pos_] == '%') {
            while (!AtEnd() && buffer_[pos_] != '\0') ++pos_;
            if (!AtEnd()) ++pos_;
        }
    }

    std::string_view buffer_;
    std::size_t& pos_;
};

}  // namespace qorvale::pgn::movetext
