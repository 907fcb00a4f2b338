#include "base/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/message.h"

namespace qorvale {
namespace {

// A decoder written from the Unicode table of well-formed byte sequences, one code point at a
// time, as the reference for every two-byte and three-byte input.
bool ReferenceValid(const std::string& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto b0 = static_cast<std::uint8_t>(bytes[at]);
        std::size_t length = b0 < 0x80         ? 1
                             : (b0 >> 5) == 6  ? 2
                             : (b0 >> 4) == 14 ? 3
                             : (b0 >> 3) == 30 ? 4
                                               : 0;
        if (length == 0 || at + length > bytes.size()) return false;
        std::uint32_t code = length == 1 ? b0 : b0 & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto b = static_cast<std::uint8_t>(bytes[at + k]);
            if ((b & 0xC0) != 0x80) return false;
            code = (code << 6) | (b & 0x3F);
        }
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        at += length;
    }
    return true;
}

TEST(Text, Utf8CheckAgreesWithAReferenceDecoderOnEveryShortInput) {
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            std::string two{static_cast<char>(first), static_cast<char>(second)};
            ASSERT_EQ(IsValidUtf8(two), ReferenceValid(two)) << first << ' ' << second;
            for (int third : {0x41, 0x80, 0x9F, 0xA0, 0xBF, 0xC0}) {
                std::string three = two + static_cast<char>(third);
                ASSERT_EQ(IsValidUtf8(three), ReferenceValid(three))
                    << first << ' ' << second << ' ' << third;
            }
        }
    }
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));   // U+1F600
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
}

TEST(Text, ShowsUtf8AsItIsAndLatin1AsItsCharacters) {
    EXPECT_EQ(DisplayText("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(DisplayText("Caf\xE9 Stra\xDF"), "Caf\xC3\xA9 Stra\xC3\x9F");
    // One Latin-1 byte makes the whole text Latin-1, even beside a valid UTF-8 pair.
    EXPECT_EQ(DisplayText("\xC3\xA9\xE9"), "\xC3\x83\xC2\xA9\xC3\xA9");
}

TEST(Text, CutsOnlyBetweenCharacters) {
    const std::string name = "Gr\xC3\xBCnfeld \xE2\x80\x93 Ljubojevi\xC4\x87";
    for (std::size_t limit = 0; limit <= name.size(); ++limit) {
        std::string_view cut = CutAtCharacter(name, limit);
        ASSERT_LE(cut.size(), limit);
        ASSERT_TRUE(IsValidUtf8(cut)) << limit;
        // Nothing more could have been kept.
        if (cut.size() < name.size()) {
            ASSERT_GT(CutAtCharacter(name, cut.size() + 4).size(), cut.size());
        }
    }
    EXPECT_EQ(CharacterCount(name), 21u);
    EXPECT_EQ(FirstCharacters(name, 3), "Gr\xC3\xBC");
}

TEST(Message, FillsTheMarksOfThePatternsInOrder) {
    struct Row {
        const char* name;
        std::string filled;
        const char* expected;
    };
    const Row rows[] = {
        {"one text", FillMessage("File:  %s", "a.pgn"), "File:  a.pgn"},
        {"one number", FillMessage("Game:  %d", 42), "Game:  42"},
        {"two numbers", FillMessage("Game:  %d of %d", {5, 381}), "Game:  5 of 381"},
        {"real with percent", FillMessage("White wins: %d  %.1f%%", {3, 37.5}),
         "White wins: 3  37.5%"},
        {"odd precision", FillMessage("%0.f%%", 99.6), "100%"},
        {"missing value left", FillMessage("%d of %d", 1), "1 of %d"},
        {"unknown mark left", FillMessage("50%x", 1), "50%x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.filled, row.expected);
    }
}

}  // namespace
}  // namespace qorvale
