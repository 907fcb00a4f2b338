#include "chess/notation.h"

#include <gtest/gtest.h>

#include "chess/messages.h"

namespace qorvale::chess {
namespace {

TEST(NormaliseCastling, RewritesZerosAndLowerCase) {
    struct Row {
        std::string token;
        std::string after;
        bool rewritten;
    };
    const Row rows[] = {
        {"0-0", "O-O", true},       {"0-0-0", "O-O-O", true}, {"o-o", "O-O", true},
        {"o-o-o+", "O-O-O+", true}, {"0-0#", "O-O#", true},   {"O-O", "O-O", false},
        {"0-1", "0-1", false},      {"1-0", "1-0", false},    {"0-", "0-", false},
        {"oo", "oo", false},        {"e4", "e4", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.token);
        std::string token = row.token;
        EXPECT_EQ(NormaliseCastling(std::span<char>(token.data(), token.size())), row.rewritten);
        EXPECT_EQ(token, row.after);
    }
}

TEST(NotationLetters, ChecksTheFiveFields) {
    struct Row {
        const char* name;
        std::array<std::string_view, 5> fields;
        std::string_view message;  // empty: stored
        bool custom;
    };
    const Row rows[] = {
        {"german", {"K", "D", "T", "L", "S"}, "", true},
        {"default", {"K", "Q", "R", "B", "N"}, "", false},
        {"first character of each field",
         {"Koenig", "Dame", "Turm", "Laeufer", "Springer"},
         "",
         true},
        {"lower case letters", {"k", "q", "r", "b", "n"}, "", true},
        {"a digit", {"K", "Q", "R", "B", "3"}, messages::OnlyLettersAllowed, false},
        {"an empty field", {"K", "", "R", "B", "N"}, messages::OnlyLettersAllowed, false},
        {"two alike", {"K", "D", "T", "T", "S"}, messages::LettersMustDiffer, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NotationLetters letters;
        Error error =
            letters.Set(row.fields[0], row.fields[1], row.fields[2], row.fields[3], row.fields[4]);
        EXPECT_EQ(error.message(), row.message);
        EXPECT_EQ(letters.CustomNotation(), row.custom);
        if (!error.ok()) {
            EXPECT_EQ(letters.letters(), NotationLetters::Default);
        }
    }
}

TEST(NotationLetters, TranslatesShownText) {
    NotationLetters letters;
    ASSERT_TRUE(letters.Set("K", "D", "T", "L", "S").ok());
    struct Row {
        std::string text;
        std::string shown;
    };
    const Row rows[] = {
        {"Nbd7", "Sbd7"},
        {"Qxe8+", "Dxe8+"},
        {"O-O", "O-O"},
        {"Kf1 Rxa1 Bb5", "Kf1 Txa1 Lb5"},
        {"NCO C42 Nf3", "NCO C42 Sf3"},
        {"e8=Q", "e8=D"},
        {"A Z S", "A Z S"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string text = row.text;
        letters.TranslatePieceLetters(text);
        EXPECT_EQ(text, row.shown);
    }
}

TEST(NotationLetters, SuspensionAndMoveNumbers) {
    NotationLetters letters;
    std::string text = "Nf3";
    letters.TranslatePieceLetters(text);
    EXPECT_EQ(text, "Nf3");  // default letters change nothing
    ASSERT_TRUE(letters.Set("K", "D", "T", "L", "S").ok());
    bool previous = letters.Suspend(true);
    EXPECT_FALSE(previous);
    letters.TranslatePieceLetters(text);
    EXPECT_EQ(text, "Nf3");
    // After the move number, even while suspended; "B" of a tag-like prefix stays.
    std::string numbered = "Bd 12. Nf3 Qd8";
    letters.TranslateAfterMoveNumber(numbered);
    EXPECT_EQ(numbered, "Bd 12. Sf3 Dd8");
    EXPECT_TRUE(letters.Suspend(false));
}

}  // namespace
}  // namespace qorvale::chess
