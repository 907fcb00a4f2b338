#include "pgn/record_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using Records = std::vector<std::pair<std::string, int>>;  // text, returned length

// Every record of `content`, and whether a watching reader met a long record.
Records ReadAll(const std::string& content, ReadMode mode, bool* long_met = nullptr) {
    test::TempDir dir;
    platform::File file =
        platform::File::Open(dir.Write("in.pgn", content), platform::File::Mode::Read);
    RecordReader reader;
    reader.SetMode(mode);
    reader.SetLongRecordWatch(LongRecordWatch::Watching);
    Records records;
    std::string_view text;
    while (int length = reader.ReadRecord(file, text)) records.emplace_back(text, length);
    if (long_met) *long_met = reader.Watch() == LongRecordWatch::LongRecordMet;
    return records;
}

TEST(RecordReader, ModesAndLongLines) {
    using M = ReadMode;
    const std::string a200(200, 'a'), x254(254, 'x'), x255(255, 'x');
    struct Row {
        const char* name;
        std::string input;
        ReadMode mode;
        Records expected;
        bool long_record;
    } rows[] = {
        {"crlf: the cr is stored", "abc\r\nd\n", M::ReadTrimmed, {{"abc", 5}, {"d", 2}}, false},
        {"trimmed skips spaces uncounted", "   abc\n", M::ReadTrimmed, {{"abc", 4}}, false},
        {"counted counts them", "   abc\r\n", M::ReadCounted, {{"abc", 8}}, false},
        {"verbatim keeps them", "  abc\n", M::ReadVerbatim, {{"  abc", 6}}, false},
        {"tab is no leading space", "\tabc\n", M::ReadTrimmed, {{"\tabc", 5}}, false},
        {"trailing control bytes go", "a\tb\t\x01\r\n", M::ReadTrimmed, {{"a\tb", 7}}, false},
        {"trailing spaces stay", "ab  \n", M::ReadTrimmed, {{"ab  ", 5}}, false},
        {"blank lines", "\n    \r\n", M::ReadCounted, {{"", 1}, {"", 6}}, false},
        {"unfinished last line is read",
         "abc\ndef",
         M::ReadCounted,
         {{"abc", 4}, {"def", 3}},
         false},
        {"nul bytes after the last line",
         std::string("e4\n\0\0", 5),
         M::ReadCounted,
         {{"e4", 3}, {"", 2}},
         false},
        {"nul bytes end the last line",
         std::string("1-0\0\0", 5),
         M::ReadCounted,
         {{"1-0", 5}},
         false},
        {"byte-order mark passed over, counted",
         "\xEF\xBB\xBF[Event \"x\"]\nb\n",
         M::ReadCounted,
         {{"[Event \"x\"]", 15}, {"b", 2}},
         false},
        {"byte-order mark only at the start",
         "a\n\xEF\xBB\xBF\n",
         M::ReadTrimmed,
         {{"a", 2}, {"\xEF\xBB\xBF", 4}},
         false},
        // No byte is ever dropped: a long line is one record, and only the watch notes it.
        {"line of 301 bytes",
         a200 + " " + std::string(100, 'b') + "\n",
         M::ReadCounted,
         {{a200 + " " + std::string(100, 'b'), 302}},
         true},
        {"255 bytes and lf", x255 + "\n", M::ReadTrimmed, {{x255, 256}}, false},
        {"254 bytes and cr lf", x254 + "\r\n", M::ReadTrimmed, {{x254, 256}}, false},
        {"255 bytes and cr lf", x255 + "\r\n", M::ReadCounted, {{x255, 257}}, false},
        {"256 bytes", x255 + "y\n", M::ReadTrimmed, {{x255 + "y", 257}}, true},
        {"leading spaces are not stored",
         std::string(300, ' ') + "e4\n",
         M::ReadCounted,
         {{"e4", 303}},
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool long_met = false;
        EXPECT_EQ(ReadAll(row.input, row.mode, &long_met), row.expected);
        EXPECT_EQ(long_met, row.long_record);
    }
}

// Only a line too long to return whole is split: at its last space, or where a character ends,
// and its records together hold every byte of it.
TEST(RecordReader, SplitsLinesBeyondTheLineLimitWithoutLosingBytes) {
    std::string words;
    while (words.size() < MaxLineLength + 5000) words += "Nf3 {x} ";
    const std::string wide = std::string(MaxLineLength - 1, 'a') + "\xC3\xA9zz";
    struct Row {
        const char* name;
        std::string line;
        std::size_t first;  // length of the first record's text
    } rows[] = {
        {"at the last space", words, words.rfind(' ', MaxLineLength - 1)},
        {"no space", std::string(MaxLineLength + 100, 'q'), MaxLineLength},
        {"not inside a character", wide, MaxLineLength - 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Records records = ReadAll(row.line + "\n", ReadMode::ReadCounted);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].first.size(), row.first);
        // The first record's length counts the space it was split at, if any.
        std::string joined = records[0].first;
        joined.append(static_cast<std::size_t>(records[0].second) - records[0].first.size(), ' ');
        EXPECT_TRUE(joined + records[1].first == row.line);
        EXPECT_EQ(records[0].second + records[1].second, static_cast<int>(row.line.size()) + 1);
    }
}

TEST(RecordReader, ReadsEveryLineOfRealGamesAcrossBlocks) {
    for (const char* name : {"scan/players_crlf.pgn", "scan/players_lf.pgn"}) {
        std::string content = test::ReadWholeFile(test::TestDataPath(name));
        ASSERT_GT(content.size(), RecordBlockSize);
        // Shifted by 0..2 bytes, lines straddle the block ends at different points.
        for (int shift = 0; shift < 3; ++shift) {
            SCOPED_TRACE(std::string(name) + " shift " + std::to_string(shift));
            std::string shifted = std::string(static_cast<std::size_t>(shift), ' ') + content;
            Records expected;
            for (std::size_t start = 0, lf; (lf = shifted.find('\n', start)) != std::string::npos;
                 start = lf + 1) {
                std::size_t begin = std::min(shifted.find_first_not_of(' ', start), lf);
                std::size_t end = shifted[lf - 1] == '\r' ? lf - 1 : lf;
                expected.emplace_back(shifted.substr(begin, end - begin), lf + 1 - start);
            }
            EXPECT_EQ(ReadAll(shifted, ReadMode::ReadCounted), expected);
        }
    }
}

}  // namespace
}  // namespace qorvale::pgn
