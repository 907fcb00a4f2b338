#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace qorvale::chess {

// Rewrites castling written with zeros or lower-case o ("0-0", "o-o-o") to "O-O"/"O-O-O" in
// place. `token` starts at the move; anything after the castling text stays. True if rewritten.
bool NormaliseCastling(std::span<char> token);

// The moves of a line of text, "1.e4 c5 2.Nf3", "1. e4 c5 2. Nf3" or "e4 c5 Nf3": move numbers
// (alone or glued to the move, "12." "12..." "12.Nf3") and results dropped; "*" stays (the
// searches' any move).
std::vector<std::string_view> SplitLineMoves(std::string_view line);

// The user's piece letters for shown and exported text, in the order king, queen, rook, bishop,
// knight. Input is never translated back.
class NotationLetters {
public:
    static constexpr std::string_view Default = "KQRBN";

    // Checks five fields' first characters: "Only valid characters are A to Z." or "Characters
    // must be different."; on success stores them.
    Error Set(std::string_view king, std::string_view queen, std::string_view rook,
              std::string_view bishop, std::string_view knight);
    std::string_view letters() const { return std::string_view(letters_.data(), 5); }
    // The letters differ from "KQRBN".
    bool CustomNotation() const { return custom_; }

    // Replaces K, Q, R, B, N by the user's letters in place (an "N" starting "NCO" stays), when
    // custom letters are set and translation is not suspended.
    void TranslatePieceLetters(std::string& text) const;
    void TranslatePieceLetters(std::span<char> text) const;
    // Translates everything after the first "." of a text that begins with a move number, with
    // any suspension lifted for the call.
    void TranslateAfterMoveNumber(std::string& text);

    // Nested output calls suspend translation; returns the previous state to restore.
    bool Suspend(bool suspended) {
        bool previous = suspended_;
        suspended_ = suspended;
        return previous;
    }

private:
    std::array<char, 5> letters_{'K', 'Q', 'R', 'B', 'N'};
    bool custom_ = false;
    bool suspended_ = false;
};

}  // namespace qorvale::chess
