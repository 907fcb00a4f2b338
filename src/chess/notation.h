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

// Piece letters in the order king, queen, rook, bishop, knight: the English ones every move
// text holds, and the German ones ("König, Dame, Turm, Läufer, Springer") many files are written
// with.
inline constexpr std::string_view EnglishPieceLetters = "KQRBN";
inline constexpr std::string_view GermanPieceLetters = "KDTLS";

// Reads moves written with other piece letters: the English letters always, the German ones,
// and any set added (the user's display letters). Only upper-case letters are piece letters
// (a lower-case one would be a file), and a letter that already names a piece keeps its meaning,
// so English "B" stays a bishop whatever set is added.
class PieceLetterReader {
  public:
    PieceLetterReader();
    // Adds a set of five letters in the order king, queen, rook, bishop, knight.
    void Add(std::string_view letters);
    // Rewrites in place, in English, the piece letter that begins `token` and a promotion
    // letter ("Sf3" -> "Nf3", "e8=D" -> "e8=Q"). True when anything changed.
    bool ToEnglish(std::span<char> token) const;
    // Whether `c` is a piece letter of one of the sets read.
    bool IsPieceLetter(char c) const {
        return c >= 'A' && c <= 'Z' && english_[static_cast<std::size_t>(c - 'A')] != 0;
    }

  private:
    // Per letter 'A'..'Z': the English letter it stands for, or 0.
    std::array<char, 26> english_{};
};
// The moves of a line of text, "1.e4 c5 2.Nf3", "1. e4 c5 2. Nf3" or "e4 c5 Nf3": move numbers
// (alone or glued to the move, "12." "12..." "12.Nf3") and results dropped; "*" stays (the
// searches' any move).
std::vector<std::string_view> SplitLineMoves(std::string_view line);

// The user's piece letters for shown and exported text, in the order king, queen, rook, bishop,
// knight. The movetext reader also reads them (PieceLetterReader).
class NotationLetters {
  public:
    static constexpr std::string_view Default = EnglishPieceLetters;

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
