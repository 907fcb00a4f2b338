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
    char buffer[RecordBufferSize];
    while (int length = reader.ReadRecord(file, buffer)) records.emplace_back(buffer, length);
    if (long_met) *long_met = reader.Watch() == LongRecordWatch::LongRecordMet;
    return records;
}

TEST(RecordReader, ModesAndCutRule) {
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
        {"unfinished last line is not read", "abc\ndef", M::ReadTrimmed, {{"abc", 4}}, false},
        {"cr only: no record end", "a\rb\r", M::ReadTrimmed, {}, false},
        // The 256th byte starts the next record; bytes between the cut space and it are lost.
        {"cut at last space",
         a200 + " " + std::string(99, 'b') + "\n",
         M::ReadTrimmed,
         {{a200, 200}, {std::string(45, 'b'), 46}},
         true},
        // Counted mode counts the lost bytes, so offsets stay true to the file.
        {"counted cut",
         a200 + " " + std::string(99, 'b') + "\n",
         M::ReadCounted,
         {{a200, 255}, {std::string(45, 'b'), 46}},
         true},
        {"no space: cut at 255", x255 + "yy\n", M::ReadTrimmed, {{x255, 255}, {"yy", 3}}, true},
        {"text and lf reach 256", x255 + "\n", M::ReadTrimmed, {{x255, 255}, {"", 1}}, true},
        {"254 and lf fit", x254 + "\n", M::ReadTrimmed, {{x254, 255}}, false},
        {"254 and crlf do not", x254 + "\r\n", M::ReadTrimmed, {{x254 + "\r", 255}, {"", 1}}, true},
        {"space as 256th byte", x255 + " z\n", M::ReadCounted, {{x255, 256}, {"z", 2}}, true},
        {"leading spaces are not stored",
         std::string(300, ' ') + "e4\n",
         M::ReadCounted,
         {{"e4", 303}},
         false},
        {"leading verbatim space is no cut",
         " " + std::string(300, 'q') + "\n",
         M::ReadVerbatim,
         {{" " + std::string(254, 'q'), 255}, {std::string(46, 'q'), 47}},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool long_met = false;
        EXPECT_EQ(ReadAll(row.input, row.mode, &long_met), row.expected);
        EXPECT_EQ(long_met, row.long_record);
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
