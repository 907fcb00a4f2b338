#include "chess/notation.h"

#include "chess/messages.h"

namespace qorvale::chess {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// True when `token` begins with `pattern` in which "O" stands for "0", "o" or "O".
bool CastlingPrefix(std::span<const char> token, std::string_view pattern) {
    if (token.size() < pattern.size()) return false;
    bool changed = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = token[i];
        if (pattern[i] == '-') {
            if (c != '-') return false;
        } else if (c != '0' && c != 'o' && c != 'O') {
            return false;
        } else if (c != 'O') {
            changed = true;
        }
    }
    return changed;
}

}  // namespace

bool NormaliseCastling(std::span<char> token) {
    for (std::string_view pattern : {std::string_view("O-O-O"), std::string_view("O-O")}) {
        if (CastlingPrefix(token, pattern)) {
            for (std::size_t i = 0; i < pattern.size(); ++i) token[i] = pattern[i];
            return true;
        }
    }
    return false;
}

PieceLetterReader::PieceLetterReader() {
    Add(EnglishPieceLetters);
    Add(GermanPieceLetters);
}

void PieceLetterReader::Add(std::string_view letters) {
    for (std::size_t i = 0; i < letters.size() && i < EnglishPieceLetters.size(); ++i) {
        const char c = letters[i];
        if (c < 'A' || c > 'Z') continue;
        char& english = english_[static_cast<std::size_t>(c - 'A')];
        if (english == 0) english = EnglishPieceLetters[i];
    }
}

bool PieceLetterReader::ToEnglish(std::span<char> token) const {
    auto translate = [this](char& c) {
        if (c < 'A' || c > 'Z') return false;
        const char english = english_[static_cast<std::size_t>(c - 'A')];
        if (english == 0 || english == c) return false;
        c = english;
        return true;
    };
    if (token.empty()) return false;
    bool changed = translate(token[0]);
    // A promotion: the letter after "=", or right after the last-rank square of a pawn move.
    const bool pawn = token[0] >= 'a' && token[0] <= 'h';
    for (std::size_t i = 1; i + 1 < token.size() && token[i] != 0; ++i) {
        const char c = token[i];
        if (c == '=' || (pawn && (c == '8' || c == '1') && token[i + 1] != '=')) {
            changed = translate(token[i + 1]) || changed;
            break;
        }
    }
    return changed;
}

Error NotationLetters::Set(std::string_view king, std::string_view queen, std::string_view rook,
                           std::string_view bishop, std::string_view knight) {
    std::array<char, 5> chosen{};
    std::array<std::string_view, 5> fields = {king, queen, rook, bishop, knight};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        chosen[i] = fields[i].empty() ? '\0' : fields[i][0];
        if (!IsLetter(chosen[i])) return Error(std::string(messages::OnlyLettersAllowed));
    }
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        for (std::size_t j = i + 1; j < chosen.size(); ++j) {
            if (chosen[i] == chosen[j]) return Error(std::string(messages::LettersMustDiffer));
        }
    }
    letters_ = chosen;
    custom_ = letters() != Default;
    return Error::Ok();
}

void NotationLetters::TranslatePieceLetters(std::span<char> text) const {
    if (!custom_ || suspended_) return;
    for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i) {
        char& c = text[i];
        if (c < 'B' || c > 'R') continue;
        switch (c) {
            case 'K':
                c = letters_[0];
                break;
            case 'Q':
                c = letters_[1];
                break;
            case 'R':
                c = letters_[2];
                break;
            case 'B':
                c = letters_[3];
                break;
            case 'N':
                // "NCO" (an opening classification) is not a knight.
                if (i + 2 < text.size() && text[i + 1] == 'C' && text[i + 2] == 'O') break;
                c = letters_[4];
                break;
            default:
                break;
        }
    }
}

void NotationLetters::TranslatePieceLetters(std::string& text) const {
    TranslatePieceLetters(std::span<char>(text.data(), text.size()));
}

void NotationLetters::TranslateAfterMoveNumber(std::string& text) {
    std::size_t dot = text.find('.');
    if (dot == std::string::npos) return;
    bool previous = Suspend(false);
    TranslatePieceLetters(std::span<char>(text.data() + dot + 1, text.size() - dot - 1));
    Suspend(previous);
}

std::vector<std::string_view> SplitLineMoves(std::string_view line) {
    std::vector<std::string_view> moves;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        std::size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        std::string_view token = line.substr(at, end - at);
        at = end;
        std::size_t digits = 0;
        while (digits < token.size() && token[digits] >= '0' && token[digits] <= '9') ++digits;
        if (digits > 0 && digits < token.size() && token[digits] == '.') {
            token.remove_prefix(digits);
            while (!token.empty() && token.front() == '.') token.remove_prefix(1);
        }
        if (token.empty() || token == "1-0" || token == "0-1" || token == "1/2-1/2") continue;
        moves.push_back(token);
    }
    return moves;
}

}  // namespace qorvale::chess
