#include "pgn/record_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qorvale::pgn {
namespace {

using test::TempDir;

struct Record {
    std::string text;
    int length;
    friend bool operator==(const Record&, const Record&) = default;
};

std::ostream& operator<<(std::ostream& out, const Record& record) {
    return out << "{\"" << record.text << "\", " << record.length << "}";
}

// Every record of `content` up to the end of the file.
std::vector<Record> ReadAll(const std::string& content, ReadMode mode,
                            LongRecordWatch* watch = nullptr) {
    TempDir dir;
    platform::File file =
        platform::File::Open(dir.Write("in.pgn", content), platform::File::Mode::Read);
    RecordReader reader;
    reader.SetMode(mode);
    if (watch != nullptr) reader.SetLongRecordWatch(*watch);
    std::vector<Record> records;
    char buffer[RecordBufferSize + 8];
    for (int guard = 0; guard < 1000000; ++guard) {
        int length = reader.ReadRecord(file, buffer);
        if (length == 0) break;
        records.push_back({std::string(buffer, std::char_traits<char>::length(buffer)), length});
    }
    if (watch != nullptr) *watch = reader.Watch();
    return records;
}

TEST(RecordReader, ModesTrimAndCountLikeTheProgram) {
    using M = ReadMode;
    struct Row {
        const char* name;
        std::string input;
        ReadMode mode;
        std::vector<Record> expected;
    } rows[] = {
        {"lf", "abc\n", M::ReadTrimmed, {{"abc", 4}}},
        {"crlf counts the cr as stored", "abc\r\n", M::ReadTrimmed, {{"abc", 5}}},
        {"trimmed does not count skipped spaces", "   abc\n", M::ReadTrimmed, {{"abc", 4}}},
        {"counted counts skipped spaces", "   abc\r\n", M::ReadCounted, {{"abc", 8}}},
        {"verbatim keeps leading spaces", "  abc\n", M::ReadVerbatim, {{"  abc", 6}}},
        {"a tab is not a leading space", "\tabc\n", M::ReadTrimmed, {{"\tabc", 5}}},
        {"trailing control bytes go, inner ones stay",
         "a\tb\t\x01\r\n",
         M::ReadTrimmed,
         {{"a\tb", 7}}},
        {"trailing spaces stay", "ab  \n", M::ReadTrimmed, {{"ab  ", 5}}},
        {"empty lines are records", "\n\r\n", M::ReadCounted, {{"", 1}, {"", 2}}},
        {"line of spaces is empty", "    \nx\n", M::ReadCounted, {{"", 5}, {"x", 2}}},
        {"last line without line end is not read", "abc\ndef", M::ReadTrimmed, {{"abc", 4}}},
        {"empty file", "", M::ReadTrimmed, {}},
        {"cr only has no record ends", "a\rb\rc\r", M::ReadTrimmed, {}},
        {"high bytes are text", "\xe9t\xe9\n", M::ReadTrimmed, {{"\xe9t\xe9", 4}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReadAll(row.input, row.mode), row.expected);
    }
}

TEST(RecordReader, CutsOverlongLineAtSpace) {
    const std::string a200(200, 'a');
    const std::string b99(99, 'b');
    const std::string x255(255, 'x');
    const std::string x254(254, 'x');
    using M = ReadMode;
    struct Row {
        const char* name;
        std::string input;
        ReadMode mode;
        std::vector<Record> expected;
        bool long_record;
    } rows[] = {
        // Bytes 201..254 are dropped; the 256th byte starts the next record.
        {"cut at last space",
         a200 + " " + b99 + "\n",
         M::ReadTrimmed,
         {{a200, 200}, {std::string(45, 'b'), 46}},
         true},
        // In counted mode the dropped bytes still count, so offsets stay true to the file.
        {"counted cut keeps the byte count",
         a200 + " " + b99 + "\n",
         M::ReadCounted,
         {{a200, 255}, {std::string(45, 'b'), 46}},
         true},
        {"no space: cut at 255", x255 + "yy\n", M::ReadTrimmed, {{x255, 255}, {"yy", 3}}, true},
        {"text plus lf reaching 256 is long",
         x255 + "\n",
         M::ReadTrimmed,
         {{x255, 255}, {"", 1}},
         true},
        {"254 text plus lf fits", x254 + "\n", M::ReadTrimmed, {{x254, 255}}, false},
        {"254 text plus crlf is long",
         x254 + "\r\n",
         M::ReadTrimmed,
         {{x254 + "\r", 255}, {"", 1}},
         true},
        {"space as the 256th byte is the cut",
         x255 + " z\n",
         M::ReadCounted,
         {{x255, 256}, {"z", 2}},
         true},
        {"leading spaces do not make a line long",
         std::string(300, ' ') + "e4\n",
         M::ReadCounted,
         {{"e4", 303}},
         false},
        {"verbatim leading space is no cut point",
         " " + std::string(300, 'q') + "\n",
         M::ReadVerbatim,
         {{" " + std::string(254, 'q'), 255}, {std::string(46, 'q'), 47}},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LongRecordWatch watch = LongRecordWatch::Watching;
        EXPECT_EQ(ReadAll(row.input, row.mode, &watch), row.expected);
        EXPECT_EQ(watch,
                  row.long_record ? LongRecordWatch::LongRecordMet : LongRecordWatch::Watching);
        LongRecordWatch idle = LongRecordWatch::NotWatching;
        ReadAll(row.input, row.mode, &idle);
        EXPECT_EQ(idle, LongRecordWatch::NotWatching);
    }
}

// A plain reference splitter: what the reader must return for lines that are not long.
std::vector<Record> SplitLines(const std::string& content) {
    std::vector<Record> records;
    std::size_t start = 0;
    for (std::size_t lf; (lf = content.find('\n', start)) != std::string::npos; start = lf + 1) {
        std::size_t begin = content.find_first_not_of(' ', start);
        if (begin > lf) begin = lf;
        std::size_t end = lf;
        while (end > begin && static_cast<unsigned char>(content[end - 1]) <= 13) --end;
        records.push_back({content.substr(begin, end - begin), static_cast<int>(lf + 1 - start)});
    }
    return records;
}

TEST(RecordReader, ReadsEveryLineOfRealGamesAcrossBlocks) {
    for (const char* name : {"scan/players_crlf.pgn", "scan/players_lf.pgn"}) {
        SCOPED_TRACE(name);
        std::string content = test::ReadWholeFile(test::TestDataPath(name));
        ASSERT_GT(content.size(), RecordBlockSize);
        // Shift the text by 0..2 spaces so lines straddle the block ends at different points.
        for (int shift = 0; shift < 3; ++shift) {
            std::string shifted = std::string(static_cast<std::size_t>(shift), ' ') + content;
            std::vector<Record> expected = SplitLines(shifted);
            EXPECT_EQ(ReadAll(shifted, ReadMode::ReadCounted), expected);
        }
    }
}

TEST(RecordReader, EmbeddedNulIsStoredAndResetFollowsSeek) {
    TempDir dir;
    std::string content = std::string("a\0b\n", 4) + "second\nthird\n";
    platform::File file =
        platform::File::Open(dir.Write("nul.pgn", content), platform::File::Mode::Read);
    RecordReader reader;
    std::string_view text;
    ASSERT_EQ(reader.ReadRecord(file, text), 4);
    EXPECT_EQ(text, std::string_view("a\0b", 3));
    ASSERT_TRUE(file.Seek(11));
    reader.Reset();
    ASSERT_EQ(reader.ReadRecord(file, text), 6);
    EXPECT_EQ(text, "third");
    EXPECT_EQ(reader.ReadRecord(file, text), 0);
    EXPECT_EQ(reader.ReadRecord(file, text), 0);
}

}  // namespace
}  // namespace qorvale::pgn
