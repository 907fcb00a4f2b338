#include "search/header_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qorvale::search {
namespace {

TEST(HeaderFile, RoundKeepsDigitsAfterALeadingLetter) {
    struct Row {
        const char* round;
        const char* stored;
    };
    const Row rows[] = {
        {"R3", "3"},        {"Round 12b", "12b"}, {"3", "3"},   {"3.1", "3.1"}, {"?", "?"},
        {"-", "-"},         {"", ""},             {"abc", ""},  {":5", "5"},    {"?5", "?5"},
        {"\xe9t\xe9 2", "2"}, {"(1)", "(1)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.round);
        EXPECT_EQ(StoredRound(row.round), row.stored);
    }
}

TEST(HeaderFile, RecordsCutLongValuesAndStoreTheRound) {
    HeaderValues values;
    values[static_cast<int>(HeaderField::White)] = std::string(300, 'w');
    values[static_cast<int>(HeaderField::Round)] = "R12";
    values[static_cast<int>(HeaderField::Site)] = "Wijk";
    std::vector<std::uint8_t> bytes;
    AppendHeaderRecord(bytes, values);
    // White cut to 255, six empty values, Round "12", an empty Event, the Site.
    EXPECT_EQ(bytes.size(), 256 + 6 + 3 + 1 + 5u);
    EXPECT_EQ(bytes.front(), 255);
    EXPECT_EQ(std::string(bytes.begin() + 262, bytes.begin() + 265), "" "12");
    EXPECT_EQ(std::string(bytes.end() - 5, bytes.end()), "\x04Wijk");
}

}  // namespace
}  // namespace qorvale::search
