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
        {"R3", "3"},    {"Round 12b", "12b"}, {"3", "3"},
        {"3.1", "3.1"}, {"?", "?"},           {"-", "-"},
        {"", ""},       {"abc", ""},          {":5", "5"},
        {"?5", "?5"},   {"\xe9t\xe9 2", "2"}, {"(1)", "(1)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.round);
        EXPECT_EQ(StoredRound(row.round), row.stored);
    }
}

}  // namespace
}  // namespace qorvale::search
