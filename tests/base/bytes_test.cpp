#include "base/bytes.h"

#include <gtest/gtest.h>

namespace qorvale {
namespace {

TEST(Bytes, WritesLittleEndianWhateverTheHost) {
    std::uint8_t buffer[8] = {};
    PutU16(buffer, 0x1234);
    PutU32(buffer + 2, 0xA1B2C3D4u);
    const std::uint8_t expected[6] = {0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(buffer[i], expected[i]) << "byte " << i;
    EXPECT_EQ(GetU16(buffer), 0x1234);
    EXPECT_EQ(GetU32(buffer + 2), 0xA1B2C3D4u);
    PutI32(buffer, -2);
    EXPECT_EQ(GetI32(buffer), -2);
    EXPECT_EQ(buffer[3], 0xFF);
}

TEST(Bytes, DoubleSurvivesTheRoundTrip) {
    for (double value : {0.0, -1.5, 3.141592653589793, 1e300}) {
        std::uint8_t buffer[8];
        PutF64(buffer, value);
        EXPECT_EQ(GetF64(buffer), value);
    }
}

TEST(Bytes, ShortStringsAreCutAt255AndReadBack) {
    std::vector<std::uint8_t> out;
    AppendShortString(out, "Kasparov");
    AppendShortString(out, std::string(300, 'x'));
    ASSERT_EQ(out.size(), 1u + 8 + 1 + 255);
    std::size_t offset = 0;
    std::string text;
    ASSERT_TRUE(ReadShortString(out.data(), out.size(), offset, text));
    EXPECT_EQ(text, "Kasparov");
    ASSERT_TRUE(ReadShortString(out.data(), out.size(), offset, text));
    EXPECT_EQ(text.size(), 255u);
    EXPECT_FALSE(ReadShortString(out.data(), out.size(), offset, text));
    // A length byte that runs past the data is refused rather than read.
    std::vector<std::uint8_t> short_data = {5, 'a', 'b'};
    offset = 0;
    EXPECT_FALSE(ReadShortString(short_data.data(), short_data.size(), offset, text));
    EXPECT_EQ(offset, 0u);
}

}  // namespace
}  // namespace qorvale
